#pragma once
// Showing the document in one of the two external browsers the user names by the paths of
// their programs, optionally through a mapping from a local directory to a web-server URL.
// The browser is started as a separate process with the path or URL as its one argument;
// the editor does not wait for it.
//
// The document check (nothing open, never saved) belongs to the main window; what follows it
// is here, handed the document's path.
#include <QString>

namespace pw {

class Platform;
class SettingsStore;
struct FeatureContext;
struct ProgramState;

enum class Browser { First, Second };

// The stored mapping from a local directory to a URL (section "Settings").
struct PathMapping {
    QString physicalPath;
    QString virtualPath = QStringLiteral("http://");
    bool used = false; // the stored switch is exactly "yes"

    static PathMapping read(const SettingsStore &settings);
    void write(SettingsStore &settings) const;
};

// What the browser is handed for the document: with the mapping in use, every occurrence of
// the physical path (letter case counts) replaced by the virtual path; otherwise, and when
// the physical path is empty, the document's path itself. Separators are left as they are.
QString previewTarget(const QString &documentPath, const PathMapping &mapping);

// The program that stands for a browser: the stored path, or for the first browser while
// none is stored the desktop's default-browser launcher when it is installed. Nothing is
// stored for the launcher: it stands in only until the user names a browser.
QString browserProgram(Browser browser, const ProgramState &state, Platform &platform);

// The message when no program is named for the browser.
void reportNoBrowser(Platform &platform);
// The message when the file to show is not there; its text is the path.
void reportMissingFile(Platform &platform, const QString &path);

// Why the path cannot be a browser's program, in a few words ("" when it can: an executable
// file).
QString browserPathProblem(const QString &path);
// The message when the browser's program could not be started, naming it and the reason.
void reportBrowserNotStarted(Platform &platform, const QString &program, const QString &reason);

// Starts the named browser on the file, handed over mapped when `mapped` (and the mapping is
// on). Says so when no browser is named, its program is gone or does not start, or the file
// is gone. False when no browser was started (so the chooser stays open for another).
bool startBrowserOn(FeatureContext &context, Browser browser, const QString &path, bool mapped);

// The toolbar preview: the named browser started on the document, mapped.
void previewInBrowser(FeatureContext &context, Browser browser, const QString &documentPath);

// What the browser chooser is shown for; its words say which.
enum class Showing { Document, HelpFile };

// The browser chooser frmBrowser, shown modally on the given file (no mapping applied): the
// "In Browser" menu item hands it the document, the help command the help page.
void chooseBrowserFor(FeatureContext &context, const QString &path,
                      Showing showing = Showing::Document);

// The help command: the program folder's helpmain.html in the browser chooser.
void showHelp(FeatureContext &context);

// frmOptions: the two browsers' program paths.
void defineBrowsers(FeatureContext &context);

// The toolbar's mapping button: the file panes' directory becomes the physical path, then
// frmVirtualPath edits the mapping.
void editPathMapping(FeatureContext &context);

} // namespace pw
