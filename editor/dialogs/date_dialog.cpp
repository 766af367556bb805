#include "dialogs/date_dialog.h"

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

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(dates_, 1);
    layout->addLayout(buttons);
    setMinimumSize(360, 240);
}

} // namespace pw
