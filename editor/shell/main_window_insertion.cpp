// The main window's insertion commands: the toolbar pages' buttons and vocabulary lists,
// the block comment buttons, and the user buttons with their definition dialog.
#include "shell/main_window.h"

#include "insertion/block_comment.h"
#include "insertion/insertion_toolbar.h"
#include "insertion/user_buttons.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"

#include <QToolButton>

namespace pw {

void MainWindow::loadUD()
{
    loadUserButtons(state_, settings_);
}

void MainWindow::saveUD()
{
    saveUserButtons(state_, settings_);
}

void MainWindow::assignUDToolTips()
{
    for (QToolButton *button : findChildren<QToolButton *>(QStringLiteral("cmdUD")))
        button->setToolTip(userButtonToolTip(state_, button->property("index").toInt()));
}

void MainWindow::fillAllCombos()
{
    insertion_->fillLists();
}

void MainWindow::commentBlock()
{
    pw::commentBlock(edit_, state_.BlockComment);
}

void MainWindow::unCommentBlock()
{
    pw::unCommentBlock(edit_, state_.BlockComment);
}

// The keys are written whenever the dialog closes, saved or cancelled.
void MainWindow::defineUserButtons()
{
    {
        UserButtonsDialog dialog(state_, this);
        platform_.runDialog(dialog);
    }
    saveUD();
    settings_.sync();
    assignUDToolTips();
}

} // namespace pw
