#include "dialogs/date_dialog.h"

#include "shared/dialog_parts.h"
#include "dialogs/tag_markup.h"
#include "shared/named_widgets.h"
#include "shared/program_state.h"

#include <QBoxLayout>
#include <QListWidget>

namespace pw {

DateDialog::DateDialog(ProgramState &state, const QDateTime &now, QWidget *parent)
    : QDialog(parent), state_(state), dates_(new QListWidget)
{
    setObjectName(QStringLiteral("frmDate"));
    setWindowTitle(QStringLiteral("Insert Date"));
    state_.dateText.clear();

    dates_->setObjectName(QStringLiteral("lstDate"));
    dates_->addItems(dateRenderings(now, QLocale()));
    dates_->setCurrentRow(0);

    auto *ok = namedButton("cmdOK", "&OK");
    auto *cancel = namedButton("cmdCancel", "&Cancel");
    connect(ok, &QPushButton::clicked, this, [this] {
        const QListWidgetItem *chosen = dates_->currentItem();
        state_.dateText = chosen ? chosen->text() : QString();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        state_.dateText.clear();
        reject();
    });

    // Enter, or a double click on a date, chooses it as OK does.
    ok->setDefault(true);
    connect(dates_, &QListWidget::itemDoubleClicked, ok, &QPushButton::click);
    auto *label = namedLabel("lblDate", "&Dates");
    label->setBuddy(dates_);

    auto *list = new QVBoxLayout;
    list->addWidget(label);
    list->addWidget(dates_, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);
    setMinimumSize(360, 240);
    nameBoxesByLabels(this);
}

} // namespace pw
