#pragma once
// Checking a page without touching it: the markup through libtidy, the server code through
// `php -l`. Both take the document's text and give back messages; neither writes anything.
#include <QList>
#include <QString>
#include <optional>

namespace pw {

// One finding: 1-based line and column of the page (column 0 when the checker names none).
struct CheckMessage {
    int line = 0;
    int column = 0;
    QString text;
    bool operator==(const CheckMessage &) const = default;
};

// libtidy's warnings and errors about the page, in the order of the page (line, then column).
// Its notes (Info) and its summary are left out: they name no place to go to.
QList<CheckMessage> tidyMessages(const QString &pageText);

// The messages of `php -l` in its output ("Parse error: ... in Standard input code on line 4").
QList<CheckMessage> phpLintMessages(const QString &output);

// Runs the PHP program at `php` with -l over the text on its standard input. Nothing (with
// the reason in `error`) when it could not be run or did not finish within `timeoutMs`.
std::optional<QList<CheckMessage>> runPhpLint(const QString &php, const QString &pageText,
                                              QString *error = nullptr, int timeoutMs = 10000);

} // namespace pw
