#pragma once
// The toolbar commands as data: one row per button, run by InsertionToolbar::run. Commands
// that differ only in their texts, prompts or dialog are rows here, not code.
//
// Adding a command: add a row below (name, tooltip, caption, page, kind and the fields its
// kind reads); the toolbar builds the button and the table test walks the row. A tag dialog
// plugs into its Dialog row with one InsertionToolbar::registerDialog line.
#include <QString>
#include <array>
#include <span>

namespace pw {

// The captions of the toolbar pages ("&" shown once).
namespace pages {
inline constexpr const char *kDialogs = "Dialogs";
inline constexpr const char *kFormatting = "Formatting";
inline constexpr const char *kFontsFramesForms = "Fonts, Frames, & Forms";
inline constexpr const char *kListsTables = "Lists & Tables";
inline constexpr const char *kAllTags = "All Tags";
inline constexpr const char *kDHTML = "DHTML";
inline constexpr const char *kCSS = "CSS";
inline constexpr const char *kJavaScript = "JavaScript";
inline constexpr const char *kCFML = "CFML";
inline constexpr const char *kVBScript = "VBScript";
inline constexpr const char *kPHP = "PHP";
inline constexpr const char *kASP = "ASP";
inline constexpr const char *kUser = "User";
} // namespace pages

enum class CommandKind {
    IdPair,       // insertAround("<tag>", "</tag>"); "<tag Id="word">" while idAttribute is on
    Pair,         // insertAround(open, close)
    Text,         // insertText(open)
    Vocabulary,   // insertText(the current text of the list named by `target`)
    ListSkeleton, // count dialog, then insertText(head line, n item lines, tail line)
    Dialog,       // the tag dialog named by `target`, then what `after` says
    NoAction,     // a button that does nothing
};

// What a Dialog row does before the dialog is shown.
enum class BeforeDialog {
    Nothing,
    PassSelection,    // selectedText = the selection (set before the dialog is built)
    ChooseJavaScript, // check the dialog's optJavaScript
    ChooseVBScript,   // check the dialog's optVBScript
};

// What a Dialog row does after the dialog has closed.
enum class AfterDialog {
    InsertResult, // insertText(dialogResult) when not empty
    WrapResult,   // insertAround(dialogResult, close) when not empty
    InsertColor,  // insertText(colorResult) unless it is "-1"
    InsertList,   // build the list chosen in the list dialog (listKind, listNumbering, count)
};

// One input box: prompt, title (nullptr: the program's name) and default text.
struct Prompt {
    const char *prompt = nullptr;
    const char *title = nullptr;
    const char *defaultText = nullptr;
};

struct ToolbarCommand {
    const char *name;    // objectName of the button
    const char *tooltip; // nullptr: the button has no tooltip
    const char *caption; // short text on the button
    const char *page;    // caption of the toolbar page that holds it
    CommandKind kind;
    // Texts. In them %1, %2, %3 stand for the answers to the prompts, in order, and %w for
    // the main window's Tag text (see cmdCFParam).
    const char *open = "";  // opening text; the inserted text; a list's head line; an ID pair's tag
    const char *close = ""; // closing text; a list's tail line; a dialog result's closing text
    const char *item = "";  // a list's item line
    const char *idWord = "";            // IdPair: the Id attribute's value
    std::array<Prompt, 3> prompts = {}; // asked in order before anything is inserted
    bool trimAnswers = false;           // answers lose leading and trailing blanks
    bool stopIfEmpty = false;           // an empty first answer (or Cancel) inserts nothing
    const char *target = nullptr;       // Vocabulary: the list's name; Dialog: the dialog's name
    BeforeDialog before = BeforeDialog::Nothing;
    AfterDialog after = AfterDialog::InsertResult;
    const char *countCaption =
        nullptr; // ListSkeleton: caption for the count dialog, if not its own
    int caretOffset =
        -1; // ListSkeleton: caret at the old selection start + this; -1: after the text
};

// Every toolbar command, in the order the buttons appear on their pages.
std::span<const ToolbarCommand> toolbarCommands();
// The row of the given button name, or nullptr.
const ToolbarCommand *findToolbarCommand(const QString &name);

// Fills %1..%9 with `answers` (missing ones empty) and %w with `windowTag`, in one pass: a
// typed answer that itself holds "%2" is inserted as typed. Any other "%" stays as it is.
QString fillIn(const char *pattern, const QStringList &answers, const QString &windowTag);

} // namespace pw
