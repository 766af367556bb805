#include "tools/replace_undo.h"

#include "files/text_file.h"
#include "shared/recovery_store.h"
#include "shared/safe_write.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace pw {

namespace {

const QString kList = QStringLiteral("written");

QString original(int index)
{
    return QStringLiteral("%1.original").arg(index);
}

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The files' own names are bytes that need not be UTF-8: kept percent-encoded.
QByteArray encodedPath(const QString &path)
{
    return QFile::encodeName(path).toPercentEncoding();
}

QByteArray readWhole(const QString &path, bool *ok)
{
    QByteArray bytes;
    // Files a replace touches are under the document size limit.
    *ok = readFileBytes(path, kDocumentSizeLimit, &bytes) == ReadResult::Ok;
    return bytes;
}

} // namespace

QString ReplaceUndo::defaultFolder()
{
    return RecoveryStore::defaultFolder() + QStringLiteral("/last-directory-replace");
}

bool ReplaceUndo::available() const
{
    return QFile::exists(QDir(folder_).filePath(kList));
}

bool ReplaceUndo::keepOriginals(const QStringList &paths, const QList<QByteArray> &bytes,
                                QString *error)
{
    QDir dir(folder_);
    if (dir.exists() && !dir.removeRecursively()) {
        if (error)
            *error = QStringLiteral("The copies of the last replace could not be cleared");
        return false;
    }
    if (!QDir().mkpath(folder_)) {
        if (error)
            *error = QStringLiteral("The folder %1 could not be made").arg(folder_);
        return false;
    }
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    kept_ = paths;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!writeFileSafely(dir.filePath(original(static_cast<int>(i))), bytes.at(i), error,
                             FileAccess::OwnerOnly))
            return false;
    }
    return true;
}

bool ReplaceUndo::noteWritten(const QStringList &paths, const QList<QByteArray> &written,
                              QString *error)
{
    // One line a file: its number among the originals kept, the hash of what was written,
    // its path.
    QByteArray list;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const qsizetype index = kept_.indexOf(paths.at(i));
        if (index >= 0)
            list += QByteArray::number(index) + ' ' + hashOf(written.at(i)) + ' '
                    + encodedPath(paths.at(i)) + '\n';
    }
    if (list.isEmpty()) {
        // Nothing was written: there is nothing to undo.
        QDir(folder_).removeRecursively();
        return true;
    }
    return writeFileSafely(QDir(folder_).filePath(kList), list, error, FileAccess::OwnerOnly);
}

ReplaceUndo::Outcome ReplaceUndo::undo()
{
    Outcome outcome;
    QFile listFile(QDir(folder_).filePath(kList));
    if (!listFile.open(QIODevice::ReadOnly))
        return outcome;
    const QList<QByteArray> lines = listFile.readAll().split('\n');
    listFile.close();
    QByteArray kept; // the lines of files that could not be put back
    for (const QByteArray &line : lines) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 3)
            continue;
        const QString path = QFile::decodeName(QByteArray::fromPercentEncoding(parts[2]));
        bool read = false;
        const QByteArray now = readWhole(path, &read);
        if (!read || hashOf(now) != parts[1]) {
            outcome.changed << path;
            continue;
        }
        const QByteArray before =
            readWhole(QDir(folder_).filePath(original(parts[0].toInt())), &read);
        if (!read || !writeFileSafely(path, before)) {
            outcome.failed << path;
            kept += line + '\n';
            continue;
        }
        outcome.restored << path;
    }
    if (kept.isEmpty())
        QDir(folder_).removeRecursively();
    else
        writeFileSafely(QDir(folder_).filePath(kList), kept, nullptr, FileAccess::OwnerOnly);
    return outcome;
}

} // namespace pw
