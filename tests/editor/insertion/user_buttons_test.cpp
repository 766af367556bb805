// The ten user buttons: start-up from the settings store, tooltips, clicking, and the
// definition dialog with what it writes back.
#include "insertion/user_buttons.h"
#include "insertion_fixture.h"

#include "shared/program_state.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

using namespace pw;
using namespace pw::test;

namespace {

using UserButtons = InsertionFixture;

QLineEdit *box(QDialog &dialog, const char *name, int k)
{
    for (QLineEdit *box : dialog.findChildren<QLineEdit *>(QString::fromUtf8(name))) {
        if (box->property("index").toInt() == k)
            return box;
    }
    ADD_FAILURE() << name << k;
    return nullptr;
}

QPushButton *findButton(QDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QString::fromUtf8(name));
}

TEST_F(UserButtons, TenButtonsOnTheUserPageNotDefinedAtFirst)
{
    set("abc", 0, 3);
    QWidget *page = window().toolbarPage("User");
    for (int k = 0; k < 10; ++k) {
        QToolButton *b = userButton(k);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::number(k + 1));
        EXPECT_EQ(b->toolTip(), "Not Defined");
        EXPECT_TRUE(page->isAncestorOf(b));
        b->click();
    }
    EXPECT_EQ(text(), "abc");
}

TEST_F(UserButtons, StoredTextsAreLoadedAtStartUp)
{
    h.settings->write("Settings", "UDO1", "<BLINK>");
    h.settings->write("Settings", "UDC1", "</BLINK>");
    h.settings->write("Settings", "UDC3", "</ONLY>");
    h.settings->write("Settings", "UDO10", " <X> ");
    h.restart();
    EXPECT_EQ(h.state.userOpenTags[0], "<BLINK>");
    EXPECT_EQ(h.state.userCloseTags[2], "</ONLY>");
    EXPECT_EQ(userButton(0)->toolTip(), "<BLINK> </BLINK>");
    // The tooltip depends on the opening text only.
    EXPECT_EQ(userButton(2)->toolTip(), "Not Defined");
    EXPECT_EQ(userButton(9)->toolTip(), " <X>  ");

    set("word", 0, 4);
    userButton(0)->click();
    EXPECT_EQ(text(), "<BLINK>word</BLINK>");
    set("ab", 1);
    userButton(2)->click();
    EXPECT_EQ(text(), "a</ONLY>b");
    EXPECT_EQ(caret(), 1);
    set("", 0);
    userButton(9)->click();
    EXPECT_EQ(text(), " <X> ");
}

TEST_F(UserButtons, DialogShowsTheTextsAndSaveStoresThemAsTyped)
{
    h.state.userOpenTags[1] = "<B2>";
    QString caption;
    h.platform.dialogHandlers.push_back([&caption](QDialog &d) {
        caption = d.windowTitle();
        EXPECT_EQ(box(d, "txtUDO", 1)->text(), "<B2>");
        EXPECT_EQ(findButton(d, "cmdSave")->text(), "&Save");
        EXPECT_EQ(findButton(d, "cmdCancel")->text(), "&Cancel");
        box(d, "txtUDO", 0)->setText("<BLINK>");
        box(d, "txtUDC", 0)->setText("</BLINK>");
        box(d, "txtUDC", 4)->setText("  spaced  ");
        findButton(d, "cmdSave")->click();
        return d.result();
    });
    window().findChild<QAction *>("mnuUserButtons")->trigger();
    EXPECT_EQ(h.platform.dialogsRun, QStringList{"frmUD"});
    EXPECT_EQ(caption, "Define User Buttons");
    EXPECT_EQ(h.state.userOpenTags[0], "<BLINK>");
    EXPECT_EQ(h.state.userCloseTags[4], "  spaced  ");
    EXPECT_EQ(h.storedValue("Settings", "UDO1"), "<BLINK>");
    EXPECT_EQ(h.storedValue("Settings", "UDC1"), "</BLINK>");
    EXPECT_EQ(h.storedValue("Settings", "UDO2"), "<B2>");
    EXPECT_EQ(h.storedValue("Settings", "UDC5"), "  spaced  ");
    EXPECT_EQ(h.storedValue("Settings", "UDO10"), "");
    EXPECT_EQ(userButton(0)->toolTip(), "<BLINK> </BLINK>");

    set("x", 0, 1);
    userButton(0)->click();
    EXPECT_EQ(text(), "<BLINK>x</BLINK>");
}

TEST_F(UserButtons, CancelKeepsTheTextsAndStillWritesThem)
{
    h.state.userOpenTags[3] = "<Q>";
    h.state.userCloseTags[3] = "</Q>";
    h.platform.dialogHandlers.push_back([](QDialog &d) {
        box(d, "txtUDO", 3)->setText("changed");
        findButton(d, "cmdCancel")->click();
        return d.result();
    });
    window().findChild<QAction *>("mnuUserButtons")->trigger();
    EXPECT_EQ(h.state.userOpenTags[3], "<Q>");
    EXPECT_EQ(h.storedValue("Settings", "UDO4"), "<Q>");
    EXPECT_EQ(h.storedValue("Settings", "UDC4"), "</Q>");
    for (int k : {1, 10})
        EXPECT_EQ(h.storedValue("Settings", QStringLiteral("UDO%1").arg(k)), "");
    EXPECT_EQ(userButton(3)->toolTip(), "<Q> </Q>");
}

TEST_F(UserButtons, DialogLabelsNumberTheButtons)
{
    UserButtonsDialog dialog(h.state);
    QStringList labels;
    for (QLabel *label : dialog.findChildren<QLabel *>())
        labels << label->text();
    EXPECT_TRUE(labels.contains("Opening Tag #1"));
    EXPECT_TRUE(labels.contains("Closing Tag #10"));
    EXPECT_EQ(dialog.findChildren<QLineEdit *>("txtUDO").size(), 10);
    EXPECT_EQ(dialog.findChildren<QLineEdit *>("txtUDC").size(), 10);
}

} // namespace
