// What the document box does itself (Tab, pictures dropped from the file list), spell
// checking and the user buttons' definitions.
#include "shell/main_window.h"

#include "document/document.h"
#include "insertion/user_buttons.h"
#include "shared/file_panes.h"
#include "shared/insertion.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"
#include "shell/editor_behaviours.h"
#include "source_view/source_edit.h"
#include "tools/spell_check.h"
#include "tools/speller.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QToolButton>

namespace pw {

bool MainWindow::editorEvent(QObject *watched, QEvent *event)
{
    if (watched == txtEdit_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers commands =
            Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        // A Tab while names are offered takes the chosen name (the box's own business).
        if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
            || (key->modifiers() & commands) || txtEdit_->completionShown())
            return false;
        // Tab indents with five blanks, and the page never gets a tab character; on a
        // selection it indents the selected lines, and Shift+Tab takes the indent out
        // rather than moving the focus away.
        const bool outdent =
            key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        if (outdent || edit_.selLength() > 0)
            indentLines(edit_, outdent);
        else
            insertText(edit_, kIndent);
        return true;
    }
    // Drags come to the box's viewport, or to the box itself where the viewport lets them on.
    if (watched != txtEdit_->viewport() && watched != txtEdit_)
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    if (!drop->mimeData()->hasFormat(QString::fromLatin1(kPictureDragFormat)))
        return false; // other drops (text from elsewhere) are the box's own business
    // With no document open there is nowhere to put a picture.
    if (!document_->isOpen()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        // The picture goes where it is let go.
        QPoint place = drop->position().toPoint();
        if (watched == txtEdit_)
            place = txtEdit_->viewport()->mapFrom(txtEdit_, place);
        const int at = edit_.fromQt(txtEdit_->cursorForPosition(place).position());
        FeatureContext context = featureContext();
        dropPicture(context, *drop->mimeData(), at);
    }
    return true;
}

Speller *MainWindow::speller(bool report)
{
    if (!speller_ && (report || !spellerFailed_)) {
        const QString personal =
            QFileInfo(settings_.fileName()).absoluteDir().filePath(QStringLiteral("Pagewick.dic"));
        QString error;
        speller_ = Speller::open(kDictionaryFolder, QLocale::system().name(), personal, &error);
        spellerFailed_ = !speller_;
        if (!speller_ && report)
            platform_.messageBox(QStringLiteral("Pagewick"), error, MsgButtons::Ok, MsgIcon::None);
    }
    return speller_.get();
}

void MainWindow::checkSpelling()
{
    Speller *dictionary = speller(true);
    if (!dictionary)
        return;
    FeatureContext context = featureContext();
    pw::checkSpelling(context, *dictionary);
}

void MainWindow::wrapSelectionInTag()
{
    const QString answer = platform_.inputBox(
        QStringLiteral("Enter The Tag To Wrap The Selection In (for example DIV Class=\"box\")"),
        QStringLiteral("Wrap Selection In Tag"));
    const TagPair pair = tagPairFor(answer);
    if (pair.open.isEmpty())
        return;
    insertAround(edit_, pair.open, pair.close);
}

void MainWindow::assignUDToolTips()
{
    for (QToolButton *button : findChildren<QToolButton *>(QStringLiteral("cmdUD")))
        button->setToolTip(userButtonToolTip(state_, button->property("index").toInt()));
}

// The keys are written whenever the dialog closes, saved or cancelled.
void MainWindow::defineUserButtons()
{
    {
        UserButtonsDialog dialog(state_, this);
        platform_.runDialog(dialog);
    }
    saveUserButtons(state_, settings_);
    settings_.sync();
    assignUDToolTips();
}

} // namespace pw
