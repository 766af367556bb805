#include "windows/options_dialog.h"

#include "shared/dialog_parts.h"
#include "document/feature_context.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pw {

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kIDAttribute = QStringLiteral("IDAttribute");
const QString kHeightWidth = QStringLiteral("HeightWidth");

QGroupBox *namedFrame(const char *name, const char *caption)
{
    auto *frame = new QGroupBox(QString::fromUtf8(caption));
    frame->setObjectName(QString::fromUtf8(name));
    return frame;
}

QCheckBox *namedCheckBox(const char *name, const char *caption, bool checked)
{
    auto *box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(QString::fromUtf8(name));
    box->setChecked(checked);
    return box;
}
} // namespace

OptionsDialog::OptionsDialog(FeatureContext &context, std::function<void()> registerFiles,
                             QWidget *parent)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("frmMainOptions"));
    setWindowTitle(QStringLiteral("Pagewick Options"));
    ProgramState &state = context.state;
    state.idAttribute = context.settings.readBool(kSettings, kIDAttribute, false);
    state.heightWidth = context.settings.readBool(kSettings, kHeightWidth, false);

    auto *tagOptions = namedFrame("fraTagOptions", "Tag Options");
    chkID_ = namedCheckBox("chkID", "Include ID attribute in tags", state.idAttribute);
    chkHeightWidth_ = namedCheckBox(
        "chkHeightWidth", "Include Height and Width when dropping pictures", state.heightWidth);
    auto *tagLayout = new QVBoxLayout(tagOptions);
    tagLayout->addWidget(chkID_);
    tagLayout->addWidget(chkHeightWidth_);

    auto *misc = namedFrame("fraMisc", "Misc Options");
    txtCommentSymbol_ = new QLineEdit(state.BlockComment);
    txtCommentSymbol_->setObjectName(QStringLiteral("txtCommentSymbol"));
    auto *miscLayout = new QHBoxLayout(misc);
    miscLayout->addWidget(namedLabel("Label1", "Block comment symbol"));
    miscLayout->addWidget(txtCommentSymbol_, 1);

    auto *registry = namedFrame("fraRegister", "Registry Options");
    auto *lblInstruct = namedLabel(
        "lblInstruct", "Click the button on the right so that when you right click on an HTML "
                       "file, you will have an Edit with Pagewick option.  HTML files will also "
                       "have the Pagewick icon.");
    lblInstruct->setWordWrap(true);
    auto *cmdRegister = namedButton("cmdRegister", "Register");
    connect(cmdRegister, &QPushButton::clicked, this, [registerFiles = std::move(registerFiles)] {
        if (registerFiles)
            registerFiles();
    });
    auto *registryLayout = new QHBoxLayout(registry);
    registryLayout->addWidget(lblInstruct, 1);
    registryLayout->addWidget(cmdRegister);

    auto *cmdOK = namedButton("cmdOK", "OK");
    cmdOK->setDefault(true); // Enter presses it
    connect(cmdOK, &QPushButton::clicked, this, &OptionsDialog::storeOptions);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdOK);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tagOptions);
    layout->addWidget(misc);
    layout->addWidget(registry);
    layout->addLayout(bottom);
    setMinimumWidth(460);
    nameBoxesByLabels(this);
    keepRoomForWrappedText(*this);
}

void OptionsDialog::storeOptions()
{
    ProgramState &state = context_.state;
    state.idAttribute = chkID_->isChecked();
    state.heightWidth = chkHeightWidth_->isChecked();
    state.BlockComment = txtCommentSymbol_->text();
    context_.settings.writeBool(kSettings, kIDAttribute, state.idAttribute);
    context_.settings.writeBool(kSettings, kHeightWidth, state.heightWidth);
    context_.settings.write(kSettings, QStringLiteral("BlockComment"), state.BlockComment);
    accept();
}

void showOptions(FeatureContext &context, std::function<void()> registerFiles)
{
    OptionsDialog dialog(context, std::move(registerFiles), context.parent);
    context.platform.runDialog(dialog);
}

} // namespace pw
