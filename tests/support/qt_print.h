#pragma once
// Readable failure output for Qt strings and recorded messages in tests.
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{';
    for (const QString &text : list)
        *os << '"' << text.toStdString() << "\" ";
    *os << '}';
}

#include "support/fake_platform.h"

namespace pw::test {

inline void PrintTo(const MessageRecord &message, std::ostream *os)
{
    *os << "{\"" << message.title.toStdString() << "\", \"" << message.text.toStdString()
        << "\", buttons " << int(message.buttons) << ", icon " << int(message.icon) << '}';
}

} // namespace pw::test
