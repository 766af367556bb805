// The collapsible list behind Pagewick's script menu pages. A page builds it in its init():
//
//   myList = new List(true, width, height);          // the topics, shown
//   mySubList1 = new List(false, width, height);     // one topic's sub-points, hidden
//   mySubList1.addItem("<A Href='a.html'>A</A>");    // one line of HTML
//   myList.addList(mySubList1, "<B>Topic</B>");      // a topic that opens mySubList1
//   myList.addItem("<B>Plain line</B>");             // a line that opens nothing
//   myList.build(10, 70);                            // drawn with its top left corner there
//
// A click on a topic (or Enter or Space while it has the focus) shows or hides its
// sub-points; the picture beside it is true.gif while they show and false.gif while they
// are hidden, both looked up beside the page. Written for today's browsers: the menu is made
// of ordinary elements and needs no other script; the page's empty position holders
// (lItem0, lItem1, ...) are left as they are.

// Pages ask it to measure the window; no browser today has the old layer model.
var isNav4 = false;

function List(visible, width, height) {
    this.visible = Boolean(visible);
    this.width = Number(width) || 0;
    this.height = Number(height) || 0;
    this.entries = [];
}

List.prototype.addItem = function (html) {
    this.entries.push({ html: String(html), list: null });
};

List.prototype.addList = function (list, html) {
    this.entries.push({ html: String(html), list: list });
};

List.prototype.build = function (x, y) {
    var menu = document.createElement("div");
    menu.className = "pagewickMenu";
    menu.style.position = "absolute";
    menu.style.left = (Number(x) || 0) + "px";
    menu.style.top = (Number(y) || 0) + "px";
    if (this.width > 0)
        menu.style.width = Math.round(this.width) + "px";
    menu.appendChild(this.render(0));
    document.body.appendChild(menu);
    return menu;
};

// Width of a topic's picture and the gap after it; sub-points are indented by as much, so
// they line up under their topic's text.
List.pictureSpace = 20;

List.prototype.render = function (depth) {
    var block = document.createElement("div");
    block.style.display = this.visible ? "" : "none";
    var hasTopics = this.entries.some(function (entry) { return entry.list; });
    for (var i = 0; i < this.entries.length; i++) {
        var entry = this.entries[i];
        var row = document.createElement("div");
        row.style.display = "flex";
        row.style.alignItems = "center";
        row.style.minHeight = this.height + "px";
        row.style.paddingLeft = depth * List.pictureSpace + "px";
        var label = document.createElement("span");
        label.innerHTML = entry.html;
        if (entry.list) {
            var picture = document.createElement("img");
            picture.width = 16;
            picture.height = 16;
            picture.alt = "";
            picture.style.marginRight = List.pictureSpace - 16 + "px";
            row.appendChild(picture);
            row.appendChild(label);
            block.appendChild(row);
            var sub = entry.list.render(depth + 1);
            block.appendChild(sub);
            List.makeTopic(row, picture, entry.list, sub);
        } else {
            // A plain line among topics keeps its text in line with theirs.
            if (hasTopics)
                row.style.paddingLeft = depth * List.pictureSpace + List.pictureSpace + "px";
            row.appendChild(label);
            block.appendChild(row);
        }
    }
    return block;
};

List.makeTopic = function (row, picture, list, sub) {
    function show() {
        sub.style.display = list.visible ? "" : "none";
        picture.src = list.visible ? "true.gif" : "false.gif";
        row.setAttribute("aria-expanded", list.visible ? "true" : "false");
    }
    function toggle() {
        list.visible = !list.visible;
        show();
    }
    row.style.cursor = "pointer";
    row.tabIndex = 0;
    row.setAttribute("role", "button");
    row.addEventListener("click", toggle);
    row.addEventListener("keydown", function (event) {
        if (event.key === "Enter" || event.key === " ") {
            event.preventDefault();
            toggle();
        }
    });
    show();
};
