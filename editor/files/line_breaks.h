#pragma once
// Line-break helpers shared by the edit box and the file code: documents hold CR LF breaks,
// Qt's text widgets one "\n" per break.
#include <QString>

namespace pw {

QString toCrLf(const QString &text);     // CR LF, lone CR and lone LF all become CR LF
QString toQtBreaks(const QString &text); // every break becomes "\n"

} // namespace pw
