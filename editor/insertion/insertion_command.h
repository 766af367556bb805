#pragma once
// What a toolbar page's button inserts, as data: the insertion part of a command table row
// (shell/commands.h), and the steps the command runner runs it with. Commands that differ
// only in their texts, prompts or dialog are rows, not code.
#include "document/feature_context.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QDialog;

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
    None,         // not an insertion: the row runs something else
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

// What an insertion row does; every field but `kind` is read only by the kinds that say so.
struct Insertion {
    CommandKind kind = CommandKind::None;
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

// Builds a tag dialog; it resets its exchange values when built (dialogResult, ...).
using TagDialogFactory = std::function<std::unique_ptr<QDialog>(FeatureContext &)>;

// Fills %1..%9 with `answers` (missing ones empty) and %w with `windowTag`, in one pass: a
// typed answer that itself holds "%2" is inserted as typed. Any other "%" stays as it is.
QString fillIn(const char *pattern, const QStringList &answers, const QString &windowTag);

// The steps of the insertion kinds, each as its button runs it.
// IdPair: "<tag>" and "</tag>" around the selection; "<tag Id="word">" while idAttribute is on.
void insertIdPair(FeatureContext &context, const Insertion &row);
// Pair and Text: asks the prompts, then inserts the filled-in texts.
void insertFilledIn(FeatureContext &context, const Insertion &row);
// Vocabulary: the list's current text at the caret.
void insertListChoice(FeatureContext &context, const QComboBox *list);
// ListSkeleton: the count dialog, the prompts, then the head line, n item lines and the tail.
void insertListSkeleton(FeatureContext &context, const Insertion &row);
// Dialog: the tag dialog built by `make`, then what the row's `after` says.
void runTagDialog(FeatureContext &context, const Insertion &row, const TagDialogFactory &make);

} // namespace pw
