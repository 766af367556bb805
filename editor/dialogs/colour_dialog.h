#pragma once
// frmColors: one quoted colour value, a named colour or one picked in the system picker, handed
// back in colorResult. colorResult holds "-1" (nothing to insert) until "Insert Color" is
// pressed, so a colour picked and then left by Cancel or the window's close box is not inserted.
#include "shared/dialog_parts.h"

#include <QDialog>

class QCheckBox;
class QListWidget;

namespace pw {

class Platform;
struct ProgramState;

class ColourDialog : public QDialog {
    Q_OBJECT
public:
    ColourDialog(ProgramState &state, Platform &platform, QWidget *parent = nullptr);

private:
    ProgramState &state_;
    ColourPicker picker_;
    QCheckBox *useName_;
    QListWidget *names_;
    ColourSwatch *swatch_;
};

} // namespace pw
