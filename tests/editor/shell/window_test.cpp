// The main window as a user meets it: pictures on the buttons, tooltips shown as written,
// the window's place kept between runs, and a closed document that takes no typing.
#include "shared/edit_box.h"
#include "shared/program_state.h"
#include "support/main_window_harness.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

bool closeWindow(MainWindow &window)
{
    QCloseEvent event;
    QCoreApplication::sendEvent(&window, &event);
    return event.isAccepted();
}

// The text a tooltip shows: what QToolTip was handed, read as Qt reads it.
QString shownToolTip(QWidget *widget)
{
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(widget, &help);
    const QString shown = QToolTip::text();
    QToolTip::hideText();
    if (!Qt::mightBeRichText(shown))
        return shown;
    QTextDocument document;
    document.setHtml(shown);
    return document.toPlainText();
}

} // namespace

TEST(MainWindowLook, EveryToolTipIsShownAsTheTextItHolds)
{
    MainWindowHarness h;
    h.settings->write("Settings", "UDO1", QStringLiteral("<a b=\"x\">"));
    h.settings->write("Settings", "UDC1", QStringLiteral("</a>"));
    MainWindow &w = h.start();
    w.show();
    int checked = 0;
    for (QWidget *widget : w.findChildren<QWidget *>()) {
        const QString tip = widget->toolTip();
        if (tip.isEmpty() || !widget->isVisibleTo(&w))
            continue;
        // The widgets of the page in view; buttons of other pages follow below.
        EXPECT_EQ(shownToolTip(widget), tip) << widget->objectName().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 10);
    // Tooltips on other pages and the user page: markup and doubled blanks shown as written.
    for (const char *name : {"cmdStyle", "cmdDIVStyle", "cmdPHPOpening", "cmdUD"}) {
        auto *button = w.findChild<QToolButton *>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(shownToolTip(button), button->toolTip()) << name;
    }
    EXPECT_EQ(w.findChild<QToolButton *>("cmdUD")->toolTip(), "<a b=\"x\"> </a>");
}

TEST(MainWindowLook, PictureButtonsAndToolsShowPicturesNotLetters)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    auto *bar = w.findChild<QToolButton *>("cmdNew")->parentWidget();
    int pictures = 0;
    for (QToolButton *button : bar->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly)) {
        const std::string name = button->objectName().toStdString();
        EXPECT_FALSE(button->icon().isNull()) << name;
        EXPECT_FALSE(button->icon().pixmap(18, 18).isNull()) << name;
        if (button->objectName() == "cmdVirtualPath")
            EXPECT_EQ(button->text(), "VP");
        else
            EXPECT_EQ(button->text(), "") << name;
        ++pictures;
    }
    EXPECT_EQ(pictures, 14);
    for (const char *name : {"cmdDirDialog", "cmdRTFDialog", "cmdLowerCase"}) {
        auto *button = w.findChild<QToolButton *>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_FALSE(button->icon().pixmap(18, 18).isNull()) << name;
        EXPECT_EQ(button->text(), "") << name;
    }
}

TEST(MainWindowPlace, FirstStartIsCentredAndLaterStartsRestoreThePlace)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QRect screen = w.screen()->availableGeometry();
    EXPECT_NEAR(w.width(), std::max(screen.width() * 2 / 3, w.minimumWidth()), 2);
    EXPECT_NEAR(w.height(), std::max(screen.height() * 2 / 3, w.minimumHeight()), 2);
    EXPECT_NEAR(w.geometry().center().x(), screen.center().x(), 2);
    EXPECT_NEAR(w.geometry().center().y(), screen.center().y(), 2);

    w.show();
    const QRect place(screen.left() + 30, screen.top() + 20, 660, 420);
    w.setGeometry(place);
    auto *splitter = w.findChild<QSplitter *>("splitter");
    splitter->setSizes({210, splitter->width() - 210});
    const int panes = splitter->sizes()[0];
    ASSERT_TRUE(closeWindow(w));
    // The program's own keys stay where they were.
    EXPECT_NE(h.storedValue("Settings", "Dir"), "<absent>");

    MainWindow &again = h.restart();
    EXPECT_EQ(again.geometry(), place);
    EXPECT_FALSE(again.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(again.findChild<QSplitter *>("splitter")->sizes()[0], panes);

    // Maximised, the window comes back maximised and keeps its ordinary place for later.
    again.show();
    again.showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(closeWindow(again));
    EXPECT_EQ(h.storedValue("Window", "Maximized"), "True");
    MainWindow &third = h.restart();
    EXPECT_TRUE(third.windowState() & Qt::WindowMaximized);
}

TEST(MainWindowPlace, APlaceOffTheScreenIsNotRestored)
{
    MainWindowHarness h;
    h.settings->write("Window", "Left", "90000");
    h.settings->write("Window", "Top", "90000");
    h.settings->write("Window", "Width", "700");
    h.settings->write("Window", "Height", "500");
    MainWindow &w = h.start();
    EXPECT_TRUE(w.screen()->availableGeometry().contains(w.geometry().center()));
}

// Values no screen can hold cost only themselves: the window comes up on the screen, its
// panes leave the source box room, its font stays readable.
TEST(MainWindowPlace, AbsurdKeptValuesAreCutToTheScreen)
{
    struct Case {
        const char *left, *top, *width, *height, *splitter, *fontSize;
        double points;
    };
    for (const Case &c : {Case{"0", "0", "100000", "100000", "100000", "100000", 96},
                          Case{"-50", "-40", "2147483647", "300000", "-7", "0.01", 4},
                          Case{"200", "150", "99999", "500", "2147483647", "nan", 12}}) {
        SCOPED_TRACE(c.width);
        MainWindowHarness h;
        h.settings->write("Window", "Left", c.left);
        h.settings->write("Window", "Top", c.top);
        h.settings->write("Window", "Width", c.width);
        h.settings->write("Window", "Height", c.height);
        h.settings->write("Window", "Splitter", c.splitter);
        h.settings->write("Fonts", "Size", c.fontSize);
        MainWindow &w = h.start();
        w.show();
        QCoreApplication::processEvents();
        const QRect screen = w.screen()->availableGeometry();
        // On the screen, and no larger than it unless the window's own layout cannot be
        // made smaller (the test screen is small).
        EXPECT_TRUE(screen.contains(w.geometry().topLeft()));
        EXPECT_LE(w.width(), std::max(screen.width(), w.minimumSizeHint().width()));
        EXPECT_LE(w.height(), std::max(screen.height(), w.minimumSizeHint().height()));
        EXPECT_GE(w.width(), w.minimumWidth());
        auto *splitter = w.findChild<QSplitter *>("splitter");
        const QList<int> sizes = splitter->sizes();
        EXPECT_GT(sizes.value(0), 0);
        EXPECT_GE(sizes.value(1), splitter->widget(1)->minimumWidth());
        EXPECT_LE(sizes.value(0) + sizes.value(1), w.width());
        EXPECT_EQ(w.editBox().widget()->font().pointSizeF(), c.points);
    }
}

TEST(CloseDocument, TheBoxTakesNoTypingUntilAClickOrKeyStartsNew)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString untitled = w.editBox().text();
    w.show();
    w.editBox().widget()->setFocus();
    w.document().close();
    ASSERT_EQ(statusText(w), "Ready...");
    EXPECT_TRUE(w.editBox().widget()->isReadOnly());

    // A shortcut held with Ctrl is no typing; a typed letter starts New and is not typed.
    QTest::keyClick(w.editBox().widget(), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(statusText(w), "Ready...");
    QTest::keyClick(w.editBox().widget(), Qt::Key_A);
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_FALSE(w.editBox().widget()->isReadOnly());
    EXPECT_EQ(w.editBox().text(), untitled);
    EXPECT_FALSE(w.document().isModified());

    w.document().close();
    ASSERT_EQ(statusText(w), "Ready...");
    QTest::mouseClick(w.editBox().widget()->viewport(), Qt::LeftButton);
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(startUp, ARefusedFileIsReportedWithItsReasonOnceTheWindowIsLoaded)
{
    MainWindowHarness h;
    const QString binary = h.writeFile("picture.html", QByteArray("GIF89a\0\0x", 9));
    MainWindow &w = h.start(binary);
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0], (MessageRecord{"Sorry...", "Error Loading Text",
                                                     MsgButtons::Ok, MsgIcon::Information}));
    EXPECT_TRUE(h.platform.messageDetails[0].contains("binary"))
        << h.platform.messageDetails[0].toStdString();
    EXPECT_TRUE(w.loadFinished());
    EXPECT_EQ(statusText(w), "Untitled.html");

    // Later refusals name their reason too.
    h.platform.fileAnswers = {h.path("missing.html")};
    w.openDocument();
    ASSERT_EQ(h.platform.messageDetails.size(), 2);
    EXPECT_FALSE(h.platform.messageDetails[1].isEmpty());
}
