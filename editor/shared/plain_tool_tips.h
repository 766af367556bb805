#pragma once
// Tooltips shown as the plain text they hold. Qt reads a tooltip that looks like markup as
// rich text: "<STYLE></STYLE>" or a user button's "<a b="x">" would show as an empty box.
#include <QString>

class QWidget;

namespace pw {

// The markup that shows `text` exactly as written, blanks included.
QString plainToolTipHtml(const QString &text);

// From now on the window and every widget inside it show their tooltips as plain text;
// toolTip() keeps returning the text as set.
void showToolTipsAsPlainText(QWidget *window);

} // namespace pw
