#pragma once
// frmImage: the attributes of one image tag. The opening tag goes back in dialogResult; the
// command that opened the dialog puts it and the closing tag around the selection.
#include "dialogs/tag_markup.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLineEdit;

namespace pw {

struct ProgramState;

class ImageDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImageDialog(ProgramState &state, QWidget *parent = nullptr);

    ImageFields fields() const;

private:
    ProgramState &state_;
    std::vector<QLineEdit *> attributes_; // txtAttib(0..8)
    QComboBox *align_;
    QLineEdit *id_;
};

} // namespace pw
