#include "tools/spell_check.h"

#include "shared/edit_box.h"
#include "document/feature_context.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/window.h"
#include "tools/page_words.h"
#include "tools/speller.h"

#include <QElapsedTimer>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

namespace pw {

namespace {

// Pending events run this often while the check walks a long page.
constexpr qint64 kEventsEveryMs = 20;

} // namespace

SpellCheckDialog::SpellCheckDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSpellCheck"));
    setWindowTitle(QStringLiteral("Check Spelling"));

    txtWord_ = new QLineEdit;
    txtWord_->setObjectName(QStringLiteral("txtWord"));
    txtWord_->setReadOnly(true);
    txtChangeTo_ = new QLineEdit;
    txtChangeTo_->setObjectName(QStringLiteral("txtChangeTo"));
    lstSuggestions_ = new QListWidget;
    lstSuggestions_->setObjectName(QStringLiteral("lstSuggestions"));

    auto *fields = new QGridLayout;
    // Each label names its box; so "&" marks the label's key rather than showing.
    const struct {
        const char *name;
        const char *caption;
        QWidget *field;
    } labelled[] = {
        {"lblWord", "Not in Dictionary:", txtWord_},
        {"lblChangeTo", "Change &To:", txtChangeTo_},
        {"lblSuggestions", "&Suggestions:", lstSuggestions_},
    };
    int row = 0;
    for (const auto &entry : labelled) {
        QLabel *label = namedLabel(entry.name, entry.caption);
        label->setBuddy(entry.field);
        fields->addWidget(label, row, 0,
                          entry.field == lstSuggestions_ ? Qt::AlignTop : Qt::Alignment());
        fields->addWidget(entry.field, row, 1);
        ++row;
    }

    auto *buttons = new QVBoxLayout;
    const struct {
        const char *name;
        const char *caption;
        SpellAnswer answer;
    } rows[] = {
        {"cmdReplace", "&Replace", SpellAnswer::Replace},
        {"cmdReplaceAll", "Replace A&ll", SpellAnswer::ReplaceAll},
        {"cmdIgnore", "&Ignore", SpellAnswer::Ignore},
        {"cmdIgnoreAll", "I&gnore All", SpellAnswer::IgnoreAll},
        {"cmdAdd", "&Add", SpellAnswer::Add},
        {"cmdCancel", "Cancel", SpellAnswer::Cancel},
    };
    for (const auto &row : rows) {
        QPushButton *button = namedButton(row.name, row.caption);
        const SpellAnswer answer = row.answer;
        connect(button, &QPushButton::clicked, this, [this, answer] { answerWith(answer); });
        buttons->addWidget(button);
        // Enter in "Change To" replaces.
        if (answer == SpellAnswer::Replace)
            button->setDefault(true);
    }
    buttons->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    connect(lstSuggestions_, &QListWidget::currentTextChanged, txtChangeTo_,
            [this](const QString &text) {
                if (!text.isEmpty())
                    txtChangeTo_->setText(text);
            });
    connect(lstSuggestions_, &QListWidget::itemDoubleClicked, this,
            [this] { answerWith(SpellAnswer::Replace); });
}

void SpellCheckDialog::showWord(const QString &word, const QStringList &suggestions)
{
    answer_ = SpellAnswer::Cancel;
    txtWord_->setText(word);
    lstSuggestions_->clear();
    lstSuggestions_->addItems(suggestions);
    if (!suggestions.isEmpty())
        lstSuggestions_->setCurrentRow(0);
    txtChangeTo_->setText(suggestions.isEmpty() ? word : suggestions.first());
    txtChangeTo_->setFocus();
    txtChangeTo_->selectAll();
}

QString SpellCheckDialog::replacement() const
{
    return txtChangeTo_->text();
}

void SpellCheckDialog::answerWith(SpellAnswer answer)
{
    answer_ = answer;
    if (answer == SpellAnswer::Cancel)
        reject();
    else
        accept();
}

void checkSpelling(FeatureContext &context, Speller &speller)
{
    EditBox &edit = context.edit;
    const QString page = edit.text();
    const std::vector<WordSpan> words = pageTextWords(page);

    // The places found are places in the text as it was read: an edit by other means while
    // events run would make them point elsewhere.
    bool ownEdit = false;
    bool changedElsewhere = false;
    QObject watcher;
    QObject::connect(edit.widget()->document(), &QTextDocument::contentsChanged, &watcher, [&] {
        if (!ownEdit)
            changedElsewhere = true;
    });

    SpellCheckDialog dialog(context.parent);
    QHash<QString, QString> replaceAll;
    qint64 shift = 0;      // how much the corrections so far moved the text after them
    bool selected = false; // a word was selected in the box
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    for (const WordSpan &span : words) {
        if (sinceEvents.elapsed() >= kEventsEveryMs) {
            context.platform.processEvents();
            sinceEvents.restart();
        }
        if (changedElsewhere)
            return;
        const QString word = page.mid(span.start, span.length);
        const auto all = replaceAll.constFind(word);
        const bool replacingAll = all != replaceAll.cend();
        if (!replacingAll && speller.isCorrect(word))
            continue;

        edit.setSelection(int(span.start + shift), int(span.length));
        selected = true;
        QString with;
        if (replacingAll) {
            with = all.value();
        } else {
            edit.widget()->ensureCursorVisible();
            dialog.showWord(word, speller.suggestions(word));
            // Beside the word it asks about, never over it.
            const int at = int(span.start + shift);
            moveClearOf(&dialog,
                        textArea(edit.widget(), edit.toQt(at), edit.toQt(at + int(span.length))));
            context.platform.runDialog(dialog);
            if (changedElsewhere)
                return;
            switch (dialog.answer()) {
            case SpellAnswer::Cancel:
                return;
            case SpellAnswer::Ignore:
                continue;
            case SpellAnswer::IgnoreAll:
                speller.ignoreAll(word);
                continue;
            case SpellAnswer::Add:
                if (QString error; !speller.addToPersonal(word, &error)) {
                    context.platform.messageBox(QStringLiteral("Pagewick"), error, MsgButtons::Ok,
                                                MsgIcon::None);
                }
                continue;
            case SpellAnswer::ReplaceAll:
                replaceAll.insert(word, dialog.replacement());
                [[fallthrough]];
            case SpellAnswer::Replace:
                with = dialog.replacement();
                break;
            }
        }
        if (with == word)
            continue;
        const int before = edit.length();
        ownEdit = true;
        edit.replaceSelection(with);
        ownEdit = false;
        shift += edit.length() - before;
    }
    // At the end the caret stays after the last word looked at, nothing selected.
    if (selected && edit.selLength() > 0)
        edit.setCaret(edit.selStart() + edit.selLength());
    // The check ran to the end by itself: say so, as nothing else would show it.
    context.platform.messageBox(QStringLiteral("Check Spelling"),
                                QStringLiteral("The Spelling Check Is Complete."), MsgButtons::Ok,
                                MsgIcon::Information);
}

} // namespace pw
