#include "support/fake_platform.h"

#include <gtest/gtest.h>

namespace pw::test {

template <typename T>
static T takeOrFail(std::deque<T> &queue, const T &fallback, const char *what,
                    const QString &context)
{
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected " << what << ": " << context.toStdString();
        return fallback;
    }
    T value = queue.front();
    queue.pop_front();
    return value;
}

MsgAnswer FakePlatform::messageBox(const QString &title, const QString &text, MsgButtons buttons,
                                   MsgIcon icon, const QString &detail)
{
    messages.push_back({title, text, buttons, icon});
    messageDetails.push_back(detail);
    // A notice with only OK needs no scripted answer.
    if (buttons == MsgButtons::Ok && messageAnswers.empty())
        return MsgAnswer::Ok;
    return takeOrFail(messageAnswers, MsgAnswer::Cancel, "message box", title + " / " + text);
}

QString FakePlatform::inputBox(const QString &prompt, const QString &title,
                               const QString &defaultText)
{
    inputs.push_back({prompt, title, defaultText});
    return takeOrFail(inputAnswers, QString(), "input box", title + " / " + prompt);
}

QString FakePlatform::openFileName(const QString &title, const QString &directory,
                                   const QString &filter)
{
    pickers.push_back({QStringLiteral("open"), title, directory, filter});
    return takeOrFail(fileAnswers, QString(), "open picker", title);
}

QString FakePlatform::saveFileName(const QString &title, const QString &directory,
                                   const QString &filter, const QString &)
{
    pickers.push_back({QStringLiteral("save"), title, directory, filter});
    return takeOrFail(fileAnswers, QString(), "save picker", title);
}

std::optional<QColor> FakePlatform::chooseColor(const QColor &initial)
{
    colorsOffered << initial;
    return takeOrFail(colorAnswers, std::optional<QColor>(), "colour picker", QString());
}

std::optional<QFont> FakePlatform::chooseFont(const QFont &)
{
    return takeOrFail(fontAnswers, std::optional<QFont>(), "font picker", QString());
}

bool FakePlatform::choosePrinter(QPrinter &)
{
    return takeOrFail(printerAnswers, false, "print dialog", QString());
}

bool FakePlatform::startProgram(const QString &program, const QStringList &arguments,
                                QString *error)
{
    startedPrograms.push_back({program, arguments});
    if (onStartProgram)
        return onStartProgram(program, arguments, error);
    if (!startProgramResult && error)
        *error = startProgramError;
    return startProgramResult;
}

QString FakePlatform::findProgram(const QString &name)
{
    return programsOnPath.value(name);
}

QString FakePlatform::openProgramName(const QString &title, const QString &directory)
{
    pickers.push_back({QStringLiteral("program"), title, directory, QString()});
    return takeOrFail(fileAnswers, QString(), "program picker", title);
}

void FakePlatform::setBusy(bool busy)
{
    busyDepth += busy ? 1 : -1;
    maxBusyDepth = std::max(maxBusyDepth, busyDepth);
}

int FakePlatform::runDialog(QDialog &dialog)
{
    dialogsRun << dialog.objectName();
    auto handler = takeOrFail(dialogHandlers, std::function<int(QDialog &)>(), "modal dialog",
                              dialog.objectName());
    return handler ? handler(dialog) : int(QDialog::Rejected);
}

void FakePlatform::processEvents()
{
    ++processEventsCalls;
    if (onProcessEvents)
        onProcessEvents();
}

} // namespace pw::test
