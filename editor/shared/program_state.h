#pragma once
// The values the main window and every dialog share for the whole run. One instance is owned
// by the application and handed by reference to whoever needs it, so every test can start
// from a fresh one. Member names are the program's own names for these values.
#include <QString>
#include <array>
#include <cstdint>

namespace pw {

struct ProgramState {
    QString dialogResult; // text a dialog hands back for insertion; empty = insert nothing
    QString selectedText; // the editor selection handed to a dialog before it opens
    QString colorResult;  // colour chosen in the colour dialog
    std::int16_t listItemCount = 0;
    std::int16_t listKind = 0;
    QString listNumbering;
    QString dateText; // empty = insert nothing
    QString listingStyle;
    QString iePath;           // first browser's executable
    QString nnPath;           // second browser's executable
    bool idAttribute = false; // some inserted tags carry an Id attribute
    bool heightWidth = false; // dropped pictures get Width and Height
    QString BlockComment;
    QString fileFilter;
    std::array<QString, 10> userOpenTags;
    std::array<QString, 10> userCloseTags;
};

// The open and save pickers' filter: pairs of description and pattern list.
inline const QString kFileFilter = QStringLiteral(
    "HTML Files|*.html;*.htm|JavaScripts|*.js|VBScripts|*.vbs|Perl Scripts|*.pl|PHP Scripts|"
    "*.php;*.phtml;*.php3|Active Server Pages|*.asp|Include Files|*.inc|TCL Scripts|*.tcl;*.tk|"
    "Text Files|*.txt|All Files|*.*");

} // namespace pw
