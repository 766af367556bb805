#include "windows/preview.h"

#include "document/feature_context.h"
#include "files/paths.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"
#include "windows/browser_windows.h"

#include <QFileInfo>

namespace pw {

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kPhysicalPath = QStringLiteral("PhysicalPath");
const QString kVirtualPath = QStringLiteral("VirtualPath");
const QString kUseVPath = QStringLiteral("UseVPath");
// Starts the desktop's default browser on a path or URL.
const QString kDefaultBrowserLauncher = QStringLiteral("xdg-open");
} // namespace

PathMapping PathMapping::read(const SettingsStore &settings)
{
    PathMapping mapping;
    mapping.physicalPath = settings.read(kSettings, kPhysicalPath, QString());
    mapping.virtualPath = settings.read(kSettings, kVirtualPath, QStringLiteral("http://"));
    mapping.used =
        settings.read(kSettings, kUseVPath, QStringLiteral("no")) == QLatin1String("yes");
    return mapping;
}

void PathMapping::write(SettingsStore &settings) const
{
    settings.write(kSettings, kPhysicalPath, physicalPath);
    settings.write(kSettings, kVirtualPath, virtualPath);
    settings.write(kSettings, kUseVPath, used ? QStringLiteral("yes") : QStringLiteral("no"));
}

QString previewTarget(const QString &documentPath, const PathMapping &mapping)
{
    // An empty physical path maps nothing (a replace of "" would put the URL between every
    // two characters).
    if (!mapping.used || mapping.physicalPath.isEmpty())
        return documentPath;
    return QString(documentPath)
        .replace(mapping.physicalPath, mapping.virtualPath, Qt::CaseSensitive);
}

QString browserProgram(Browser browser, const ProgramState &state, Platform &platform)
{
    const QString stored = browser == Browser::First ? state.iePath : state.nnPath;
    if (!stored.isEmpty() || browser == Browser::Second)
        return stored;
    return platform.findProgram(kDefaultBrowserLauncher);
}

void reportNoBrowser(Platform &platform)
{
    platform.messageBox(
        QStringLiteral("Cannot View In External Browser..."),
        QStringLiteral("You Have Not Specified A Browser Location Under View...Define Browser"),
        MsgButtons::Ok, MsgIcon::Information);
}

void reportMissingFile(Platform &platform, const QString &path)
{
    platform.messageBox(QStringLiteral("The Following File Cannot Be Located"), path,
                        MsgButtons::Ok, MsgIcon::Information);
}

QString browserPathProblem(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return QStringLiteral("The Browser Program Cannot Be Found");
    if (!info.isFile())
        return QStringLiteral("The Browser Path Is Not A File");
    if (!info.isExecutable())
        return QStringLiteral("The Browser Program Is Not Executable");
    return {};
}

void reportBrowserNotStarted(Platform &platform, const QString &program, const QString &reason)
{
    platform.messageBox(
        QStringLiteral("Cannot View In External Browser..."),
        QStringLiteral("The Browser Could Not Be Started:\r\n%1\r\n%2").arg(program, reason),
        MsgButtons::Ok, MsgIcon::Information);
}

bool startBrowserOn(FeatureContext &context, Browser browser, const QString &path, bool mapped)
{
    const QString program = browserProgram(browser, context.state, context.platform);
    if (program.isEmpty()) {
        reportNoBrowser(context.platform);
        return false;
    }
    // A program removed since it was named would otherwise fail without a word.
    if (!fileIsPresent(program)) {
        reportBrowserNotStarted(context.platform, program, browserPathProblem(program));
        return false;
    }
    const QString file = typedPath(path);
    if (!fileIsPresent(file)) {
        reportMissingFile(context.platform, file);
        return true;
    }
    // A name the browser (or its launcher) could take for an option, "-x.html", is handed over
    // as the absolute path it is.
    const QString absolute = QFileInfo(file).absoluteFilePath();
    // The mapping is read afresh each time: the user may have changed it meanwhile.
    const QString target =
        mapped ? previewTarget(absolute, PathMapping::read(context.settings)) : absolute;
    // One argument, however many blanks the path holds: no shell splits it.
    QString error;
    if (!context.platform.startProgram(program, {target}, &error)) {
        const QString problem = browserPathProblem(program);
        reportBrowserNotStarted(context.platform, program, error.isEmpty() ? problem : error);
        return false;
    }
    return true;
}

void previewInBrowser(FeatureContext &context, Browser browser, const QString &documentPath)
{
    startBrowserOn(context, browser, documentPath, true);
}

void chooseBrowserFor(FeatureContext &context, const QString &path, Showing showing)
{
    BrowserChooser chooser(context, path, showing, context.parent);
    context.platform.runDialog(chooser);
}

void showHelp(FeatureContext &context)
{
    QString folder = context.programFolder;
    chooseBrowserFor(context, withTrailingBackslash(folder) + QStringLiteral("helpmain.html"),
                     Showing::HelpFile);
}

void defineBrowsers(FeatureContext &context)
{
    BrowserDefinitions definitions(context, context.parent);
    context.platform.runDialog(definitions);
}

void editPathMapping(FeatureContext &context)
{
    QString directory = context.paneDirectory();
    context.settings.write(kSettings, kPhysicalPath, withTrailingBackslash(directory));
    PathMappingDialog dialog(PathMapping::read(context.settings), context.parent);
    context.platform.runDialog(dialog);
    // However the window was closed, it keeps what the boxes show.
    dialog.mapping().write(context.settings);
}

} // namespace pw
