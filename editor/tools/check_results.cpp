#include "tools/check_results.h"

#include "document/feature_context.h"
#include "shared/edit_box.h"
#include "shared/platform.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pw {

namespace {
const QString kCheckPhp = QStringLiteral("Check PHP");

QString countText(const QString &check, qsizetype count)
{
    return QStringLiteral("%1: %2 %3")
        .arg(check)
        .arg(count)
        .arg(count == 1 ? QStringLiteral("message") : QStringLiteral("messages"));
}
} // namespace

CheckResults::CheckResults(EditBox &edit, QWidget *parent)
    : QWidget(parent), edit_(edit), summary_(new QLabel), list_(new QTreeWidget)
{
    setObjectName(QStringLiteral("fraCheckResults"));
    summary_->setObjectName(QStringLiteral("lblCheckSummary"));
    list_->setObjectName(QStringLiteral("lstCheckResults"));
    list_->setColumnCount(3);
    list_->setHeaderLabels(
        {QStringLiteral("Line"), QStringLiteral("Column"), QStringLiteral("Text")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->header()->setStretchLastSection(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(summary_);
    layout->addWidget(list_);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { goTo(list_->indexOfTopLevelItem(item)); });
    connect(list_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { goTo(list_->indexOfTopLevelItem(item)); });
    hide();
}

void CheckResults::showMessages(const QString &summary, const QList<CheckMessage> &messages)
{
    messages_ = messages;
    summary_->setText(summary);
    list_->clear();
    QList<QTreeWidgetItem *> items;
    for (const CheckMessage &message : messages) {
        items << new QTreeWidgetItem(
            {QString::number(message.line),
             message.column > 0 ? QString::number(message.column) : QString(), message.text});
    }
    list_->addTopLevelItems(items);
    list_->resizeColumnToContents(0);
    list_->resizeColumnToContents(1);
    show();
}

void CheckResults::goTo(int row)
{
    if (row < 0 || row >= messages_.size())
        return;
    const CheckMessage &message = messages_[row];
    QPlainTextEdit *box = edit_.widget();
    const QTextBlock block = box->document()->findBlockByNumber(std::max(message.line - 1, 0));
    if (!block.isValid())
        return;
    QTextCursor caret(block);
    const int column = std::clamp(message.column - 1, 0, block.length() - 1);
    caret.setPosition(block.position() + column);
    box->setTextCursor(caret);
    box->ensureCursorVisible();
    box->setFocus();
}

void checkPage(FeatureContext &context, CheckResults &results)
{
    context.platform.setBusy(true);
    const QList<CheckMessage> messages = tidyMessages(context.edit.text());
    context.platform.setBusy(false);
    results.showMessages(messages.isEmpty()
                             ? QStringLiteral("Check Page: no problems found")
                             : countText(QStringLiteral("Check Page"), messages.size()),
                         messages);
}

void checkPhp(FeatureContext &context, CheckResults &results)
{
    const QString php = context.platform.findProgram(QStringLiteral("php"));
    if (php.isEmpty()) {
        context.platform.messageBox(kCheckPhp,
                                    QStringLiteral("Check PHP is unavailable: there is no php "
                                                   "program on the PATH."),
                                    MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    QString error;
    context.platform.setBusy(true);
    const auto messages = runPhpLint(php, context.edit.text(), &error);
    context.platform.setBusy(false);
    if (!messages) {
        context.platform.messageBox(kCheckPhp, QStringLiteral("PHP could not check the page."),
                                    MsgButtons::Ok, MsgIcon::Information, error);
        return;
    }
    results.showMessages(messages->isEmpty() ? QStringLiteral("Check PHP: no syntax errors found")
                                             : countText(kCheckPhp, messages->size()),
                         *messages);
}

} // namespace pw
