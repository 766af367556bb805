#include "shared/edit_box.h"

#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

const QChar kNbsp(0x00A0);
const QChar kLineSeparator(0x2028);

// A plain string with CR LF breaks and index arithmetic: what the adapter must look like.
struct Model {
    QString text;

    static Model load(QString raw)
    {
        raw.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        raw.replace(u'\r', u'\n');
        raw.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        return Model{raw};
    }
    int length() const { return int(text.size()); }
    bool isBreakAt(int i) const
    {
        return i + 1 < length() && text[i] == u'\r' && text[i + 1] == u'\n';
    }
    // Clamped; a position between CR and LF moves back onto the CR.
    int norm(int p) const
    {
        p = std::clamp(p, 0, length());
        if (p > 0 && p < length() && text[p - 1] == u'\r' && text[p] == u'\n')
            --p;
        return p;
    }
    int breaksBefore(int p) const
    {
        int count = 0;
        for (int i = 0; i + 2 <= p; ++i)
            count += isBreakAt(i) ? 1 : 0;
        return count;
    }
    int toQt(int p) const
    {
        p = norm(p);
        return p - breaksBefore(p);
    }
    int qtLength() const { return length() - breaksBefore(length()); }
    int fromQt(int q) const
    {
        q = std::clamp(q, 0, qtLength());
        int ours = 0;
        for (int i = 0; i < q; ++i)
            ours += isBreakAt(ours) ? 2 : 1;
        return ours;
    }
    int lineCount() const { return breaksBefore(length()) + 1; }
    int lineStart(int line) const
    {
        line = std::clamp(line, 0, lineCount() - 1);
        int p = 0;
        for (int l = 0; l < line; ++l)
            p = int(text.indexOf(QStringLiteral("\r\n"), p)) + 2;
        return p;
    }
};

class RandomText {
public:
    explicit RandomText(unsigned seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    // A mix of letters, blanks, tabs, non-breaking spaces, accented letters, soft line
    // separators and every kind of line break, sometimes empty, sometimes ending in a break.
    QString next(int maxPieces)
    {
        static const QString pieces[] = {
            QStringLiteral("a"),    QStringLiteral("bc"),    QStringLiteral("Z"),
            QStringLiteral(" "),    QStringLiteral("\t"),    QString(kNbsp),
            QString(QChar(0x00E9)), QString(kLineSeparator), QStringLiteral("\r\n"),
            QStringLiteral("\r"),   QStringLiteral("\n"),    QStringLiteral("\r\n\r\n"),
            QStringLiteral("\n\r")};
        constexpr int pieceCount = int(sizeof(pieces) / sizeof(pieces[0]));
        QString s;
        const int n = below(maxPieces + 1);
        for (int i = 0; i < n; ++i)
            s += pieces[below(pieceCount)];
        if (below(4) == 0)
            s += QStringLiteral("\r\n");
        return s;
    }

private:
    std::mt19937 rng_;
};

void expectSameAsModel(const pw::EditBox &box, const Model &model)
{
    ASSERT_EQ(box.text(), model.text);
    ASSERT_EQ(box.length(), model.length());
    ASSERT_EQ(box.lineCount(), model.lineCount());
    for (int p = -2; p <= model.length() + 2; ++p) {
        SCOPED_TRACE(p);
        ASSERT_EQ(box.toQt(p), model.toQt(p));
        ASSERT_EQ(box.fromQt(box.toQt(p)), model.norm(p));
        ASSERT_EQ(box.lineOfPosition(p), model.breaksBefore(model.norm(p)));
    }
    for (int q = -1; q <= model.qtLength() + 1; ++q) {
        SCOPED_TRACE(q);
        ASSERT_EQ(box.fromQt(q), model.fromQt(q));
        ASSERT_EQ(box.toQt(box.fromQt(q)), std::clamp(q, 0, model.qtLength()));
    }
    for (int line = -1; line <= model.lineCount(); ++line)
        ASSERT_EQ(box.lineStart(line), model.lineStart(line)) << "line " << line;
}

class EditBoxTest : public ::testing::Test {
protected:
    QPlainTextEdit widget;
    pw::EditBox box{&widget};
};

TEST_F(EditBoxTest, AgreesWithPlainStringModelOnRandomTexts)
{
    RandomText random(20240611);
    for (int round = 0; round < 1500; ++round) {
        const QString raw = round == 0 ? QString() : random.next(30);
        SCOPED_TRACE(::testing::Message() << "round " << round << " text "
                                          << raw.toUtf8().toPercentEncoding().constData());
        Model model = Model::load(raw);
        box.setText(raw);
        expectSameAsModel(box, model);
        if (::testing::Test::HasFatalFailure())
            return;
        EXPECT_EQ(box.caret(), 0);

        for (int step = 0; step < 4; ++step) {
            const int start = random.below(model.length() + 3) - 1;
            const int length = random.below(model.length() + 3) - model.length() / 2 - 1;
            box.setSelection(start, length);
            const int anchor = model.norm(start);
            const int caret = model.norm(start + length);
            const int selStart = std::min(anchor, caret);
            const int selLength = std::abs(caret - anchor);
            ASSERT_EQ(box.selStart(), selStart) << start << "+" << length;
            ASSERT_EQ(box.selLength(), selLength) << start << "+" << length;
            ASSERT_EQ(box.caret(), caret);
            ASSERT_EQ(box.selectedText(), model.text.mid(selStart, selLength));
            // A range read in either direction; reading leaves the caret where it was.
            ASSERT_EQ(box.textBetween(start + length, start), box.selectedText());
            ASSERT_EQ(box.caret(), caret);

            const QString before = model.text;
            const QString inserted = random.next(4);
            box.replaceSelection(inserted);
            const QString insertedCrLf = Model::load(inserted).text;
            model.text = before.left(selStart) + insertedCrLf + before.mid(selStart + selLength);
            ASSERT_EQ(box.text(), model.text);
            ASSERT_EQ(box.caret(), selStart + insertedCrLf.size());
            ASSERT_EQ(box.selLength(), 0);
            if (step == 0) {
                // One undo step takes the whole replacement back.
                widget.undo();
                ASSERT_EQ(box.text(), before);
                widget.redo();
                ASSERT_EQ(box.text(), model.text);
            }
        }
        expectSameAsModel(box, model);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

TEST_F(EditBoxTest, BreaksCountTwoAndTheGapInsideABreakIsTheLineEnd)
{
    box.setText(QStringLiteral("ab\ncd\r\n\rx"));
    EXPECT_EQ(box.text(), QStringLiteral("ab\r\ncd\r\n\r\nx"));
    EXPECT_EQ(box.length(), 11);
    EXPECT_EQ(box.lineCount(), 4);
    EXPECT_EQ(box.toQt(2), 2); // on the CR: end of line 0
    EXPECT_EQ(box.toQt(3), 2); // between CR and LF: still the end of line 0
    EXPECT_EQ(box.toQt(4), 3); // 'c'
    EXPECT_EQ(box.lineOfPosition(3), 0);
    EXPECT_EQ(box.lineOfPosition(4), 1);
    EXPECT_EQ(box.lineStart(3), 10);
    EXPECT_EQ(box.lineStart(99), 10);
    box.setSelection(4, 2);
    EXPECT_EQ(box.selectedText(), QStringLiteral("cd"));
    box.setSelection(3, 5); // starts inside the first break
    EXPECT_EQ(box.selStart(), 2);
    EXPECT_EQ(box.selLength(), 6);
    EXPECT_EQ(box.selectedText(), QStringLiteral("\r\ncd\r\n"));
}

TEST_F(EditBoxTest, ShiftEnterInsertsAnOrdinaryBreak)
{
    box.setText(QStringLiteral("ab"));
    box.setCaret(1);
    QTest::keyClick(&widget, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(box.text(), QStringLiteral("a\r\nb"));
    EXPECT_EQ(box.caret(), 3);
    // Adapters are cheap to make again; the box still carries one filter.
    pw::EditBox again(&widget);
    EXPECT_EQ(widget.findChildren<QObject *>(QStringLiteral("pwLineBreakFilter")).size(), 1);
}

TEST_F(EditBoxTest, EachReplacementIsItsOwnUndoStep)
{
    box.setText(QStringLiteral("one two"));
    box.setSelection(0, 3);
    box.replaceSelection(QStringLiteral("1\n1"));
    box.setCaret(box.length());
    box.replaceSelection(QStringLiteral("!"));
    EXPECT_EQ(box.text(), QStringLiteral("1\r\n1 two!"));
    widget.undo();
    EXPECT_EQ(box.text(), QStringLiteral("1\r\n1 two"));
    widget.undo();
    EXPECT_EQ(box.text(), QStringLiteral("one two"));
}

} // namespace
