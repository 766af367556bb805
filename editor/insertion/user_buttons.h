#pragma once
// The ten user-defined buttons: their texts in the settings store (UDO1..UDO10 opening,
// UDC1..UDC10 closing, under "Settings"), their tooltips, and frmUD, where they are defined.
#include <QDialog>
#include <array>

class QLineEdit;

namespace pw {

class SettingsStore;
struct FeatureContext;
struct ProgramState;

inline constexpr int kUserButtonCount = 10;

// Reads UDO1..UDO10 into userOpenTags, then UDC1..UDC10 into userCloseTags ("" if absent).
void loadUserButtons(ProgramState &state, const SettingsStore &settings);
// Writes the twenty keys from the arrays, the opening texts first.
void saveUserButtons(const ProgramState &state, SettingsStore &settings);
// The tooltip of button k (0..9): its opening and closing texts joined by one blank, or
// "Not Defined" while its opening text is empty.
QString userButtonToolTip(const ProgramState &state, int k);
// User button k (0..9): its opening and closing texts around the selection.
void runUserButton(FeatureContext &context, int k);

// frmUD. Shows the ten pairs; Save copies the boxes into the arrays exactly as typed and
// closes (accepted); Cancel closes without copying (rejected).
class UserButtonsDialog : public QDialog {
    Q_OBJECT
public:
    explicit UserButtonsDialog(ProgramState &state, QWidget *parent = nullptr);

private:
    void save();

    ProgramState &state_;
    std::array<QLineEdit *, kUserButtonCount> txtUDO_{};
    std::array<QLineEdit *, kUserButtonCount> txtUDC_{};
};

} // namespace pw
