#pragma once
// The three small windows of the browser preview:
//   frmBrowser      picks one of the two browsers to show a file in (no mapping applied);
//   frmOptions      names the two browsers' programs;
//   frmVirtualPath  edits the mapping from a local directory to a URL.
#include "windows/preview.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace pw {

struct FeatureContext;

class BrowserChooser : public QDialog {
    Q_OBJECT
public:
    // `path` is the file to show; blanks around it are dropped unless a file is named so.
    // The label names what is shown: the document or the help file.
    BrowserChooser(FeatureContext &context, const QString &path, Showing showing,
                   QWidget *parent = nullptr);

    // cmdIE and cmdNetscape: starts the browser on the file and closes the window, or says
    // why not. The window stays open while the browser is not named or not there.
    void showIn(Browser browser);

private:
    FeatureContext &context_;
    QString path_;
};

class BrowserDefinitions : public QDialog {
    Q_OBJECT
public:
    explicit BrowserDefinitions(FeatureContext &context, QWidget *parent = nullptr);

    // The "..." buttons: a picked program goes into the browser's box.
    void browse(Browser browser);
    // cmdDone: when a box names a path that is no program (missing, not a file, not
    // executable), a message says which and why, and the window stays open on that box with
    // nothing stored. Otherwise each box that names a program becomes that browser's (stored
    // and used from now on), an empty box changes nothing, and the window closes.
    void storeBrowsers();

private:
    QLineEdit *box(Browser browser) const;

    FeatureContext &context_;
    QLineEdit *txtIE_;
    QLineEdit *txtNN_;
};

class PathMappingDialog : public QDialog {
    Q_OBJECT
public:
    explicit PathMappingDialog(const PathMapping &mapping, QWidget *parent = nullptr);

    // The mapping as the boxes show it, text as typed.
    PathMapping mapping() const;

private:
    QLineEdit *txtPhysicalPath_;
    QLineEdit *txtVirtualPath_;
    QCheckBox *chkUseVPath_;
};

} // namespace pw
