#pragma once
// What a feature (a toolbar command, a dialog, a generator, a tool) is handed by the command
// that opens it. Features never reach into the main window: everything they may touch is here.
#include <QString>

class QWidget;

namespace pw {

class Document;
class EditBox;
class FilePanes;
class Platform;
class SettingsStore;
struct ProgramState;

struct FeatureContext {
    EditBox &edit;             // the document's box
    Document &document;        // the open document; its text is `edit`'s
    ProgramState &state;       // the program-wide values
    SettingsStore &settings;   // the per-user settings
    Platform &platform;        // message boxes, pickers, dialogs
    QWidget *parent = nullptr; // parent window for dialogs
    QString programFolder;     // Template.html, helpmain.html, ...
    // The main window's file panes (nullptr where there are none).
    const FilePanes *panes = nullptr;

    // The panes' current drive and directory (the directory ends with a separator only when
    // the pane shows it so); empty without panes.
    QString paneDrive() const;
    QString paneDirectory() const;
};

} // namespace pw
