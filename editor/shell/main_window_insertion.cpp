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

void MainWindow::LoadUD()
{
    LoadUserButtons(state_, settings_);
}

void MainWindow::SaveUD()
{
    SaveUserButtons(state_, settings_);
}

void MainWindow::AssignUDToolTips()
{
    for (QToolButton *button : findChildren<QToolButton *>(QStringLiteral("cmdUD")))
        button->setToolTip(UserButtonToolTip(state_, button->property("index").toInt()));
}

void MainWindow::Fill_All_Combos()
{
    insertion_->fillLists();
}

void MainWindow::CommentBlock()
{
    pw::CommentBlock(edit_, state_.BlockComment);
}

void MainWindow::UnCommentBlock()
{
    pw::UnCommentBlock(edit_, state_.BlockComment);
}

// The keys are written whenever the dialog closes, saved or cancelled.
void MainWindow::DefineUserButtons()
{
    {
        UserButtonsDialog dialog(state_, this);
        platform_.runDialog(dialog);
    }
    SaveUD();
    settings_.sync();
    AssignUDToolTips();
}

} // namespace pw
