#pragma once
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
// Shows the window in front of the others and gives it the focus.
void bringToFront(QWidget *window);

} // namespace pw
