#pragma once
// The HTML checker tidy as the tests run it: a page, or an element placed in the body of a
// page, and tidy's error lines (empty when it found none). Warnings (upper-case names,
// attributes of older HTML) are the markup's own style and do not count.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

namespace pw {

inline QString tidyErrors(const QString &markup, bool inBody)
{
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    if (tidy.isEmpty())
        return QStringLiteral("tidy is missing: run scripts/install-deps");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.html"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write ") + file;
    out.write((inBody ? "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY>\r\n" + markup
                            + "\r\n</BODY></HTML>\r\n"
                      : markup + "\r\n")
                  .toUtf8());
    out.close();
    QProcess check;
    check.start(tidy, {QStringLiteral("-errors"), QStringLiteral("-quiet"), file});
    if (!check.waitForFinished(30000))
        return QStringLiteral("tidy did not finish");
    // 0: clean, 1: warnings only, 2: errors.
    return check.exitCode() < 2 ? QString() : QString::fromUtf8(check.readAllStandardError());
}

} // namespace pw
