#include "dialogs/colour_dialog.h"

#include "shared/dialog_parts.h"
#include "dialogs/colour_names.h"
#include "dialogs/tag_markup.h"
#include "shared/named_widgets.h"
#include "shared/program_state.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QListWidget>

namespace pw {

namespace {
const QString kNothing = QStringLiteral("-1");
}

ColourDialog::ColourDialog(ProgramState &state, Platform &platform, QWidget *parent)
    : QDialog(parent), state_(state), picker_(platform),
      useName_(new QCheckBox(QStringLiteral("Use A Named Color"))), names_(new QListWidget),
      swatch_(new ColourSwatch("shpColors"))
{
    setObjectName(QStringLiteral("frmColors"));
    setWindowTitle(QStringLiteral("Color Dialog"));
    state_.colorResult = kNothing;

    useName_->setObjectName(QStringLiteral("chkColor"));
    names_->setObjectName(QStringLiteral("lstColors"));
    for (const char *name : colourNames())
        names_->addItem(QString::fromUtf8(name));
    names_->setEnabled(false);
    connect(useName_, &QCheckBox::toggled, names_, &QListWidget::setEnabled);

    auto *change = namedButton("cmdColors", "Change Color");
    auto *insert = namedButton("cmdInsert", "Insert Color");
    auto *cancel = namedButton("cmdCancel", "Cancel");
    connect(change, &QPushButton::clicked, this, [this] {
        QColor chosen;
        if (!picker_.pick(chosen))
            return;
        swatch_->setColour(chosen);
    });
    connect(insert, &QPushButton::clicked, this, [this] {
        const QList<QListWidgetItem *> selected = names_->selectedItems();
        const QString name = selected.isEmpty() ? QString() : selected.first()->text();
        state_.colorResult = quotedColourValue(useName_->isChecked(), name, swatch_->colour());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        state_.colorResult = kNothing;
        reject();
    });

    insert->setDefault(true);
    // A double click on a name chooses it and inserts it.
    connect(names_, &QListWidget::itemDoubleClicked, insert, &QPushButton::click);
    auto *namesLabel = namedLabel("lblColors", "Color &Names");
    namesLabel->setBuddy(names_);

    auto *picked = new QHBoxLayout;
    picked->addWidget(swatch_, 1);
    picked->addWidget(change);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(insert);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(useName_);
    layout->addWidget(namesLabel);
    layout->addWidget(names_, 1);
    layout->addLayout(picked);
    layout->addLayout(buttons);
    setMinimumSize(300, 380);
    nameBoxesByLabels(this);
}

} // namespace pw
