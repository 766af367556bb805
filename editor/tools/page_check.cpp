#include "tools/page_check.h"

#include <QProcess>
#include <QRegularExpression>

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <algorithm>
#include <memory>

namespace pw {

namespace {

Bool TIDY_CALL collectMessage(TidyDoc doc, TidyReportLevel level, uint line, uint column,
                              ctmbstr text)
{
    auto *messages = static_cast<QList<CheckMessage> *>(tidyGetAppData(doc));
    const bool finding = level == TidyWarning || level == TidyError || level == TidyAccess
                         || level == TidyBadDocument || level == TidyFatal;
    if (finding && messages) {
        // The text arrives as "line 4 column 5 - Warning: ..."; the place has its own columns.
        static const QRegularExpression place(QStringLiteral("^line \\d+ column \\d+ - "));
        QString message = QString::fromUtf8(text).trimmed();
        message.remove(place);
        messages->append({int(line), int(column), message});
    }
    return no; // tidy itself prints nothing
}

} // namespace

QList<CheckMessage> tidyMessages(const QString &pageText)
{
    QList<CheckMessage> messages;
    const std::unique_ptr<std::remove_pointer_t<TidyDoc>, void (*)(TidyDoc)> doc(tidyCreate(),
                                                                                 tidyRelease);
    TidyBuffer summary;
    tidyBufInit(&summary);
    tidySetAppData(doc.get(), &messages);
    tidySetReportFilter(doc.get(), collectMessage);
    // The summary tidy writes after the messages would go to the terminal otherwise.
    tidySetErrorBuffer(doc.get(), &summary);
    tidySetCharEncoding(doc.get(), "utf8");
    // A tab counts as one column, as the caret counts it.
    tidyOptSetInt(doc.get(), TidyTabSize, 1);
    tidyOptSetBool(doc.get(), TidyShowWarnings, yes);
    tidyOptSetInt(doc.get(), TidyShowErrors, 1000);
    const QByteArray utf8 = pageText.toUtf8();
    if (tidyParseString(doc.get(), utf8.constData()) >= 0)
        tidyRunDiagnostics(doc.get());
    tidyBufFree(&summary);
    std::ranges::stable_sort(messages, [](const CheckMessage &a, const CheckMessage &b) {
        return std::pair(a.line, a.column) < std::pair(b.line, b.column);
    });
    return messages;
}

QList<CheckMessage> phpLintMessages(const QString &output)
{
    static const QRegularExpression finding(
        QStringLiteral("^(?:PHP )?((?:Parse|Fatal) error|Warning|Deprecated|Notice):\\s+(.*) "
                       "in .* on line (\\d+)$"),
        QRegularExpression::MultilineOption);
    QList<CheckMessage> messages;
    for (auto match = finding.globalMatch(output); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        const QString text = m.captured(1) + QStringLiteral(": ") + m.captured(2).trimmed();
        const CheckMessage message{m.captured(3).toInt(), 0, text};
        // With errors both shown and logged, PHP says the same thing twice.
        if (!messages.contains(message))
            messages.append(message);
    }
    return messages;
}

std::optional<QList<CheckMessage>> runPhpLint(const QString &php, const QString &pageText,
                                              QString *error, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // The messages in plain text on the output, whatever the machine's php.ini says.
    process.start(php, {QStringLiteral("-d"), QStringLiteral("display_errors=1"),
                        QStringLiteral("-d"), QStringLiteral("log_errors=0"), QStringLiteral("-d"),
                        QStringLiteral("html_errors=0"), QStringLiteral("-l")});
    if (!process.waitForStarted(timeoutMs)) {
        if (error)
            *error = process.errorString();
        return std::nullopt;
    }
    process.write(pageText.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        if (error)
            *error = QStringLiteral("PHP did not finish checking the page.");
        return std::nullopt;
    }
    return phpLintMessages(QString::fromUtf8(process.readAll()));
}

} // namespace pw
