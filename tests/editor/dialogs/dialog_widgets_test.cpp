// The tag dialogs' own behaviour, driven through their named controls: what each hands back,
// what it starts from, and how its controls depend on each other.
#include "dialogs/colour_dialog.h"
#include "dialogs/date_dialog.h"
#include "dialogs/image_dialog.h"
#include "dialogs/list_dialog.h"
#include "dialogs/small_dialogs.h"
#include "dialogs/table_dialog.h"
#include "dialogs/validation_dialog.h"
#include "shared/program_state.h"
#include "support/fake_platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace pw {
namespace {

template <typename Control = QWidget>
Control *find(const QObject &dialog, const char *name, int index = -1)
{
    for (Control *control : dialog.findChildren<Control *>(QString::fromUtf8(name))) {
        if (index < 0 || control->property("index").toInt() == index)
            return control;
    }
    ADD_FAILURE() << "no control " << name << " " << index;
    return nullptr;
}

void clickButton(const QObject &dialog, const char *name)
{
    find<QPushButton>(dialog, name)->click();
}

void type(const QObject &dialog, const char *name, const QString &text, int index = -1)
{
    find<QLineEdit>(dialog, name, index)->setText(text);
}

class Dialogs : public ::testing::Test {
protected:
    // Values an earlier dialog left behind; each dialog must reset its own.
    Dialogs()
    {
        state.dialogResult = "left from before";
        state.colorResult = "left from before";
    }
    ProgramState state;
    test::FakePlatform platform;
};

class Table : public Dialogs {
protected:
    void cell(int row, int column)
    {
        find<QTableWidget>(dialog, "MyTable")->setCurrentCell(row, column);
    }
    void save(int row, int column, const QString &text)
    {
        cell(row, column);
        type(dialog, "txtCellText", text);
        clickButton(dialog, "cmdSave");
    }
    void size(int rows, int columns)
    {
        find<QSlider>(dialog, "sldRows")->setValue(rows);
        find<QSlider>(dialog, "sldCols")->setValue(columns);
    }
    TableDialog dialog{state, platform};
};

TEST_F(Table, StartsAsOneEmptyCellAndHandsBackNothingUntilInsert)
{
    EXPECT_EQ(state.dialogResult, "");
    EXPECT_EQ(find<QLabel>(dialog, "lblCoord")->text(), "(1, 1)");
    EXPECT_EQ(find<QComboBox>(dialog, "cboAlign")->currentText(), "Right");
    EXPECT_EQ(find<QComboBox>(dialog, "cboVAlign")->currentText(), "Top");
    clickButton(dialog, "cmdInsert");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(state.dialogResult, "<TABLE Align=\"Right\" VAlign=\"Top\" BgColor=\"#FFFFFF\">\r\n"
                                  "     <TR>\r\n          <TH></TH>\r\n     </TR>\r\n</TABLE>");
}

TEST_F(Table, SavedCellsAreWrittenAndTextLeftUnsavedIsDropped)
{
    size(2, 2);
    save(0, 0, "Name");
    save(1, 1, " 42 ");
    cell(1, 0);
    EXPECT_EQ(find<QLabel>(dialog, "lblCoord")->text(), "(2, 1)");
    type(dialog, "txtCellText", "never saved");
    cell(0, 1); // moving on drops it
    EXPECT_EQ(find<QLineEdit>(dialog, "txtCellText")->text(), "");
    cell(1, 1);
    EXPECT_EQ(find<QLineEdit>(dialog, "txtCellText")->text(), " 42 ");
    type(dialog, "txtCellText", "typed, then Insert"); // Insert does not save either
    find<QComboBox>(dialog, "cboAlign")->setEditText("");
    clickButton(dialog, "cmdInsert");
    EXPECT_EQ(state.dialogResult, "<TABLE VAlign=\"Top\" BgColor=\"#FFFFFF\">\r\n"
                                  "     <TR>\r\n"
                                  "          <TH>Name</TH>\r\n"
                                  "          <TH></TH>\r\n"
                                  "     </TR>\r\n"
                                  "     <TR>\r\n"
                                  "          <TD></TD>\r\n"
                                  "          <TD>42</TD>\r\n"
                                  "     </TR>\r\n"
                                  "</TABLE>");
}

TEST_F(Table, HiddenRowsKeepTheirTextsUntilTheTableGrowsAgain)
{
    size(3, 1);
    save(2, 0, "third");
    size(2, 1);
    EXPECT_FALSE(dialog.fields().rows > 2);
    clickButton(dialog, "cmdInsert");
    EXPECT_FALSE(state.dialogResult.contains("third"));
    EXPECT_EQ(state.dialogResult.count("<TR>"), 2);

    size(3, 1);
    EXPECT_EQ(find<QTableWidget>(dialog, "MyTable")->item(2, 0)->text(), "third");
    EXPECT_TRUE(tableMarkup(dialog.fields()).contains("          <TD>third</TD>\r\n"));
}

TEST_F(Table, BackgroundFollowsThePickerAndCancelLeavesIt)
{
    platform.colorAnswers = {QColor(255, 0, 0), std::nullopt, QColor(0, 0, 255)};
    clickButton(dialog, "cmdChange");
    EXPECT_TRUE(tableMarkup(dialog.fields()).contains("BgColor=\"#FF0000\""));
    clickButton(dialog, "cmdChange"); // cancelled
    EXPECT_TRUE(tableMarkup(dialog.fields()).contains("BgColor=\"#FF0000\""));
    clickButton(dialog, "cmdChange");
    EXPECT_TRUE(tableMarkup(dialog.fields()).contains("BgColor=\"#0000FF\""));
    EXPECT_EQ(platform.colorsOffered,
              (QVector<QColor>{Qt::black, QColor(255, 0, 0), QColor(255, 0, 0)}));
}

TEST_F(Table, CancelHandsBackNothing)
{
    clickButton(dialog, "cmdCancel");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(state.dialogResult, "");
}

TEST_F(Dialogs, ImageInsertsOnEnterInAnyField)
{
    for (const char *name : {"txtAttib", "txtID"}) {
        ImageDialog dialog(state);
        type(dialog, "txtAttib", "a.gif", 0);
        QLineEdit *field = name == std::string("txtID") ? find<QLineEdit>(dialog, "txtID")
                                                        : find<QLineEdit>(dialog, "txtAttib", 8);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << name;
        EXPECT_EQ(state.dialogResult, "<IMG Src=\"a.gif\" Align=\"Top\">") << name;
    }
}

TEST_F(Dialogs, TextDialogsShowTheSelectionAndStartEmptyWithout)
{
    state.selectedText = "two\r\nlines";
    AnchorDialog anchor(state);
    CommentDialog comment(state);
    MarqueeDialog marquee(state, platform);
    EXPECT_EQ(find<QLineEdit>(anchor, "txtALT")->text(), "two\r\nlines");
    EXPECT_EQ(find<QLineEdit>(comment, "txtComments")->text(), "two\r\nlines");
    EXPECT_EQ(find<QLineEdit>(marquee, "txtAttib", 0)->text(), "two\r\nlines");
    clickButton(comment, "cmdInsert");
    EXPECT_EQ(state.dialogResult, "<!-- two\r\nlines -->");

    state.selectedText.clear();
    AnchorDialog empty(state);
    EXPECT_EQ(state.dialogResult, "");
    type(empty, "txtURL", "a.html");
    QTest::keyClick(find<QLineEdit>(empty, "txtID"), Qt::Key_Enter);
    EXPECT_EQ(state.dialogResult, "<A HREF=\"a.html\"></A>");
}

TEST_F(Dialogs, RuleAndMarqueeColoursBelongToOneShowing)
{
    platform.colorAnswers = {QColor(0, 0, 255), QColor(0, 100, 0)};
    {
        RuleDialog rule(state, platform);
        clickButton(rule, "cmdChange");
        EXPECT_EQ(state.colorResult, "0000FF");
        clickButton(rule, "cmdChange");
        clickButton(rule, "cmdInsert");
        EXPECT_EQ(state.dialogResult, "<HR Align=\"Center\" Color=\"#006400\">");
    }
    MarqueeDialog marquee(state, platform);
    clickButton(marquee, "cmdInsert");
    EXPECT_EQ(state.dialogResult, "<MARQUEE Align=\"Center\" Behavior=\"Scroll\""
                                  " Direction=\"Right\" Color=\"#FFFFFF\">");
    // The second pick opened on the first; the next dialog's picker would open on black again.
    EXPECT_EQ(platform.colorsOffered, (QVector<QColor>{Qt::black, QColor(0, 0, 255)}));
}

TEST_F(Dialogs, MarqueeListsCanBeClearedToDropTheirAttributes)
{
    MarqueeDialog marquee(state, platform);
    type(marquee, "txtAttib", "Hi", 0);
    for (const char *list : {"cboAlign", "cboBehavior", "cboDirection"})
        find<QComboBox>(marquee, list)->setEditText("");
    find<QComboBox>(marquee, "cboBehavior")->setEditText("Alternate");
    clickButton(marquee, "cmdInsert");
    EXPECT_EQ(state.dialogResult, "<MARQUEE Behavior=\"Alternate\" Color=\"#FFFFFF\">Hi</MARQUEE>");
}

class Colours : public Dialogs {
protected:
    ColourDialog dialog{state, platform};
};

TEST_F(Colours, NamesAreUsableOnlyWhileTheBoxIsTicked)
{
    EXPECT_EQ(dialog.windowTitle(), "Color Dialog");
    auto *names = find<QListWidget>(dialog, "lstColors");
    auto *box = find<QCheckBox>(dialog, "chkColor");
    EXPECT_EQ(state.colorResult, "-1");
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(names->isEnabled());
    box->click();
    EXPECT_TRUE(names->isEnabled());
    clickButton(dialog, "cmdInsert"); // nothing chosen yet
    EXPECT_EQ(state.colorResult, "\"\"");
    const auto red = names->findItems("RED", Qt::MatchExactly);
    ASSERT_EQ(red.size(), 1);
    red.first()->setSelected(true);
    clickButton(dialog, "cmdInsert");
    EXPECT_EQ(state.colorResult, "\"RED\"");
    box->click();
    EXPECT_FALSE(names->isEnabled());
    clickButton(dialog, "cmdInsert");
    EXPECT_EQ(state.colorResult, "\"#FFFFFF\"");
}

TEST_F(Colours, PickedColourIsInsertedOnlyWhenConfirmed)
{
    platform.colorAnswers = {QColor(0, 100, 0), std::nullopt};
    clickButton(dialog, "cmdColors");
    clickButton(dialog, "cmdColors"); // cancelled: the dark green stays
    EXPECT_EQ(platform.colorsOffered, (QVector<QColor>{Qt::black, QColor(0, 100, 0)}));
    EXPECT_EQ(state.colorResult, "-1"); // leaving now by the close box inserts nothing
    clickButton(dialog, "cmdInsert");
    EXPECT_EQ(state.colorResult, "\"#006400\"");
    clickButton(dialog, "cmdCancel");
    EXPECT_EQ(state.colorResult, "-1");
}

class Lists : public Dialogs {
protected:
    void SetUp() override
    {
        state.listKind = 2;
        state.listNumbering = "a";
        state.dialogResult = "old";
    }
    QRadioButton *option(ListDialog &d, const char *name, int k)
    {
        return find<QRadioButton>(d, name, k);
    }
};

TEST_F(Lists, NumberingOnlyForOrderedListsButKeptWhenLeft)
{
    ListDialog dialog(state);
    auto *options = find<QGroupBox>(dialog, "fraOptions");
    for (int k = 0; k < 4; ++k)
        EXPECT_FALSE(option(dialog, "optAttributes", k)->isChecked()) << k;
    EXPECT_TRUE(options->isEnabled());
    option(dialog, "optAttributes", 3)->click();
    option(dialog, "optList", 1)->click();
    EXPECT_FALSE(options->isEnabled());
    option(dialog, "optList", 0)->click();
    EXPECT_TRUE(options->isEnabled());
    option(dialog, "optList", 2)->click();
    clickButton(dialog, "cmdInsert");
    EXPECT_EQ(state.listKind, 2);
    EXPECT_EQ(state.listNumbering, "a");
    EXPECT_EQ(state.listItemCount, 1);
}

TEST_F(Lists, OrderedWithoutNumberingAndCancel)
{
    {
        ListDialog dialog(state);
        EXPECT_EQ(state.listKind, -1);
        EXPECT_EQ(state.listNumbering, "");
        EXPECT_EQ(state.dialogResult, "");
        EXPECT_EQ(find<QLabel>(dialog, "lblItems")->text(), "1");
        clickButton(dialog, "cmdInsert");
        EXPECT_EQ(state.listKind, 0);
        EXPECT_EQ(state.listNumbering, "");
    }
    ListDialog dialog(state);
    clickButton(dialog, "cmdCancel");
    EXPECT_EQ(state.listKind, -1);
}

TEST_F(Dialogs, DateOffersTenEntriesAndHandsBackTheChosenOne)
{
    state.dateText = "old";
    DateDialog dialog(state, QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
    EXPECT_EQ(state.dateText, "");
    auto *dates = find<QListWidget>(dialog, "lstDate");
    ASSERT_EQ(dates->count(), 10);
    EXPECT_EQ(dates->currentRow(), 0);
    dates->setCurrentRow(4);
    clickButton(dialog, "cmdOK");
    EXPECT_EQ(state.dateText, "12/07/26");
    clickButton(dialog, "cmdCancel");
    EXPECT_EQ(state.dateText, "");
}

TEST_F(Dialogs, ValidationBlankValueShowsTheEmptyStringItComparesWith)
{
    ValidationDialog dialog(state);
    EXPECT_TRUE(find<QRadioButton>(dialog, "optEqualTo")->isChecked());
    EXPECT_FALSE(find<QComboBox>(dialog, "cboControl")->isEditable());
    find<QRadioButton>(dialog, "optVBScript")->setChecked(true);
    find<QRadioButton>(dialog, "optGTE")->click();
    type(dialog, "txtControlName", "qty");
    type(dialog, "txtValue", "   ");
    type(dialog, "txtMessage", "Required");
    clickButton(dialog, "cmdInsert");
    EXPECT_EQ(find<QLineEdit>(dialog, "txtValue")->text(), "\"\"");
    EXPECT_EQ(state.dialogResult, "If qty.Value>=\"\" Then\r\n"
                                  "     Msgbox \"Required\",0, \"Validation Error\"\r\n"
                                  "End If\r\n");
}

} // namespace
} // namespace pw
