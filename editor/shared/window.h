#pragma once
class QPlainTextEdit;
class QRect;
class QString;
class QWidget;

namespace pw {

// Twips are 1/1440 inch; at 96 dots per inch a pixel is 15 twips. Minimum sizes and
// splitter bounds keep their twip values.
constexpr int twipsToPixels(int twips)
{
    return twips / 15;
}

// Puts a window into the always-on-top band (true) or takes it out (false) without moving,
// resizing or activating it. A hidden window stays hidden; a null window is ignored.
void keepOnTop(QWidget *window, bool onTop);

// Windows that stay open beside the main window exist once each: the shown window with this
// object name among the parent's own children, or null. A closed one (perhaps still ending
// a run) does not count.
QWidget *shownChildWindow(QWidget *parent, const QString &name);
// Moves a window that covers `area` (global coordinates; e.g. the match it is about) off
// it: below it when the screen has room there, else above, else to its right or left. A
// window already clear of the area stays where it is; one not shown yet is taken to open
// centred over its parent, as a dialog does.
void moveClearOf(QWidget *window, const QRect &area);
// The area of the edit box's text between two of its own (Qt) positions, in global
// coordinates: what a window about that text must not cover.
QRect textArea(const QPlainTextEdit *box, int qtFrom, int qtTo);

// Shows the window in front of the others and gives it the focus.
void bringToFront(QWidget *window);

} // namespace pw
