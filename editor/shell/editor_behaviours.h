#pragma once
// What the document box does beyond the tag commands: Goto Line, the display font and its
// keeping in section "Fonts", and pictures dropped from the file list.
#include <QFont>
#include <QSize>
#include <QString>

#include <optional>

class QMimeData;

namespace pw {

class EditBox;
class SettingsStore;
struct FeatureContext;

// The indent Tab puts in and Shift+Tab takes out.
inline const QString kIndent = QStringLiteral("     ");

// CR LF lines indented by kIndent (empty lines stay empty), or outdented by up to as many
// leading blanks as kIndent holds.
QString indentedLines(const QString &lines, bool outdent);
// Tab and Shift+Tab on whole lines: the lines the selection touches (a selection ending at
// the very start of a line leaves that line out), or the caret's line when nothing is
// selected, are indented or outdented as one undo step and stay selected. False, with
// nothing changed, when there was nothing to do.
bool indentLines(EditBox &edit, bool outdent);

// The number a typed answer starts with: blanks skipped, an optional sign, digits and an
// optional fraction ("12abc" is 12, "abc" and "" are 0).
double leadingNumber(const QString &text);

// Asks for a line number and puts the caret at the start of that line (1 is the first).
// An empty answer, a number below 1, a fraction or a line past the end moves nothing.
void goToLine(FeatureContext &context);

// The display font as kept in section "Fonts" (Arial 12 when nothing is kept), and keeping it.
QFont storedDisplayFont(const SettingsStore &settings);
void storeDisplayFont(SettingsStore &settings, const QFont &font);
// Offers the system's font dialog on the box's font; the chosen font becomes the font of the
// whole text and is kept. Cancel changes and keeps nothing.
void chooseDisplayFont(FeatureContext &context);

// The opening tag for a dropped picture: its name as the source, with its size in pixels as
// Width and Height when a size is given.
QString droppedPictureTag(const QString &name, std::optional<QSize> size);
// A drop that came from a file list: a picture's tag goes in at the drop position `at`, or
// around the selection when `at` lies on it or is not given (measured when the HeightWidth
// option is on); any other file inserts nothing and moves nothing. False when the data did
// not come from a file list, so the box handles it as usual.
bool dropPicture(FeatureContext &context, const QMimeData &data,
                 std::optional<int> at = std::nullopt);

} // namespace pw
