#pragma once
// A main window as the program builds it, with a fresh settings store in a temporary
// directory, a fresh program-wide state and the scripted platform.
#include "shared/program_state.h"
#include "shared/settings_store.h"
#include "document/document.h"
#include "shared/file_panes.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/recent_files.h"
#include "support/fake_platform.h"

#include <QTemporaryDir>
#include <memory>

namespace pw {
class SourceEdit;
}

namespace pw::test {

class MainWindowHarness {
public:
    MainWindowHarness();
    ~MainWindowHarness();

    // Builds the window (if not built yet) and loads it with the given command line.
    MainWindow &start(const QString &commandLine = QString());
    // A second run over the same settings store, as the next program start would be.
    MainWindow &restart(const QString &commandLine = QString());

    QString settingsFile() const;
    // Reads the store's file afresh, as another program would.
    QString storedValue(const QString &section, const QString &key,
                        const QString &defaultValue = QStringLiteral("<absent>")) const;
    // A path inside the temporary directory.
    QString path(const QString &name) const;
    // Writes a file with the given bytes, returning its path.
    QString writeFile(const QString &name, const QByteArray &bytes) const;
    static QByteArray readFile(const QString &path);

    MainWindow &window() { return *window_; }
    FakePlatform platform;
    ProgramState state;
    std::unique_ptr<SettingsStore> settings;

private:
    QTemporaryDir dir_;
    std::unique_ptr<MainWindow> window_;
};

// What the status line shows: the document's name, "Untitled.html" or "Ready...".
QString statusText(const MainWindow &window);
// The window's source box, for the view's own settings.
SourceEdit *sourceEdit(const MainWindow &window);

} // namespace pw::test
