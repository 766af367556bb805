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
};

} // namespace pw
