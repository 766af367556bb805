#pragma once
// The program's Platform: real message boxes, pickers, printers and processes.
#include "shared/platform.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

namespace pw {

class QtPlatform : public Platform {
public:
    MsgAnswer messageBox(const QString &title, const QString &text, MsgButtons buttons,
                         MsgIcon icon, const QString &detail = QString()) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    QString openFileName(const QString &title, const QString &directory,
                         const QString &filter) override;
    QString saveFileName(const QString &title, const QString &directory, const QString &filter,
                         const QString &suggestedName) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    bool choosePrinter(QPrinter &printer) override;
    bool startProgram(const QString &program, const QStringList &arguments,
                      QString *error = nullptr) override;
    QString findProgram(const QString &name) override;
    QString openProgramName(const QString &title, const QString &directory) override;
    void setBusy(bool busy) override;
    int runDialog(QDialog &dialog) override;
    void processEvents() override;
    void setParentWindow(QWidget *parent) override { parent_ = parent; }

private:
    QPointer<QWidget> parent_;
    int busyDepth_ = 0;
};

// The font with the style name its family really has for its weight and slant ("Book" rather
// than "Normal"), so that a font dialog opens on that style and not on the family's first.
QFont fontWithItsStyle(const QFont &font);

} // namespace pw
