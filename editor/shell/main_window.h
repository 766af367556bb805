#pragma once
// frmMain: the one main window. It shows the document (document/document.h) in its source
// box, with the toolbar pages, the file panes, the file tabs, the menus and the status line,
// which all follow the document's signals. Its members are implemented across files by
// concern: main_window.cpp builds the window, main_window_startup.cpp runs loading and
// shutdown, main_window_document.cpp the document's views and the commands that open files,
// main_window_files.cpp the recent files, file tabs and panes, main_window_view.cpp the
// source view's settings and the status fields, main_window_editing.cpp what the box does
// itself (Tab, dropped pictures), spell checking and the user buttons. Every menu item and
// button is a row of the command table (commands.h).
#include "document/feature_context.h"
#include "shared/edit_box.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

class QHBoxLayout;
class QLabel;
class QSplitter;
class QTabBar;
class QTabWidget;

namespace pw {

class CommandRunner;
class Document;
class FilePanes;
class LiveSpelling;
class Platform;
class RecentFiles;
class SettingsStore;
class SourceEdit;
class Speller;
struct ProgramState;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // programFolder holds Template.html and the other program files.
    MainWindow(ProgramState &state, SettingsStore &settings, Platform &platform,
               const QString &programFolder, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Loading the window: the command line's file or the template, the kept settings, then
    // (when `show` is set) showing it, the display font and LoadFinished.
    void loadMainWindow(const QString &commandLine, bool show = true);
    bool loadFinished() const { return loadFinished_; }
    // The messages of the loading (a refused command-line file), once the window is shown
    // and nothing else (the splash) is over it.
    void reportLoadProblems();

    // What the window shows and the features are handed.
    Document &document() { return *document_; }
    EditBox &editBox() { return edit_; }
    FilePanes &panes() { return *panes_; }
    RecentFiles &recent() { return *recent_; }
    CommandRunner &commands() { return *commands_; }
    SourceEdit &sourceEdit() { return *txtEdit_; }
    ProgramState &state() { return state_; }
    QString programFolder() const { return programFolder_; }
    FeatureContext featureContext();
    // The page of MyTab or MyTabScript with the given caption ("&&" written as "&").
    QWidget *toolbarPage(const QString &caption) const;

    // The window's own commands; each menu item and its toolbar button run the same code.
    void newDocument();
    void openDocument();
    void openRecentFile(int index);
    void print();
    // Checks the document's spelling; the dictionary opens at the first check and keeps the
    // words ignored for the rest of the run.
    void checkSpelling();
    // Asks for a tag and wraps the selection in it (an empty answer does nothing).
    void wrapSelectionInTag();
    void defineUserButtons();
    // The source view's display, kept in section "View": syntax colouring and line numbers
    // (both on unless the user turned them off). The setters store the choice.
    void setColouring(bool on);
    void setLineNumbers(bool on);
    bool colouring() const;
    bool lineNumbers() const;
    // Also in "View": end tags added after ">" (on unless turned off) and the underlining of
    // unknown words as one types (on unless turned off).
    void setAddEndTags(bool on);
    bool addEndTags() const;
    void setLiveSpelling(bool on);
    bool liveSpelling() const;
    LiveSpelling &liveSpeller() { return *liveSpelling_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Building (main_window.cpp).
    void createToolbarTabs();
    void createPanesAndEditor();
    void createStatusBar();
    void createCommands();
    void connectDocument();
    void connectFiles();
    // Loading and closing (main_window_startup.cpp).
    void initializeLoad(const QString &commandLine);
    void initializeRestore();
    void restoreFontInfo();
    void restoreWindowPlace();
    void saveWindowPlace();
    // The document's views (main_window_document.cpp).
    void showIdentity();
    void showModified(bool modified);
    void showDocumentFields();
    void showCaretField();
    // The program folder's Template.html, which every new document starts from.
    QString templatePath() const;
    // Opening files from the menu, the tabs and the panes (main_window_files.cpp).
    void openFromFileList(const QString &name);
    void openFromFileTab(int index, int previous);
    void syncFileBoxes(const QString &path);
    void restoreDriveAndDir();
    void changeToolTips();
    // The box's own handling (main_window_editing.cpp), and the View menu's check marks.
    bool editorEvent(QObject *watched, QEvent *event);
    void restoreSourceView();
    void checkViewItems();
    void assignUDToolTips();
    // The session's dictionary, opened at its first use; nullptr (after saying why, when
    // `report` is set) when there is none.
    Speller *speller(bool report);

    ProgramState &state_;
    SettingsStore &settings_;
    Platform &platform_;
    QString programFolder_;

    QTabWidget *myOuterTab = nullptr;
    QTabWidget *myTab = nullptr;
    QTabWidget *myTabScript = nullptr;
    QTabBar *myTabFiles = nullptr;
    FilePanes *panes_ = nullptr;
    QSplitter *splitter_ = nullptr;
    QLabel *myImage = nullptr;
    SourceEdit *txtEdit_; // the source box; the features see it through edit_
    EditBox edit_;
    QLabel *statusLabel_ = nullptr;
    // Permanent fields on the status bar's right: caret, encoding, line breaks.
    QLabel *caretField_ = nullptr;
    QLabel *encodingField_ = nullptr;
    QLabel *lineBreaksField_ = nullptr;
    QHBoxLayout *pictureBar_ = nullptr;

    Document *document_ = nullptr;
    RecentFiles *recent_ = nullptr;
    CommandRunner *commands_ = nullptr;
    std::unique_ptr<Speller> speller_;
    bool spellerFailed_ = false; // opening it failed once: not tried again silently
    LiveSpelling *liveSpelling_ = nullptr;
    bool loadFinished_ = false;
};

} // namespace pw
