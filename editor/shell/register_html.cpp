#include "shell/register_html.h"

#include "files/text_file.h"
#include "shared/escaping.h"
#include "shared/platform.h"
#include "shared/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace pw {

namespace {
const QString kEntryName = QStringLiteral("pagewick.desktop");
// A list of associations larger than this is not the user's own; it is left alone.
constexpr qint64 kListSizeLimit = 16 * 1024 * 1024;

} // namespace

QString installedDesktopEntry(const QString &executable, const QStringList &searchedFolders)
{
    const QDir executableDir = QFileInfo(executable).absoluteDir();
    if (executableDir.exists(QStringLiteral("Template.html")))
        return QString();
    const QString folder =
        QFileInfo(executableDir.filePath(QStringLiteral("../share/applications")))
            .canonicalFilePath();
    if (folder.isEmpty() || !QFileInfo::exists(QDir(folder).filePath(kEntryName)))
        return QString();
    for (const QString &searched : searchedFolders) {
        if (QFileInfo(searched).canonicalFilePath() == folder)
            return QDir(folder).filePath(kEntryName);
    }
    return QString();
}

QString desktopEntryText(const QString &executable)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Edit with Pagewick\n"
                          "Comment=Edit the HTML source with Pagewick\n"
                          "Exec=%1 %f\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n"
                          "MimeType=text/html;\n")
        .arg(desktopExecArgument(executable));
}

QString withHtmlAssociation(const QString &mimeAppsText)
{
    QStringList lines = mimeAppsText.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QString section = QStringLiteral("[Added Associations]");
    const QString key = QStringLiteral("text/html=");
    int sectionAt = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() == section) {
            sectionAt = i;
            break;
        }
    }
    if (sectionAt < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << section << key + kEntryName + QLatin1Char(';');
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    int end = sectionAt + 1;
    while (end < lines.size() && !lines[end].trimmed().startsWith(QLatin1Char('[')))
        ++end;
    for (int i = sectionAt + 1; i < end; ++i) {
        if (!lines[i].startsWith(key))
            continue;
        QStringList entries = lines[i].mid(key.size()).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        entries.removeAll(kEntryName);
        entries.prepend(kEntryName);
        lines[i] = key + entries.join(QLatin1Char(';')) + QLatin1Char(';');
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    lines.insert(sectionAt + 1, key + kEntryName + QLatin1Char(';'));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void registerHTMLFiles(Platform &platform, const QString &executable, QString applicationsDir,
                       QString mimeAppsList)
{
    if (applicationsDir.isEmpty())
        applicationsDir = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    if (mimeAppsList.isEmpty())
        mimeAppsList = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                           .filePath(QStringLiteral("mimeapps.list"));
    // Failures here are not reported: the association is a convenience.
    const QString userEntry = QDir(applicationsDir).filePath(kEntryName);
    const QStringList searched =
        QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    if (installedDesktopEntry(executable, searched).isEmpty()) {
        QDir().mkpath(applicationsDir);
        writeFileSafely(userEntry, desktopEntryText(executable).toUtf8());
    } else {
        // An entry of the user's own by the same name would hide the installed one (ours
        // is not even shown in menus); only one that a registration wrote is taken back.
        QByteArray bytes;
        if (readFileBytes(userEntry, kListSizeLimit, &bytes) == ReadResult::Ok
            && bytes.contains("\nName=Edit with Pagewick\n"))
            QFile::remove(userEntry);
    }
    // The user's associations are rewritten only when they could be read whole.
    // Only a regular file is read (a named pipe there would never answer) and written.
    QString existing;
    bool readable = !QFileInfo::exists(mimeAppsList);
    QByteArray bytes;
    if (!readable && readFileBytes(mimeAppsList, kListSizeLimit, &bytes) == ReadResult::Ok) {
        existing = QString::fromUtf8(bytes);
        readable = true;
    }
    if (readable) {
        QDir().mkpath(QFileInfo(mimeAppsList).absolutePath());
        writeFileSafely(mimeAppsList, withHtmlAssociation(existing).toUtf8());
    }

    platform.messageBox(QStringLiteral("Register Pagewick..."),
                        QStringLiteral("Pagewick has been registered with HTML files!"),
                        MsgButtons::Ok, MsgIcon::Information);
}

} // namespace pw
