#pragma once
// frmValControls: a check of one form control's value, written as a JavaScript or VBScript
// block that shows a message when the chosen comparison holds; handed back in dialogResult.
#include "dialogs/tag_markup.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace pw {

struct ProgramState;

class ValidationDialog : public QDialog {
    Q_OBJECT
public:
    explicit ValidationDialog(ProgramState &state, QWidget *parent = nullptr);

    ValidationFields fields() const;

private:
    ProgramState &state_;
    QLineEdit *controlName_;
    QButtonGroup *comparison_;
    QLineEdit *value_;
    QLineEdit *message_;
    QComboBox *controlType_;
    QButtonGroup *language_;
};

} // namespace pw
