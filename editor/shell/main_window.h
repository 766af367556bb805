#pragma once
// frmMain: the one main window. It owns the document (the text of txtEdit, whose identity is
// the status text), the toolbar pages, the file panes, the file tabs and the menus. Its
// members are implemented across files by concern: main_window.cpp builds the window,
// main_window_startup.cpp runs loading and shutdown, main_window_document.cpp the document,
// main_window_files.cpp the recent files, file tabs and panes, main_window_insertion.cpp the
// insertion commands, main_window_view.cpp the source view's settings and the status fields,
// main_window_editing.cpp what the box does itself (Tab, dropped pictures) and spell
// checking. Every menu item and button is a row of the command table (commands.h).
#include "files/text_file.h"
#include "shared/edit_box.h"
#include "shared/feature_context.h"
#include "shared/platform.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTabBar;
class QTabWidget;
class QToolButton;

namespace pw {

class CommandRunner;
class DirectoryList;
class DriveList;
class FileList;
class FilePanes;
class InsertionToolbar;
class Platform;
class SettingsStore;
class SourceEdit;
class Speller;
struct ProgramState;

// The status texts that name no file.
inline const QString kUntitled = QStringLiteral("Untitled.html");
inline const QString kReady = QStringLiteral("Ready...");

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // programFolder holds Template.html and the other program files.
    MainWindow(ProgramState &state, SettingsStore &settings, Platform &platform,
               const QString &programFolder, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Loading the window: initializeLoad with the command line, initializeRestore, then (when
    // `show` is set) showing it, the display font and LoadFinished.
    void loadMainWindow(const QString &commandLine, bool show = true);
    void initializeLoad(const QString &commandLine);
    void initializeRestore();
    // The messages of the loading (a refused command-line file), once the window is shown
    // and nothing else (the splash) is over it.
    void reportLoadProblems();

    // Document identity.
    QString statusText() const;
    void setDocumentName(const QString &statusText);
    bool documentModified() const { return documentModified_; }
    bool loadFinished() const { return loadFinished_; }

    // Whole-file load into the box; returns the text, or nothing when the file was refused or
    // could not be read (after its message); then the box is unchanged.
    std::optional<QString> loadText(const QString &path);
    // How the document is written: encoding and line-break style of its file.
    const TextEncoding &encoding() const { return encoding_; }
    // The document commands; each menu item and its toolbar button run the same code.
    void newDocument();
    void openDocument();
    void closeDocument();
    bool save();   // true when the document was written
    bool saveAs(); // true when the document was written
    void saveAsUnix();
    void print();
    // Loads a file and names the document after it; false (document unchanged) on failure.
    bool openAsDocument(const QString &path);
    // The save prompt run before replacing the document; false when the user cancelled.
    bool savePrompt();
    // The one save prompt: asks only while the document is modified; Yes saves first. True
    // when the command may go on (No, or Yes and the save happened). Commands that offer no
    // way back ask with Yes and No only.
    bool maybeSave(const QString &title, const QString &text,
                   MsgButtons buttons = MsgButtons::YesNoCancel);
    // Makes the text a new untitled, unmodified document.
    void replaceDocument(const QString &text);
    // The open document's file; empty while untitled or when no document is open.
    QString documentPath() const;

    // Recent files and tabs.
    void addToRecentlyUsed(const QString &path);
    void addFileTab(const QString &path);
    void clearTabs();
    void restoreRecentlyUsed();
    void saveRecentlyUsed();
    QStringList recentFiles() const;
    const std::array<QString, 5> &tabFiles() const { return tabFiles_; }

    // Panes.
    void syncFileBoxes(const QString &path);
    void restoreDriveAndDir();
    QString paneDrive() const;
    QString paneDirectory() const;
    void setPaneDrive(const QString &drive);
    void setPaneDirectory(const QString &directory);

    // Recent files, file tabs and panes as the user works them (main_window_files.cpp).
    void openRecentFile(int index);
    void openFromFileList(const QString &name);
    void openFromFileTab(int index, int previous);
    void refreshDriveLists();
    void changeToolTips();
    DriveList *driveList() const { return myDrive; }
    DirectoryList *directoryList() const { return myDirectory; }
    FileList *fileList() const { return myFileList; }

    // The kept display font on the whole text; the caret just after the template's "<TITLE>".
    void restoreFontInfo();
    // The source view's display, kept in section "View": syntax colouring and line numbers
    // (both on unless the user turned them off). The setters store the choice.
    void restoreSourceView();
    void setColouring(bool on);
    void setLineNumbers(bool on);
    bool colouring() const;
    bool lineNumbers() const;
    // Checks the document's spelling; the dictionary opens at the first check and keeps the
    // words ignored for the rest of the run.
    void checkSpelling();
    // The window's size, place, maximised state and splitter, kept in section "Window".
    void restoreWindowPlace();
    void saveWindowPlace();

    // What the features opened from this window are handed.
    FeatureContext featureContext();

    EditBox &editBox() { return edit_; }
    QPlainTextEdit *textBox() const { return txtEdit_; }
    SourceEdit *sourceEdit() const { return sourceEdit_; }
    ProgramState &state() { return state_; }
    SettingsStore &settings() { return settings_; }
    Platform &platform() { return platform_; }
    QString programFolder() const { return programFolder_; }
    // The page of MyTab or MyTabScript with the given caption ("&&" written as "&").
    QWidget *toolbarPage(const QString &caption) const;
    QToolButton *pictureButton(const QString &name) const;

    // Insertion (main_window_insertion.cpp): the toolbar pages' commands and lists, block
    // comments and the user buttons.
    void loadUD();
    void saveUD();
    void assignUDToolTips();
    void fillAllCombos();
    void commentBlock();
    void unCommentBlock();
    void defineUserButtons();
    InsertionToolbar *insertionToolbar() const { return insertion_; }
    CommandRunner *commands() const { return commands_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createToolbarTabs();
    void createPanesAndEditor();
    void createStatusBar();
    void connectDocumentSignals();
    void connectFiles();
    void selectFileTab(int index);
    QString recentPath(int index) const;
    void setRecentPath(int index, const QString &path);
    // The program folder's Template.html, which every new document starts from.
    QString templatePath() const;
    enum class WriteOutcome { Written, Declined, Failed };
    // Writes the document in `encoding` (asking before changing its character set);
    // Declined when the user said No, which writes nothing.
    WriteOutcome writeDocument(const QString &path, TextEncoding encoding);
    bool saveAsWith(const TextEncoding &encoding);
    void markUnmodified();
    // Every change of how the document is written goes through here, so the status line
    // shows it.
    void setEncoding(const TextEncoding &encoding);
    void showDocumentFields();
    void showCaretField();
    void checkViewItems();
    void onTextChanged();
    // Tab and dropped pictures in the box; true when the event was handled.
    bool editorEvent(QObject *watched, QEvent *event);

    ProgramState &state_;
    SettingsStore &settings_;
    Platform &platform_;
    QString programFolder_;

    QTabWidget *myOuterTab = nullptr;
    QTabWidget *myTab = nullptr;
    QTabWidget *myTabScript = nullptr;
    QTabBar *myTabFiles = nullptr;
    DriveList *myDrive = nullptr;
    DirectoryList *myDirectory = nullptr;
    FileList *myFileList = nullptr;
    FilePanes *panes_ = nullptr;
    QSplitter *splitter_ = nullptr;
    QLabel *myImage = nullptr;
    SourceEdit *sourceEdit_ = nullptr;
    QPlainTextEdit *txtEdit_ = nullptr; // the source edit as the features see it
    QLabel *statusLabel_ = nullptr;
    // Permanent fields on the status bar's right: caret, encoding, line breaks.
    QLabel *caretField_ = nullptr;
    QLabel *encodingField_ = nullptr;
    QLabel *lineBreaksField_ = nullptr;
    QList<QAction *> mnuRecentlyUsed_;
    EditBox edit_;

    bool documentModified_ = false;
    bool loadFinished_ = false;
    std::array<QString, 5> tabFiles_;
    int currentFileTab_ = 0;
    bool selectingFileTab_ = false; // the program, not the user, is selecting a file tab
    TextEncoding encoding_;
    FileStamp diskStamp_; // the document's file as it was loaded or last saved
    InsertionToolbar *insertion_ = nullptr;
    CommandRunner *commands_ = nullptr;
    QHBoxLayout *pictureBar_ = nullptr;
    std::unique_ptr<Speller> speller_;
    // Messages of the loading, shown once the window is (std::function<void()>).
    QList<std::function<void()>> startupMessages_;
};

} // namespace pw
