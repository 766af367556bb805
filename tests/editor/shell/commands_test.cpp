// The main window's wiring: every control runs a command or says it is not available yet,
// and the seams features are handed (FeatureContext) act on the document as documented.
#include "shared/edit_box.h"
#include "shell/commands.h"
#include "support/main_window_harness.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

// Every control a user can trigger: the menu items and every button of the window except
// the ones Qt adds itself (tab bar scroll arrows, the menu bar's overflow button).
QList<QObject *> UsableControls(MainWindow &w)
{
    QList<QObject *> controls;
    for (QAction *action : w.menuBar()->findChildren<QAction *>()) {
        if (!action->isSeparator() && !action->menu())
            controls << action;
    }
    for (QAbstractButton *button : w.findChildren<QAbstractButton *>()) {
        if (!qobject_cast<QTabBar *>(button->parentWidget())
            && !button->objectName().startsWith("qt_"))
            controls << button;
    }
    return controls;
}

} // namespace

TEST(CommandWiring, EveryControlRunsABuiltCommand)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const CommandRunner &runner = w.commands();

    const QList<QObject *> controls = UsableControls(w);
    // Far more than the few the window builds itself: the page buttons are there too.
    EXPECT_GT(controls.size(), 150);
    for (QObject *control : controls) {
        const QString name = control->objectName();
        ASSERT_FALSE(name.isEmpty()) << "a control without a name";
        EXPECT_EQ(runner.commandOf(control), name) << name.toStdString() << " runs no command";
        EXPECT_TRUE(runner.isBuilt(name)) << name.toStdString();
    }
    EXPECT_TRUE(runner.wiringProblems().isEmpty())
        << runner.wiringProblems().join(QStringLiteral("; ")).toStdString();
}

TEST(CommandWiring, MenuItemAndPictureButtonRunTheSameCommand)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "old\r\n");
    MainWindow &w = h.start(doc);
    w.editBox().widget()->selectAll();
    w.findChild<QToolButton *>("cmdCut")->click();
    EXPECT_EQ(w.editBox().text(), "");
    w.findChild<QAction *>("mnuEditUndo")->trigger();
    EXPECT_EQ(w.editBox().text(), "old\r\n");

    // The insertion rows run through the same runner as the window's own rows.
    w.editBox().setText("word");
    w.editBox().setSelection(0, 4);
    w.commands().run(QStringLiteral("cmdBold"));
    EXPECT_EQ(w.editBox().text(), "<B>word</B>");
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    w.commands().run(QStringLiteral("mnuFileClose"));
    EXPECT_EQ(statusText(w), doc) << "Close asks first while the document is modified";
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].text, "Save Current File Before Closing?");
}

TEST(FeatureSeams, ReplaceDocumentMakesAnUntitledUnsavedDocument)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "old\r\n");
    MainWindow &w = h.start(doc);
    w.editBox().widget()->insertPlainText("edited");
    FeatureContext context = w.featureContext();
    EXPECT_EQ(context.document.path(), doc);
    EXPECT_EQ(context.programFolder, w.programFolder());

    context.document.replace(QStringLiteral("<HTML>\r\n</HTML>\r\n"));
    EXPECT_EQ(w.editBox().text(), "<HTML>\r\n</HTML>\r\n");
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_EQ(w.windowTitle(), "Pagewick - Untitled.html");
    // Saved nowhere yet: closing it asks first.
    EXPECT_TRUE(w.document().isModified());
    EXPECT_TRUE(w.findChild<QToolButton *>("cmdSave")->isEnabled());
    EXPECT_EQ(context.document.path(), "");
    // The new document counts as changed again from the next keystroke.
    w.editBox().widget()->insertPlainText("x");
    EXPECT_TRUE(w.document().isModified());
    EXPECT_TRUE(w.findChild<QToolButton *>("cmdSave")->isEnabled());
}

TEST(FeatureSeams, MaybeSaveAsksOnlyForAModifiedDocumentAndKeepsUnsavedEdits)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "old\r\n");
    MainWindow &w = h.start(doc);
    FeatureContext context = w.featureContext();
    EXPECT_TRUE(context.document.maybeSave("Title", "Text?"));
    EXPECT_TRUE(h.platform.messages.isEmpty());

    w.editBox().widget()->insertPlainText("new ");
    const MessageRecord prompt{"Title", "Text?", MsgButtons::YesNoCancel, MsgIcon::Question};
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    EXPECT_FALSE(context.document.maybeSave("Title", "Text?"));
    h.platform.messageAnswers = {MsgAnswer::No};
    EXPECT_TRUE(context.document.maybeSave("Title", "Text?"));
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({prompt, prompt}));
    EXPECT_EQ(MainWindowHarness::readFile(doc), "old\r\n");

    h.platform.messageAnswers = {MsgAnswer::Yes};
    EXPECT_TRUE(context.document.maybeSave("Title", "Text?"));
    EXPECT_EQ(MainWindowHarness::readFile(doc), "new old\r\n");
    EXPECT_FALSE(w.document().isModified());

    // Yes on an untitled document whose Save As is cancelled: the command must not go on.
    context.document.replace("page");
    w.editBox().widget()->insertPlainText("more");
    h.platform.messageAnswers = {MsgAnswer::Yes};
    h.platform.fileAnswers = {QString()};
    EXPECT_FALSE(context.document.maybeSave("Title", "Text?"));
    EXPECT_TRUE(w.document().isModified());
}
