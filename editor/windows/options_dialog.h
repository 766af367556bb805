#pragma once
// frmMainOptions: the tag options, the block comment symbol and the button that makes
// Pagewick the "Edit with Pagewick" program for HTML files. OK stores the options; closing
// the window any other way stores nothing.
#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;

namespace pw {

struct FeatureContext;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Opening re-reads the two tag options from the store into the program-wide options.
    // `registerFiles` is what cmdRegister runs (it reports by itself).
    OptionsDialog(FeatureContext &context, std::function<void()> registerFiles,
                  QWidget *parent = nullptr);

    // cmdOK: the options are stored and used from now on; the window closes.
    void storeOptions();

private:
    FeatureContext &context_;
    QCheckBox *chkID_;
    QCheckBox *chkHeightWidth_;
    QLineEdit *txtCommentSymbol_;
};

// The Options menu item.
void showOptions(FeatureContext &context, std::function<void()> registerFiles);

} // namespace pw
