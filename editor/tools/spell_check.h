#pragma once
// Spell checking of the document: the page's text (see page_words.h) word by word against
// the session's Speller. A word it does not know is selected in the box and offered in the
// correction dialog frmSpellCheck; each answer changes exactly that word, so the text after
// the check is the text before with the chosen corrections and nothing else.
#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;

namespace pw {

class Speller;
struct FeatureContext;

enum class SpellAnswer { Replace, ReplaceAll, Ignore, IgnoreAll, Add, Cancel };

class SpellCheckDialog : public QDialog {
    Q_OBJECT
public:
    explicit SpellCheckDialog(QWidget *parent = nullptr);

    // Shows the next word; "Change To" starts with the first suggestion, or the word itself
    // when there is none.
    void showWord(const QString &word, const QStringList &suggestions);
    SpellAnswer answer() const { return answer_; }
    // The text "Change To" holds.
    QString replacement() const;

private:
    void answerWith(SpellAnswer answer);

    QLineEdit *txtWord_ = nullptr;
    QLineEdit *txtChangeTo_ = nullptr;
    QListWidget *lstSuggestions_ = nullptr;
    // Closing the window by its close box or Escape leaves Cancel, which ends the check.
    SpellAnswer answer_ = SpellAnswer::Cancel;
};

// Checks the whole document from its start. Replace and Replace All take "Change To"
// (Replace All also for the later places of the same word), Ignore passes this place,
// Ignore All the word for the rest of the session, Add puts it in the personal words, and
// Cancel ends the check keeping the corrections made so far. Pending events run between
// words; an edit made meanwhile by other means ends the check, as the places found no
// longer match the text.
void checkSpelling(FeatureContext &context, Speller &speller);

} // namespace pw
