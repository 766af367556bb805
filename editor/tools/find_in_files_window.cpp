#include "tools/find_in_files_window.h"

#include "document/document.h"
#include "shared/edit_box.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/window.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPromise>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace pw {

namespace {

const QString kTitle = QStringLiteral("Find in Files");
constexpr int kMatchesRole = Qt::UserRole + 1;
enum Column { FileColumn, LineColumn, TextColumn };

// Draws a result's line with its matches highlighted.
class MatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        const QString text = plain.text;
        plain.text.clear();
        QStyle *style = plain.widget ? plain.widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        QList<QTextLayout::FormatRange> formats;
        for (const QVariant &range : index.data(kMatchesRole).toList()) {
            const QPoint match = range.toPoint();
            QTextLayout::FormatRange format;
            format.start = match.x();
            format.length = match.y();
            format.format.setBackground(QColor(255, 230, 120));
            format.format.setForeground(Qt::black);
            formats << format;
        }
        QTextLayout layout(text, plain.font);
        layout.setFormats(formats);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1e6);
        layout.endLayout();
        const QRect box = plain.rect.adjusted(3, 0, -3, 0);
        painter->save();
        painter->setClipRect(box);
        painter->setPen(plain.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        layout.draw(painter, QPointF(box.left(), box.top() + (box.height() - line.height()) / 2));
        painter->restore();
    }
};

// The worker: walks the files and hands over what it found about every 20 ms, so the
// window gets few, small batches however many files match.
void searchFiles(QPromise<FileSearchBatch> &promise, const FileSearch &search,
                 const QString &pattern, QRegularExpression::PatternOptions options)
{
    // Made on this thread, for this thread's matching only.
    const QRegularExpression expression(pattern, options);
    FileSearchBatch batch;
    QElapsedTimer sinceBatch;
    sinceBatch.start();
    auto handOver = [&] {
        promise.addResult(std::exchange(batch, FileSearchBatch{}));
        sinceBatch.restart();
    };
    walkFiles(
        search,
        [&](const QString &path) {
            if (promise.isCanceled())
                return false;
            bool searched = false;
            batch.hits << searchFile(path, expression, &searched);
            ++(searched ? batch.searched : batch.skipped);
            if (sinceBatch.elapsed() >= 20)
                handOver();
            return true;
        },
        // Names that are not UTF-8 count as skipped: the status says there were some.
        [&](const QString &) {
            ++batch.skipped;
            return !promise.isCanceled();
        });
    if (!promise.isCanceled())
        handOver();
}

} // namespace

FindInFilesWindow::FindInFilesWindow(const FeatureContext &context, QWidget *parent)
    : QDialog(parent), context_(context), txtFolder_(new QLineEdit), txtPatterns_(new QLineEdit),
      txtFind_(new QLineEdit), chkMatchCase_(new QCheckBox(QStringLiteral("Match Case"))),
      chkWholeWord_(new QCheckBox(QStringLiteral("Whole Word"))),
      chkRegularExpression_(new QCheckBox(QStringLiteral("Regular Expression"))),
      chkSubfolders_(new QCheckBox(QStringLiteral("Include Subfolders"))),
      cmdFind_(new QPushButton(QStringLiteral("&Find"))),
      cmdStop_(new QPushButton(QStringLiteral("&Stop"))), lblStatus_(new QLabel),
      lstResults_(new QTreeWidget)
{
    setObjectName(QStringLiteral("frmFindInFiles"));
    setWindowTitle(kTitle);
    txtFolder_->setObjectName(QStringLiteral("txtFolder"));
    txtPatterns_->setObjectName(QStringLiteral("txtPatterns"));
    txtFind_->setObjectName(QStringLiteral("txtFind"));
    chkMatchCase_->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWord_->setObjectName(QStringLiteral("chkWholeWord"));
    chkRegularExpression_->setObjectName(QStringLiteral("chkRegularExpression"));
    chkSubfolders_->setObjectName(QStringLiteral("chkSubfolders"));
    cmdFind_->setObjectName(QStringLiteral("cmdFind"));
    cmdStop_->setObjectName(QStringLiteral("cmdStop"));
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lstResults_->setObjectName(QStringLiteral("lstResults"));

    txtFolder_->setText(context_.paneDirectory().isEmpty() ? QDir::homePath()
                                                           : context_.paneDirectory());
    txtPatterns_->setText(QStringLiteral("*.html;*.htm;*.php;*.asp;*.cfm;*.css;*.js;*.txt"));
    chkSubfolders_->setChecked(true);
    cmdFind_->setDefault(true);
    cmdStop_->setEnabled(false);

    lstResults_->setColumnCount(3);
    lstResults_->setHeaderLabels(
        {QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Text")});
    lstResults_->setRootIsDecorated(false);
    lstResults_->setUniformRowHeights(true);
    lstResults_->setItemDelegateForColumn(TextColumn, new MatchDelegate(lstResults_));
    lstResults_->header()->setStretchLastSection(true);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Find:"), txtFind_);
    fields->addRow(QStringLiteral("Folder:"), txtFolder_);
    fields->addRow(QStringLiteral("Files:"), txtPatterns_);
    auto *options = new QHBoxLayout;
    for (QWidget *option :
         {static_cast<QWidget *>(chkMatchCase_), static_cast<QWidget *>(chkWholeWord_),
          static_cast<QWidget *>(chkRegularExpression_), static_cast<QWidget *>(chkSubfolders_)})
        options->addWidget(option);
    options->addStretch(1);
    options->addWidget(cmdFind_);
    options->addWidget(cmdStop_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(options);
    layout->addWidget(labelFor(lstResults_, "lblResults", "&Results:"));
    layout->addWidget(lstResults_, 1);
    layout->addWidget(lblStatus_);
    resize(720, 480);

    connect(cmdFind_, &QPushButton::clicked, this, &FindInFilesWindow::start);
    connect(cmdStop_, &QPushButton::clicked, this, &FindInFilesWindow::stop);
    connect(&watcher_, &QFutureWatcher<FileSearchBatch>::resultsReadyAt, this,
            &FindInFilesWindow::takeBatches);
    connect(&watcher_, &QFutureWatcher<FileSearchBatch>::finished, this, [this] {
        running_ = false;
        cmdFind_->setEnabled(true);
        cmdStop_->setEnabled(false);
        showStatus();
        emit finished();
    });
    connect(lstResults_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { openResult(lstResults_->indexOfTopLevelItem(item)); });
}

FindInFilesWindow::~FindInFilesWindow()
{
    // The worker must not outlive what it reports to.
    watcher_.cancel();
    watcher_.waitForFinished();
}

bool FindInFilesWindow::start()
{
    if (running() || txtFind_->text().isEmpty())
        return false;
    const SearchOptions options{chkMatchCase_->isChecked(), chkWholeWord_->isChecked(),
                                chkRegularExpression_->isChecked()};
    const QRegularExpression expression = searchExpression(txtFind_->text(), options);
    if (!expression.isValid()) {
        context_.platform.messageBox(kTitle,
                                     QStringLiteral("The regular expression is not valid: ")
                                         + expression.errorString(),
                                     MsgButtons::Ok, MsgIcon::Information);
        return false;
    }
    const QString folder = txtFolder_->text().trimmed();
    if (!QDir(folder).exists()) {
        context_.platform.messageBox(kTitle, QStringLiteral("There is no folder ") + folder,
                                     MsgButtons::Ok, MsgIcon::Information);
        return false;
    }
    lstResults_->clear();
    hits_.clear();
    searched_ = skipped_ = 0;
    stopped_ = false;
    running_ = true;
    cmdFind_->setEnabled(false);
    cmdStop_->setEnabled(true);
    lblStatus_->setText(QStringLiteral("Searching..."));
    const FileSearch search{folder, filePatterns(txtPatterns_->text()),
                            chkSubfolders_->isChecked()};
    watcher_.setFuture(
        QtConcurrent::run(searchFiles, search, expression.pattern(), expression.patternOptions()));
    return true;
}

void FindInFilesWindow::stop()
{
    if (!running())
        return;
    stopped_ = true;
    watcher_.cancel();
}

void FindInFilesWindow::reject()
{
    if (running()) {
        stop();
        return;
    }
    QDialog::reject();
}

void FindInFilesWindow::takeBatches(int begin, int end)
{
    QList<QTreeWidgetItem *> items;
    for (int i = begin; i < end; ++i) {
        const FileSearchBatch batch = watcher_.resultAt(i);
        searched_ += batch.searched;
        skipped_ += batch.skipped;
        for (const FileHit &hit : batch.hits) {
            auto *item = new QTreeWidgetItem(
                {QDir::toNativeSeparators(hit.path), QString::number(hit.line), hit.text});
            QVariantList ranges;
            for (const auto &[start, length] : hit.matches)
                ranges << QPoint(start, length);
            item->setData(TextColumn, kMatchesRole, ranges);
            items << item;
            hits_ << hit;
        }
    }
    lstResults_->addTopLevelItems(items);
    showStatus();
}

void FindInFilesWindow::showStatus()
{
    QString text =
        QStringLiteral("%1 matching lines in %2 files searched").arg(hits_.size()).arg(searched_);
    if (skipped_ > 0)
        text += QStringLiteral(", %1 skipped (binary, too large or unreadable)").arg(skipped_);
    if (running())
        text = QStringLiteral("Searching... ") + text;
    else if (stopped_)
        text = QStringLiteral("Stopped: ") + text;
    lblStatus_->setText(text);
}

void FindInFilesWindow::openResult(int row)
{
    if (row < 0 || row >= hits_.size())
        return;
    const FileHit &hit = hits_[row];
    Document &document = context_.document;
    // The document already showing the file is only moved in, with its edits kept.
    if (QFileInfo(document.path()) != QFileInfo(hit.path)) {
        if (!document.savePrompt() || !document.open(hit.path))
            return;
    }
    EditBox &edit = context_.edit;
    if (hit.line - 1 >= edit.lineCount())
        return;
    const int lineStart = edit.lineStart(hit.line - 1);
    const auto [start, length] = hit.matches.value(0);
    edit.setSelection(lineStart + start, length);
    edit.widget()->ensureCursorVisible();
}

FindInFilesWindow *openFindInFiles(FeatureContext &context)
{
    FindInFilesWindow *window = nullptr;
    if (context.parent)
        window = context.parent->findChild<FindInFilesWindow *>(QStringLiteral("frmFindInFiles"),
                                                                Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new FindInFilesWindow(context, context.parent);
        window->setWindowFlag(Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace pw
