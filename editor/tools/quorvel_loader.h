#pragma once
// The converter library, loaded by file name when the first conversion asks for it and kept
// bound for the rest of the run. The editor registers a message pump with it so that the
// windows stay live during a long conversion: the library calls the pump once per input
// character, so the pump counts calls and looks at the clock only every few thousand, and
// lets pending events run at most every ~20 ms. The function types come from the library's
// own header, so their calling convention is the library's.
#include "quorvel.h"

#include <QElapsedTimer>
#include <QLibrary>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace pw {

class Platform;

class QuorvelLibrary {
public:
    // Library file names tried in order (QLibrary adds "lib" and ".so" as needed).
    explicit QuorvelLibrary(QStringList fileNames);
    ~QuorvelLibrary();
    QuorvelLibrary(const QuorvelLibrary &) = delete;
    QuorvelLibrary &operator=(const QuorvelLibrary &) = delete;

    // The program's: the program folder's library first, then the system's library path.
    static QStringList programFileNames();
    // The full file name of the library in a folder ("<folder>/libquorvel.so" on Linux).
    // Spelled out because QLibrary, given "<folder>/quorvel", first tries that very file,
    // which is the converter's command-line program, and gives up when it cannot load it.
    static QString fileNameIn(const QString &folder);
    // Where an installed program's library is, for a program in `executableFolder`: its
    // prefix's library folder, by soname ("<prefix>/lib/libquorvel.so.1" on Linux).
    static QString installedFileName(const QString &executableFolder);

    // Loads the library and binds QuorvelConvertFile, unless already done. False when the
    // library or the function cannot be found (errorString() says why); a later call tries
    // again.
    bool load();
    bool isLoaded() const { return convertFile_ != nullptr; }
    QString errorString() const { return error_; }

    // The platform whose events the message pump runs during conversions (may be null).
    void setEventPlatform(Platform *platform) { pump_.platform = platform; }
    // How many times the pump let events run (for tests and figures).
    qint64 pumpRuns() const { return pump_.runs; }

    // One call of QuorvelConvertFile with 8-bit strings (file names in the file system's
    // encoding). Loads the library first when needed. True when the conversion succeeded;
    // otherwise errorString() holds the library's message.
    bool convertFile(const QString &source, const QString &target, std::int32_t flags,
                     const QString &title, const QString &headTags, const QString &bodyOptions,
                     const QString &fontName, std::int32_t fontSize);
    // One call of QuorvelConvertClean with the QUORVEL_CLEAN_ `options` and the document's
    // own title. False, with errorString() saying why, when it fails or when the library
    // is one without the clean mode.
    bool convertClean(const QString &source, const QString &target, std::int32_t options);

private:
    struct Pump {
        Platform *platform = nullptr;
        std::uint32_t calls = 0;
        qint64 runs = 0;
        QElapsedTimer clock;
    };
    static void QUORVEL_CALL pumpEvents(void *context);

    QStringList fileNames_;
    QLibrary library_;
    QuorvelConvertFileProc convertFile_ = nullptr;
    QuorvelConvertCleanProc convertClean_ = nullptr; // null in a library from before it
    QuorvelLastErrorProc lastError_ = nullptr;
    QuorvelSetMessagePumpProc setPump_ = nullptr;
    Pump pump_;
    QString error_;

    bool finish(std::int32_t result);
};

// The program-wide binding used by the RTF dialog.
QuorvelLibrary &programQuorvel();

} // namespace pw
