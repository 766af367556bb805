#pragma once
// frmPHPDataDialog: writes the PHP pages over one table of an ODBC data source into a chosen
// directory, and saves or loads the dialog's inputs as a definition file. It never touches
// the document.
#include "generators/php_data_markup.h"
#include "shared/safe_write.h"

#include <QDialog>
#include <map>

class QCheckBox;
class QLineEdit;

namespace pw {

class DirectoryList;
class Platform;
struct FeatureContext;

class PhpDataDialog : public QDialog {
    Q_OBJECT
public:
    explicit PhpDataDialog(FeatureContext &context, QWidget *parent = nullptr);

    // What the boxes hold now.
    PhpDataFields fields() const;
    // The directory the pages go into.
    QString targetDirectory() const;

    void create();
    void save();
    void load();

private:
    // One file written whole, with the busy pointer while it is written.
    bool writeFile(const QString &path, const QString &text, FileAccess access, QString *error);

    Platform &platform_;
    QLineEdit *txtDSN_;
    QLineEdit *txtUserName_;
    QLineEdit *txtPassword_;
    QLineEdit *txtTable_;
    QLineEdit *txtFields_;
    DirectoryList *directory_ = nullptr;
    std::map<int, QCheckBox *> chkPages_; // by index: 0 Add, 1 Update, 3 Delete, 4 List All, 5 Menu
};

// The toolbar command: shows the dialog modally over the main window.
void runPhpDataDialog(FeatureContext &context);

} // namespace pw
