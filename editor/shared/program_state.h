#pragma once
// The values the main window and every dialog share for the whole run. One instance is owned
// by the application and handed by reference to whoever needs it, so every test can start
// from a fresh one. Member names are the program's own names for these values.
#include <QString>
#include <array>
#include <cstdint>

namespace pw {

struct ProgramState {
    QString DialogResult;     // text a dialog hands back for insertion; empty = insert nothing
    QString SelectedText;     // the editor selection handed to a dialog before it opens
    QString ColorResult;      // colour chosen in the colour dialog
    std::int16_t ListItemCount = 0;
    std::int16_t ListKind = 0;
    QString ListNumbering;
    QString DateText;         // empty = insert nothing
    QString ListingStyle;
    QString IEPath;           // first browser's executable
    QString NNPath;           // second browser's executable
    bool IDAttribute = false; // some inserted tags carry an Id attribute
    bool HeightWidth = false; // dropped pictures get Width and Height
    QString BlockComment;
    QString FileFilter;
    std::array<QString, 10> UserOpenTags;
    std::array<QString, 10> UserCloseTags;
};

// The open and save pickers' filter: pairs of description and pattern list.
inline const QString kFileFilter = QStringLiteral(
    "HTML Files|*.html;*.htm|JavaScripts|*.js|VBScripts|*.vbs|Perl Scripts|*.pl|PHP Scripts|"
    "*.php;*.phtml;*.php3|Active Server Pages|*.asp|Include Files|*.inc|TCL Scripts|*.tcl;*.tk|"
    "Text Files|*.txt|All Files|*.*");

} // namespace pw
