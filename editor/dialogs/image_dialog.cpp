#include "dialogs/image_dialog.h"

#include "shared/dialog_parts.h"
#include "shared/named_widgets.h"
#include "shared/program_state.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace pw {

ImageDialog::ImageDialog(ProgramState &state, QWidget *parent)
    : QDialog(parent), state_(state), attributes_(fieldGroup("txtAttib", 9)),
      align_(namedList("cboAlign", {QStringLiteral("Top"), QStringLiteral("Bottom"),
                                    QStringLiteral("Middle"), QStringLiteral("ABSMiddle"),
                                    QStringLiteral("ABSTop"), QStringLiteral("ABSBottom"),
                                    QStringLiteral("Left"), QStringLiteral("Right")})),
      id_(namedLineEdit("txtID"))
{
    setObjectName(QStringLiteral("frmImage"));
    setWindowTitle(QStringLiteral("Image Dialog"));
    state_.dialogResult.clear();

    auto *insert = namedButton("cmdInsert", "Insert");
    insert->setDefault(true); // Enter presses it
    auto *cancel = namedButton("cmdCancel", "Cancel");
    connect(insert, &QPushButton::clicked, this, [this] {
        state_.dialogResult = imageTag(fields());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        state_.dialogResult.clear();
        reject();
    });
    std::vector<QLineEdit *> enterFields = attributes_;
    enterFields.push_back(id_);
    pressOnEnter(enterFields, insert);

    // Each label above its field, in two columns.
    static const char *const kLabels[] = {"URL",    "ALT Text", "Height", "Width", "HSpace",
                                          "VSpace", "Border",   "DynSrc", "Loop"};
    auto *grid = new QGridLayout;
    const auto place = [grid](int slot, const char *label, QWidget *field) {
        const int row = (slot / 2) * 2;
        const int column = slot % 2;
        grid->addWidget(new QLabel(QString::fromUtf8(label)), row, column);
        grid->addWidget(field, row + 1, column);
    };
    // The URL spans the width: it is the one attribute always written.
    grid->addWidget(new QLabel(QStringLiteral("URL")), 0, 0, 1, 2);
    grid->addWidget(attributes_[0], 1, 0, 1, 2);
    for (int k = 1; k < 9; ++k)
        place(k + 1, kLabels[k], attributes_[std::size_t(k)]);
    place(10, "Align", align_);
    place(11, "ID", id_);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(insert);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(360);
    nameBoxesByLabels(this);
}

ImageFields ImageDialog::fields() const
{
    ImageFields f;
    for (std::size_t k = 0; k < f.attributes.size(); ++k)
        f.attributes[k] = attributes_[k]->text();
    f.align = align_->currentText();
    f.id = id_->text();
    return f;
}

} // namespace pw
