#pragma once
// frmLists: the kind of list, the numbering of an ordered list and the number of items, handed
// back in listKind (-1 when nothing is to be inserted), listNumbering and listItemCount.
#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QSlider;

namespace pw {

struct ProgramState;

class ListDialog : public QDialog {
    Q_OBJECT
public:
    explicit ListDialog(ProgramState &state, QWidget *parent = nullptr);

private:
    ProgramState &state_;
    QButtonGroup *kind_;
    QButtonGroup *numbering_;
    QGroupBox *options_;
    QSlider *slider_;
};

// The numbering an ordered list gets for "Start With" option 0..3; empty for any other.
QString listNumberingFor(int option);

} // namespace pw
