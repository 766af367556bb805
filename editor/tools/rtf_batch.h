#pragma once
// Converting chosen RTF files of one directory into HTML files beside them, one library
// call per file, with the dialog's fixed arguments. No widgets here.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace pw {

class QuorvelLibrary;

// The fixed arguments of every conversion the dialog makes.
inline const QString kRtfTitle = QStringLiteral("Pagewick RTF to HTML Dialog");
inline const QString kRtfHeadTags = QStringLiteral("0");
inline const QString kRtfBodyOptions = QStringLiteral("0");
inline const QString kRtfFontName = QStringLiteral("Arial");

// The target of a conversion: the source path with the file name's last three characters
// replaced by "html" ("doc.rtf" -> "doc.html", "DOC.RTF" -> "DOC.html"). None when the file
// name is shorter than three characters.
std::optional<QString> rtfTargetPath(const QString &sourcePath);

// Whether Select All marks the file: its name's last three characters are "rtf" in any case.
bool isRtfName(const QString &name);

struct RtfBatchResult {
    int converted = 0;  // files written before the run ended
    bool ok = true;     // false when a file failed and the run stopped there
    QString failedName; // as listed in the directory
    QString error;      // the library's message, or why the file was not converted
};

// Converts the named files of `directory` in order, each straight into its target through
// the library, which writes a target whole or not at all. The run stops at the first
// failure (a name too short, a library that cannot be loaded, a failed conversion), with
// the file's name and the reason in the result.
// `afterFile` runs after each converted file and may return false to stop the run.
// `clean` converts in the library's clean mode (a whole UTF-8 page that keeps all the text)
// instead of with the fixed arguments.
RtfBatchResult convertRtfFiles(QuorvelLibrary &library, const QString &directory,
                               const QStringList &names,
                               const std::function<bool(int done)> &afterFile = {},
                               bool clean = false);

} // namespace pw
