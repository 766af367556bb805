// One set of rules for every dialog the main window opens from its commands: Enter presses the
// default button, Escape cancels and inserts nothing, Tab reaches every control and leaves
// any grid, every box has a label that names it, and nothing is cut off at the smallest size.
#include "shared/file_panes.h"
#include "support/main_window_harness.h"
#include "support/qt_print.h"
#include "support/test_files.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <set>

using namespace pw;
using namespace pw::test;

namespace {

// The commands that open a dialog besides the toolbar's tag dialogs (which the table marks).
const char *const kDialogCommands[] = {
    "mnuInsertDate", "mnuDefineBrowsers", "mnuUserButtons",   "mnuViewPic",     "mnuOptions",
    "mnuHelpAbout",  "cmdVirtualPath",    "cmdEasyBegin",     "cmdFrameDialog", "cmdDirDialog",
    "cmdRTFDialog",  "cmdJSMenu",         "cmdPHPDataDialog",
};

bool isInput(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w)
           || qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QAbstractSlider *>(w)
           || qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QPlainTextEdit *>(w)
           || qobject_cast<const QTextEdit *>(w);
}

// The line edit inside a combo or spin box, and a grid's header, are that control's part, not
// controls of their own.
bool isPartOfAnother(const QWidget *w)
{
    const QWidget *parent = w->parentWidget();
    return parent
           && (qobject_cast<const QComboBox *>(parent)
               || (qobject_cast<const QHeaderView *>(w)
                   && qobject_cast<const QAbstractItemView *>(parent))
               || qobject_cast<const QAbstractSpinBox *>(parent)
               || qobject_cast<const QAbstractItemView *>(parent->parentWidget()));
}

// An option button that Tab passes: its group has another one chosen (or, with none chosen,
// it is not the first); the arrow keys move between the options of a group.
bool isOtherOption(const QWidget *w)
{
    const auto *option = qobject_cast<const QRadioButton *>(w);
    if (!option || option->isChecked())
        return false;
    const QList<QRadioButton *> group =
        w->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
    for (const QRadioButton *sibling : group) {
        if (sibling->isChecked() && sibling->isVisible())
            return true;
    }
    return group.value(0) != option;
}

bool takesTab(const QWidget *w, const QWidget *dialog)
{
    // A drop-down list's popup is a window of its own.
    return w->window() == dialog && w->isVisibleTo(dialog) && w->isEnabled()
           && (w->focusPolicy() & Qt::TabFocus) && !isPartOfAnother(w)
           && !qobject_cast<const QScrollBar *>(w) && !isOtherOption(w);
}

QString nameOf(const QWidget *w)
{
    QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                             : w->objectName();
    if (w->property("index").isValid())
        name += QStringLiteral("(%1)").arg(w->property("index").toInt());
    return name;
}

std::vector<QWidget *> controls(QDialog &dialog)
{
    std::vector<QWidget *> found;
    for (QWidget *w : dialog.findChildren<QWidget *>()) {
        if (takesTab(w, &dialog))
            found.push_back(w);
    }
    return found;
}

void show(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.activateWindow();
    QApplication::processEvents();
}

// Each button's clicks, in place of what the buttons do.
struct Presses {
    explicit Presses(QDialog &dialog)
    {
        for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
            QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
            QObject::connect(button, &QAbstractButton::clicked, button,
                             [this, button] { pressed << button; });
        }
    }
    QList<QPushButton *> pressed;
};

QPushButton *defaultButton(QDialog &dialog)
{
    QPushButton *found = nullptr;
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        if (button->isDefault() && button->isVisibleTo(&dialog)) {
            EXPECT_EQ(found, nullptr)
                << "two default buttons in " << dialog.objectName().toStdString();
            found = button;
        }
    }
    return found;
}

// Enter in every field presses the default button (or the button the field is for), once.
void checkEnter(QDialog &dialog)
{
    const std::string name = dialog.objectName().toStdString();
    QPushButton *expectedDefault = defaultButton(dialog);
    ASSERT_NE(expectedDefault, nullptr) << name << " has no default button";
    EXPECT_TRUE(expectedDefault->isEnabled()) << name;
    Presses presses(dialog);
    for (QWidget *w : controls(dialog)) {
        if (!isInput(w) && !qobject_cast<QCheckBox *>(w) && !qobject_cast<QRadioButton *>(w))
            continue;
        // Several lines: Enter breaks the line.
        if (qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QTextEdit *>(w))
            continue;
        // A directory pane opens the folder on Enter, as the main window's does.
        if (qobject_cast<DirectoryList *>(w))
            continue;
        presses.pressed.clear();
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QString expected = w->property("enterPresses").toString();
        if (expected.isEmpty())
            expected = expectedDefault->objectName();
        ASSERT_EQ(presses.pressed.size(), 1) << name << ": Enter in " << nameOf(w).toStdString();
        EXPECT_EQ(presses.pressed.front()->objectName(), expected)
            << name << ": Enter in " << nameOf(w).toStdString();
        EXPECT_TRUE(dialog.isVisible()) << name;
    }
}

// Tab from the first control visits every control and comes back to it; Shift+Tab the same
// way back. A grid takes one Tab, not one per cell.
void checkTab(QDialog &dialog)
{
    const std::string name = dialog.objectName().toStdString();
    const std::vector<QWidget *> all = controls(dialog);
    ASSERT_FALSE(all.empty()) << name;
    for (bool forward : {true, false}) {
        all.front()->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), all.front()) << name;
        std::set<QWidget *> seen;
        bool back = false;
        for (size_t step = 0; step < all.size() + 2 && !back; ++step) {
            QWidget *now = QApplication::focusWidget();
            ASSERT_NE(now, nullptr) << name;
            seen.insert(now);
            QTest::keyClick(now, Qt::Key_Tab, forward ? Qt::NoModifier : Qt::ShiftModifier);
            back = QApplication::focusWidget() == all.front();
        }
        EXPECT_TRUE(back) << name << ": focus never came back to "
                          << nameOf(all.front()).toStdString()
                          << (forward ? " (Tab)" : " (Shift+Tab)") << ", stuck near "
                          << nameOf(QApplication::focusWidget()).toStdString();
        for (QWidget *w : all) {
            EXPECT_TRUE(seen.count(w)) << name << ": Tab never reaches " << nameOf(w).toStdString();
        }
    }
}

// Every box, list and slider is named by a label whose buddy it is.
void checkLabels(QDialog &dialog)
{
    std::set<const QWidget *> named;
    for (const QLabel *label : dialog.findChildren<QLabel *>()) {
        if (label->buddy() && !label->text().isEmpty())
            named.insert(label->buddy());
    }
    for (QWidget *w : controls(dialog)) {
        if (isInput(w)) {
            EXPECT_TRUE(named.count(w)) << dialog.objectName().toStdString() << ": no label names "
                                        << nameOf(w).toStdString();
        }
    }
}

// At the smallest size the dialog allows, every caption and box has the room it needs.
void checkSmallest(QDialog &dialog)
{
    dialog.resize(dialog.minimumSizeHint().expandedTo(dialog.minimumSize()));
    QApplication::processEvents();
    for (QWidget *w : dialog.findChildren<QWidget *>()) {
        if (!w->isVisible() || isPartOfAnother(w) || qobject_cast<QScrollBar *>(w))
            continue;
        if (!qobject_cast<QLabel *>(w) && !qobject_cast<QAbstractButton *>(w) && !isInput(w))
            continue;
        const QSize need = w->minimumSizeHint();
        EXPECT_GE(w->width(), need.width())
            << dialog.objectName().toStdString() << ": " << nameOf(w).toStdString() << " cut off";
        EXPECT_GE(w->height(), need.height())
            << dialog.objectName().toStdString() << ": " << nameOf(w).toStdString() << " cut off";
    }
}

QStringList dialogCommands()
{
    QStringList names;
    for (const Command &row : commandTable()) {
        if (row.name && row.insert.kind == CommandKind::Dialog)
            names << QString::fromUtf8(row.name);
    }
    for (const char *name : kDialogCommands)
        names << QString::fromUtf8(name);
    return names;
}

class DialogRules : public ::testing::TestWithParam<QString> {};

} // namespace

TEST_P(DialogRules, EnterEscapeTabLabelsAndSize)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.show();
    // A saved page: the generators that replace the document have nothing to ask about.
    writeFile(h.path("page.html"), "<P>text</P>");
    ASSERT_TRUE(w.document().open(h.path("page.html")));
    const QString command = GetParam();
    const QString before = w.editBox().text();

    // Escape: the dialog closes as cancelled and nothing reaches the document.
    bool ran = false;
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        ran = true;
        show(dialog);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog,
                        Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible()) << dialog.objectName().toStdString();
        return dialog.result();
    });
    w.commands().run(command);
    ASSERT_TRUE(ran) << command.toStdString() << " ran no dialog";
    EXPECT_EQ(w.editBox().text(), before) << command.toStdString();
    EXPECT_TRUE(h.platform.messages.isEmpty()) << command.toStdString();

    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        show(dialog);
        checkLabels(dialog);
        checkSmallest(dialog);
        checkTab(dialog);
        checkEnter(dialog);
        return int(QDialog::Rejected);
    });
    w.commands().run(command);
    EXPECT_TRUE(h.platform.dialogHandlers.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, DialogRules, ::testing::ValuesIn(dialogCommands()),
                         [](const auto &info) { return info.param.toStdString(); });

namespace {

// The windows that stay open beside the main window, by the commands that open them; after
// ">" a button of the first window that opens the next one.
const char *const kToolWindowCommands[] = {"mnuFind",          "mnuReplace",
                                           "mnuFindInFiles",   "cmdLowerCase",
                                           "cmdFileManDialog", "cmdFileManDialog>cmdNext"};

QDialog *shownToolWindow(MainWindow &w)
{
    for (QDialog *window : w.findChildren<QDialog *>()) {
        if (window->isVisible() && window->isWindow())
            return window;
    }
    return nullptr;
}

class ToolWindowRules : public ::testing::TestWithParam<QString> {};

} // namespace

TEST_P(ToolWindowRules, EnterEscapeTabLabelsAndSize)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.show();
    writeFile(h.path("page.html"), "<P>text</P>");
    ASSERT_TRUE(w.document().open(h.path("page.html")));
    const QString before = w.editBox().text();

    const QStringList steps = GetParam().split(u'>');
    w.commands().run(steps.front());
    QDialog *window = shownToolWindow(w);
    ASSERT_NE(window, nullptr) << GetParam().toStdString();
    if (steps.size() > 1) {
        window->findChild<QPushButton *>(steps.back())->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window = shownToolWindow(w);
        ASSERT_NE(window, nullptr) << GetParam().toStdString();
    }
    show(*window);
    checkLabels(*window);
    checkSmallest(*window);
    checkTab(*window);
    checkEnter(*window);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window,
                    Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    EXPECT_EQ(w.editBox().text(), before);
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EveryToolWindow, ToolWindowRules, ::testing::ValuesIn([] {
                             QStringList names;
                             for (const char *name : kToolWindowCommands)
                                 names << QString::fromUtf8(name);
                             return names;
                         }()),
                         [](const auto &info) {
                             return QString(info.param).replace(u'>', u'_').toStdString();
                         });
