#pragma once
// frmTables: lays out a table of up to 20 by 20 cells with a text per cell and attributes for
// the whole table, and hands the finished table back in dialogResult.
#include "dialogs/tag_markup.h"
#include "shared/dialog_parts.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QTableWidget;
class QTableWidgetItem;

namespace pw {

class Platform;
struct ProgramState;

class TableDialog : public QDialog {
    Q_OBJECT
public:
    TableDialog(ProgramState &state, Platform &platform, QWidget *parent = nullptr);

    // The fields as they stand now.
    TableFields fields() const;

private:
    void resizeGrid();
    void showCell(int row, int column);
    void saveCell();
    void cellEdited(QTableWidgetItem *item);
    void showWhole(QTableWidgetItem *item);

    ProgramState &state_;
    ColourPicker picker_;
    TableCells cells_; // the texts live here; the grid only shows them
    QTableWidget *grid_;
    QSlider *rows_;
    QSlider *columns_;
    QLabel *coord_;
    QLineEdit *cellText_;
    QLineEdit *width_;
    QLineEdit *borderWidth_;
    QLineEdit *cellSpacing_;
    QLineEdit *cellPadding_;
    QComboBox *align_;
    QComboBox *vAlign_;
    QLineEdit *caption_;
    ColourSwatch *swatch_;
};

} // namespace pw
