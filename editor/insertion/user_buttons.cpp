#include "insertion/user_buttons.h"

#include "document/feature_context.h"
#include "shared/insertion.h"

#include "shared/program_state.h"
#include "shared/settings_store.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pw {

namespace {

const QString kSection = QStringLiteral("Settings");

QString openKey(int k)
{
    return QStringLiteral("UDO") + QString::number(k + 1);
}
QString closeKey(int k)
{
    return QStringLiteral("UDC") + QString::number(k + 1);
}

} // namespace

void loadUserButtons(ProgramState &state, const SettingsStore &settings)
{
    for (int k = 0; k < kUserButtonCount; ++k)
        state.userOpenTags[k] = settings.read(kSection, openKey(k), QString());
    for (int k = 0; k < kUserButtonCount; ++k)
        state.userCloseTags[k] = settings.read(kSection, closeKey(k), QString());
}

void saveUserButtons(const ProgramState &state, SettingsStore &settings)
{
    for (int k = 0; k < kUserButtonCount; ++k)
        settings.write(kSection, openKey(k), state.userOpenTags[k]);
    for (int k = 0; k < kUserButtonCount; ++k)
        settings.write(kSection, closeKey(k), state.userCloseTags[k]);
}

QString userButtonToolTip(const ProgramState &state, int k)
{
    if (state.userOpenTags[k].isEmpty())
        return QStringLiteral("Not Defined");
    return state.userOpenTags[k] + QLatin1Char(' ') + state.userCloseTags[k];
}

UserButtonsDialog::UserButtonsDialog(ProgramState &state, QWidget *parent)
    : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("frmUD"));
    setWindowTitle(QStringLiteral("Define User Buttons"));

    auto *grid = new QGridLayout;
    for (int k = 0; k < kUserButtonCount; ++k) {
        const QString number = QString::number(k + 1);
        txtUDO_[k] = new QLineEdit(state_.userOpenTags[k]);
        txtUDO_[k]->setObjectName(QStringLiteral("txtUDO"));
        txtUDO_[k]->setProperty("index", k);
        txtUDC_[k] = new QLineEdit(state_.userCloseTags[k]);
        txtUDC_[k]->setObjectName(QStringLiteral("txtUDC"));
        txtUDC_[k]->setProperty("index", k);
        auto *openLabel = new QLabel(QStringLiteral("Opening Tag #") + number);
        openLabel->setBuddy(txtUDO_[k]);
        auto *closeLabel = new QLabel(QStringLiteral("Closing Tag #") + number);
        closeLabel->setBuddy(txtUDC_[k]);
        grid->addWidget(openLabel, k, 0);
        grid->addWidget(txtUDO_[k], k, 1);
        grid->addWidget(closeLabel, k, 2);
        grid->addWidget(txtUDC_[k], k, 3);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto *save = new QPushButton(QStringLiteral("&Save"));
    save->setObjectName(QStringLiteral("cmdSave"));
    save->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"));
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(640);
}

void UserButtonsDialog::save()
{
    for (int k = 0; k < kUserButtonCount; ++k) {
        state_.userOpenTags[k] = txtUDO_[k]->text();
        state_.userCloseTags[k] = txtUDC_[k]->text();
    }
    accept();
}

void runUserButton(FeatureContext &context, int k)
{
    if (k >= 0 && k < kUserButtonCount)
        insertAround(context.edit, context.state.userOpenTags[k], context.state.userCloseTags[k]);
}

} // namespace pw
