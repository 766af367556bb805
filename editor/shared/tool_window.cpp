#include "shared/tool_window.h"

namespace pw {

void ToolWindow::done(int result)
{
    QDialog::done(result);
    if (closed_)
        return;
    closed_ = true;
    if (!running_)
        deleteLater();
}

bool ToolWindow::endRun()
{
    running_ = false;
    if (!closed_)
        return true;
    deleteLater();
    return false;
}

} // namespace pw
