#include "insertion/toolbar_lists.h"

#include "insertion/vocabulary.h"
#include "shared/edit_box.h"
#include "shared/insertion.h"
#include "shared/program_state.h"

#include <QComboBox>
#include <QLineEdit>

namespace pw {

ToolbarLists::ToolbarLists(const FeatureContext &context, QObject *parent)
    : QObject(parent), ctx_(context)
{
    setObjectName(QStringLiteral("toolbarLists"));
    makeLists();
}

void ToolbarLists::makeLists()
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

void ToolbarLists::fillLists()
{
    for (const VocabularyList &vocabulary : vocabularyLists()) {
        if (QComboBox *box = list(QString::fromUtf8(vocabulary.name)))
            fillVocabularyBox(*box, vocabulary);
    }
}

void ToolbarLists::chooseHeading(const QString &entry)
{
    insertAround(ctx_.edit, headingOpenTag(entry, ctx_.state.idAttribute), headingCloseTag(entry));
}

} // namespace pw
