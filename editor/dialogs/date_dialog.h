#pragma once
// frmDate: ten ways of writing today's date; the chosen one goes back in dateText (empty when
// nothing is to be inserted).
#include <QDateTime>
#include <QDialog>

class QListWidget;

namespace pw {

struct ProgramState;

class DateDialog : public QDialog {
    Q_OBJECT
public:
    // The entries are written for `now` in the default locale.
    DateDialog(ProgramState &state, const QDateTime &now, QWidget *parent = nullptr);

private:
    ProgramState &state_;
    QListWidget *dates_;
};

} // namespace pw
