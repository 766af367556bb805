#pragma once
class QWidget;

namespace pw {

// Puts a window into the always-on-top band (true) or takes it out (false) without moving,
// resizing or activating it. A hidden window stays hidden; a null window is ignored.
void keepOnTop(QWidget *window, bool onTop);

} // namespace pw
