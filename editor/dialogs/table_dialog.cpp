#include "dialogs/table_dialog.h"

#include "shared/dialog_parts.h"
#include "shared/named_widgets.h"
#include "shared/program_state.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSlider>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>

namespace pw {

namespace {

constexpr int kMaxSize = 20;

QSlider *sizeSlider(const char *name, Qt::Orientation orientation)
{
    auto *slider = new QSlider(orientation);
    slider->setObjectName(QString::fromUtf8(name));
    slider->setRange(1, kMaxSize);
    slider->setValue(1);
    slider->setPageStep(5);
    slider->setTickPosition(orientation == Qt::Vertical ? QSlider::TicksRight
                                                        : QSlider::TicksBelow);
    // Row 1 at the top: the vertical slider counts downwards like the grid, and its keys
    // move the handle the way they point (Up: towards row 1).
    if (orientation == Qt::Vertical) {
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
    }
    return slider;
}

} // namespace

TableDialog::TableDialog(ProgramState &state, Platform &platform, QWidget *parent)
    : QDialog(parent), state_(state), picker_(platform), grid_(new QTableWidget(1, 1)),
      rows_(sizeSlider("sldRows", Qt::Vertical)), columns_(sizeSlider("sldCols", Qt::Horizontal)),
      coord_(namedLabel("lblCoord", "")), cellText_(namedLineEdit("txtCellText")),
      width_(namedLineEdit("txtWidth")), borderWidth_(namedLineEdit("txtBorderWidth")),
      cellSpacing_(namedLineEdit("txtCellSpacing")), cellPadding_(namedLineEdit("txtCellPadding")),
      align_(namedList(
          "cboAlign", {QStringLiteral("Right"), QStringLiteral("Left"), QStringLiteral("Center")})),
      vAlign_(namedList("cboVAlign", {QStringLiteral("Top"), QStringLiteral("Bottom"),
                                      QStringLiteral("Center")})),
      caption_(namedLineEdit("txtCaption")), swatch_(new ColourSwatch("shpColor"))
{
    setObjectName(QStringLiteral("frmTables"));
    setWindowTitle(QStringLiteral("Table Dialog"));
    state_.dialogResult.clear();

    grid_->setObjectName(QStringLiteral("MyTable"));
    // A cell is typed into where it is (as well as in "Cell Text" below); Tab leaves the grid
    // for the next control instead of walking its cells.
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                           | QAbstractItemView::AnyKeyPressed);
    grid_->setTabKeyNavigation(false);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->horizontalHeader()->setDefaultSectionSize(60);
    grid_->setMinimumSize(360, 220);

    auto *save = namedButton("cmdSave", "Save Text");
    auto *change = namedButton("cmdChange", "Change");
    auto *insert = namedButton("cmdInsert", "Insert");
    auto *cancel = namedButton("cmdCancel", "Cancel");

    connect(rows_, &QSlider::valueChanged, this, &TableDialog::resizeGrid);
    connect(columns_, &QSlider::valueChanged, this, &TableDialog::resizeGrid);
    connect(grid_, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { showCell(row, column); });
    connect(grid_, &QTableWidget::itemChanged, this, &TableDialog::cellEdited);
    connect(save, &QPushButton::clicked, this, &TableDialog::saveCell);
    pressOnEnter({cellText_}, save);
    connect(change, &QPushButton::clicked, this, [this] {
        QColor chosen;
        if (picker_.pick(chosen))
            swatch_->setColour(chosen);
    });
    connect(insert, &QPushButton::clicked, this, [this] {
        state_.dialogResult = tableMarkup(fields());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        state_.dialogResult.clear();
        reject();
    });

    auto *rowsLabel = namedLabel("lblRows", "&Rows");
    rowsLabel->setBuddy(rows_);
    auto *columnsLabel = namedLabel("lblCols", "C&olumns");
    columnsLabel->setBuddy(columns_);
    auto *gridLabel = namedLabel("lblTable", "Ta&ble");
    gridLabel->setBuddy(grid_);
    auto *rowsColumn = new QVBoxLayout;
    rowsColumn->addWidget(rowsLabel);
    rowsColumn->addWidget(rows_, 1, Qt::AlignHCenter);
    auto *gridColumn = new QVBoxLayout;
    gridColumn->addWidget(gridLabel);
    gridColumn->addWidget(grid_, 1);
    auto *gridRow = new QHBoxLayout;
    gridRow->addLayout(rowsColumn);
    gridRow->addLayout(gridColumn, 1);
    auto *columnsRow = new QHBoxLayout;
    columnsRow->addWidget(columnsLabel);
    columnsRow->addWidget(columns_, 1);
    auto *cellRow = new QHBoxLayout;
    cellRow->addWidget(coord_);
    auto *cellLabel = new QLabel(QStringLiteral("Cell Text"));
    cellLabel->setBuddy(cellText_);
    cellRow->addWidget(cellLabel);
    cellRow->addWidget(cellText_, 1);
    cellRow->addWidget(save);

    auto *all = new QGroupBox(QStringLiteral("Properties for Entire Table"));
    all->setObjectName(QStringLiteral("fraAll"));
    auto *form = new QFormLayout(all);
    form->addRow(QStringLiteral("Width"), width_);
    form->addRow(QStringLiteral("Border Width"), borderWidth_);
    form->addRow(QStringLiteral("Cell Spacing"), cellSpacing_);
    form->addRow(QStringLiteral("Cell Padding"), cellPadding_);
    form->addRow(QStringLiteral("Align"), align_);
    form->addRow(QStringLiteral("VAlign"), vAlign_);
    form->addRow(QStringLiteral("Caption"), caption_);
    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(swatch_);
    colourRow->addWidget(change);
    colourRow->addStretch();
    form->addRow(QStringLiteral("Background Color"), colourRow);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(insert);
    buttons->addWidget(cancel);

    auto *left = new QVBoxLayout;
    left->addLayout(gridRow, 1);
    left->addLayout(columnsRow);
    left->addLayout(cellRow);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(all);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    insert->setDefault(true);

    resizeGrid();
    grid_->setCurrentCell(0, 0);
    showCell(0, 0);
    nameBoxesByLabels(this);
}

TableFields TableDialog::fields() const
{
    TableFields f;
    f.width = width_->text();
    f.borderWidth = borderWidth_->text();
    f.cellSpacing = cellSpacing_->text();
    f.cellPadding = cellPadding_->text();
    f.align = align_->currentText();
    f.vAlign = vAlign_->currentText();
    f.caption = caption_->text();
    f.background = swatch_->colour();
    f.rows = grid_->rowCount();
    f.columns = grid_->columnCount();
    f.cells = cells_;
    return f;
}

// The grid takes the sliders' size; cells that come back show the texts they kept.
void TableDialog::resizeGrid()
{
    grid_->setRowCount(rows_->value());
    grid_->setColumnCount(columns_->value());
    for (int r = 0; r < grid_->rowCount(); ++r) {
        for (int c = 0; c < grid_->columnCount(); ++c) {
            if (!grid_->item(r, c))
                grid_->setItem(r, c, new QTableWidgetItem(cells_[r][c])); // kept texts come back
        }
    }
}

// A text typed into the grid is kept at once, as "Save Text" keeps the box's.
void TableDialog::cellEdited(QTableWidgetItem *item)
{
    if (!item)
        return;
    const int row = item->row();
    const int column = item->column();
    if (row < 0 || column < 0 || row > kMaxSize || column > kMaxSize)
        return;
    cells_[row][column] = item->text();
    if (row == grid_->currentRow() && column == grid_->currentColumn())
        cellText_->setText(item->text());
    showWhole(item);
}

// A long text stays readable: its column grows (up to a limit) and the cell's tip shows it.
void TableDialog::showWhole(QTableWidgetItem *item)
{
    const QSignalBlocker quiet(grid_);
    item->setToolTip(item->text());
    grid_->resizeColumnToContents(item->column());
    const int widest = 240;
    const int standard = grid_->horizontalHeader()->defaultSectionSize();
    grid_->setColumnWidth(item->column(),
                          std::clamp(grid_->columnWidth(item->column()), standard, widest));
}

// Moving to another cell drops text typed but not saved.
void TableDialog::showCell(int row, int column)
{
    if (row < 0 || column < 0)
        return;
    coord_->setText(QStringLiteral("(%1, %2)").arg(row + 1).arg(column + 1));
    cellText_->setText(cells_[row][column]);
    if (QTableWidgetItem *item = grid_->item(row, column)) {
        const QSignalBlocker quiet(grid_);
        item->setText(cells_[row][column]);
    }
}

void TableDialog::saveCell()
{
    const int row = grid_->currentRow();
    const int column = grid_->currentColumn();
    if (row < 0 || column < 0)
        return;
    cells_[row][column] = cellText_->text();
    if (QTableWidgetItem *item = grid_->item(row, column)) {
        {
            const QSignalBlocker quiet(grid_);
            item->setText(cells_[row][column]);
        }
        showWhole(item);
    }
}

} // namespace pw
