// The steps of the insertion rows. Generated markup is upper-case tags with capitalised
// attributes and CR LF breaks; every text of a row is inserted exactly as written.
#include "insertion/insertion_command.h"

#include "insertion/list_items_dialog.h"
#include "shared/edit_box.h"
#include "shared/insertion.h"
#include "shared/platform.h"
#include "shared/program_state.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

namespace pw {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Asks the row's prompts in order; nothing when the row stops on an empty answer.
std::optional<QStringList> askPrompts(Platform &platform, const Insertion &row)
{
    QStringList answers;
    for (const Prompt &prompt : row.prompts) {
        if (!prompt.prompt)
            break;
        QString answer = platform.inputBox(
            QString::fromUtf8(prompt.prompt),
            prompt.title ? QString::fromUtf8(prompt.title) : QStringLiteral("Pagewick"),
            prompt.defaultText ? QString::fromUtf8(prompt.defaultText) : QString());
        if (row.trimAnswers)
            answer = answer.trimmed();
        if (row.stopIfEmpty && answer.isEmpty())
            return std::nullopt;
        answers << answer;
    }
    return answers;
}

// cmdCFParam's parameter name: the main window's Tag text. The program never sets it, so
// the name comes out empty for the author to type between the quotes.
QString windowTag(const FeatureContext &context)
{
    return context.parent ? context.parent->property("Tag").toString() : QString();
}

// The list chosen in the list dialog (listKind, listNumbering, listItemCount); nothing when
// the dialog was cancelled.
void insertChosenList(FeatureContext &context)
{
    const ProgramState &state = context.state;
    QString head, tail, item;
    switch (state.listKind) {
    case 0:
        // Without a numbering chosen the list keeps the browser's own, rather than an empty
        // Type that no browser reads.
        head = state.listNumbering.isEmpty()
                   ? QStringLiteral("<OL>")
                   : QStringLiteral("<OL Type=\"%1\">").arg(state.listNumbering);
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
    insertText(context.edit, text);
}

} // namespace

void insertIdPair(FeatureContext &context, const Insertion &row)
{
    const QString tag = QString::fromUtf8(row.open);
    const QString open =
        context.state.idAttribute
            ? QStringLiteral("<%1 Id=\"%2\">").arg(tag, QString::fromUtf8(row.idWord))
            : QStringLiteral("<%1>").arg(tag);
    insertAround(context.edit, open, QStringLiteral("</%1>").arg(tag));
}

void insertFilledIn(FeatureContext &context, const Insertion &row)
{
    const std::optional<QStringList> answers = askPrompts(context.platform, row);
    if (!answers)
        return;
    const QString tag = windowTag(context);
    if (row.kind == CommandKind::Pair)
        insertAround(context.edit, fillIn(row.open, *answers, tag),
                     fillIn(row.close, *answers, tag));
    else
        insertText(context.edit, fillIn(row.open, *answers, tag));
}

void insertListChoice(FeatureContext &context, const QComboBox *list)
{
    if (list)
        insertText(context.edit, list->currentText());
}

void insertListSkeleton(FeatureContext &context, const Insertion &row)
{
    // The list replaces the selection, so the caret target counts from its start.
    const int p = context.edit.selStart();
    {
        ListItemsDialog dialog(context.state, context.parent);
        if (row.countCaption)
            dialog.setWindowTitle(QString::fromUtf8(row.countCaption));
        context.platform.runDialog(dialog);
    }
    const int n = context.state.listItemCount;
    const std::optional<QStringList> answers = askPrompts(context.platform, row);
    if (!answers)
        return;
    const QString tag = windowTag(context);
    const QString item = QString::fromUtf8(row.item) + kCrLf;
    QString text = fillIn(row.open, *answers, tag) + kCrLf;
    for (int i = 1; i <= n; ++i)
        text += item;
    text += fillIn(row.close, *answers, tag) + kCrLf;
    insertText(context.edit, text);
    if (row.caretOffset >= 0) {
        context.edit.widget()->setFocus();
        context.edit.setCaret(p + row.caretOffset);
    }
}

void runTagDialog(FeatureContext &context, const Insertion &row, const TagDialogFactory &make)
{
    if (!make)
        return;
    ProgramState &state = context.state;
    // A value left by an earlier dialog is never inserted again.
    state.dialogResult.clear();
    state.colorResult = QStringLiteral("-1");
    state.listKind = -1;
    if (row.before == BeforeDialog::PassSelection)
        state.selectedText = context.edit.selectedText();

    std::unique_ptr<QDialog> dialog = make(context);
    if (!dialog)
        return;
    const char *option = row.before == BeforeDialog::ChooseJavaScript ? "optJavaScript"
                         : row.before == BeforeDialog::ChooseVBScript ? "optVBScript"
                                                                      : nullptr;
    if (option) {
        if (auto *button = dialog->findChild<QAbstractButton *>(QString::fromUtf8(option)))
            button->setChecked(true);
    }
    context.platform.runDialog(*dialog);
    dialog.reset();

    switch (row.after) {
    case AfterDialog::InsertResult:
        if (!state.dialogResult.isEmpty())
            insertText(context.edit, state.dialogResult);
        break;
    case AfterDialog::WrapResult:
        if (!state.dialogResult.isEmpty())
            insertAround(context.edit, state.dialogResult, QString::fromUtf8(row.close));
        break;
    case AfterDialog::InsertColor:
        if (state.colorResult != QLatin1String("-1"))
            insertText(context.edit, state.colorResult);
        break;
    case AfterDialog::InsertList:
        insertChosenList(context);
        break;
    }
}

QString fillIn(const char *pattern, const QStringList &answers, const QString &windowTag)
{
    const QString text = QString::fromUtf8(pattern);
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'%' && i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if (next >= u'1' && next <= u'9') {
                result += answers.value(next.digitValue() - 1);
                ++i;
                continue;
            }
            if (next == u'w') {
                result += windowTag;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

} // namespace pw
