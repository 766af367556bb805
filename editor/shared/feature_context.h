#pragma once
// What a feature (a toolbar command, a dialog, a generator, a tool) is handed by the command
// that opens it. Features never reach into the main window: everything they may touch is here.
#include <QString>
#include <functional>

class QWidget;

namespace pw {

class EditBox;
class Platform;
class SettingsStore;
struct ProgramState;

struct FeatureContext {
    EditBox &edit;             // the document box
    ProgramState &state;       // the program-wide values
    SettingsStore &settings;   // the per-user settings
    Platform &platform;        // message boxes, pickers, dialogs
    QWidget *parent = nullptr; // parent window for dialogs
    QString programFolder;     // Template.html, helpmain.html, ...
    // The file panes' current drive and directory (the directory ends with a separator
    // only when the pane shows it so).
    std::function<QString()> paneDrive;
    std::function<QString()> paneDirectory;

    // The full path of the open document's file; empty while it is untitled or no document
    // is open.
    std::function<QString()> documentPath;
    // Makes the text a new untitled document: the box is cleared, the text inserted, the
    // document named "Untitled.html" and marked unmodified. Ask maybeSave first.
    std::function<void(const QString &text)> replaceDocument;
    // The save prompt run before the document is replaced or closed: nothing is asked while
    // it is unmodified; otherwise a Yes/No/Cancel question with this title and text. True
    // when the command may go on (No, or Yes and the save happened).
    std::function<bool(const QString &title, const QString &text)> maybeSave;
    // The same prompt with Yes and No only, for the commands that offer no way back. A Yes
    // whose save did not happen (picker cancelled, write failed) still ends the command, so
    // the edits are not replaced unsaved.
    std::function<bool(const QString &title, const QString &text)> maybeSaveYesNo;
};

} // namespace pw
