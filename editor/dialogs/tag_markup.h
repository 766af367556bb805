#pragma once
// What the tag dialogs hand back, built from plain field values: no widgets here. The dialogs
// collect their fields into these structs; the markup is upper-case tags, capitalised
// attributes, values as typed between double quotes (trimmed of blanks) and CR LF breaks.
//
// A text field counts as filled when it is not empty before trimming, so a field holding only
// blanks still writes its attribute, with an empty value. Every field has a default, so a
// caller names only the fields it fills.
#include <QColor>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>

namespace pw {

// The value without leading and trailing blanks (other white space stays).
QString trimBlanks(const QString &text);

// A colour as six upper-case hexadecimal digits, red, green, blue: white is "FFFFFF".
QString sixDigitColour(const QColor &colour);

// The table dialog keeps the texts of a 21 by 21 grid, so rows and columns that are hidden
// when the table shrinks come back when it grows again.
inline constexpr int kTableStoreSize = 21;
using TableCells = std::array<std::array<QString, kTableStoreSize>, kTableStoreSize>;

struct TableFields {
    QString width{};
    QString borderWidth{};
    QString cellSpacing{};
    QString cellPadding{};
    QString align{};
    QString vAlign{};
    QString caption{};
    QColor background = Qt::white;
    int rows = 1; // the grid's size; only these cells of `cells` are written
    int columns = 1;
    TableCells cells{};
};

// The whole table: attributes, caption, the first row as header cells, the others as data
// cells. No break after the closing tag.
QString tableMarkup(const TableFields &fields);

struct ImageFields {
    // URL, ALT text, Height, Width, HSpace, VSpace, Border, DynSrc, Loop.
    std::array<QString, 9> attributes{};
    QString align{};
    QString id{};
};

// The opening image tag; the Src attribute is written even when the URL is empty.
QString imageTag(const ImageFields &fields);

struct AnchorFields {
    QString url{};
    QString linkText{};
    QString target{};
    QString name{};
    QString id{};
};

QString anchorMarkup(const AnchorFields &fields);

QString commentMarkup(const QString &comments);

struct RuleFields {
    QString align{};
    QString size{};
    QString width{};
    QString id{};
    QColor colour = Qt::black; // a rule a white page shows
};

QString ruleTag(const RuleFields &fields);

struct MarqueeFields {
    QString text{}; // the text to scroll; without it the tag is not closed
    QString height{};
    QString width{};
    QString hSpace{};
    QString vSpace{};
    QString scrollAmount{};
    QString scrollDelay{};
    QString loop{};
    QString align{};
    QString behavior{};
    QString direction{};
    QString id{};
    QColor colour = Qt::white;
};

QString marqueeMarkup(const MarqueeFields &fields);

// The colour dialog's value, quoted ready to follow an equals sign: the chosen name when a
// named colour is used (no name chosen gives two quotes), else "#" and the picked colour.
QString quotedColourValue(bool useName, const QString &name, const QColor &picked);

enum class Comparison { EqualTo, NotEqualTo, GreaterThan, LessThan, GreaterOrEqual, LessOrEqual };
enum class ScriptLanguage { JavaScript, VBScript };

struct ValidationFields {
    QString controlName{};
    Comparison comparison = Comparison::EqualTo;
    QString value{}; // written as typed; a blank value compares with an empty string literal
    QString message{};
    ScriptLanguage language = ScriptLanguage::JavaScript;
};

// The value the script compares with: the trimmed value, or "" when that is empty.
QString validationValue(const QString &value);
// The check that shows the message when the comparison holds.
QString validationScript(const ValidationFields &fields);

// The ten ways the date dialog offers to write `now`: the locale's long date, "dd-MMM-yy" with
// the locale's month abbreviation, the locale's short date, the locale's date and time, then
// "mm/dd/yy", "mm/dd/yyyy", "mm-dd-yy", "mm-dd-yyyy", "mmddyy" and "mmddyyyy".
QStringList dateRenderings(const QDateTime &now, const QLocale &locale);

} // namespace pw
