#pragma once
// A scripted Platform for tests: records every call and answers from queues. A question
// that arrives with nothing queued to answer it fails the running test.
#include "shared/platform.h"

#include <QDialog>
#include <QHash>
#include <QVector>
#include <deque>
#include <functional>

namespace pw::test {

struct MessageRecord {
    QString title;
    QString text;
    MsgButtons buttons;
    MsgIcon icon;
    bool operator==(const MessageRecord &) const = default;
};

struct InputRecord {
    QString prompt;
    QString title;
    QString defaultText;
};

struct PickerRecord {
    QString kind; // "open", "save" or "program"
    QString title;
    QString directory;
    QString filter;
};

class FakePlatform : public Platform {
public:
    // Answers, consumed in order.
    std::deque<MsgAnswer> messageAnswers;
    std::deque<QString> inputAnswers;
    std::deque<QString> fileAnswers; // for open and save pickers; "" = Cancel
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<bool> printerAnswers;
    // Each modal dialog is handed to the next handler, which may fill its fields and
    // returns the dialog's result code.
    std::deque<std::function<int(QDialog &)>> dialogHandlers;
    bool startProgramResult = true;
    QString startProgramError; // why a start failed, when startProgramResult is false
    // When set, startProgram also hands the start on (e.g. to the real platform) and answers
    // what it answers.
    std::function<bool(const QString &, const QStringList &, QString *error)> onStartProgram;
    // The programs findProgram finds: name -> full path. None unless a test puts one here.
    QHash<QString, QString> programsOnPath;
    // Runs at every processEvents call: a test acts there as a user would while a long
    // loop lets events run.
    std::function<void()> onProcessEvents;

    // What happened.
    QVector<MessageRecord> messages;
    QStringList messageDetails; // the detail text of each message box, in step with messages
    QVector<InputRecord> inputs;
    QVector<PickerRecord> pickers;
    QVector<QPair<QString, QStringList>> startedPrograms;
    QStringList dialogsRun;        // objectName of each dialog run
    QVector<QColor> colorsOffered; // the colour each colour picker opened on
    int busyDepth = 0;
    int maxBusyDepth = 0;
    int processEventsCalls = 0;

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
    void setParentWindow(QWidget *) override {}
};

} // namespace pw::test
