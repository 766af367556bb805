#include "insertion/list_items_dialog.h"

#include "shared/list_item_slider.h"

#include "shared/program_state.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace pw {

ListItemsDialog::ListItemsDialog(ProgramState &state, QWidget *parent)
    : QDialog(parent), state_(state), slider_(new QSlider(Qt::Horizontal))
{
    setObjectName(QStringLiteral("frmListItems"));
    setWindowTitle(QStringLiteral("How Many List Items?"));

    count_ = setUpListItemSlider(slider_);

    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        state_.listItemCount = std::int16_t(slider_->value());
        accept();
    });

    auto *row = new QHBoxLayout;
    row->addWidget(slider_, 1);
    row->addWidget(count_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Number of List Items")));
    layout->addLayout(row);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setMinimumWidth(280);
}

} // namespace pw
