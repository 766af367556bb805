// Each tag dialog opened by its own button (or menu item) on the real main window, filled in
// by the names of its controls and confirmed: what lands in the document, where the caret
// ends, and that the clipboard keeps what it held.
#include "editor/insertion/insertion_fixture.h"
#include "shared/program_state.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace pw;
using namespace pw::test;

namespace {

const QString kClip = QStringLiteral("on the clipboard before");

template <typename Control = QWidget>
Control *find(const QDialog &dialog, const char *name, int index = -1)
{
    for (Control *control : dialog.findChildren<Control *>(QString::fromUtf8(name))) {
        if (index < 0 || control->property("index").toInt() == index)
            return control;
    }
    ADD_FAILURE() << "no control " << name << " " << index;
    return nullptr;
}

void type(const QDialog &dialog, const char *name, const QString &text, int index = -1)
{
    find<QLineEdit>(dialog, name, index)->setText(text);
}

void clickButton(const QDialog &dialog, const char *name)
{
    find<QPushButton>(dialog, name)->click();
}

class DialogCommands : public InsertionFixture {
protected:
    void SetUp() override
    {
        InsertionFixture::SetUp();
        putTextOnClipboard(kClip);
    }
    // The next dialog shown is filled by `fill`; its title is kept for the test.
    void onDialog(std::function<void(QDialog &)> fill)
    {
        h.platform.dialogHandlers.push_back([this, fill](QDialog &dialog) {
            title = dialog.windowTitle();
            fill(dialog);
            return dialog.result();
        });
    }
    // The next dialog is left by the window's close box, after `touch` changed its fields.
    void closeDialog(std::function<void(QDialog &)> touch = {})
    {
        h.platform.dialogHandlers.push_back([touch](QDialog &dialog) {
            if (touch)
                touch(dialog);
            return int(QDialog::Rejected);
        });
    }
    void TearDown() override
    {
        EXPECT_TRUE(h.platform.dialogHandlers.empty());
        EXPECT_EQ(QApplication::clipboard()->text(), kClip);
    }
    QString title;
};

TEST_F(DialogCommands, TableReplacesTheSelection)
{
    set("before|old|after", 7, 3);
    onDialog([](QDialog &d) {
        find<QSlider>(d, "sldRows")->setValue(2);
        find<QTableWidget>(d, "MyTable")->setCurrentCell(1, 0);
        type(d, "txtCellText", "cell");
        clickButton(d, "cmdSave");
        type(d, "txtBorderWidth", "1");
        clickButton(d, "cmdInsert");
    });
    click("cmdFastTable");
    EXPECT_EQ(title, "Table Dialog");
    const QString table =
        "<TABLE Border=\"1\" Align=\"Right\" VAlign=\"Top\" BgColor=\"#FFFFFF\">\r\n"
        "     <TR>\r\n          <TH></TH>\r\n     </TR>\r\n"
        "     <TR>\r\n          <TD>cell</TD>\r\n     </TR>\r\n"
        "</TABLE>";
    EXPECT_EQ(text(), "before|" + table + "|after");
    EXPECT_EQ(caret(), 7 + table.size());
    EXPECT_EQ(selLength(), 0);
}

TEST_F(DialogCommands, ImageGoesAroundTheSelection)
{
    set("a pic b", 2, 3);
    onDialog([](QDialog &d) {
        type(d, "txtAttib", "a.gif", 0);
        QTest::keyClick(find<QLineEdit>(d, "txtAttib", 8), Qt::Key_Return);
    });
    click("cmdFastImage");
    EXPECT_EQ(title, "Image Dialog");
    EXPECT_EQ(text(), "a <IMG Src=\"a.gif\" Align=\"Top\">pic</IMG> b");
    EXPECT_EQ(text().mid(caret()), " b");
}

TEST_F(DialogCommands, AnchorWrapsTheSelectedText)
{
    set("see x now", 4, 1);
    QString shown;
    onDialog([&shown](QDialog &d) {
        shown = find<QLineEdit>(d, "txtALT")->text();
        type(d, "txtURL", "a.html");
        clickButton(d, "cmdInsert");
    });
    click("cmdFastAnchor");
    EXPECT_EQ(title, "Anchors Dialog");
    EXPECT_EQ(shown, "x");
    EXPECT_EQ(text(), "see <A HREF=\"a.html\">x</A> now");
    EXPECT_EQ(text().mid(caret()), " now");
}

TEST_F(DialogCommands, CommentWrapsTheSelectionAndTheCloseBoxLeavesIt)
{
    set("a note", 2, 4);
    onDialog([](QDialog &d) { clickButton(d, "cmdInsert"); });
    click("cmdComment");
    EXPECT_EQ(title, "Comment Dialog");
    EXPECT_EQ(text(), "a <!-- note -->");

    set("a note", 2, 4);
    closeDialog([](QDialog &d) { type(d, "txtComments", "changed"); });
    click("cmdComment");
    EXPECT_EQ(text(), "a note");
    EXPECT_EQ(edit().selStart(), 2);
    EXPECT_EQ(selLength(), 4);
}

TEST_F(DialogCommands, RuleGoesBeforeTheSelection)
{
    set("x", 0, 1);
    h.platform.colorAnswers.push_back(QColor(0, 0, 255));
    onDialog([](QDialog &d) {
        clickButton(d, "cmdChange");
        clickButton(d, "cmdInsert");
    });
    click("cmdFastLine");
    EXPECT_EQ(title, "HR Line Dialog");
    EXPECT_EQ(text(), "<HR Align=\"Center\" Color=\"#0000FF\">x");
}

TEST_F(DialogCommands, MarqueeScrollsTheSelection)
{
    set("Hello", 0, 5);
    onDialog([](QDialog &d) { clickButton(d, "cmdInsert"); });
    click("cmdMarquee");
    EXPECT_EQ(title, "Marquee Dialog");
    EXPECT_EQ(text(), "<MARQUEE Align=\"Center\" Behavior=\"Scroll\" Direction=\"Right\""
                      " Color=\"#FFFFFF\">Hello</MARQUEE>");
    EXPECT_EQ(caret(), text().size());
}

TEST_F(DialogCommands, ColourIsInsertedQuotedAndNotWhenTheDialogIsClosed)
{
    set("Color=", 6);
    h.platform.colorAnswers = {QColor(0, 100, 0), QColor(255, 0, 0)};
    onDialog([](QDialog &d) {
        clickButton(d, "cmdColors");
        clickButton(d, "cmdInsert");
    });
    click("cmdFastColor");
    EXPECT_EQ(title, "Color Dialog");
    EXPECT_EQ(text(), "Color=\"#006400\"");

    closeDialog([](QDialog &d) { clickButton(d, "cmdColors"); }); // picked, then closed
    click("cmdFastColor");
    EXPECT_EQ(text(), "Color=\"#006400\"");

    onDialog([](QDialog &d) {
        find<QCheckBox>(d, "chkColor")->click();
        find<QListWidget>(d, "lstColors")
            ->findItems("NAVY", Qt::MatchExactly)
            .first()
            ->setSelected(true);
        clickButton(d, "cmdInsert");
    });
    set("", 0);
    click("cmdFastColor");
    EXPECT_EQ(text(), "\"NAVY\"");
}

TEST_F(DialogCommands, OrderedListWithRomanNumerals)
{
    set("ab", 1);
    onDialog([](QDialog &d) {
        find<QRadioButton>(d, "optAttributes", 1)->click();
        find<QSlider>(d, "MySlider")->setValue(3);
        clickButton(d, "cmdInsert");
    });
    click("cmdFastList");
    EXPECT_EQ(title, "List Dialog");
    const QString list = "<OL Type=\"I\">\r\n   <LI>   </LI>\r\n   <LI>   </LI>\r\n"
                         "   <LI>   </LI>\r\n</OL>\r\n";
    EXPECT_EQ(text(), "a" + list + "b");
    EXPECT_EQ(caret(), 1 + list.size());

    closeDialog([](QDialog &d) { find<QRadioButton>(d, "optList", 1)->click(); });
    click("cmdFastList");
    EXPECT_EQ(text(), "a" + list + "b");
}

TEST_F(DialogCommands, AnOrderedListWithoutNumberingHasNoEmptyType)
{
    set("", 0);
    onDialog([](QDialog &d) { clickButton(d, "cmdInsert"); });
    click("cmdFastList");
    EXPECT_EQ(text(), "<OL>\r\n   <LI>   </LI>\r\n</OL>\r\n");
}

TEST_F(DialogCommands, ValidationInTheButtonsLanguage)
{
    set("", 0);
    bool javaScriptChosen = false;
    onDialog([&javaScriptChosen](QDialog &d) {
        javaScriptChosen = find<QRadioButton>(d, "optJavaScript")->isChecked();
        type(d, "txtControlName", "age");
        find<QRadioButton>(d, "optGreaterThan")->click();
        type(d, "txtValue", "17");
        type(d, "txtMessage", "Too young");
        clickButton(d, "cmdInsert");
    });
    click("cmdVBFormVal");
    EXPECT_EQ(title, "Validate Form Controls Dialog");
    EXPECT_FALSE(javaScriptChosen);
    EXPECT_EQ(text(), "If age.Value>17 Then\r\n"
                      "     Msgbox \"Too young\",0, \"Validation Error\"\r\n"
                      "End If\r\n");

    set("", 0);
    onDialog([&javaScriptChosen](QDialog &d) {
        javaScriptChosen = find<QRadioButton>(d, "optJavaScript")->isChecked();
        type(d, "txtControlName", "f.x");
        clickButton(d, "cmdInsert");
    });
    click("cmdJSFormVal");
    EXPECT_TRUE(javaScriptChosen);
    EXPECT_EQ(text(), "if (f.x.value==\"\")\r\n     {\r\n          alert('')\r\n     }\r\n");
}

TEST_F(DialogCommands, InsertDateFromTheEditMenu)
{
    QAction *item = window().findChild<QAction *>("mnuInsertDate");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Insert &Date");
    EXPECT_EQ(item->shortcut(), QKeySequence("Ctrl+D"));

    set("on ", 3);
    const QDate before = QDate::currentDate();
    onDialog([](QDialog &d) {
        find<QListWidget>(d, "lstDate")->setCurrentRow(4);
        clickButton(d, "cmdOK");
    });
    item->trigger();
    EXPECT_EQ(title, "Insert Date");
    const QDate after = QDate::currentDate();
    EXPECT_TRUE(text() == "on " + before.toString("MM/dd/yy")
                || text() == "on " + after.toString("MM/dd/yy"))
        << text().toStdString();
    EXPECT_EQ(caret(), 11);

    onDialog([](QDialog &d) { clickButton(d, "cmdCancel"); });
    item->trigger();
    EXPECT_EQ(text().size(), 11);
}

} // namespace
