// The PHP database dialog opened from its toolbar button: its controls, Create into the
// panes' directory, and the definition file through Save and Load.
#include "generators/php_data_dialog.h"
#include "support/main_window_harness.h"
#include "support/named_controls.h"
#include "support/qt_print.h"
#include "support/test_files.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace pw;
using namespace pw::test;

namespace {

const MessageRecord kCreated{"PHP Database Dialog", "The Pages Have Been Created", MsgButtons::Ok,
                             MsgIcon::Information};
const MessageRecord kSaved{"PHP Database Dialog", "The File Has Been Saved", MsgButtons::Ok,
                           MsgIcon::Information};

const char *const kBoxes[] = {"txtDSN", "txtUserName", "txtPassword", "txtTable", "txtFields"};

class PhpDataDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = &h.start();
        QDir().mkpath(h.path("site"));
        window->panes().showDirectory(h.path("site"));
    }

    // Opens the dialog from its toolbar button and runs `steps` in it while it is shown.
    void run(const std::function<void(QDialog &)> &steps)
    {
        h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
            steps(dialog);
            return int(QDialog::Rejected);
        });
        auto *button = window->findChild<QAbstractButton *>("cmdPHPDataDialog");
        ASSERT_NE(button, nullptr);
        button->click();
        ASSERT_FALSE(h.platform.dialogsRun.isEmpty());
        EXPECT_EQ(h.platform.dialogsRun.back(), "frmPHPDataDialog");
    }

    static QLineEdit *box(QDialog &dialog, const char *name)
    {
        return dialog.findChild<QLineEdit *>(name);
    }
    static QCheckBox *page(QDialog &dialog, int index)
    {
        for (QCheckBox *check : dialog.findChildren<QCheckBox *>("chkPages")) {
            if (check->property("index").toInt() == index)
                return check;
        }
        return nullptr;
    }
    static void click(QDialog &dialog, const char *name)
    {
        dialog.findChild<QPushButton *>(name)->click();
    }

    MainWindowHarness h;
    MainWindow *window = nullptr;
};

} // namespace

TEST_F(PhpDataDialogTest, ControlsCarryTheirNamesAndCaptions)
{
    run([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "PHP Database Dialog");
        expectTexts<QLabel>(
            dialog, {{"Label1", "DSN"},
                     {"Label2", "Username"},
                     {"Label3", "Password"},
                     {"Label6", "Table"},
                     {"Label4", "Fields (Ex:  FirstName|String|LastName|String|Age|Numeric)"},
                     {"Label5", "The PHP Database Dialog only creates ODBC databases at this "
                                "time.  Future versions may include other formats.  Please "
                                "choose the directory to publish into on the left and supply "
                                "the information needed.  Then, click Create!"}});
        expectTexts<QPushButton>(dialog, {{"cmdLoad", "&Load"},
                                          {"cmdSave", "&Save"},
                                          {"cmdCreate", "&Create"},
                                          {"cmdExit", "E&xit"}});
        for (const auto &[name, title] : {std::pair{"fraDBInfo", "ODBC Database Information"},
                                          std::pair{"fraOutputOptions", "Output Directory"},
                                          std::pair{"fraPages", "Pages To Create"}}) {
            auto *frame = dialog.findChild<QGroupBox *>(name);
            ASSERT_NE(frame, nullptr) << name;
            EXPECT_EQ(frame->title(), title);
        }
        for (const char *name : kBoxes) {
            ASSERT_NE(box(dialog, name), nullptr) << name;
            EXPECT_TRUE(box(dialog, name)->text().isEmpty());
        }
        for (const char *name : {"MyDrive", "MyDirectory"})
            EXPECT_NE(dialog.findChild<QWidget *>(name), nullptr) << name;
        const std::pair<int, const char *> pages[] = {
            {0, "Add"}, {1, "Update"}, {3, "Delete"}, {4, "List All"}, {5, "Menu"}};
        EXPECT_EQ(dialog.findChildren<QCheckBox *>("chkPages").size(), 5);
        for (const auto &[index, caption] : pages) {
            QCheckBox *check = page(dialog, index);
            ASSERT_NE(check, nullptr) << index;
            EXPECT_EQ(check->text(), caption);
            EXPECT_TRUE(check->isChecked());
        }
        EXPECT_EQ(static_cast<PhpDataDialog &>(dialog).targetDirectory(), h.path("site"));
        QSignalSpy closed(&dialog, &QDialog::rejected);
        click(dialog, "cmdExit");
        EXPECT_EQ(closed.count(), 1);
    });
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST_F(PhpDataDialogTest, CreateWritesTheCheckedPagesAndNamesThoseThatFailed)
{
    run([&](QDialog &dialog) {
        box(dialog, "txtDSN")->setText("pagewick");
        box(dialog, "txtTable")->setText("People");
        box(dialog, "txtFields")->setText("FirstName|String|Age|Numeric");
        page(dialog, 0)->setChecked(false);
        page(dialog, 3)->setChecked(false);
        click(dialog, "cmdCreate");
        EXPECT_EQ(QDir(h.path("site")).entryList(QDir::Files, QDir::Name),
                  QStringList({"list_all.php", "menu.html", "update.php", "update_form.php",
                               "update_listing.php"}));

        // A folder where a page should go: that page alone is missing, and said so.
        QDir().mkpath(h.path("site/delete.php"));
        page(dialog, 0)->setChecked(true);
        page(dialog, 3)->setChecked(true);
        h.platform.messageAnswers = {MsgAnswer::Yes}; // replace the pages made before
        click(dialog, "cmdCreate");
    });
    EXPECT_EQ(QDir(h.path("site")).entryList(QDir::Files, QDir::Name),
              QStringList({"add.php", "add_form.html", "delete_listing.php", "list_all.php",
                           "menu.html", "update.php", "update_form.php", "update_listing.php"}));
    const QByteArray form = h.readFile(h.path("site/add_form.html"));
    EXPECT_TRUE(form.startsWith("<HTML>\r\n"));
    EXPECT_TRUE(form.endsWith("</BODY></HTML>\r\n"));
    EXPECT_TRUE(form.contains("<INPUT Name=Age></INPUT>"));
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {kCreated,
                   {"PHP Database Dialog",
                    "These Files Already Exist:\r\nupdate_listing.php\r\nupdate_form.php\r\n"
                    "update.php\r\nlist_all.php\r\nmenu.html\r\nReplace Them?",
                    MsgButtons::YesNo, MsgIcon::Question},
                   {"Sorry...", "These Files Could Not Be Saved:\r\ndelete.php", MsgButtons::Ok,
                    MsgIcon::Information}}));
    ASSERT_EQ(h.platform.messageDetails.size(), 3);
    EXPECT_TRUE(h.platform.messageDetails[2].startsWith("delete.php: ")); // and why
    EXPECT_EQ(h.platform.busyDepth, 0);
    EXPECT_GE(h.platform.maxBusyDepth, 1);
}

// A field PHP would rename on the way in (a blank, a dot, a "[") would never reach its page:
// Create names such fields and writes nothing until they are renamed.
TEST_F(PhpDataDialogTest, FieldNamesPhpWouldRenameStopCreate)
{
    run([&](QDialog &dialog) {
        box(dialog, "txtDSN")->setText("pagewick");
        box(dialog, "txtTable")->setText("People");
        box(dialog, "txtFields")->setText("First Name|String|Age|Numeric|a.b|String");
        click(dialog, "cmdCreate");
        EXPECT_TRUE(QDir(h.path("site")).entryList(QDir::Files).isEmpty());
        box(dialog, "txtFields")->setText("First_Name|String|Age|Numeric");
        click(dialog, "cmdCreate");
    });
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"PHP Database Dialog",
                    "A Field Name Cannot Hold A Blank, A Dot Or \"[\": First Name, a.b",
                    MsgButtons::Ok, MsgIcon::Information},
                   kCreated}));
    EXPECT_TRUE(h.readFile(h.path("site/add_form.html")).contains("<INPUT Name=First_Name>"));
}

// Create over pages that are there already asks once, naming them; No writes nothing at all
// (a hand-made menu.html survives byte for byte), Yes writes every page.
TEST_F(PhpDataDialogTest, CreateOverExistingPagesAsksOnceAndNoWritesNothing)
{
    const QString menu = h.path("site/menu.html");
    writeFile(menu, "<P>my own menu</P>\n");
    writeFile(h.path("site/add.php"), "<?php // mine ?>");
    const auto snapshot = [&] {
        QStringList files;
        for (const QString &name : QDir(h.path("site")).entryList(QDir::Files, QDir::Name))
            files << name + "="
                         + QCryptographicHash::hash(h.readFile(h.path("site/" + name)),
                                                    QCryptographicHash::Sha256)
                               .toHex();
        return files;
    };
    const QStringList before = snapshot();
    const MessageRecord question{"PHP Database Dialog",
                                 "These Files Already Exist:\r\nadd.php\r\nmenu.html\r\n"
                                 "Replace Them?",
                                 MsgButtons::YesNo, MsgIcon::Question};
    run([&](QDialog &dialog) {
        box(dialog, "txtDSN")->setText("pagewick");
        box(dialog, "txtTable")->setText("People");
        box(dialog, "txtFields")->setText("Name|String");
        h.platform.messageAnswers = {MsgAnswer::No};
        click(dialog, "cmdCreate");
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({question}));

        h.platform.messageAnswers = {MsgAnswer::Yes};
        click(dialog, "cmdCreate");
    });
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({question, question, kCreated}));
    EXPECT_EQ(QDir(h.path("site")).entryList(QDir::Files).size(), 9);
    EXPECT_FALSE(h.readFile(menu).contains("my own menu"));
}

TEST_F(PhpDataDialogTest, SaveThenLoadRestoresEveryBoxAndKeepsThePasswordPrivate)
{
    const QString file = h.path("site/people.def");
    const char *const values[] = {"pagewick", "admin", "p\"w|d", "People",
                                  "FirstName|String|LastName|String"};
    h.platform.fileAnswers = {file, QString(), file};
    run([&](QDialog &dialog) {
        for (int i = 0; i < 5; ++i)
            box(dialog, kBoxes[i])->setText(values[i]);
        click(dialog, "cmdSave");
        for (const char *name : kBoxes)
            box(dialog, name)->setText("changed");
        click(dialog, "cmdLoad"); // cancelled: nothing changes
        EXPECT_EQ(box(dialog, "txtDSN")->text(), "changed");
        click(dialog, "cmdLoad");
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(box(dialog, kBoxes[i])->text(), values[i]) << kBoxes[i];
    });
    EXPECT_EQ(h.readFile(file), "\"pagewick\"\r\n\"People\"\r\n\"admin\"\r\n\"p\"w|d\"\r\n"
                                "\"FirstName|String|LastName|String\"\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kSaved}));
    ASSERT_EQ(h.platform.pickers.size(), 3);
    EXPECT_EQ(h.platform.pickers[0].kind, "save");
    EXPECT_EQ(h.platform.pickers[0].directory, h.path("site"));
    EXPECT_EQ(h.platform.pickers[2].kind, "open");
}

TEST_F(PhpDataDialogTest, AFileThatIsNoDefinitionChangesNoBoxAndAFailedSaveSaysSo)
{
    const QString shortFile = h.writeFile("site/short.def", "\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n");
    QDir().mkpath(h.path("site/folder.def"));
    h.platform.fileAnswers = {shortFile, h.path("site/missing.def"), h.path("site/folder.def")};
    run([&](QDialog &dialog) {
        box(dialog, "txtDSN")->setText("kept");
        click(dialog, "cmdLoad");
        click(dialog, "cmdLoad");
        EXPECT_EQ(box(dialog, "txtDSN")->text(), "kept");
        EXPECT_TRUE(box(dialog, "txtTable")->text().isEmpty());
        click(dialog, "cmdSave");
    });
    const MessageRecord notLoaded{"PHP Database Dialog", "Could Not Load The File", MsgButtons::Ok,
                                  MsgIcon::Information};
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({notLoaded,
                                      notLoaded,
                                      {"Sorry...", "These Files Could Not Be Saved:\r\nfolder.def",
                                       MsgButtons::Ok, MsgIcon::Information}}));
}
