#include "insertion/insertion_toolbar.h"

#include "insertion/list_items_dialog.h"
#include "insertion/toolbar_commands.h"
#include "insertion/user_buttons.h"
#include "insertion/vocabulary.h"
#include "shared/edit_box.h"
#include "shared/insertion.h"
#include "shared/platform.h"
#include "shared/program_state.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

namespace pw {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

InsertionToolbar::InsertionToolbar(const FeatureContext &context, QObject *parent)
    : QObject(parent), ctx_(context)
{
    setObjectName(QStringLiteral("insertionToolbar"));
    makeLists();
}

void InsertionToolbar::makeLists()
{
    for (const VocabularyList &vocabulary : vocabularyLists())
        lists_.insert(QString::fromUtf8(vocabulary.name), createVocabularyBox(vocabulary));
    if (QComboBox *headings = list(QStringLiteral("cboHeadings"))) {
        // When its typed text is left (focus moves away, Return) the box looks that text up
        // among its entries and reports a match as activated: with "H1" shown at start-up,
        // merely clicking into the list and out again would insert "<H1></H1>". Only a choice
        // from the list (or with the arrow keys) inserts, so the line edit's editingFinished
        // is fenced by two slots, one connected before the box's own handler, one after.
        auto *line = new QLineEdit;
        connect(line, &QLineEdit::editingFinished, this, [this] { leavingTypedHeading_ = true; });
        headings->setLineEdit(line);
        line->setCompleter(nullptr);
        connect(line, &QLineEdit::editingFinished, this, [this] { leavingTypedHeading_ = false; });
        connect(headings, &QComboBox::activated, this, [this, headings](int index) {
            if (!leavingTypedHeading_)
                chooseHeading(headings->itemText(index));
        });
    }
}

void InsertionToolbar::registerDialog(const QString &name, TagDialogFactory factory)
{
    dialogs_.insert(name, std::move(factory));
}

void InsertionToolbar::fillLists()
{
    for (const VocabularyList &vocabulary : vocabularyLists()) {
        if (QComboBox *box = list(QString::fromUtf8(vocabulary.name)))
            fillVocabularyBox(*box, vocabulary);
    }
}

void InsertionToolbar::run(const ToolbarCommand &command)
{
    EditBox &edit = ctx_.edit;
    switch (command.kind) {
    case CommandKind::IdPair: {
        const QString tag = QString::fromUtf8(command.open);
        const QString open =
            ctx_.state.idAttribute
                ? QStringLiteral("<%1 Id=\"%2\">").arg(tag, QString::fromUtf8(command.idWord))
                : QStringLiteral("<%1>").arg(tag);
        insertAround(edit, open, QStringLiteral("</%1>").arg(tag));
        break;
    }
    case CommandKind::Pair:
    case CommandKind::Text: {
        const std::optional<QStringList> answers = askPrompts(command);
        if (!answers)
            return;
        const QString tag = windowTag();
        if (command.kind == CommandKind::Pair)
            insertAround(edit, fillIn(command.open, *answers, tag),
                         fillIn(command.close, *answers, tag));
        else
            insertText(edit, fillIn(command.open, *answers, tag));
        break;
    }
    case CommandKind::Vocabulary:
        if (QComboBox *box = list(QString::fromUtf8(command.target)))
            insertText(edit, box->currentText());
        break;
    case CommandKind::ListSkeleton:
        runListSkeleton(command);
        break;
    case CommandKind::Dialog:
        runTagDialog(command);
        break;
    case CommandKind::NoAction:
        break;
    }
}

void InsertionToolbar::runUserButton(int k)
{
    if (k >= 0 && k < kUserButtonCount)
        insertAround(ctx_.edit, ctx_.state.userOpenTags[k], ctx_.state.userCloseTags[k]);
}

void InsertionToolbar::chooseHeading(const QString &entry)
{
    insertAround(ctx_.edit, headingOpenTag(entry, ctx_.state.idAttribute), headingCloseTag(entry));
}

std::optional<QStringList> InsertionToolbar::askPrompts(const ToolbarCommand &command)
{
    QStringList answers;
    for (const Prompt &prompt : command.prompts) {
        if (!prompt.prompt)
            break;
        QString answer = ctx_.platform.inputBox(
            QString::fromUtf8(prompt.prompt),
            prompt.title ? QString::fromUtf8(prompt.title) : QStringLiteral("Pagewick"),
            prompt.defaultText ? QString::fromUtf8(prompt.defaultText) : QString());
        if (command.trimAnswers)
            answer = answer.trimmed();
        if (command.stopIfEmpty && answer.isEmpty())
            return std::nullopt;
        answers << answer;
    }
    return answers;
}

void InsertionToolbar::runListSkeleton(const ToolbarCommand &command)
{
    // The list replaces the selection, so the caret target counts from its start.
    const int p = ctx_.edit.selStart();
    {
        ListItemsDialog dialog(ctx_.state, ctx_.parent);
        if (command.countCaption)
            dialog.setWindowTitle(QString::fromUtf8(command.countCaption));
        ctx_.platform.runDialog(dialog);
    }
    const int n = ctx_.state.listItemCount;
    const std::optional<QStringList> answers = askPrompts(command);
    if (!answers)
        return;
    const QString tag = windowTag();
    const QString item = QString::fromUtf8(command.item) + kCrLf;
    QString text = fillIn(command.open, *answers, tag) + kCrLf;
    for (int i = 1; i <= n; ++i)
        text += item;
    text += fillIn(command.close, *answers, tag) + kCrLf;
    insertText(ctx_.edit, text);
    if (command.caretOffset >= 0) {
        ctx_.edit.widget()->setFocus();
        ctx_.edit.setCaret(p + command.caretOffset);
    }
}

void InsertionToolbar::runTagDialog(const ToolbarCommand &command)
{
    const auto factory = dialogs_.constFind(QString::fromUtf8(command.target));
    if (factory == dialogs_.constEnd())
        return;
    ProgramState &state = ctx_.state;
    // A value left by an earlier dialog is never inserted again.
    state.dialogResult.clear();
    state.colorResult = QStringLiteral("-1");
    state.listKind = -1;
    if (command.before == BeforeDialog::PassSelection)
        state.selectedText = ctx_.edit.selectedText();

    std::unique_ptr<QDialog> dialog = (*factory)(ctx_);
    if (!dialog)
        return;
    const char *option = command.before == BeforeDialog::ChooseJavaScript ? "optJavaScript"
                         : command.before == BeforeDialog::ChooseVBScript ? "optVBScript"
                                                                          : nullptr;
    if (option) {
        if (auto *button = dialog->findChild<QAbstractButton *>(QString::fromUtf8(option)))
            button->setChecked(true);
    }
    ctx_.platform.runDialog(*dialog);
    dialog.reset();

    switch (command.after) {
    case AfterDialog::InsertResult:
        if (!state.dialogResult.isEmpty())
            insertText(ctx_.edit, state.dialogResult);
        break;
    case AfterDialog::WrapResult:
        if (!state.dialogResult.isEmpty())
            insertAround(ctx_.edit, state.dialogResult, QString::fromUtf8(command.close));
        break;
    case AfterDialog::InsertColor:
        if (state.colorResult != QLatin1String("-1"))
            insertText(ctx_.edit, state.colorResult);
        break;
    case AfterDialog::InsertList:
        insertChosenList();
        break;
    }
}

void InsertionToolbar::insertChosenList()
{
    const ProgramState &state = ctx_.state;
    QString head, tail, item;
    switch (state.listKind) {
    case 0:
        head = QStringLiteral("<OL Type=\"%1\">").arg(state.listNumbering);
        tail = QStringLiteral("</OL>");
        item = QStringLiteral("<LI>   </LI>");
        break;
    case 1:
        head = QStringLiteral("<UL>");
        tail = QStringLiteral("</UL>");
        item = QStringLiteral("<LI>   </LI>");
        break;
    case 2:
        head = QStringLiteral("<DL>");
        tail = QStringLiteral("</DL>");
        item = QStringLiteral("<DT>   <DD>");
        break;
    default: // -1: the list dialog was cancelled
        return;
    }
    QString text = head + kCrLf;
    for (int i = 1; i <= state.listItemCount; ++i)
        text += QStringLiteral("   ") + item + kCrLf;
    text += tail + kCrLf;
    insertText(ctx_.edit, text);
}

// cmdCFParam's parameter name: the main window's Tag text. The program never sets it, so
// the name comes out empty for the author to type between the quotes.
QString InsertionToolbar::windowTag() const
{
    return ctx_.parent ? ctx_.parent->property("Tag").toString() : QString();
}

} // namespace pw
