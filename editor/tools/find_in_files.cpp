#include "tools/find_in_files.h"

#include "files/paths.h"
#include "files/text_file.h"

#include <QDir>
#include <QDirIterator>

namespace pw {

QStringList filePatterns(const QString &patterns)
{
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    QStringList list = patterns.split(separators, Qt::SkipEmptyParts);
    if (list.isEmpty())
        list << QStringLiteral("*");
    return list;
}

QList<FileHit> searchFile(const QString &path, const QRegularExpression &expression, bool *searched)
{
    QList<FileHit> hits;
    const ReadResult read = readTextFile(path);
    if (searched)
        *searched = read.status == ReadResult::Ok;
    if (read.status != ReadResult::Ok)
        return hits;
    const QString &text = read.text;
    int line = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1String("\r\n"), start);
        if (end < 0)
            end = text.size();
        ++line;
        const QStringView lineText = QStringView(text).sliced(start, end - start);
        FileHit hit;
        for (auto it = expression.globalMatch(lineText); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (match.capturedLength() > 0 || hit.matches.isEmpty())
                hit.matches.append({int(match.capturedStart()), int(match.capturedLength())});
        }
        if (!hit.matches.isEmpty()) {
            hit.path = path;
            hit.line = line;
            hit.text = lineText.toString();
            hits.append(std::move(hit));
        }
        if (end == text.size())
            break;
        start = end + 2;
    }
    return hits;
}

void walkFiles(const FileSearch &search, const std::function<bool(const QString &)> &file,
               const std::function<bool(const QString &)> &unreachable)
{
    const QDirIterator::IteratorFlags depth =
        search.subfolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags;
    QDirIterator it(search.folder, search.patterns, QDir::Files | QDir::Hidden, depth);
    while (it.hasNext()) {
        if (!file(it.next()))
            return;
    }
    if (!unreachable)
        return;
    // The folders the walk went through, where QDirIterator passed such names by.
    QStringList folders{search.folder};
    if (search.subfolders) {
        QDirIterator dirs(search.folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, depth);
        while (dirs.hasNext())
            folders << dirs.next();
    }
    for (const QString &folder : std::as_const(folders)) {
        QStringList names;
        for (const QString &name : unreadableEntries(folder, EntryKind::Files)) {
            if (search.patterns.isEmpty() || QDir::match(search.patterns, name))
                names << name;
        }
        if (search.subfolders)
            names << unreadableEntries(folder, EntryKind::Directories);
        for (const QString &name : std::as_const(names)) {
            if (!unreachable(joinPath(folder, name)))
                return;
        }
    }
}

} // namespace pw
