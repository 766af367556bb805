#include "shared/recovery_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pw {

namespace {

const QByteArray kMagic = QByteArrayLiteral("Pagewick recovery copy 1\n");
const QString kLockName = QStringLiteral("lock");
const QString kCopyName = QStringLiteral("document");

QByteArray line(const char *key, const QByteArray &value)
{
    return QByteArray(key) + '=' + value + '\n';
}

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

// Holds an exclusive lock on the folder's lock file; -1 when another process holds it or the
// file cannot be made.
int lockFolder(const QString &folder)
{
    const QByteArray name = QFile::encodeName(QDir(folder).filePath(kLockName));
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void removeFolder(const QString &folder)
{
    QDir dir(folder);
    dir.remove(kCopyName);
    dir.remove(kLockName);
    QDir().rmdir(folder);
}

} // namespace

QByteArray recoveryCopyBytes(const RecoveryHeader &header, const QString &text)
{
    const TextEncoding &e = header.encoding;
    // File names are bytes that need not be UTF-8: kept percent-encoded, byte for byte.
    QByteArray bytes = kMagic;
    bytes += line("path", QFile::encodeName(header.path).toPercentEncoding());
    bytes += line("charset", number(static_cast<int>(e.charset)));
    bytes += line("bom", number(e.bom));
    bytes += line("lines", number(static_cast<int>(e.lines)));
    bytes += line("mixed", number(e.mixedLines));
    bytes += line("final", number(e.finalBreak));
    bytes += line("exists", number(header.stamp.exists));
    bytes += line("size", number(header.stamp.size));
    bytes += line("modified", number(header.stamp.modifiedNs));
    bytes += line("device", QByteArray::number(header.stamp.device));
    bytes += line("inode", QByteArray::number(header.stamp.inode));
    bytes += line("changed", number(header.stamp.statusChangedNs));
    bytes += '\n';
    bytes += text.toUtf8();
    return bytes;
}

std::optional<std::pair<RecoveryHeader, QString>> parseRecoveryCopy(const QByteArray &bytes)
{
    if (!bytes.startsWith(kMagic))
        return std::nullopt;
    const qsizetype end = bytes.indexOf("\n\n", kMagic.size() - 1);
    if (end < 0)
        return std::nullopt;
    QHash<QByteArray, QByteArray> values;
    for (const QByteArray &entry : bytes.mid(kMagic.size(), end + 1 - kMagic.size()).split('\n')) {
        const qsizetype equals = entry.indexOf('=');
        if (equals > 0)
            values.insert(entry.left(equals), entry.mid(equals + 1));
    }
    bool allRead = true;
    const auto integer = [&](const char *key, qint64 lowest, qint64 highest) {
        bool ok = false;
        const qint64 value = values.value(key).toLongLong(&ok);
        if (!ok || value < lowest || value > highest)
            allRead = false;
        return value;
    };
    RecoveryHeader header;
    if (!values.contains("path"))
        return std::nullopt;
    header.path = QFile::decodeName(QByteArray::fromPercentEncoding(values.value("path")));
    header.encoding.charset = static_cast<Charset>(integer("charset", 0, 2));
    header.encoding.bom = integer("bom", 0, 1) != 0;
    header.encoding.lines = static_cast<LineStyle>(integer("lines", 0, 2));
    header.encoding.mixedLines = integer("mixed", 0, 1) != 0;
    header.encoding.finalBreak = integer("final", 0, 1) != 0;
    header.stamp.exists = integer("exists", 0, 1) != 0;
    header.stamp.size = integer("size", 0, std::numeric_limits<qint64>::max());
    header.stamp.modifiedNs =
        integer("modified", std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
    bool ok = true;
    for (auto [key, field] :
         {std::pair{"device", &header.stamp.device}, std::pair{"inode", &header.stamp.inode}}) {
        *field = values.value(key).toULongLong(&ok);
        allRead = allRead && ok;
    }
    header.stamp.statusChangedNs =
        integer("changed", std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
    if (!allRead)
        return std::nullopt;
    return std::pair{header, QString::fromUtf8(bytes.mid(end + 2))};
}

QString RecoveryStore::defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // Only an absolute path counts, as the XDG rules say.
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Pagewick/recovery");
}

RecoveryStore::RecoveryStore(const QString &folder) : folder_(folder)
{
    if (!QDir().mkpath(folder))
        return;
    // Copies hold the user's unsaved text: for the user's eyes only.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString session = QDir(folder).filePath(QStringLiteral("%1-%2")
                                                      .arg(QCoreApplication::applicationPid())
                                                      .arg(QDateTime::currentMSecsSinceEpoch()));
    if (!QDir().mkdir(session))
        return;
    QFile::setPermissions(session, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    lock_ = lockFolder(session);
    if (lock_ < 0) {
        QDir().rmdir(session);
        return;
    }
    session_ = session;
}

RecoveryStore::~RecoveryStore()
{
    for (Claimed &claimed : claimed_)
        release(claimed, false);
    if (!isActive())
        return;
    removeFolder(session_);
    ::close(lock_);
}

QString RecoveryStore::copyPath() const
{
    return isActive() ? QDir(session_).filePath(kCopyName) : QString();
}

QList<RecoveryCopy> RecoveryStore::leftovers()
{
    QList<RecoveryCopy> copies;
    if (!isActive())
        return copies;
    const QFileInfoList folders =
        QDir(folder_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    static const QRegularExpression runName(QStringLiteral("^[0-9]+-[0-9]+$"));
    for (const QFileInfo &info : folders) {
        // Other things kept here (the last directory replace's originals) are no run's.
        if (!runName.match(info.fileName()).hasMatch())
            continue;
        const QString folder = info.absoluteFilePath();
        if (folder == QFileInfo(session_).absoluteFilePath()
            || std::any_of(claimed_.begin(), claimed_.end(),
                           [&](const Claimed &c) { return c.folder == folder; }))
            continue;
        Claimed claimed{folder, lockFolder(folder)};
        if (claimed.lock < 0)
            continue; // a running program's
        const QString file = QDir(folder).filePath(kCopyName);
        QFile copyFile(file);
        std::optional<std::pair<RecoveryHeader, QString>> parsed;
        if (copyFile.open(QIODevice::ReadOnly))
            parsed = parseRecoveryCopy(copyFile.read(kMagic.size() + 64 * 1024));
        if (!parsed) {
            // Nothing was unsaved when that run ended (or its copy was never whole).
            release(claimed, true);
            continue;
        }
        claimed_ << claimed;
        const QFileInfo written(file);
        copies << RecoveryCopy{
            file, parsed->first, written.lastModified(),
            static_cast<qint64>(written.size())
                - static_cast<qint64>(recoveryCopyBytes(parsed->first, QString()).size())};
    }
    std::sort(copies.begin(), copies.end(),
              [](const RecoveryCopy &a, const RecoveryCopy &b) { return a.written > b.written; });
    return copies;
}

std::optional<QString> RecoveryStore::readCopy(const RecoveryCopy &copy)
{
    QFile file(copy.file);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto parsed = parseRecoveryCopy(file.readAll());
    if (!parsed)
        return std::nullopt;
    return parsed->second;
}

void RecoveryStore::discard(const RecoveryCopy &copy)
{
    const QString folder = QFileInfo(copy.file).absolutePath();
    for (qsizetype i = 0; i < claimed_.size(); ++i) {
        if (claimed_[i].folder == folder) {
            release(claimed_[i], true);
            claimed_.removeAt(i);
            return;
        }
    }
}

void RecoveryStore::release(Claimed &claimed, bool remove)
{
    // Removed while still locked, so no other program takes the folder half gone.
    if (remove)
        removeFolder(claimed.folder);
    ::close(claimed.lock);
    claimed.lock = -1;
}

} // namespace pw
