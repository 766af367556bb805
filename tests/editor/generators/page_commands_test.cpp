// The page wizard and the frameset dialog opened from their buttons on the real main window:
// the save prompt before them, the dialogs' controls, and the new untitled document after.
#include "generators/page_markup.h"
#include "support/main_window_harness.h"
#include "support/qt_print.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

const MessageRecord kWizardPrompt{"Save on Open...", "Save Current File Before Opening Another?",
                                  MsgButtons::YesNo, MsgIcon::Question};
const MessageRecord kFramesPrompt{"Save on Open...", "Save Current Before Opening Another File?",
                                  MsgButtons::YesNo, MsgIcon::Question};

template <typename Control = QWidget>
Control *find(const QObject &parent, const char *name, int index = -1)
{
    for (Control *control : parent.findChildren<Control *>(QString::fromUtf8(name))) {
        if (index < 0 || control->property("index").toInt() == index)
            return control;
    }
    ADD_FAILURE() << "no control " << name << " " << index;
    return nullptr;
}

class PageCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc = h.writeFile("doc.html", "kept\r\n");
        h.start(doc);
        h.window().editBox().widget()->insertPlainText("edited ");
    }
    void click(const char *name) { find<QToolButton>(h.window(), name)->click(); }
    // The next dialog is handled by `act`; its caption is kept.
    void onDialog(std::function<void(QDialog &)> act)
    {
        h.platform.dialogHandlers.push_back([this, act](QDialog &dialog) {
            caption = dialog.windowTitle();
            act(dialog);
            return dialog.result();
        });
    }
    void expectUntitledDocument(const QString &text)
    {
        MainWindow &w = h.window();
        EXPECT_EQ(w.editBox().text(), text);
        EXPECT_EQ(statusText(w), "Untitled.html");
        EXPECT_EQ(w.windowTitle(), "Pagewick - Untitled.html");
        // A made page is saved nowhere yet: closing it asks first.
        EXPECT_TRUE(w.document().isModified());
        EXPECT_TRUE(find<QToolButton>(w, "cmdSave")->isEnabled());
    }
    void expectDocumentKept(bool saved)
    {
        EXPECT_EQ(h.window().editBox().text(), "edited kept\r\n");
        EXPECT_EQ(statusText(h.window()), doc);
        EXPECT_EQ(h.window().document().isModified(), !saved);
    }

    MainWindowHarness h;
    QString doc;
    QString caption;
};

TEST_F(PageCommands, WizardAnsweredNoReplacesTheDocumentUnsavedWithItsColouredPage)
{
    h.platform.messageAnswers = {MsgAnswer::No};
    // Background: red 10, green 0, blue 255; text black; the link's picker is cancelled.
    h.platform.colorAnswers = {QColor(10, 0, 255), QColor(0, 0, 0), std::nullopt};
    onDialog([](QDialog &d) {
        EXPECT_EQ(d.objectName(), "frmJumpStart");
        find<QLineEdit>(d, "txtTitle")->setText("Home");
        find<QPushButton>(d, "cmdColors", 0)->click();
        find<QPushButton>(d, "cmdColors", 1)->click();
        find<QPushButton>(d, "cmdColors", 2)->click();
        // The preview shows the background and each text in its colour.
        EXPECT_EQ(find<QWidget>(d, "picBackColor")->palette().color(QPalette::Window),
                  QColor(10, 0, 255));
        EXPECT_EQ(find<QLabel>(d, "lblText", 0)->palette().color(QPalette::WindowText),
                  QColor(Qt::black));
        EXPECT_EQ(find<QLabel>(d, "lblText", 1)->palette().color(QPalette::WindowText),
                  QColor(0, 0, 0xEE));
        // Enter in the title box creates the page.
        QTest::keyClick(find<QLineEdit>(d, "txtTitle"), Qt::Key_Return);
    });
    click("cmdEasyBegin");

    EXPECT_EQ(caption, "Jump Start");
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>{kWizardPrompt});
    // The picker opens on the colour chosen last while the dialog is open.
    EXPECT_EQ(h.platform.colorsOffered,
              QVector<QColor>({Qt::black, QColor(10, 0, 255), QColor(Qt::black)}));
    PageFields expected;
    expected.title = "Home";
    expected.colours[BgColor] = 0xFF000A;
    expected.colours[TextColour] = 0;
    expectUntitledDocument(jumpStartPage(expected));
    EXPECT_TRUE(h.window().editBox().text().contains("<BODY BgColor=\"#0A00FF\" Text=\"#000000\" "
                                                     "Link=\"#0000EE\""));
    EXPECT_EQ(MainWindowHarness::readFile(doc), "kept\r\n");
}

TEST_F(PageCommands, WizardAnsweredYesSavesFirstAndEnterInTheImageBoxCreates)
{
    h.platform.messageAnswers = {MsgAnswer::Yes};
    onDialog([](QDialog &d) {
        find<QLineEdit>(d, "txtBkImage")->setText("sky.jpg");
        QTest::keyClick(find<QLineEdit>(d, "txtBkImage"), Qt::Key_Enter);
    });
    click("cmdEasyBegin");
    EXPECT_EQ(MainWindowHarness::readFile(doc), "edited kept\r\n");
    PageFields expected;
    expected.backgroundImage = "sky.jpg";
    expectUntitledDocument(jumpStartPage(expected));
}

TEST_F(PageCommands, CancelledDialogsLeaveTheDocumentAsItWas)
{
    h.platform.messageAnswers = {MsgAnswer::No, MsgAnswer::No};
    h.platform.colorAnswers = {QColor(Qt::red)};
    onDialog([](QDialog &d) {
        // The controls by their names and captions.
        EXPECT_EQ(find<QLabel>(d, "lblLabel", 0)->text(), "&Title of Page");
        EXPECT_EQ(find<QLabel>(d, "lblLabel", 1)->text(), "Background &Image");
        EXPECT_EQ(find<QGroupBox>(d, "fraColors")->title(), "Colors");
        EXPECT_EQ(find<QGroupBox>(d, "fraPreview")->title(), "Preview");
        const char *const colours[] = {"BgColor", "Text", "Link", "VLink", "ALink"};
        // A page as browsers show one: black on white, blue links, purple visited, red active.
        const QColor starts[] = {Qt::white, Qt::black, QColor(0, 0, 0xEE), QColor(0x55, 0x1A, 0x8B),
                                 Qt::red};
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(find<QLabel>(d, "lblChoice", k)->text(), colours[k]);
            EXPECT_EQ(find<QWidget>(d, "shpColors", k)->property("colour").value<QColor>(),
                      starts[k]);
            EXPECT_EQ(find<QPushButton>(d, "cmdColors", k)->text(), "Change");
            if (k > 0) {
                EXPECT_EQ(find<QLabel>(d, "lblText", k - 1)->text(), colours[k]);
            }
        }
        EXPECT_EQ(find<QPushButton>(d, "cmdCreate")->text(), "&Create");
        find<QPushButton>(d, "cmdColors", 0)->click();
        find<QPushButton>(d, "cmdCancel")->click();
    });
    click("cmdEasyBegin");
    onDialog([](QDialog &d) {
        EXPECT_EQ(d.objectName(), "frmFrameDialog");
        find<QPushButton>(d, "cmdChoice", 3)->click();
    });
    click("cmdFrameDialog");

    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kWizardPrompt, kFramesPrompt}));
    EXPECT_EQ(h.platform.dialogsRun, QStringList({"frmJumpStart", "frmFrameDialog"}));
    expectDocumentKept(false);
    EXPECT_EQ(h.state.dialogResult, "");
}

TEST_F(PageCommands, AClosedPromptOrASaveThatDidNotHappenStopsBeforeTheDialog)
{
    // The prompt's window closed.
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    click("cmdFrameDialog");
    // Yes on an untitled document whose Save As is cancelled.
    h.window().document().replace("unsaved");
    h.window().editBox().widget()->insertPlainText("more ");
    h.platform.messageAnswers = {MsgAnswer::Yes};
    h.platform.fileAnswers = {QString()};
    click("cmdEasyBegin");

    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kFramesPrompt, kWizardPrompt}));
    EXPECT_TRUE(h.platform.dialogsRun.isEmpty());
    EXPECT_EQ(h.window().editBox().text(), "unsavedmore ");
    EXPECT_TRUE(h.window().document().isModified());
}

TEST_F(PageCommands, EachFramesetButtonMakesItsLayoutAsAnUnsavedPage)
{
    h.platform.messageAnswers.assign(kFramesetLayouts, MsgAnswer::No);
    for (int k = 0; k < kFramesetLayouts; ++k) {
        SCOPED_TRACE(k);
        onDialog([k](QDialog &d) {
            EXPECT_EQ(find<QPushButton>(d, "cmdChoice", k)->text(), "Create");
            EXPECT_NE(find<QWidget>(d, "picFrame1", k), nullptr);
            find<QPushButton>(d, "cmdChoice", k)->click();
        });
        click("cmdFrameDialog");
        EXPECT_EQ(caption, "Frame Dialog");
        expectUntitledDocument(framesetPage(k + 1));
    }
    // Every opening found the document modified: the edited file, then each page made.
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>(kFramesetLayouts, kFramesPrompt));
}

// The page Jump Start makes is not thrown away by New, Open or Exit: each asks first, and
// Cancel keeps the page.
TEST_F(PageCommands, AJumpStartPageIsAskedForBeforeNewOpenOrExit)
{
    h.platform.messageAnswers = {MsgAnswer::No};
    onDialog([](QDialog &d) { find<QPushButton>(d, "cmdCreate")->click(); });
    click("cmdEasyBegin");
    const QString page = h.window().editBox().text();
    h.platform.messages.clear();

    const MessageRecord openPrompt{"Save on Open...", "Save Current Before Opening Another File?",
                                   MsgButtons::YesNoCancel, MsgIcon::Question};
    const MessageRecord exitPrompt{"Save on Open...", "Save Current Before Closing?",
                                   MsgButtons::YesNoCancel, MsgIcon::Question};
    h.platform.messageAnswers = {MsgAnswer::Cancel, MsgAnswer::Cancel, MsgAnswer::Cancel};
    h.window().newDocument();
    h.window().openDocument();
    EXPECT_FALSE(h.window().close());
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({openPrompt, openPrompt, exitPrompt}));
    EXPECT_TRUE(h.platform.pickers.isEmpty());
    EXPECT_EQ(h.window().editBox().text(), page);
    EXPECT_EQ(statusText(h.window()), "Untitled.html");

    h.platform.messageAnswers = {MsgAnswer::No};
    h.window().newDocument();
    EXPECT_FALSE(h.window().document().isModified()) << "the template is a fresh page";
}

} // namespace
