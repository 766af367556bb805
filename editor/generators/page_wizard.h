#pragma once
// frmJumpStart: a new page from a title, a background image and five body colours. Its page
// goes back in dialogResult (empty when nothing is to be made); cmdEasyBegin makes it the new
// untitled document.
#include "document/feature_context.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;

namespace pw {

class ColourPicker;
class ColourSwatch;
struct PageFields;
struct ProgramState;

class PageWizard : public QDialog {
    Q_OBJECT
public:
    PageWizard(ProgramState &state, Platform &platform, QWidget *parent = nullptr);
    ~PageWizard() override;

    // The choices as the controls show them now.
    PageFields fields() const;

private:
    void changeColour(int index);
    void paintPreview();

    ProgramState &state_;
    std::unique_ptr<ColourPicker> picker_;
    QLineEdit *title_;
    QLineEdit *image_;
    std::vector<ColourSwatch *> swatches_;
    QFrame *preview_;
    std::vector<QLabel *> previewTexts_;
};

// The steps both page generators open with: the Yes/No save prompt asked with `promptText`
// (a Yes whose save did not happen ends here), the dialog `make` builds, and its page, when
// it hands one back in dialogResult, as the new untitled document.
void openNewPage(FeatureContext &context, const QString &promptText,
                 const std::function<std::unique_ptr<QDialog>()> &make);

// cmdEasyBegin.
void runPageWizard(FeatureContext &context);

} // namespace pw
