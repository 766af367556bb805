#pragma once
// Everything that would block a test or reach outside the process goes through Platform:
// the program uses QtPlatform, tests a scripted fake that records every call.
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace pw {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class Platform {
public:
    virtual ~Platform() = default;

    // `detail` (when not empty) is shown on request below the text, e.g. why a file failed.
    virtual MsgAnswer messageBox(const QString &title, const QString &text, MsgButtons buttons,
                                 MsgIcon icon, const QString &detail = QString()) = 0;
    // Returns the typed text; empty when the user cancels (as an empty answer is treated alike).
    virtual QString inputBox(const QString &prompt, const QString &title,
                             const QString &defaultText = QString()) = 0;
    // File pickers take the "Description|*.a;*.b|..." filter of the program and return the
    // chosen full path, or empty on Cancel.
    virtual QString openFileName(const QString &title, const QString &directory,
                                 const QString &filter) = 0;
    virtual QString saveFileName(const QString &title, const QString &directory,
                                 const QString &filter,
                                 const QString &suggestedName = QString()) = 0;
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;
    // Lets the user pick a printer for the given printer object; false on Cancel.
    virtual bool choosePrinter(QPrinter &printer) = 0;
    // Starts a program without waiting for it; false when it could not be started, and then
    // `error` (when given) says why. Each argument reaches the program as one word: nothing
    // is split or quoted by a shell.
    virtual bool startProgram(const QString &program, const QStringList &arguments,
                              QString *error = nullptr) = 0;
    // The full path of the named program when it is found on the PATH; empty when not.
    virtual QString findProgram(const QString &name) = 0;
    // Lets the user pick any executable file; the full path, or empty on Cancel.
    virtual QString openProgramName(const QString &title, const QString &directory) = 0;
    // The busy (hourglass) pointer while files are read, written or converted.
    virtual void setBusy(bool busy) = 0;
    // Runs a dialog modally and returns its QDialog::DialogCode.
    virtual int runDialog(QDialog &dialog) = 0;
    // Lets pending window events run inside long loops.
    virtual void processEvents() = 0;
    // The parent for the program's message boxes and pickers.
    virtual void setParentWindow(QWidget *parent) = 0;
};

// Turns "HTML Files|*.html;*.htm|All Files|*.*" into Qt's "HTML Files (*.html *.htm);;...".
QString qtFileFilter(const QString &programFilter);

} // namespace pw
