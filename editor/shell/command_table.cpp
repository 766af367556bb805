// The main window's command table: every menu item, picture button and toolbar page button.
#include "shell/commands.h"

#include "dialogs/tag_dialogs.h"
#include "document/document.h"
#include "generators/frameset_dialog.h"
#include "generators/js_menu_dialog.h"
#include "generators/listing_dialogs.h"
#include "generators/page_wizard.h"
#include "generators/php_data_dialog.h"
#include "generators/snippets.h"
#include "insertion/block_comment.h"
#include "insertion/user_buttons.h"
#include "shared/edit_box.h"
#include "shared/file_panes.h"
#include "shared/insertion.h"
#include "shared/program_state.h"
#include "shell/editor_behaviours.h"
#include "shell/encoding_menus.h"
#include "shell/main_window.h"
#include "source_view/source_edit.h"
#include "windows/preview_commands.h"
#include "shell/register_html.h"
#include "tools/check_results.h"
#include "tools/directory_replace_dialog.h"
#include "tools/find_in_files_window.h"
#include "tools/find_window.h"
#include "tools/lower_case_dialog.h"
#include "tools/rtf_dialog.h"
#include "windows/about_window.h"
#include "windows/image_viewer.h"
#include "windows/options_dialog.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

namespace pw {

namespace {

using namespace pages;
using enum Place;
using enum CommandKind;

// Form fields: the same input tag with a different type, asking for name and value.
constexpr std::array<Prompt, 3> kNameValue = {{{"Name:"}, {"Value:"}}};

// Tables read best one row to a line; the formatter leaves them as written.
// clang-format off
constexpr Command separator(const char *menu)
{
    return {.name = nullptr, .place = Place::Menu, .where = menu};
}

// The box does its own editing; the menu items and buttons ask it directly.
template <void (QPlainTextEdit::*edit)()>
void editCommand(MainWindow &w, int)
{
    w.editBox().widget()->setFocus();
    (w.editBox().widget()->*edit)();
}

// The window's validation pane and status field menus.
template <void (*check)(FeatureContext &, CheckResults &)>
void runCheck(MainWindow &w, int)
{
    FeatureContext c = w.featureContext();
    check(c, *w.findChild<CheckResults *>());
}

template <void (EncodingMenus::*popup)()>
void popupMenu(MainWindow &w, int)
{
    (w.findChild<EncodingMenus *>()->*popup)();
}

// Every command of the main window, in the order the controls are built: menus top to
// bottom, picture buttons left to right, then each page's buttons left to right.
const Command kCommands[] = {
    {.name = "mnuFileNew", .caption = "&New", .shortcut = "Ctrl+N", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.newDocument(); }},
    {.name = "mnuFileOpen", .caption = "&Open", .shortcut = "Ctrl+O", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.openDocument(); }},
    {.name = "mnuFileClose", .caption = "&Close", .shortcut = "Ctrl+W", .where = "mnuFile",
     .feature = [](FeatureContext &c) { c.document.close(); }},
    separator("mnuFile"),
    {.name = "mnuFileSave", .caption = "&Save", .shortcut = "Ctrl+S", .where = "mnuFile",
     .feature = [](FeatureContext &c) { c.document.save(); }},
    {.name = "mnuFileSaveAs", .caption = "Save &As...", .shortcut = "Ctrl+Shift+S", .where = "mnuFile",
     .feature = [](FeatureContext &c) { c.document.saveAs(); }},
    {.name = "mnuSaveAsUnix", .caption = "Save As Unix", .where = "mnuFile",
     .feature = [](FeatureContext &c) { c.document.saveAsUnix(); }},
    separator("mnuFile"),
    {.name = "mnuEncoding", .caption = "&Encoding", .shortcut = "Ctrl+Shift+E", .where = "mnuFile",
     .window = popupMenu<&EncodingMenus::popupEncoding>},
    {.name = "mnuLineBreaks", .caption = "Line &Breaks", .shortcut = "Ctrl+Shift+L", .where = "mnuFile",
     .window = popupMenu<&EncodingMenus::popupLineBreaks>},
    {.name = "mnuReopenWithEncoding", .caption = "Reopen With Encoding", .shortcut = "Ctrl+Shift+R", .where = "mnuFile",
     .window = popupMenu<&EncodingMenus::popupReopen>},
    separator("mnuFile"),
    {.name = "mnuFilePrint", .caption = "&Print...", .shortcut = "Ctrl+P", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.print(); }},
    separator("mnuFile"),
    {.name = "mnuFileExit", .caption = "E&xit", .shortcut = "Ctrl+Q", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.close(); }},

    {.name = "mnuEditUndo", .caption = "&Undo", .shortcut = "Ctrl+Z", .where = "mnuEdit", .boxKeys = true,
     .window = editCommand<&QPlainTextEdit::undo>},
    // The box knows Ctrl+Shift+Z; Ctrl+Y is the item's own.
    {.name = "mnuEditRedo", .caption = "R&edo", .shortcut = "Ctrl+Y; Ctrl+Shift+Z", .where = "mnuEdit",
     .window = editCommand<&QPlainTextEdit::redo>},
    separator("mnuEdit"),
    {.name = "mnuEditCut", .caption = "Cu&t", .shortcut = "Ctrl+X", .where = "mnuEdit", .boxKeys = true,
     .window = editCommand<&QPlainTextEdit::cut>},
    {.name = "mnuEditCopy", .caption = "&Copy", .shortcut = "Ctrl+C", .where = "mnuEdit", .boxKeys = true,
     .window = editCommand<&QPlainTextEdit::copy>},
    {.name = "mnuEditPaste", .caption = "&Paste", .shortcut = "Ctrl+V", .where = "mnuEdit", .boxKeys = true,
     .window = editCommand<&QPlainTextEdit::paste>},
    separator("mnuEdit"),
    {.name = "mnuFind", .caption = "&Find", .shortcut = "Ctrl+F", .where = "mnuEdit",
     .feature = [](FeatureContext &c) { openFindWindow(c); }},
    {.name = "mnuReplace", .caption = "&Replace", .shortcut = "Ctrl+H", .where = "mnuEdit",
     .feature = [](FeatureContext &c) { openFindWindow(c); }},
    {.name = "mnuFindInFiles", .caption = "Find in F&iles", .shortcut = "Ctrl+Shift+F", .where = "mnuEdit",
     .feature = [](FeatureContext &c) { openFindInFiles(c); }},
    {.name = "mnuUndoDirectoryReplace", .caption = "Undo Last Directory Replace",
     .where = "mnuEdit", .feature = undoLastDirectoryReplace},
    separator("mnuEdit"),
    {.name = "mnuInsertDate", .caption = "Insert &Date", .shortcut = "Ctrl+D", .where = "mnuEdit",
     .feature = [](FeatureContext &c) {
         if (const QString date = chooseDate(c); !date.isEmpty())
             insertText(c.edit, date);
     }},
    {.name = "mnuRefresh", .caption = "Refresh", .shortcut = "F5", .where = "mnuEdit",
     .window = [](MainWindow &w, int) { w.panes().refresh(); }},
    {.name = "mnuCheckSpelling", .caption = "&Check Spelling", .shortcut = "F7", .where = "mnuEdit",
     .window = [](MainWindow &w, int) { w.checkSpelling(); }},
    {.name = "mnuCheckPage", .caption = "Check Pa&ge", .shortcut = "F8", .where = "mnuEdit",
     .window = runCheck<checkPage>},
    {.name = "mnuCheckPHP", .caption = "Check P&HP", .shortcut = "Shift+F8", .where = "mnuEdit",
     .window = runCheck<checkPhp>},
    separator("mnuEdit"),
    {.name = "mnuGotoLine", .caption = "&Goto Line", .shortcut = "Ctrl+G", .where = "mnuEdit",
     .feature = goToLine},
    // Tags: completion at the caret, the innermost element's end tag, wrapping, selecting.
    separator("mnuEdit"),
    {.name = "mnuCompleteTag", .caption = "Complete &Tag", .shortcut = "Ctrl+Space", .where = "mnuEdit",
     .window = [](MainWindow &w, int) { w.sourceEdit().completeAtCaret(); }},
    {.name = "mnuCloseTag", .caption = "C&lose Tag", .shortcut = "Ctrl+Alt+.", .where = "mnuEdit",
     .window = [](MainWindow &w, int) { w.sourceEdit().closeInnermostTag(); }},
    {.name = "mnuWrapInTag", .caption = "&Wrap Selection In Tag", .shortcut = "Ctrl+Shift+W", .where = "mnuEdit",
     .window = [](MainWindow &w, int) { w.wrapSelectionInTag(); }},
    {.name = "mnuSelectElement", .caption = "Select Ele&ment", .shortcut = "Ctrl+Shift+A", .where = "mnuEdit",
     .window = [](MainWindow &w, int) { w.sourceEdit().selectElement(); }},

    {.name = "mnuBrowser", .caption = "&In Browser", .where = "mnuView",
     .feature = previewDocumentInChooser},
    separator("mnuView"),
    {.name = "mnuDefineBrowsers", .caption = "&Define Browsers", .where = "mnuView",
     .feature = [](FeatureContext &c) { defineBrowsers(c); }},
    {.name = "mnuUserButtons", .caption = "Define &User Buttons", .where = "mnuView",
     .window = [](MainWindow &w, int) { w.defineUserButtons(); }},
    {.name = "mnuFonts", .caption = "&Fonts", .where = "mnuView", .feature = chooseDisplayFont},
    {.name = "mnuViewPic", .caption = "&Picture", .where = "mnuView",
     .feature = [](FeatureContext &c) { showImageViewer(c); }},
    separator("mnuView"),
    {.name = "mnuOptions", .caption = "&Options", .where = "mnuView",
     .feature = [](FeatureContext &c) {
         showOptions(c, [&c] { registerHTMLFiles(c.platform, QCoreApplication::applicationFilePath()); });
     }},
    separator("mnuView"),
    {.name = "mnuViewColouring", .caption = "Syntax &Colouring", .where = "mnuView", .checkable = true,
     .window = [](MainWindow &w, int) { w.setColouring(!w.colouring()); }},
    {.name = "mnuViewLineNumbers", .caption = "&Line Numbers", .where = "mnuView", .checkable = true,
     .window = [](MainWindow &w, int) { w.setLineNumbers(!w.lineNumbers()); }},
    {.name = "mnuViewAddEndTags", .caption = "Add &End Tags", .shortcut = "Ctrl+Alt+E", .where = "mnuView", .checkable = true,
     .window = [](MainWindow &w, int) { w.setAddEndTags(!w.addEndTags()); }},
    {.name = "mnuViewLiveSpelling", .caption = "Live &Spelling", .shortcut = "Shift+F7", .where = "mnuView", .checkable = true,
     .window = [](MainWindow &w, int) { w.setLiveSpelling(!w.liveSpelling()); }},

    // The recent files: one control array; an empty caption shows as a blank line.
    {.name = "mnuRecentlyUsed", .caption = "", .where = "mnuRecent", .count = 10,
     .window = [](MainWindow &w, int k) { w.openRecentFile(k); }},

    {.name = "mnuHelpSearch", .caption = "&Search For Help On...", .where = "mnuHelp",
     .feature = [](FeatureContext &c) { showHelp(c); }},
    separator("mnuHelp"),
    {.name = "mnuHelpAbout", .caption = "&About Pagewick...", .where = "mnuHelp",
     .feature = [](FeatureContext &c) { showAbout(c); }},

    // The picture buttons; the gaps between their left edges group them.
    {.name = "cmdNew", .icon = "document-new", .tooltip = "New Document", .place = PictureBar, .left = 120,
     .window = [](MainWindow &w, int) { w.newDocument(); }},
    {.name = "cmdOpen", .icon = "document-open", .tooltip = "Open Document", .place = PictureBar, .left = 480,
     .window = [](MainWindow &w, int) { w.openDocument(); }},
    {.name = "cmdSave", .icon = "document-save", .tooltip = "Save Current Document", .place = PictureBar, .left = 840,
     .feature = [](FeatureContext &c) { c.document.save(); }},
    {.name = "cmdPrint", .icon = "document-print", .tooltip = "Print Current Document", .place = PictureBar, .left = 1320,
     .window = [](MainWindow &w, int) { w.print(); }},
    {.name = "cmdCut", .icon = "edit-cut", .tooltip = "Cut", .place = PictureBar, .left = 1800,
     .window = editCommand<&QPlainTextEdit::cut>},
    {.name = "cmdCopy", .icon = "edit-copy", .tooltip = "Copy", .place = PictureBar, .left = 2160,
     .window = editCommand<&QPlainTextEdit::copy>},
    {.name = "cmdPaste", .icon = "edit-paste", .tooltip = "Paste", .place = PictureBar, .left = 2520,
     .window = editCommand<&QPlainTextEdit::paste>},
    {.name = "cmdSpellCheck", .icon = "tools-check-spelling", .tooltip = "Check Spelling", .place = PictureBar, .left = 3000,
     .window = [](MainWindow &w, int) { w.checkSpelling(); }},
    {.name = "cmdIE", .icon = "browser-1", .tooltip = "View with Browser #1", .place = PictureBar, .left = 3480,
     .feature = [](FeatureContext &c) { previewDocument(c, Browser::First); }},
    {.name = "cmdNN", .icon = "browser-2", .tooltip = "View with Browser #2", .place = PictureBar, .left = 3840,
     .feature = [](FeatureContext &c) { previewDocument(c, Browser::Second); }},
    {.name = "cmdCommentBlock", .icon = "comment-block", .tooltip = "Comment Block of Code", .place = PictureBar,
     .left = 4320, .feature = [](FeatureContext &c) { commentBlock(c.edit, c.state.BlockComment); }},
    {.name = "cmdUnCommentBlock", .icon = "uncomment-block", .tooltip = "UnComment Block of Code", .place = PictureBar,
     .left = 4680, .feature = [](FeatureContext &c) { unCommentBlock(c.edit, c.state.BlockComment); }},
    {.name = "cmdVirtualPath", .icon = "virtual-path", .caption = "VP", .tooltip = "Map a Physical Path to a Virtual Path",
     .place = PictureBar, .left = 5160, .feature = [](FeatureContext &c) { editPathMapping(c); }},
    {.name = "cmdHelp", .icon = "help-contents|help-browser", .tooltip = "Help", .place = PictureBar, .left = -1,
     .feature = [](FeatureContext &c) { showHelp(c); }},

    // The toolbar pages' insertion rows, page by page; a vocabulary list sits just before the
    // button that inserts it.
    // Dialogs.
    {.name = "cmdFastAnchor", .caption = "Anchor", .tooltip = "Anchor Dialog", .place = Page, .where = kDialogs,
     .insert = {.kind = Dialog, .target = "frmAnchor", .before = BeforeDialog::PassSelection}},
    {.name = "cmdFastImage", .caption = "Image", .tooltip = "Image Dialog", .place = Page, .where = kDialogs,
     .insert = {.kind = Dialog, .close = "</IMG>", .target = "frmImage", .after = AfterDialog::WrapResult}},
    {.name = "cmdFastTable", .caption = "Table", .tooltip = "Table Dialog", .place = Page, .where = kDialogs,
     .insert = {.kind = Dialog, .target = "frmTables"}},
    {.name = "cmdFastList", .caption = "List", .tooltip = "List Dialog", .place = Page, .where = kDialogs,
     .insert = {.kind = Dialog, .target = "frmLists", .after = AfterDialog::InsertList}},
    {.name = "cmdFastLine", .caption = "Line", .tooltip = "Line Dialog", .place = Page, .where = kDialogs,
     .insert = {.kind = Dialog, .target = "frmHR", .after = AfterDialog::WrapResult}},
    {.name = "cmdFastColor", .caption = "Color", .tooltip = "Color Dialog", .place = Page, .where = kDialogs,
     .insert = {.kind = Dialog, .target = "frmColors", .after = AfterDialog::InsertColor}},
    {.name = "cmdComment", .caption = "Comment", .tooltip = "Comment Dialog", .place = Page, .where = kDialogs,
     .insert = {.kind = Dialog, .target = "frmComment", .before = BeforeDialog::PassSelection}},
    {.name = "cmdMarquee", .caption = "Marquee", .tooltip = "IE Marquee", .place = Page, .where = kDialogs,
     .insert = {.kind = Dialog, .target = "frmMarquee", .before = BeforeDialog::PassSelection}},
    {.name = "cmdFastMail", .caption = "Mail", .tooltip = "Mail Dialog", .place = Page, .where = kDialogs,
     .insert = {.kind = Pair, .open = "<A Href=\"MAILTO:%1\">", .close = "</A>", .prompts = {{{"Please Enter The E-Mail Address Below", "E-Mail Dialog"}}}, .trimAnswers = true, .stopIfEmpty = true}},

    // Formatting (the headings list sits first on this page).
    {.name = "cmdBold", .caption = "B", .tooltip = "Bold", .place = Page, .where = kFormatting,
     .insert = {.kind = IdPair, .open = "B", .idWord = "BoldID"}},
    {.name = "cmdItallic", .caption = "I", .tooltip = "Itallic", .place = Page, .where = kFormatting,
     .insert = {.kind = IdPair, .open = "I", .idWord = "ItallicsID"}},
    {.name = "cmdUnderline", .caption = "U", .tooltip = "Underline", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "<U>", .close = "</U>"}},
    {.name = "cmdEM", .caption = "EM", .tooltip = "Emphasis", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "<EM>", .close = "</EM>"}},
    {.name = "cmdStrong", .caption = "Strong", .tooltip = "Strong Emphasis", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "<STRONG>", .close = "</STRONG>"}},
    {.name = "cmdSub", .caption = "Sub", .tooltip = "SubScript", .place = Page, .where = kFormatting,
     .insert = {.kind = IdPair, .open = "SUB", .idWord = "SubID"}},
    {.name = "cmdSup", .caption = "Sup", .tooltip = "SuperScript", .place = Page, .where = kFormatting,
     .insert = {.kind = IdPair, .open = "SUP", .idWord = "SupID"}},
    {.name = "cmdPRE", .caption = "Pre", .tooltip = "PreFormatted Text", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "<PRE>", .close = "</PRE>"}},
    {.name = "cmdParagraph", .caption = "P", .tooltip = "Paragraph", .place = Page, .where = kFormatting,
     .insert = {.kind = IdPair, .open = "P", .idWord = "ParagraphID"}},
    {.name = "cmdBR", .caption = "BR", .tooltip = "Line Break", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "<BR>"}},
    {.name = "cmdHRTag", .caption = "HR", .tooltip = "HR - Horizontal Line", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "<HR>"}},
    {.name = "cmdCenter", .caption = "Center", .tooltip = "Center Align", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "<CENTER>", .close = "</CENTER>"}},
    {.name = "cmdLeft", .caption = "Left", .tooltip = "Left Align", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "Align=Left"}},
    {.name = "cmdRight", .caption = "Right", .tooltip = "Right Align", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "Align=Right"}},
    {.name = "cmdTitle", .caption = "Title", .tooltip = "Title", .place = Page, .where = kFormatting,
     .insert = {.kind = Pair, .open = "<TITLE>", .close = "</TITLE>"}},

    // Fonts, frames and forms.
    {.name = "cmdFontFace", .caption = "Face", .tooltip = "Font Face", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Pair, .open = "<FONT Face=\"%1\">", .close = "</FONT>", .prompts = {{{"Font:", "Font Dialog", "Arial"}}}}},
    {.name = "cmdFontColor", .caption = "Color", .tooltip = "Font Color", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Pair, .open = "<FONT Color=\"%1\">", .close = "</FONT>", .prompts = {{{"Color:", "Font Dialog", "Blue"}}}}},
    {.name = "cmdFontUp", .caption = "Font +1", .tooltip = "Font Size Up One", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Pair, .open = "<FONT Size=\"+1\">", .close = "</FONT>"}},
    {.name = "cmdFontDown", .caption = "Font -1", .tooltip = "Font Size Down One", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Pair, .open = "<FONT Size=\"-1\">", .close = "</FONT>"}},
    {.name = "cmdFrameset", .caption = "Frameset", .tooltip = "Frame Set", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Pair, .open = "<FRAMESET>", .close = "</FRAMESET>"}},
    {.name = "cmdFrame", .caption = "Frame", .tooltip = "Frame", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Pair, .open = "<FRAME>", .close = "</FRAME>"}},
    {.name = "cmdNoFrame", .caption = "NoFrames", .tooltip = "No Frame", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Pair, .open = "<NOFRAMES>", .close = "</NOFRAMES>"}},
    {.name = "cmdForm", .caption = "Form", .tooltip = "New Form", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Pair, .open = "<FORM Action=\"%1\" Method=\"%2\" Name=\"%3\">", .close = "</FORM>", .prompts = {{{"URL:"}, {"Method:", "Method Dialog", "GET"}, {"Name:"}}}}},
    {.name = "cmdTextbox", .caption = "Text", .tooltip = "TextBox", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Text, .open = "<INPUT Type=\"Text\" Name=\"%1\" Value=\"%2\"></INPUT>", .prompts = kNameValue}},
    {.name = "cmdPassword", .caption = "Password", .tooltip = "Password", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Text, .open = "<INPUT Type=\"Password\" Name=\"%1\" Value=\"%2\"></INPUT>", .prompts = kNameValue}},
    {.name = "cmdTextArea", .caption = "TextArea", .tooltip = "TextArea", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Pair, .open = "<TEXTAREA>", .close = "</TEXTAREA>"}},
    {.name = "cmdCheckBox", .caption = "Check", .tooltip = "CheckBox", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Text, .open = "<INPUT Type=\"Checkbox\" Name=\"%1\" Value=\"%2\"></INPUT>", .prompts = kNameValue}},
    {.name = "cmdRadio", .caption = "Radio", .tooltip = "Radio Button", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Text, .open = "<INPUT Type=\"Radio\" Name=\"%1\" Value=\"%2\"></INPUT>", .prompts = kNameValue}},
    {.name = "cmdButton", .caption = "Button", .tooltip = "Command Button", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Text, .open = "<INPUT Type=\"Button\" Name=\"%1\" Value=\"%2\"></INPUT>", .prompts = kNameValue}},
    {.name = "cmdHidden", .caption = "Hidden", .tooltip = "Hidden", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = Text, .open = "<INPUT Type=\"Hidden\" Name=\"%1\" Value=\"%2\"></INPUT>", .prompts = kNameValue}},
    {.name = "cmdSelect", .caption = "Select", .tooltip = "Select", .place = Page, .where = kFontsFramesForms,
     .insert = {.kind = ListSkeleton, .open = "<SELECT Name=\"%1\">", .close = "</SELECT>", .item = "   <Option>", .prompts = {{{"Name:"}}}, .countCaption = "How Many Items In The Select?"}},

    // Lists and tables. The caret goes just after the first item's opening tag: head line,
    // CR LF, three blanks and the four characters of "<LI>" or "<DT>".
    {.name = "cmdOL", .caption = "OL", .tooltip = "Ordered List", .place = Page, .where = kListsTables,
     .insert = {.kind = ListSkeleton, .open = "<OL>", .close = "</OL>", .item = "   <LI></LI>", .caretOffset = 13}},
    {.name = "cmdUL", .caption = "UL", .tooltip = "Unordered List", .place = Page, .where = kListsTables,
     .insert = {.kind = ListSkeleton, .open = "<UL>", .close = "</UL>", .item = "   <LI></LI>", .caretOffset = 13}},
    {.name = "cmdLI", .caption = "LI", .tooltip = "List Item", .place = Page, .where = kListsTables,
     .insert = {.kind = Pair, .open = "<LI>", .close = "</LI>"}},
    {.name = "cmdDL", .caption = "DL", .tooltip = "Definition List", .place = Page, .where = kListsTables,
     .insert = {.kind = ListSkeleton, .open = "<DL>", .close = "</DL>", .item = "   <DT><DD>", .caretOffset = 13}},
    {.name = "cmdDT", .caption = "DT", .tooltip = "Definition Term", .place = Page, .where = kListsTables,
     .insert = {.kind = Pair, .open = "<DT>"}},
    {.name = "cmdDD", .caption = "DD", .tooltip = "Definition", .place = Page, .where = kListsTables,
     .insert = {.kind = Pair, .open = "<DD>"}},
    {.name = "cmdTableTag", .caption = "Table", .tooltip = "New Table", .place = Page, .where = kListsTables,
     .insert = {.kind = Pair, .open = "<TABLE>", .close = "</TABLE>"}},
    {.name = "cmdCaption", .caption = "Caption", .tooltip = "Table Caption", .place = Page, .where = kListsTables,
     .insert = {.kind = Pair, .open = "<CAPTION>", .close = "</CAPTION>"}},
    {.name = "cmdTR", .caption = "TR", .tooltip = "Table Row", .place = Page, .where = kListsTables,
     .insert = {.kind = Pair, .open = "<TR>", .close = "</TR>"}},
    {.name = "cmdTH", .caption = "TH", .tooltip = "Table Heading", .place = Page, .where = kListsTables,
     .insert = {.kind = Pair, .open = "<TH>", .close = "</TH>"}},
    {.name = "cmdTD", .caption = "TD", .tooltip = "Table Data", .place = Page, .where = kListsTables,
     .insert = {.kind = Pair, .open = "<TD>", .close = "</TD>"}},

    // The vocabulary lists' insert buttons sit just after their lists.
    {.name = "cmdInsert", .caption = "Insert", .tooltip = "Insert Current Tag", .place = Page, .where = kAllTags,
     .insert = {.kind = Vocabulary, .target = "cboTags"}},
    {.name = "cmdDHTMLInsert", .caption = "Insert", .tooltip = "Insert", .place = Page, .where = kDHTML,
     .insert = {.kind = Vocabulary, .target = "cboDHTML"}},

    // CSS.
    {.name = "cmdCSSInsert", .caption = "Insert", .place = Page, .where = kCSS,
     .insert = {.kind = Vocabulary, .target = "cboCSS"}},
    {.name = "cmdStyle", .caption = "Style", .tooltip = "<STYLE></STYLE>", .place = Page, .where = kCSS,
     .insert = {.kind = Pair, .open = "<STYLE>", .close = "</STYLE>"}},
    {.name = "cmdDIVStyle", .caption = "DIV Style", .tooltip = "<DIV Style></DIV>", .place = Page, .where = kCSS,
     .insert = {.kind = Pair, .open = "<DIV Style=\"\">", .close = "</DIV>"}},
    {.name = "cmdCSSLink", .caption = "Link", .tooltip = "CSS Link Tag", .place = Page, .where = kCSS,
     .insert = {.kind = Text, .open = "<LINK Rel=\"StyleSheet\" Type=\"text/css\" Href=\"%1\" Title=\"%2\">\r\n", .prompts = {{{"Href:"}, {"Title:"}}}}},
    {.name = "cmdCSSImport", .caption = "@import", .tooltip = "@ Import", .place = Page, .where = kCSS,
     .insert = {.kind = Text, .open = "@import URL(\"%1\");\r\n", .prompts = {{{"URL:"}}}}},

    // JavaScript.
    {.name = "cmdJavaScript", .caption = "Script", .tooltip = "JavaScript", .place = Page, .where = kJavaScript,
     .insert = {.kind = Text, .open = "<SCRIPT Language=\"JavaScript1.2\">\r\n<!-- \r\n\r\n\r\n// -->\r\n</SCRIPT>"}},
    {.name = "cmdJSComments", .caption = "/* */", .tooltip = "Multiline Comments", .place = Page, .where = kJavaScript,
     .insert = {.kind = Pair, .open = "/* ", .close = " */"}},
    {.name = "cmdJSDate", .caption = "Date", .tooltip = "Inserts JavaScript Date", .place = Page, .where = kJavaScript,
     .insert = {.kind = Text, .open = "window.document.write(Date())"}},
    {.name = "cmdJSTime", .caption = "Time", .tooltip = "Inserts JavaScript Time", .place = Page, .where = kJavaScript,
     .insert = {.kind = Text, .open = "window.document.write(Time())"}},
    {.name = "cmdJSFormVal", .caption = "Validate", .tooltip = "JavaScript Form Control Validation", .place = Page, .where = kJavaScript,
     .insert = {.kind = Dialog, .target = "frmValControls", .before = BeforeDialog::ChooseJavaScript}},

    // ColdFusion.
    {.name = "cmdCFOUTPUT", .caption = "Output", .tooltip = "CFOUTPUT", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFOUTPUT>", .close = "</CFOUTPUT>"}},
    {.name = "cmdCFQuery", .caption = "Query", .tooltip = "CF Query", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFQUERY>", .close = "</CFQUERY>"}},
    {.name = "cmdCFIf", .caption = "If", .tooltip = "CFIF", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFIF>", .close = "</CFIF>"}},
    {.name = "cmdNumSign", .caption = "# #", .tooltip = "# ... #", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "#", .close = "#"}},
    // The parameter name is the main window's Tag text, which the program leaves empty: the
    // author types the name between the quotes.
    {.name = "cmdCFParam", .caption = "Param", .tooltip = "CF Parameter", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFPARAM Name=\"%w\"> ", .close = "\""}},
    {.name = "cmdCFInsert", .caption = "Insert", .tooltip = "CF Insert", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFINSERT>", .close = "</CFINSERT>"}},
    {.name = "cmdCFUpdate", .caption = "Update", .tooltip = "CF Update", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFUPDATE>", .close = "</CFUPDATE>"}},
    {.name = "cmdCFTable", .caption = "Table", .tooltip = "CF Table", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFTABLE>", .close = "</CFTABLE>"}},
    {.name = "cmdCFReport", .caption = "Report", .tooltip = "CF Report", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFREPORT>", .close = "</CFREPORT>"}},
    {.name = "cmdCFFile", .caption = "File", .tooltip = "CF File", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFFILE>", .close = "</CFFILE>"}},
    {.name = "cmdCFCookie", .caption = "Cookie", .tooltip = "CF Cookie", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFCOOKIE>", .close = "</CFCOOKIE>"}},
    {.name = "cmdCFExit", .caption = "Exit", .tooltip = "CF Exit", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFEXIT>"}},
    {.name = "cmdAbort", .caption = "Abort", .tooltip = "CF Abort", .place = Page, .where = kCFML,
     .insert = {.kind = Pair, .open = "<CFABORT>"}},

    // VBScript.
    {.name = "cmdVBScript", .caption = "Script", .tooltip = "Visual Basic Script", .place = Page, .where = kVBScript,
     .insert = {.kind = Text, .open = "<SCRIPT Language=\"VBScript\">\r\n<!-- \r\n\r\n\r\n-->\r\n</SCRIPT>"}},
    {.name = "cmdVBDate", .caption = "Date", .tooltip = "Inserts VBScript Date", .place = Page, .where = kVBScript,
     .insert = {.kind = Text, .open = "Document.Write Date()"}},
    {.name = "cmdVBTime", .caption = "Time", .tooltip = "Inserts VBScript Time", .place = Page, .where = kVBScript,
     .insert = {.kind = Text, .open = "Document.Write Time()"}},
    {.name = "cmdVBFormVal", .caption = "Validate", .tooltip = "VBScript Form Control Validation", .place = Page, .where = kVBScript,
     .insert = {.kind = Dialog, .target = "frmValControls", .before = BeforeDialog::ChooseVBScript}},

    // PHP. The five blanks after an opening brace indent the body the caret lands in.
    {.name = "cmdPHPOpening", .caption = "<? ?>", .tooltip = "<?  ?>", .place = Page, .where = kPHP,
     .insert = {.kind = Pair, .open = "<? ", .close = " ?>"}},
    {.name = "cmdPHPPrint", .caption = "print()", .tooltip = "Print ()", .place = Page, .where = kPHP,
     .insert = {.kind = Pair, .open = "print(\"", .close = "\");"}},
    {.name = "cmdPHPIF", .caption = "if else", .tooltip = "PHP If...Then...Else", .place = Page, .where = kPHP,
     .insert = {.kind = Pair, .open = "if (%1) {\r\n     ", .close = "\r\n}\r\nelse\r\n{\r\n\r\n}", .prompts = {{{"Expression:"}}}}},
    {.name = "cmdPHPFunction", .caption = "function", .tooltip = "PHP Function", .place = Page, .where = kPHP,
     .insert = {.kind = Pair, .open = "function %1() {\r\n     ", .close = "\r\n\r\n}", .prompts = {{{"Function Name:"}}}}},
    {.name = "cmdPHPComment", .caption = "/* */", .tooltip = "Multiline Comments", .place = Page, .where = kPHP,
     .insert = {.kind = Pair, .open = "/* ", .close = " */"}},
    {.name = "cmdPHPLM", .caption = "Modified", .tooltip = "Gets Last Modified Date", .place = Page, .where = kPHP,
     .insert = {.kind = Text, .open = "<?\r\n\r\nprint(\"Last Modified: \". date(\"D m/d/Y h:i:s a\", "
             "filemtime($PATH_TRANSLATED));\r\n\r\n?>"}},
    {.name = "cmdPHPCheckBrowser", .caption = "Browser", .tooltip = "Which Browser Is Being Used", .place = Page, .where = kPHP,
     .insert = {.kind = NoAction}},
    {.name = "cmdInsertHTMLClass", .caption = "Insert", .tooltip = "Insert HTML_Class Statments", .place = Page, .where = kPHP,
     .insert = {.kind = Vocabulary, .target = "cboHTMLClass"}},

    // ASP.
    {.name = "cmdASPScript", .caption = "Script", .tooltip = "ASP Script Tag", .place = Page, .where = kASP,
     .insert = {.kind = Text, .open = "<SCRIPT RUNAT=\"Server\" Language=\"VBScript\">\r\n<!-- \r\n\r\n\r\n// -->\r\n"
             "</SCRIPT>"}},
    {.name = "cmdASPInserts", .caption = "<% %>", .tooltip = "ASP Insert Symbols", .place = Page, .where = kASP,
     .insert = {.kind = Pair, .open = "<% ", .close = " %>"}},
    {.name = "cmdASPInsertEquals", .caption = "<%= %>", .tooltip = "ASP Insert Variable", .place = Page, .where = kASP,
     .insert = {.kind = Pair, .open = "<%= ", .close = " %>"}},
    {.name = "cmdInclude", .caption = "Include", .tooltip = "ASP Include", .place = Page, .where = kASP,
     .insert = {.kind = Pair, .open = "<!--#INCLUDE FILE = \"", .close = "\"-->"}},
    {.name = "cmdASPDropIn", .caption = "Insert", .tooltip = "Insert ASP", .place = Page, .where = kASP,
     .insert = {.kind = Vocabulary, .target = "cboASP"}},

    // Generators and tools on the toolbar pages, after the insertion rows of their page.
    {.name = "cmdEasyBegin", .caption = "Jump Start", .tooltip = "Jump Start", .place = Page,
     .where = pages::kDialogs, .feature = runPageWizard},
    {.name = "cmdFrameDialog", .caption = "Frames", .tooltip = "Frame Dialog", .place = Page,
     .where = pages::kDialogs, .feature = runFramesetDialog},
    {.name = "cmdFileManDialog", .caption = "Listing", .tooltip = "File Management Dialog",
     .place = Page, .where = pages::kDialogs,
     .feature = [](FeatureContext &c) { openExportWizard(c); }},
    {.name = "cmdDirDialog", .icon = "directory-replace", .tooltip = "Directory Replace Dialog",
     .place = Page, .where = pages::kDialogs,
     .feature = [](FeatureContext &c) { runDirectoryReplace(c); }},
    {.name = "cmdRTFDialog", .icon = "rtf-convert", .tooltip = "RTF to HTML Conversion Dialog",
     .place = Page, .where = pages::kDialogs,
     .feature = [](FeatureContext &c) { runRTFDialog(c); }},
    {.name = "cmdLowerCase", .icon = "lower-case", .tooltip = "Convert Filenames To Lower Case Dialog", .place = Page, .where = pages::kDialogs,
     .feature = [](FeatureContext &c) { openLowerCase(c); }},
    {.name = "cmdJSMenu", .caption = "Menu", .tooltip = "JavaScript Menu Dialog", .place = Page,
     .where = pages::kJavaScript, .feature = [](FeatureContext &c) { runJsMenuDialog(c); }},
    {.name = "cmdJSAd", .caption = "Ad", .tooltip = "Ad Rotator Script", .place = Page,
     .where = pages::kJavaScript, .feature = insertAdRotator},
    {.name = "cmdJSStatusScroll", .caption = "Scroller", .tooltip = "Status Bar Scroller",
     .place = Page, .where = pages::kJavaScript, .feature = insertStatusScroller},
    {.name = "cmdPHPDataDialog", .caption = "Database", .tooltip = "PHP Database Dialog",
     .place = Page, .where = pages::kPHP,
     .feature = [](FeatureContext &c) { runPhpDataDialog(c); }},
    {.name = "cmdCopyINC", .caption = "Copy INC", .tooltip = "Copy The HTML_Class Include File",
     .place = Page, .where = pages::kPHP, .feature = copyIncludeFile},
    // The ten user buttons share one name and carry their index; captions "1" to "10".
    {.name = "cmdUD", .place = Page, .where = pages::kUser, .count = 10,
     .window = [](MainWindow &w, int k) {
         FeatureContext c = w.featureContext();
         runUserButton(c, k);
     }},
};

// clang-format on

} // namespace

std::span<const Command> commandTable()
{
    return kCommands;
}

const Command *findCommand(const QString &name)
{
    for (const Command &row : kCommands) {
        if (row.name && name == QLatin1String(row.name))
            return &row;
    }
    return nullptr;
}

} // namespace pw
