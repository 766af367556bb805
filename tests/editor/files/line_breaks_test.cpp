#include "files/line_breaks.h"

#include <gtest/gtest.h>

namespace {

TEST(LineBreaks, AllKindsBecomeOneStyle)
{
    const QString mixed = QStringLiteral("a\r\nb\rc\nd\n\re\r\r\n");
    EXPECT_EQ(pw::toCrLf(mixed), QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n"));
    EXPECT_EQ(pw::toQtBreaks(mixed), QStringLiteral("a\nb\nc\nd\n\ne\n\n"));
    EXPECT_EQ(pw::toCrLf(QString()), QString());
    EXPECT_EQ(pw::toCrLf(QStringLiteral("\r")), QStringLiteral("\r\n"));
}

} // namespace
