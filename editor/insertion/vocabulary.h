#pragma once
// The six vocabulary drop-down lists of the toolbar: their entries (data, in the order they
// are listed, duplicates kept), whether text can be typed into them, and where they sit.
#include <QString>
#include <span>

class QComboBox;

namespace pw {

struct VocabularyList {
    const char *name;    // objectName of the list
    const char *tooltip; // nullptr: none
    bool editable;       // text can be typed, not only chosen
    const char *page;    // toolbar page; a list sits just before the button that inserts it
    std::span<const char *const> entries;
    int width; // shown width in characters
};

// The lists, in the order fillAllCombos fills them.
std::span<const VocabularyList> vocabularyLists();

// Makes the list's box: name, tooltip, editable or choose-only. It starts empty.
QComboBox *createVocabularyBox(const VocabularyList &list);
// Fills the box with the list's entries (replacing any there) and shows its start-up
// state: "H1" typed in the headings list with nothing chosen, the first entry elsewhere.
void fillVocabularyBox(QComboBox &box, const VocabularyList &list);

// The heading tags for a chosen entry: "<H2>" (or "<H2 Id="HeadingID">" with the Id
// option) and "</H2>", the entry's blanks trimmed.
QString headingOpenTag(const QString &entry, bool idAttribute);
QString headingCloseTag(const QString &entry);

} // namespace pw
