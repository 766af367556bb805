#include "tools/quorvel_loader.h"

#include "shared/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace pw {

namespace {

// Events run at most this often during a conversion.
constexpr qint64 kPumpIntervalMs = 20;
// The clock is read once per this many characters (a power of two: the test is a mask).
constexpr std::uint32_t kPumpCallsPerClockRead = 4096;

} // namespace

QuorvelLibrary::QuorvelLibrary(QStringList fileNames) : fileNames_(std::move(fileNames)) {}

QuorvelLibrary::~QuorvelLibrary()
{
    // The library may outlive this object in the process; it must not call a dead pump.
    if (setPump_)
        setPump_(nullptr, nullptr);
}

QString QuorvelLibrary::fileNameIn(const QString &folder)
{
#if defined(Q_OS_WIN)
    return folder + QStringLiteral("/quorvel.dll");
#elif defined(Q_OS_MACOS)
    return folder + QStringLiteral("/libquorvel.dylib");
#else
    return folder + QStringLiteral("/libquorvel.so");
#endif
}

QString QuorvelLibrary::installedFileName(const QString &executableFolder)
{
    const QString folder =
        QDir::cleanPath(executableFolder + QStringLiteral("/" PAGEWICK_LIBDIR_FROM_BINDIR));
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return fileNameIn(folder);
#else
    // The soname, which the runtime package holds; the plain name comes with the headers.
    return folder + QStringLiteral("/libquorvel.so." QUORVEL_SOVERSION_TEXT);
#endif
}

QStringList QuorvelLibrary::programFileNames()
{
    // QLibrary does not look in the executable's folder for a bare name. A build keeps the
    // library beside the program; an installation puts it in its prefix's library folder.
    const QString folder = QCoreApplication::applicationDirPath();
    return {fileNameIn(folder), installedFileName(folder), QStringLiteral("quorvel")};
}

bool QuorvelLibrary::load()
{
    if (convertFile_)
        return true;
    error_.clear();
    for (const QString &name : std::as_const(fileNames_)) {
        library_.setFileName(name);
        if (!library_.load()) {
            error_ = library_.errorString();
            continue;
        }
        convertFile_ =
            reinterpret_cast<QuorvelConvertFileProc>(library_.resolve("QuorvelConvertFile"));
        if (!convertFile_) {
            error_ = library_.errorString();
            library_.unload();
            continue;
        }
        lastError_ = reinterpret_cast<QuorvelLastErrorProc>(library_.resolve("QuorvelLastError"));
        convertClean_ =
            reinterpret_cast<QuorvelConvertCleanProc>(library_.resolve("QuorvelConvertClean"));
        setPump_ =
            reinterpret_cast<QuorvelSetMessagePumpProc>(library_.resolve("QuorvelSetMessagePump"));
        if (setPump_) {
            pump_.clock.start();
            setPump_(&QuorvelLibrary::pumpEvents, &pump_);
        }
        return true;
    }
    if (fileNames_.isEmpty())
        error_ = QStringLiteral("No library file name");
    return false;
}

void QUORVEL_CALL QuorvelLibrary::pumpEvents(void *context)
{
    auto *pump = static_cast<Pump *>(context);
    if (++pump->calls % kPumpCallsPerClockRead != 0)
        return;
    if (!pump->platform || pump->clock.elapsed() < kPumpIntervalMs)
        return;
    pump->clock.restart();
    ++pump->runs;
    pump->platform->processEvents();
}

bool QuorvelLibrary::convertFile(const QString &source, const QString &target, std::int32_t flags,
                                 const QString &title, const QString &headTags,
                                 const QString &bodyOptions, const QString &fontName,
                                 std::int32_t fontSize)
{
    if (!load())
        return false;
    const QByteArray sourceName = QFile::encodeName(source);
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray title8 = title.toLocal8Bit();
    const QByteArray head8 = headTags.toLocal8Bit();
    const QByteArray body8 = bodyOptions.toLocal8Bit();
    const QByteArray font8 = fontName.toLocal8Bit();
    pump_.clock.restart();
    const std::int32_t result =
        convertFile_(sourceName.constData(), targetName.constData(), flags, title8.constData(),
                     head8.constData(), body8.constData(), font8.constData(), fontSize);
    return finish(result);
}

bool QuorvelLibrary::convertClean(const QString &source, const QString &target,
                                  std::int32_t options)
{
    if (!load())
        return false;
    if (!convertClean_) {
        error_ = QStringLiteral("The converter library has no clean mode");
        return false;
    }
    const QByteArray sourceName = QFile::encodeName(source);
    const QByteArray targetName = QFile::encodeName(target);
    pump_.clock.restart();
    return finish(convertClean_(sourceName.constData(), targetName.constData(), options, nullptr));
}

bool QuorvelLibrary::finish(std::int32_t result)
{
    if (result == 0) {
        error_.clear();
        return true;
    }
    error_ =
        lastError_ ? QString::fromLocal8Bit(lastError_()) : QStringLiteral("Conversion failed");
    return false;
}

QuorvelLibrary &programQuorvel()
{
    static QuorvelLibrary library(QuorvelLibrary::programFileNames());
    return library;
}

} // namespace pw
