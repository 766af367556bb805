// The RTF batch dialog with the real converter library loaded by file name.
#include "support/qt_print.h"
#include "support/main_window_harness.h"
#include "support/named_controls.h"
#include "support/test_files.h"
#include "tools/quorvel_loader.h"
#include "tools/rtf_batch.h"
#include "tools/rtf_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

const QByteArray kRtf = "{\\rtf1{\\colortbl}Hello \\b bold\\b0\\par}";
const MessageRecord kConverted{"RTF to HTML Conversion Dialog", "The Files Have Been Converted",
                               MsgButtons::Ok, MsgIcon::Information};
// The failure message names the file and gives the reason.
MessageRecord errorMessage(const QString &name, const QString &reason)
{
    return {"RTF to HTML Conversion Dialog",
            "The Was An Error Converting The Files\r\n\r\n" + name + ": " + reason, MsgButtons::Ok,
            MsgIcon::Information};
}

class RtfDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = &h.start();
        // Most tests check the tool's faithful conversion; the clean mode, on by default,
        // has its own tests at the end.
        if (faithful)
            h.settings->writeBool(QStringLiteral("Settings"), QStringLiteral("RTFCleanHTML"),
                                  false);
        QDir().mkpath(h.path("docs"));
        window->panes().showDirectory(h.path("docs"));
    }

    QString file(const QString &name, const QByteArray &bytes = kRtf)
    {
        return h.writeFile("docs/" + name, bytes);
    }

    // Shows the dialog converting with `library` and runs `steps` in it.
    void run(QuorvelLibrary &library, const std::function<void(QDialog &)> &steps)
    {
        h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
            steps(dialog);
            return int(QDialog::Rejected);
        });
        FeatureContext context = window->featureContext();
        runRTFDialog(context, library);
        EXPECT_EQ(h.platform.dialogsRun.back(), "frmRTFDialog");
    }

    static QStringList selected(QDialog &dialog)
    {
        return dialog.findChild<FileList *>("MyFileList")->selectedNames();
    }
    static void select(QDialog &dialog, const QStringList &names)
    {
        auto *files = dialog.findChild<QListWidget *>("MyFileList");
        for (int row = 0; row < files->count(); ++row)
            files->item(row)->setSelected(names.contains(files->item(row)->text()));
    }
    static void start(QDialog &dialog) { dialog.findChild<QPushButton *>("cmdStart")->click(); }

    QStringList listing()
    {
        QStringList names = QDir(h.path("docs")).entryList(QDir::Files | QDir::Hidden);
        names.sort();
        return names;
    }

    MainWindowHarness h;
    MainWindow *window = nullptr;
    bool faithful = true;
    QuorvelLibrary library{{QuorvelLibrary::fileNameIn(QStringLiteral(PAGEWICK_BIN_DIR))}};
};

} // namespace

TEST(RtfTarget, LastThreeCharactersBecomeHtml)
{
    EXPECT_EQ(rtfTargetPath("/d/doc.rtf"), "/d/doc.html");
    EXPECT_EQ(rtfTargetPath("/d/DOC.RTF"), "/d/DOC.html");
    EXPECT_EQ(rtfTargetPath("/d/notes.txt"), "/d/notes.html");
    EXPECT_EQ(rtfTargetPath("c:\\docs\\doc.rtf"), "c:\\docs\\doc.html");
    EXPECT_EQ(rtfTargetPath("/d/ab"), std::nullopt);
    EXPECT_TRUE(isRtfName("a.RTF"));
    EXPECT_TRUE(isRtfName("xrtf"));
    EXPECT_FALSE(isRtfName("a.rtf.bak"));
    EXPECT_FALSE(isRtfName("rt"));
}

TEST_F(RtfDialogTest, SelectAllMarksRtfNamesAndStartConvertsEverySelectedFile)
{
    file("doc.rtf");
    file("DOC.RTF");
    file("notes.txt");
    file("a.rtf.bak");
    file("doc.html", "old contents");
    run(library, [&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "RTF to HTML Conversion Dialog");
        select(dialog, {"notes.txt"});
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        // Only names ending in "rtf" are added; notes.txt keeps its selection.
        QStringList names = selected(dialog);
        names.sort();
        EXPECT_EQ(names, QStringList({"DOC.RTF", "doc.rtf", "notes.txt"}));
        h.platform.messageAnswers = {MsgAnswer::Yes}; // doc.html is there already
        start(dialog);
        EXPECT_EQ(dialog.findChild<QProgressBar *>("MyProgress")->value(), 0);
        dialog.findChild<QPushButton *>("cmdSelectNone")->click();
        EXPECT_TRUE(selected(dialog).isEmpty());
    });
    // Flags 0: the body text alone, without frame, title or font (the fixed title and font
    // name passed along have no effect).
    for (const char *name : {"doc.html", "DOC.html", "notes.html"})
        EXPECT_EQ(h.readFile(h.path("docs/") + name), "Hello <B>bold</B><BR>\r\n\r\n") << name;
    EXPECT_FALSE(QFile::exists(h.path("docs/a.rtf.html")));
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"RTF to HTML Conversion Dialog",
                                       "These Files Already Exist:\r\ndoc.html\r\nReplace Them?",
                                       MsgButtons::YesNo, MsgIcon::Question},
                                      kConverted}));
    EXPECT_EQ(h.platform.busyDepth, 0);
    EXPECT_EQ(h.platform.maxBusyDepth, 1);
    // No scratch file is left beside the targets.
    EXPECT_EQ(listing(), QStringList({"DOC.RTF", "DOC.html", "a.rtf.bak", "doc.html", "doc.rtf",
                                      "notes.html", "notes.txt"}));
}

// Targets that exist are named before the first conversion; No converts nothing, so every
// file keeps its bytes (One.html included) and no new target appears.
TEST_F(RtfDialogTest, ExistingTargetsAreListedBeforeTheRunAndNoConvertsNothing)
{
    file("One.rtf");
    file("Two.rtf");
    file("Three.rtf");
    file("One.html", "<P>kept</P>");
    file("Two.html", "<P>also kept</P>");
    const auto hashes = [&] {
        QStringList all;
        for (const QString &name : listing())
            all << name + " "
                       + QCryptographicHash::hash(h.readFile(h.path("docs/" + name)),
                                                  QCryptographicHash::Sha256)
                             .toHex();
        return all;
    };
    const QStringList before = hashes();
    run(library, [&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        h.platform.messageAnswers = {MsgAnswer::No};
        start(dialog);
    });
    EXPECT_EQ(hashes(), before);
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"RTF to HTML Conversion Dialog",
                                       "These Files Already Exist:\r\nOne.html\r\nTwo.html\r\n"
                                       "Replace Them?",
                                       MsgButtons::YesNo, MsgIcon::Question}}));
    EXPECT_EQ(h.platform.busyDepth, 0);
}

// A file whose name is not UTF-8 is listed, picked by Select All like any "rtf" name, and
// then skipped and named at the end: it stays byte-identical and no page is written for it,
// under its bytes or under the name as shown. Selected alone, it is named and nothing runs.
TEST_F(RtfDialogTest, FilesWithNamesThatAreNotUtf8AreListedThenSkippedAndNamed)
{
    BytesNamedEntries named(h.path("docs"));
    named.file("\xff\xfe.rtf", kRtf);
    named.removeAtEnd("\xff\xfe.html");
    file("doc.rtf");
    const QString odd = shownName("\xff\xfe.rtf");
    const MessageRecord skipped{
        "Sorry...", "These Files Were Skipped Because Their Names Are Not Valid UTF-8:\r\n" + odd,
        MsgButtons::Ok, MsgIcon::Information};
    run(library, [&](QDialog &dialog) {
        EXPECT_EQ(dialog.findChild<FileList *>("MyFileList")->fileNames(),
                  QStringList({"doc.rtf", odd}));
        select(dialog, {odd});
        start(dialog);
        EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({skipped}));
        EXPECT_EQ(listing(), QStringList({"doc.rtf"}));

        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        EXPECT_EQ(selected(dialog), QStringList({"doc.rtf", odd}));
        start(dialog);
    });
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({skipped, skipped, kConverted}));
    EXPECT_EQ(h.readFile(h.path("docs/doc.html")), "Hello <B>bold</B><BR>\r\n\r\n");
    EXPECT_EQ(named.read("\xff\xfe.rtf"), kRtf);
    EXPECT_TRUE(named.read("\xff\xfe.html").isNull());
    EXPECT_EQ(listing(), QStringList({"doc.html", "doc.rtf"}));
    EXPECT_EQ(h.platform.busyDepth, 0);
}

TEST_F(RtfDialogTest, ControlsCarryTheirNamesAndCaptions)
{
    run(library, [&](QDialog &dialog) {
        expectTexts<QLabel>(dialog, {
                                        {"Label1", "STEP 1 - Choose The Drive and Directory"},
                                        {"Label2", "STEP 2 - Select the RTF File(s) To Convert"},
                                        {"Label4", "STEP 3 - Click Start"},
                                        {"Label8", "Status"},
                                        {"Label10", "STEP 4 - Click Cancel When Finished"},
                                    });
        expectTexts<QPushButton>(dialog, {
                                             {"cmdSelectAll", "Select &All"},
                                             {"cmdSelectNone", "Select &None"},
                                             {"cmdStart", "&Start"},
                                             {"cmdCancel", "&Cancel"},
                                         });
        for (const char *name : {"MyDrive", "MyDirectory", "MyFileList", "MyProgress"})
            EXPECT_NE(dialog.findChild<QWidget *>(name), nullptr) << name;
    });
    auto *button = window->findChild<QAbstractButton *>("cmdRTFDialog");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), "RTF to HTML Conversion Dialog");
    EXPECT_EQ(window->findChild<QAbstractButton *>("cmdDirDialog")->toolTip(),
              "Directory Replace Dialog");
    EXPECT_EQ(window->findChild<QAbstractButton *>("cmdLowerCase")->toolTip(),
              "Convert Filenames To Lower Case Dialog");
}

TEST_F(RtfDialogTest, NothingSelectedAsksForAFile)
{
    file("doc.rtf");
    run(library, [&](QDialog &dialog) { start(dialog); });
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"Sorry...", "You Must Select At Least One RTF File",
                                       MsgButtons::Ok, MsgIcon::Information}}));
    EXPECT_EQ(h.platform.busyDepth, 0);
    EXPECT_FALSE(QFile::exists(h.path("docs/doc.html")));
}

TEST_F(RtfDialogTest, AFailedFileEndsTheRunWithoutAPartialTarget)
{
    file("a.rtf");
    file("b.rtf", "not rtf at all");
    file("b.html", "kept");
    file("c.rtf");
    run(library, [&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        h.platform.messageAnswers = {MsgAnswer::Yes}; // b.html may be replaced
        start(dialog);
    });
    EXPECT_TRUE(h.readFile(h.path("docs/a.html")).startsWith("Hello"));
    EXPECT_EQ(h.readFile(h.path("docs/b.html")), "kept");
    EXPECT_FALSE(QFile::exists(h.path("docs/c.html")));
    EXPECT_EQ(library.errorString(), "Quorvel: RTF header is missing. Conversion aborted.");
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"RTF to HTML Conversion Dialog",
                    "These Files Already Exist:\r\nb.html\r\nReplace Them?", MsgButtons::YesNo,
                    MsgIcon::Question},
                   errorMessage("b.rtf", "Quorvel: RTF header is missing. Conversion aborted.")}));
    EXPECT_EQ(listing(), QStringList({"a.html", "a.rtf", "b.html", "b.rtf", "c.rtf"}));
    EXPECT_EQ(h.platform.busyDepth, 0);
}

TEST_F(RtfDialogTest, AMissingLibraryIsReportedAsAnError)
{
    file("doc.rtf");
    QuorvelLibrary missing({QuorvelLibrary::fileNameIn(h.path("no-such-dir"))});
    run(missing, [&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog);
    });
    EXPECT_FALSE(missing.isLoaded());
    ASSERT_FALSE(missing.errorString().isEmpty());
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({errorMessage("doc.rtf", missing.errorString())}));
    EXPECT_FALSE(QFile::exists(h.path("docs/doc.html")));
    EXPECT_EQ(h.platform.busyDepth, 0);
}

TEST_F(RtfDialogTest, ANameShorterThanThreeCharactersFails)
{
    file("ab", kRtf);
    file("x.html", kRtf);
    run(library, [&](QDialog &dialog) {
        select(dialog, {"ab", "x.html"});
        start(dialog);
    });
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({errorMessage("ab", "The file name is too short")}));
    EXPECT_EQ(listing(), QStringList({"ab", "x.html"})); // the run ended at "ab"
}

TEST_F(RtfDialogTest, TheButtonUsesTheProgramsLibraryBesideTheExecutable)
{
    file("doc.rtf");
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog);
        return int(QDialog::Rejected);
    });
    window->findChild<QAbstractButton *>("cmdRTFDialog")->click();
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kConverted}));
    EXPECT_TRUE(h.readFile(h.path("docs/doc.html")).startsWith("Hello"));
}

TEST_F(RtfDialogTest, LongConversionsLetEventsRunButNotOnEveryCharacter)
{
    QByteArray big = "{\\rtf1{\\colortbl}";
    while (big.size() < 8'000'000)
        big += "Some text in a long paragraph \\b bold\\b0 and more\\par\r\n";
    big += "}";
    file("big.rtf", big);
    QElapsedTimer clock;
    run(library, [&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        clock.start();
        start(dialog);
    });
    const qint64 elapsed = clock.elapsed();
    ASSERT_EQ(h.platform.messages, QVector<MessageRecord>({kConverted}));
    // At most one run per 20 ms of conversion, and some during a conversion this long.
    EXPECT_GE(library.pumpRuns(), 1) << elapsed << " ms";
    EXPECT_LE(library.pumpRuns(), elapsed / 20 + 1);
}

TEST_F(RtfDialogTest, FoldersWithBlankOrBackslashInTheirNamesConvertTheirOwnFiles)
{
    // "s " beside "s", and "we\b": each converts only what it holds.
    const QString blankSource = h.writeFile("s /doc.rtf", kRtf);
    h.writeFile("s/doc.rtf", "{\\rtf1 neighbour\\par}");
    const QString slashedSource = h.writeFile("we\\b/doc.rtf", kRtf);
    for (const QString &folder : {h.path("s "), h.path("we\\b")}) {
        window->panes().showDirectory(folder);
        run(library, [&](QDialog &dialog) {
            dialog.findChild<QPushButton *>("cmdSelectAll")->click();
            EXPECT_EQ(selected(dialog), QStringList({"doc.rtf"}));
            start(dialog);
        });
    }
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kConverted, kConverted}));
    EXPECT_EQ(h.readFile(h.path("s /doc.html")), "Hello <B>bold</B><BR>\r\n\r\n");
    EXPECT_EQ(h.readFile(h.path("we\\b/doc.html")), "Hello <B>bold</B><BR>\r\n\r\n");
    EXPECT_FALSE(QFile::exists(h.path("s/doc.html")));
    EXPECT_EQ(QDir(h.path("s")).entryList(QDir::Files | QDir::Hidden), QStringList({"doc.rtf"}));
    EXPECT_TRUE(QFile::exists(blankSource));
    EXPECT_TRUE(QFile::exists(slashedSource));
}

TEST_F(RtfDialogTest, DuringARunThePanesTakeNoInput)
{
    file("a.rtf");
    file("b.rtf");
    int checks = 0;
    run(library, [&](QDialog &dialog) {
        QList<QWidget *> panes;
        for (const char *name :
             {"MyDrive", "MyDirectory", "MyFileList", "cmdSelectAll", "cmdSelectNone", "cmdStart"})
            panes << dialog.findChild<QWidget *>(name);
        h.platform.onProcessEvents = [&] {
            ++checks;
            for (QWidget *pane : panes)
                EXPECT_FALSE(pane->isEnabled()) << pane->objectName().toStdString();
        };
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog);
        h.platform.onProcessEvents = nullptr;
        for (QWidget *pane : panes)
            EXPECT_TRUE(pane->isEnabled()) << pane->objectName().toStdString();
    });
    EXPECT_GE(checks, 2);
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kConverted}));
}

class RtfDialogCleanTest : public RtfDialogTest {
protected:
    RtfDialogCleanTest() { faithful = false; }
    QString stored() const
    {
        return h.settings->read(QStringLiteral("Settings"), QStringLiteral("RTFCleanHTML"),
                                QStringLiteral("<absent>"));
    }
};

TEST_F(RtfDialogCleanTest, TheOptionIsOnByDefaultAndRemembered)
{
    EXPECT_EQ(stored(), "<absent>");
    auto option = [](QDialog &dialog) { return dialog.findChild<QCheckBox *>("chkClean"); };
    run(library, [&](QDialog &dialog) {
        ASSERT_NE(option(dialog), nullptr);
        EXPECT_EQ(option(dialog)->text(), "Clean HTML (keeps all the text)");
        EXPECT_TRUE(option(dialog)->isChecked());
        option(dialog)->click();
    });
    EXPECT_EQ(stored(), "False");
    run(library, [&](QDialog &dialog) {
        EXPECT_FALSE(option(dialog)->isChecked());
        option(dialog)->click();
    });
    EXPECT_EQ(stored(), "True");
    run(library, [&](QDialog &dialog) { EXPECT_TRUE(option(dialog)->isChecked()); });
}

TEST_F(RtfDialogCleanTest, EveryFileBecomesAWholeUtf8PageWithAllItsText)
{
    // No colour table, a style sheet, a Unicode letter: all the text, none of the tables.
    file("letter.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\stylesheet{\\s0 Normal;}}"
                       "\\f0 Dear J\\u246?rg, {\\b thanks}.\\par}");
    file("broken.rtf", "not rtf");
    file("broken.html", "kept");
    run(library, [&](QDialog &dialog) {
        select(dialog, {"letter.rtf"});
        start(dialog);
        select(dialog, {"broken.rtf"});
        // Its page is there already: replacing it is allowed, and the failed conversion
        // still leaves it as it was.
        h.platform.messageAnswers = {MsgAnswer::Yes};
        start(dialog);
        EXPECT_TRUE(dialog.findChild<QCheckBox *>("chkClean")->isEnabled());
    });
    EXPECT_EQ(h.readFile(h.path("docs/letter.html")),
              "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
              "<title>letter</title>\r\n</head>\r\n<body>\r\n"
              "<p>Dear J\xC3\xB6rg, <b>thanks</b>.</p>\r\n</body>\r\n</html>\r\n");
    EXPECT_EQ(h.readFile(h.path("docs/broken.html")), "kept");
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({kConverted,
                                      {"RTF to HTML Conversion Dialog",
                                       "These Files Already Exist:\r\nbroken.html\r\nReplace Them?",
                                       MsgButtons::YesNo, MsgIcon::Question},
                                      errorMessage("broken.rtf", "Quorvel: RTF header is missing. "
                                                                 "Conversion aborted.")}));
    EXPECT_EQ(h.platform.busyDepth, 0);
}
