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
Control *Find(const QObject &dialog, const char *name, int index = -1)
{
    for (Control *control : dialog.findChildren<Control *>(QString::fromUtf8(name))) {
        if (index < 0 || control->property("index").toInt() == index)
            return control;
    }
    ADD_FAILURE() << "no control " << name << " " << index;
    return nullptr;
}

void Click(const QObject &dialog, const char *name)
{
    Find<QPushButton>(dialog, name)->click();
}

void Type(const QObject &dialog, const char *name, const QString &text, int index = -1)
{
    Find<QLineEdit>(dialog, name, index)->setText(text);
}

class Dialogs : public ::testing::Test {
protected:
    // Values an earlier dialog left behind; each dialog must reset its own.
    Dialogs()
    {
        state.DialogResult = "left from before";
        state.ColorResult = "left from before";
    }
    ProgramState state;
    test::FakePlatform platform;
};

class Table : public Dialogs {
protected:
    void cell(int row, int column)
    {
        Find<QTableWidget>(dialog, "MyTable")->setCurrentCell(row, column);
    }
    void save(int row, int column, const QString &text)
    {
        cell(row, column);
        Type(dialog, "txtCellText", text);
        Click(dialog, "cmdSave");
    }
    void size(int rows, int columns)
    {
        Find<QSlider>(dialog, "sldRows")->setValue(rows);
        Find<QSlider>(dialog, "sldCols")->setValue(columns);
    }
    TableDialog dialog{state, platform};
};

TEST_F(Table, StartsAsOneEmptyCellAndHandsBackNothingUntilInsert)
{
    EXPECT_EQ(state.DialogResult, "");
    EXPECT_EQ(Find<QLabel>(dialog, "lblCoord")->text(), "(1, 1)");
    EXPECT_EQ(Find<QComboBox>(dialog, "cboAlign")->currentText(), "Right");
    EXPECT_EQ(Find<QComboBox>(dialog, "cboVAlign")->currentText(), "Top");
    Click(dialog, "cmdInsert");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(state.DialogResult, "<TABLE Align=\"Right\" VAlign=\"Top\" BackColor=\"#FFFFFF\">\r\n"
                                  "     <TR>\r\n          <TH></TH>\r\n     </TR>\r\n</TABLE>");
}

TEST_F(Table, SavedCellsAreWrittenAndTextLeftUnsavedIsDropped)
{
    size(2, 2);
    save(0, 0, "Name");
    save(1, 1, " 42 ");
    cell(1, 0);
    EXPECT_EQ(Find<QLabel>(dialog, "lblCoord")->text(), "(2, 1)");
    Type(dialog, "txtCellText", "never saved");
    cell(0, 1); // moving on drops it
    EXPECT_EQ(Find<QLineEdit>(dialog, "txtCellText")->text(), "");
    cell(1, 1);
    EXPECT_EQ(Find<QLineEdit>(dialog, "txtCellText")->text(), " 42 ");
    Type(dialog, "txtCellText", "typed, then Insert"); // Insert does not save either
    Find<QComboBox>(dialog, "cboAlign")->setEditText("");
    Click(dialog, "cmdInsert");
    EXPECT_EQ(state.DialogResult, "<TABLE VAlign=\"Top\" BackColor=\"#FFFFFF\">\r\n"
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
    Click(dialog, "cmdInsert");
    EXPECT_FALSE(state.DialogResult.contains("third"));
    EXPECT_EQ(state.DialogResult.count("<TR>"), 2);

    size(3, 1);
    EXPECT_EQ(Find<QTableWidget>(dialog, "MyTable")->item(2, 0)->text(), "third");
    EXPECT_TRUE(TableMarkup(dialog.fields()).contains("          <TD>third</TD>\r\n"));
}

TEST_F(Table, BackgroundFollowsThePickerAndCancelLeavesIt)
{
    platform.colorAnswers = {QColor(255, 0, 0), std::nullopt, QColor(0, 0, 255)};
    Click(dialog, "cmdChange");
    EXPECT_TRUE(TableMarkup(dialog.fields()).contains("BackColor=\"#FF0000\""));
    Click(dialog, "cmdChange"); // cancelled
    EXPECT_TRUE(TableMarkup(dialog.fields()).contains("BackColor=\"#FF0000\""));
    Click(dialog, "cmdChange");
    EXPECT_TRUE(TableMarkup(dialog.fields()).contains("BackColor=\"#0000FF\""));
    EXPECT_EQ(platform.colorsOffered,
              (QVector<QColor>{Qt::black, QColor(255, 0, 0), QColor(255, 0, 0)}));
}

TEST_F(Table, CancelHandsBackNothing)
{
    Click(dialog, "cmdCancel");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(state.DialogResult, "");
}

TEST_F(Dialogs, ImageInsertsOnEnterInAnyField)
{
    for (const char *name : {"txtAttib", "txtID"}) {
        ImageDialog dialog(state);
        Type(dialog, "txtAttib", "a.gif", 0);
        QLineEdit *field = name == std::string("txtID") ? Find<QLineEdit>(dialog, "txtID")
                                                        : Find<QLineEdit>(dialog, "txtAttib", 8);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << name;
        EXPECT_EQ(state.DialogResult, "<IMG Src=\"a.gif\" Align=\"Top\">") << name;
    }
}

TEST_F(Dialogs, TextDialogsShowTheSelectionAndStartEmptyWithout)
{
    state.SelectedText = "two\r\nlines";
    AnchorDialog anchor(state);
    CommentDialog comment(state);
    MarqueeDialog marquee(state, platform);
    EXPECT_EQ(Find<QLineEdit>(anchor, "txtALT")->text(), "two\r\nlines");
    EXPECT_EQ(Find<QLineEdit>(comment, "txtComments")->text(), "two\r\nlines");
    EXPECT_EQ(Find<QLineEdit>(marquee, "txtAttib", 0)->text(), "two\r\nlines");
    Click(comment, "cmdInsert");
    EXPECT_EQ(state.DialogResult, "<!-- two\r\nlines -->");

    state.SelectedText.clear();
    AnchorDialog empty(state);
    EXPECT_EQ(state.DialogResult, "");
    Type(empty, "txtURL", "a.html");
    QTest::keyClick(Find<QLineEdit>(empty, "txtID"), Qt::Key_Enter);
    EXPECT_EQ(state.DialogResult, "<A HREF=\"a.html\"></A>");
}

TEST_F(Dialogs, RuleAndMarqueeColoursBelongToOneShowing)
{
    platform.colorAnswers = {QColor(0, 0, 255), QColor(0, 100, 0)};
    {
        RuleDialog rule(state, platform);
        Click(rule, "cmdChange");
        EXPECT_EQ(state.ColorResult, "0000FF");
        Click(rule, "cmdChange");
        Click(rule, "cmdInsert");
        EXPECT_EQ(state.DialogResult, "<HR Align=\"Center\" Color=\"#006400\">");
    }
    MarqueeDialog marquee(state, platform);
    Click(marquee, "cmdInsert");
    EXPECT_EQ(state.DialogResult, "<MARQUEE Align=\"Center\" Behavior=\"Scroll\""
                                  " Direction=\"Right\" Color=\"#FFFFFF\">");
    // The second pick opened on the first; the next dialog's picker would open on black again.
    EXPECT_EQ(platform.colorsOffered, (QVector<QColor>{Qt::black, QColor(0, 0, 255)}));
}

TEST_F(Dialogs, MarqueeListsCanBeClearedToDropTheirAttributes)
{
    MarqueeDialog marquee(state, platform);
    Type(marquee, "txtAttib", "Hi", 0);
    for (const char *list : {"cboAlign", "cboBehavior", "cboDirection"})
        Find<QComboBox>(marquee, list)->setEditText("");
    Find<QComboBox>(marquee, "cboBehavior")->setEditText("Alternate");
    Click(marquee, "cmdInsert");
    EXPECT_EQ(state.DialogResult, "<MARQUEE Behavior=\"Alternate\" Color=\"#FFFFFF\">Hi</MARQUEE>");
}

class Colours : public Dialogs {
protected:
    ColourDialog dialog{state, platform};
};

TEST_F(Colours, NamesAreUsableOnlyWhileTheBoxIsTicked)
{
    EXPECT_EQ(dialog.windowTitle(), "Color Dialog");
    auto *names = Find<QListWidget>(dialog, "lstColors");
    auto *box = Find<QCheckBox>(dialog, "chkColor");
    EXPECT_EQ(state.ColorResult, "-1");
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(names->isEnabled());
    box->click();
    EXPECT_TRUE(names->isEnabled());
    Click(dialog, "cmdInsert"); // nothing chosen yet
    EXPECT_EQ(state.ColorResult, "\"\"");
    const auto red = names->findItems("RED", Qt::MatchExactly);
    ASSERT_EQ(red.size(), 1);
    red.first()->setSelected(true);
    Click(dialog, "cmdInsert");
    EXPECT_EQ(state.ColorResult, "\"RED\"");
    box->click();
    EXPECT_FALSE(names->isEnabled());
    Click(dialog, "cmdInsert");
    EXPECT_EQ(state.ColorResult, "\"#FFFFFF\"");
}

TEST_F(Colours, PickedColourIsInsertedOnlyWhenConfirmed)
{
    platform.colorAnswers = {QColor(0, 100, 0), std::nullopt};
    Click(dialog, "cmdColors");
    Click(dialog, "cmdColors"); // cancelled: the dark green stays
    EXPECT_EQ(platform.colorsOffered, (QVector<QColor>{Qt::black, QColor(0, 100, 0)}));
    EXPECT_EQ(state.ColorResult, "-1"); // leaving now by the close box inserts nothing
    Click(dialog, "cmdInsert");
    EXPECT_EQ(state.ColorResult, "\"#006400\"");
    Click(dialog, "cmdCancel");
    EXPECT_EQ(state.ColorResult, "-1");
}

class Lists : public Dialogs {
protected:
    void SetUp() override
    {
        state.ListKind = 2;
        state.ListNumbering = "a";
        state.DialogResult = "old";
    }
    QRadioButton *option(ListDialog &d, const char *name, int k)
    {
        return Find<QRadioButton>(d, name, k);
    }
};

TEST_F(Lists, NumberingOnlyForOrderedListsButKeptWhenLeft)
{
    ListDialog dialog(state);
    auto *options = Find<QGroupBox>(dialog, "fraOptions");
    for (int k = 0; k < 4; ++k)
        EXPECT_FALSE(option(dialog, "optAttributes", k)->isChecked()) << k;
    EXPECT_TRUE(options->isEnabled());
    option(dialog, "optAttributes", 3)->click();
    option(dialog, "optList", 1)->click();
    EXPECT_FALSE(options->isEnabled());
    option(dialog, "optList", 0)->click();
    EXPECT_TRUE(options->isEnabled());
    option(dialog, "optList", 2)->click();
    Click(dialog, "cmdInsert");
    EXPECT_EQ(state.ListKind, 2);
    EXPECT_EQ(state.ListNumbering, "a");
    EXPECT_EQ(state.ListItemCount, 1);
}

TEST_F(Lists, OrderedWithoutNumberingAndCancel)
{
    {
        ListDialog dialog(state);
        EXPECT_EQ(state.ListKind, -1);
        EXPECT_EQ(state.ListNumbering, "");
        EXPECT_EQ(state.DialogResult, "");
        EXPECT_EQ(Find<QLabel>(dialog, "lblItems")->text(), "1");
        Click(dialog, "cmdInsert");
        EXPECT_EQ(state.ListKind, 0);
        EXPECT_EQ(state.ListNumbering, "");
    }
    ListDialog dialog(state);
    Click(dialog, "cmdCancel");
    EXPECT_EQ(state.ListKind, -1);
}

TEST_F(Dialogs, DateOffersTenEntriesAndHandsBackTheChosenOne)
{
    state.DateText = "old";
    DateDialog dialog(state, QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
    EXPECT_EQ(state.DateText, "");
    auto *dates = Find<QListWidget>(dialog, "lstDate");
    ASSERT_EQ(dates->count(), 10);
    EXPECT_EQ(dates->currentRow(), 0);
    dates->setCurrentRow(4);
    Click(dialog, "cmdOK");
    EXPECT_EQ(state.DateText, "12/07/26");
    Click(dialog, "cmdCancel");
    EXPECT_EQ(state.DateText, "");
}

TEST_F(Dialogs, ValidationBlankValueShowsTheEmptyStringItComparesWith)
{
    ValidationDialog dialog(state);
    EXPECT_TRUE(Find<QRadioButton>(dialog, "optEqualTo")->isChecked());
    EXPECT_FALSE(Find<QComboBox>(dialog, "cboControl")->isEditable());
    Find<QRadioButton>(dialog, "optVBScript")->setChecked(true);
    Find<QRadioButton>(dialog, "optGTE")->click();
    Type(dialog, "txtControlName", "qty");
    Type(dialog, "txtValue", "   ");
    Type(dialog, "txtMessage", "Required");
    Click(dialog, "cmdInsert");
    EXPECT_EQ(Find<QLineEdit>(dialog, "txtValue")->text(), "\"\"");
    EXPECT_EQ(state.DialogResult, "If qty.Value>=\"\" Then\r\n"
                                  "     Msgbox \"Required\",0, \"Validation Error\"\r\n"
                                  "End If\r\n");
}

} // namespace
} // namespace pw
