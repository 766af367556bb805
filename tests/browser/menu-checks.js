// Checks a collapsible script menu page (list.js): every topic shows, one topic's sub-points
// are hidden until it is clicked, then show (with their links) without covering another
// line, and its picture switches from false.gif to true.gif and back on a second click.
// The screenshot shows the menu opened. Parameters:
//   { "topics": ["Topic", ...],
//     "open": "Topic",                                  // the topic to click
//     "subPoints": [{"text": "Sub", "href": "a.html"}] } // its sub-points (href optional)
module.exports = async function (page, params) {
    const { topics, open, subPoints } = params;
    const overlap = (a, b) =>
        a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;

    await page.waitFor(`the topics show: ${topics.join(', ')}`, async () => {
        for (const topic of topics) if (!(await page.shown(topic))) return false;
        return true;
    });
    for (const sub of subPoints) {
        page.check(await page.present(sub.text), `"${sub.text}" is in the page`);
        page.check(!(await page.shown(sub.text)), `"${sub.text}" is hidden before the click`);
    }
    // A picture switched by a click loads after it: wait for it rather than look once.
    const showsPicture = (file) => async () => {
        const picture = await page.pictureBeside(open);
        return picture !== null && picture !== undefined && picture.file === file && picture.loaded;
    };
    await page.waitFor(`"${open}" shows false.gif while closed`, showsPicture('false.gif'));

    await page.click(open);
    await page.waitFor(`the sub-points of "${open}" show after a click`, async () => {
        for (const sub of subPoints) if (!(await page.shown(sub.text))) return false;
        return true;
    });
    for (const sub of subPoints.filter((s) => s.href !== undefined)) {
        const link = await page.linkOf(sub.text);
        page.check(link === sub.href, `"${sub.text}" links to ${sub.href} (got ${link})`);
    }
    await page.waitFor(`"${open}" shows true.gif while open`, showsPicture('true.gif'));
    const lines = [...topics, ...subPoints.map((s) => s.text)];
    const boxes = [];
    for (const text of lines) boxes.push(await page.box(text));
    for (let i = 0; i < lines.length; ++i)
        for (let j = i + 1; j < lines.length; ++j)
            page.check(!overlap(boxes[i], boxes[j]), `"${lines[i]}" and "${lines[j]}" do not overlap`);
    await page.screenshot();

    await page.click(open);
    await page.waitFor(`a second click hides the sub-points of "${open}"`, async () => {
        for (const sub of subPoints) if (await page.shown(sub.text)) return false;
        return true;
    });
    await page.waitFor(`"${open}" shows false.gif again`, showsPicture('false.gif'));
};
