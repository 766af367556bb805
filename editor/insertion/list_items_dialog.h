#pragma once
// frmListItems: asks how many items a list skeleton gets. OK stores the slider's value in
// listItemCount; closing the window any other way keeps the count confirmed last.
#include <QDialog>

class QLabel;
class QSlider;

namespace pw {

struct ProgramState;

class ListItemsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ListItemsDialog(ProgramState &state, QWidget *parent = nullptr);

private:
    ProgramState &state_;
    QSlider *slider_;
    QLabel *count_ = nullptr;
};

} // namespace pw
