// Document files from bytes to text and back: every file that loads saves as the same bytes,
// and what cannot be written in a file's character set is reported instead of re-encoded.
#include "files/text_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pw;

namespace {

QByteArray everyByteValue()
{
    // All 256 values once each, with LF moved behind CR so the file has one break style.
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b == '\n')
            continue;
        bytes += char(b);
        if (b == '\r')
            bytes += '\n';
    }
    return bytes;
}

QString fromUtf16(std::initializer_list<char16_t> units)
{
    QString text;
    for (char16_t unit : units)
        text += QChar(unit);
    return text;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

struct RoundTripCase {
    const char *name;
    QByteArray bytes;
};

class FileRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

} // namespace

TEST_P(FileRoundTrip, ReadingAndWritingGivesTheSameBytes)
{
    const QByteArray &bytes = GetParam().bytes;
    QTemporaryDir dir;
    const QString path = dir.filePath("file.html");
    writeBytes(path, bytes);

    // Through the whole file reader when the editor could load it, else through the decoder.
    const ReadResult read = bytes.contains('\0') ? decodeText(bytes) : readTextFile(path);
    ASSERT_EQ(read.status, ReadResult::Ok);
    EXPECT_FALSE(read.encoding.mixedLines);
    const std::optional<QByteArray> written = encodeText(read.text, read.encoding);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, bytes);

    // The lower layer that edits files in place keeps every byte too, line breaks included.
    TextEncoding encoding;
    const QString characters = decodeCharacters(bytes, &encoding);
    EXPECT_EQ(encodeCharacters(characters, encoding), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileRoundTrip,
    ::testing::Values(RoundTripCase{"Empty", ""},
                      RoundTripCase{"NoFinalBreak", "<P>one</P>\r\n<P>two</P>"},
                      RoundTripCase{"BomOnly", "\xEF\xBB\xBF"},
                      RoundTripCase{"DoubleBom", "\xEF\xBB\xBF\xEF\xBB\xBFtext\r\n"},
                      RoundTripCase{"MarkInsideText", "a\xEF\xBB\xBF"
                                                      "b\n"},
                      RoundTripCase{"Utf8", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\r\n"},
                      RoundTripCase{"Windows1252",
                                    "\x93quoted\x94 \x80 5 \x96 6 caf\xE9 \x85 \x99"},
                      RoundTripCase{"UnassignedCodePageBytes", "\x81\x8D\x8F\x90\x9D\r\n"},
                      RoundTripCase{"Latin1", "caf\xE9 \xA9 \xB1\r\n"},
                      RoundTripCase{"BomThenInvalidUtf8", "\xEF\xBB\xBF\xE9t\xE9\r\n"},
                      RoundTripCase{"EveryByteValue", everyByteValue()}),
    [](const ::testing::TestParamInfo<RoundTripCase> &info) { return info.param.name; });

TEST(decodeText, EightBitFilesReadAsTheCodePageAndEveryCharacterIsShown)
{
    // Curly quotes, the euro, dashes and the ellipsis are printable characters.
    const ReadResult quotes = decodeText("\x93Hi\x94 \x91x\x92 \x80 \x96\x97\x85 caf\xE9");
    EXPECT_EQ(quotes.text, QString::fromUtf8("\xE2\x80\x9CHi\xE2\x80\x9D \xE2\x80\x98x\xE2\x80\x99 "
                                             "\xE2\x82\xAC \xE2\x80\x93\xE2\x80\x94\xE2\x80\xA6 "
                                             "caf\xC3\xA9"));
    EXPECT_EQ(quotes.encoding.charset, Charset::Windows1252);
    EXPECT_FALSE(quotes.encoding.bom);

    // The five bytes the code page leaves open stand for themselves.
    EXPECT_EQ(decodeText("\x81\x8D\x8F\x90\x9D").text, fromUtf16({0x81, 0x8D, 0x8F, 0x90, 0x9D}));

    // Without bytes 0x80-0x9F an 8-bit file is Latin1.
    EXPECT_EQ(decodeText("caf\xE9").encoding.charset, Charset::Latin1);
    EXPECT_EQ(decodeText("plain").encoding.charset, Charset::Utf8);

    // The second byte-order mark is a character of the text; the first is the file's mark.
    const ReadResult twoMarks = decodeText("\xEF\xBB\xBF\xEF\xBB\xBFx");
    EXPECT_EQ(twoMarks.text, fromUtf16({0xFEFF, u'x'}));
    EXPECT_TRUE(twoMarks.encoding.bom);
    EXPECT_EQ(twoMarks.encoding.charset, Charset::Utf8);
}

TEST(encodeText, CharactersACharacterSetCannotHoldAreRefusedNotReplaced)
{
    TextEncoding latin1;
    latin1.charset = Charset::Latin1;
    latin1.finalBreak = false;
    TextEncoding codePage = latin1;
    codePage.charset = Charset::Windows1252;
    TextEncoding utf8 = latin1;
    utf8.charset = Charset::Utf8;

    const QString euro = QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC");
    const QString quote = QString::fromUtf8("\xE2\x80\x9Cx\xE2\x80\x9D");
    const QString arrow = QString::fromUtf8("\xE2\x86\x92");
    // A Latin1 file keeps clear of 0x80-0x9F, so the euro and curly quotes do not fit.
    EXPECT_FALSE(encodeText(euro, latin1));
    EXPECT_FALSE(encodeText(quote, latin1));
    EXPECT_EQ(encodeText(QString::fromUtf8("caf\xC3\xA9"), latin1), QByteArray("caf\xE9"));
    // The code page holds them; a character it has no byte for is refused.
    EXPECT_EQ(encodeText(euro, codePage), QByteArray("caf\xE9 \x80"));
    EXPECT_EQ(encodeText(quote, codePage), QByteArray("\x93x\x94"));
    EXPECT_FALSE(encodeText(arrow, codePage));
    // U+0080 would read back as the euro sign.
    EXPECT_FALSE(encodeText(fromUtf16({0x80}), codePage));
    EXPECT_FALSE(encodeText(fromUtf16({0x81}), latin1));
    EXPECT_EQ(encodeText(arrow, utf8), QByteArray("\xE2\x86\x92"));
}

TEST(encodeText, MixedBreaksTakeTheMostCommonStyle)
{
    const ReadResult mixed = decodeText("a\nb\r\nc\nd\re");
    EXPECT_TRUE(mixed.encoding.mixedLines);
    EXPECT_EQ(encodeText(mixed.text, mixed.encoding), QByteArray("a\nb\nc\nd\ne"));
    // A tie keeps CR LF.
    const ReadResult tie = decodeText("a\nb\r\nc\rd\r\n");
    EXPECT_EQ(encodeText(tie.text, tie.encoding), QByteArray("a\r\nb\r\nc\r\nd\r\n"));
    EXPECT_FALSE(decodeText("a\rb\r").encoding.mixedLines);
}

TEST(decodeText, ChosenCharacterSetsReadEveryByteAndWriteItBack)
{
    // In ISO 8859-1 every byte is the character of its number, 0x80-0x9F included; ISO
    // 8859-15 has the euro and seven letters in place of eight signs; both give every byte
    // back on writing.
    const QByteArray bytes = everyByteValue();
    struct Case {
        Charset charset;
        char16_t at0x80, at0xA4, at0xBE;
        const char *name;
    };
    for (const Case &c : {Case{Charset::Iso88591, 0x80, 0xA4, 0xBE, "ISO-8859-1"},
                          Case{Charset::Iso885915, 0x80, 0x20AC, 0x0178, "ISO-8859-15"},
                          Case{Charset::Windows1252, 0x20AC, 0xA4, 0xBE, "Windows-1252"}}) {
        SCOPED_TRACE(c.name);
        const ReadResult read = decodeText(bytes, c.charset);
        ASSERT_EQ(read.status, ReadResult::Ok);
        EXPECT_EQ(read.encoding.charset, c.charset);
        EXPECT_EQ(charsetName(read.encoding), c.name);
        // From 0x0E on, each byte's character sits at the byte's own index.
        const QString text = read.text;
        EXPECT_EQ(text[0x80], QChar(c.at0x80));
        EXPECT_EQ(text[0xA4], QChar(c.at0xA4));
        EXPECT_EQ(text[0xBE], QChar(c.at0xBE));
        EXPECT_EQ(encodeText(read.text, read.encoding), bytes);
    }

    // A byte-order mark is kept when a file is read as UTF-8 by choice; bytes that are not
    // UTF-8 are refused rather than replaced.
    const ReadResult marked = decodeText("\xEF\xBB\xBF"
                                         "caf\xC3\xA9",
                                         Charset::Utf8);
    EXPECT_EQ(marked.status, ReadResult::Ok);
    EXPECT_TRUE(marked.encoding.bom);
    EXPECT_EQ(marked.text, QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(decodeText("caf\xE9", Charset::Utf8).status, ReadResult::Error);
    // The same bytes as ISO 8859-1 carry no mark: the three bytes are characters.
    EXPECT_EQ(decodeText("\xEF\xBB\xBF", Charset::Iso88591).text, fromUtf16({0xEF, 0xBB, 0xBF}));
}

TEST(encodeText, ChosenCharacterSetsRefuseWhatTheyHaveNoByteFor)
{
    TextEncoding iso1;
    iso1.charset = Charset::Iso88591;
    iso1.finalBreak = false;
    TextEncoding iso15 = iso1;
    iso15.charset = Charset::Iso885915;
    const QString euro = QString::fromUtf8("\xE2\x82\xAC");
    const QString currency = fromUtf16({0xA4});
    EXPECT_FALSE(encodeText(euro, iso1));
    EXPECT_EQ(encodeText(currency, iso1), QByteArray("\xA4"));
    EXPECT_EQ(encodeText(euro, iso15), QByteArray("\xA4"));
    // The sign the euro displaced has no byte left in ISO 8859-15.
    EXPECT_FALSE(encodeText(currency, iso15));
    EXPECT_EQ(encodeText(fromUtf16({0x80, 0xE9}), iso1), QByteArray("\x80\xE9"));
}
