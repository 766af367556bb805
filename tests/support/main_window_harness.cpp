#include "support/main_window_harness.h"

#include "source_view/source_edit.h"

#include <QLabel>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

namespace pw::test {

MainWindowHarness::MainWindowHarness()
{
    settings = std::make_unique<SettingsStore>(dir_.filePath(QStringLiteral("Pagewick.conf")));
}

MainWindowHarness::~MainWindowHarness() = default;

MainWindow &MainWindowHarness::start(const QString &commandLine)
{
    if (!window_)
        window_ = std::make_unique<MainWindow>(state, *settings, platform,
                                               QStringLiteral(PAGEWICK_BIN_DIR));
    window_->loadMainWindow(commandLine, false);
    window_->reportLoadProblems();
    return *window_;
}

MainWindow &MainWindowHarness::restart(const QString &commandLine)
{
    window_.reset();
    state = ProgramState();
    settings.reset(); // the old store writes its file before the new one reads it
    settings = std::make_unique<SettingsStore>(dir_.filePath(QStringLiteral("Pagewick.conf")));
    return start(commandLine);
}

QString MainWindowHarness::settingsFile() const
{
    return dir_.filePath(QStringLiteral("Pagewick.conf"));
}

QString MainWindowHarness::storedValue(const QString &section, const QString &key,
                                       const QString &defaultValue) const
{
    return SettingsStore(settingsFile()).read(section, key, defaultValue);
}

QString MainWindowHarness::path(const QString &name) const
{
    return dir_.filePath(name);
}

QString MainWindowHarness::writeFile(const QString &name, const QByteArray &bytes) const
{
    const QString full = path(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << full.toStdString();
    file.write(bytes);
    return full;
}

QByteArray MainWindowHarness::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

QString statusText(const MainWindow &window)
{
    const auto *label = window.findChild<QLabel *>(QStringLiteral("sbStatusText"));
    return label ? label->text() : QString();
}

SourceEdit *sourceEdit(const MainWindow &window)
{
    return window.findChild<SourceEdit *>(QStringLiteral("txtEdit"));
}

} // namespace pw::test
