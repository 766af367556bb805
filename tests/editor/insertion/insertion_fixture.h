#pragma once
// A started main window with a document of our own, and short ways to click the toolbar's
// buttons and read back the document, caret and selection.
#include "insertion/toolbar_lists.h"
#include "support/main_window_harness.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <gtest/gtest.h>

// Readable failures: QStrings print as text.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace pw::test {

class InsertionFixture : public ::testing::Test {
protected:
    void SetUp() override { h.start(); }

    MainWindow &window() { return h.window(); }
    EditBox &edit() { return h.window().editBox(); }

    // Replaces the document and selects [start, start + length).
    void set(const QString &text, int start = 0, int length = 0)
    {
        edit().setText(text);
        edit().setSelection(start, length);
    }
    QString text() { return edit().text(); }
    int caret() { return edit().caret(); }
    int selLength() { return edit().selLength(); }

    QToolButton *button(const QString &name)
    {
        const auto found = window().findChildren<QToolButton *>(name);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.value(0);
    }
    void click(const QString &name)
    {
        if (QToolButton *b = button(name))
            b->click();
    }
    QToolButton *userButton(int k)
    {
        for (QToolButton *b : window().findChildren<QToolButton *>(QStringLiteral("cmdUD"))) {
            if (b->property("index").toInt() == k)
                return b;
        }
        ADD_FAILURE() << "no user button " << k;
        return nullptr;
    }
    QComboBox *list(const QString &name) { return window().findChild<QComboBox *>(name); }

    // Scripts the next count dialog: sets the slider to `count` and confirms.
    void answerCount(int count, QString *caption = nullptr)
    {
        h.platform.dialogHandlers.push_back([count, caption](QDialog &dialog) {
            if (caption)
                *caption = dialog.windowTitle();
            dialog.findChild<QSlider *>(QStringLiteral("MySlider"))->setValue(count);
            dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
            return dialog.result();
        });
    }
    void answer(std::initializer_list<QString> answers)
    {
        for (const QString &a : answers)
            h.platform.inputAnswers.push_back(a);
    }

    MainWindowHarness h;
};

// Puts a text, or a picture, on the clipboard before a command and checks it is still there
// afterwards.
inline void putTextOnClipboard(const QString &text)
{
    QApplication::clipboard()->setText(text);
}
inline QImage putImageOnClipboard()
{
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    QApplication::clipboard()->setImage(image);
    return image;
}

} // namespace pw::test
