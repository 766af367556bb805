#pragma once
// frmJSMenu: edits a menu outline, keeps it in its text file and turns it into a page with a
// collapsible script menu, with the menu's support files beside it. Modal; the document is
// not touched.
#include "files/text_file.h"
#include "shared/edit_box.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace pw {

class FilePanes;
class Platform;
struct FeatureContext;

class JsMenuDialog : public QDialog {
    Q_OBJECT
public:
    explicit JsMenuDialog(FeatureContext &context, QWidget *parent = nullptr);

    // True unless the last File menu action was Open Existing Menu: the outline's browse
    // button then asks for a file to open rather than a name to save under.
    bool newMenuMode() const { return newMenuMode_; }

    void browseOutline();
    void browsePage();
    void loadOutline();
    void saveOutline();
    void createMenu();
    void showHelp();

private:
    // The outline file's path; empty, after a message with this title and text, when none
    // is given.
    QString outlinePath(const char *title, const char *text);
    QString paneDirectory() const;

    Platform &platform_;
    QString programFolder_;
    const FilePanes *panes_; // the main window's panes, where the pickers start
    QLineEdit *txtImportFile_ = nullptr;
    QLineEdit *txtExportFile_ = nullptr;
    QPlainTextEdit *rtfEdit_ = nullptr;
    EditBox outline_;
    // The character set of the outline file last loaded; the outline and the page are
    // written in it while every character fits.
    TextEncoding outlineEncoding_;
    bool newMenuMode_ = true;
};

// The toolbar command: shows the dialog modally.
void runJsMenuDialog(FeatureContext &context);

} // namespace pw
