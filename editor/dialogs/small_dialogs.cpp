#include "dialogs/small_dialogs.h"

#include "shared/dialog_parts.h"
#include "shared/named_widgets.h"
#include "shared/program_state.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace pw {

namespace {

// Insert and Cancel under a form; Insert hands `build()` back in dialogResult, Cancel empties
// it. Enter in any of `fields` inserts.
template <typename Build>
void finishDialog(QDialog &dialog, ProgramState &state, QFormLayout *form,
                  const std::vector<QLineEdit *> &fields, Build build)
{
    auto *insert = namedButton("cmdInsert", "Insert");
    insert->setDefault(true); // Enter presses it
    auto *cancel = namedButton("cmdCancel", "Cancel");
    QObject::connect(insert, &QPushButton::clicked, &dialog, [&dialog, &state, build] {
        state.dialogResult = build();
        dialog.accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, [&dialog, &state] {
        state.dialogResult.clear();
        dialog.reject();
    });
    pressOnEnter(fields, insert);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(insert);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addLayout(buttons);
    dialog.setMinimumWidth(340);
}

// The swatch and its Change button, as one row of a form.
QHBoxLayout *colourRow(ColourSwatch *swatch, ColourPicker &picker, ProgramState &state,
                       QObject *owner)
{
    auto *change = namedButton("cmdChange", "Change");
    QObject::connect(change, &QPushButton::clicked, owner, [swatch, &picker, &state] {
        QColor chosen;
        if (!picker.pick(chosen))
            return;
        swatch->setColour(chosen);
        state.colorResult = sixDigitColour(chosen);
    });
    auto *row = new QHBoxLayout;
    row->addWidget(swatch);
    row->addWidget(change);
    row->addStretch();
    return row;
}

} // namespace

AnchorDialog::AnchorDialog(ProgramState &state, QWidget *parent)
    : QDialog(parent), state_(state), url_(namedLineEdit("txtURL")), text_(namedLineEdit("txtALT")),
      target_(namedLineEdit("txtTarget")), name_(namedLineEdit("txtName")),
      id_(namedLineEdit("txtID"))
{
    setObjectName(QStringLiteral("frmAnchor"));
    setWindowTitle(QStringLiteral("Anchors Dialog"));
    state_.dialogResult.clear();
    text_->setText(state_.selectedText);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("URL"), url_);
    form->addRow(QStringLiteral("Text"), text_);
    form->addRow(QStringLiteral("Target"), target_);
    form->addRow(QStringLiteral("Name"), name_);
    form->addRow(QStringLiteral("ID"), id_);
    finishDialog(*this, state_, form, {url_, text_, target_, name_, id_},
                 [this] { return anchorMarkup(fields()); });
    nameBoxesByLabels(this);
}

AnchorFields AnchorDialog::fields() const
{
    return {.url = url_->text(),
            .linkText = text_->text(),
            .target = target_->text(),
            .name = name_->text(),
            .id = id_->text()};
}

CommentDialog::CommentDialog(ProgramState &state, QWidget *parent)
    : QDialog(parent), state_(state), comments_(namedLineEdit("txtComments"))
{
    setObjectName(QStringLiteral("frmComment"));
    setWindowTitle(QStringLiteral("Comment Dialog"));
    state_.dialogResult.clear();
    comments_->setText(state_.selectedText);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Comments"), comments_);
    finishDialog(*this, state_, form, {comments_},
                 [this] { return commentMarkup(comments_->text()); });
    nameBoxesByLabels(this);
}

RuleDialog::RuleDialog(ProgramState &state, Platform &platform, QWidget *parent)
    : QDialog(parent), state_(state), picker_(platform),
      align_(namedList(
          "cboAlign", {QStringLiteral("Center"), QStringLiteral("Left"), QStringLiteral("Right")})),
      attributes_(fieldGroup("txtAttrib", 2)), id_(namedLineEdit("txtID")),
      swatch_(new ColourSwatch("shpColor", RuleFields{}.colour))
{
    setObjectName(QStringLiteral("frmHR"));
    setWindowTitle(QStringLiteral("HR Line Dialog"));
    state_.dialogResult.clear();

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Align"), align_);
    form->addRow(QStringLiteral("Size"), attributes_[0]);
    form->addRow(QStringLiteral("Width"), attributes_[1]);
    form->addRow(QStringLiteral("ID"), id_);
    form->addRow(QStringLiteral("Color"), colourRow(swatch_, picker_, state_, this));
    finishDialog(*this, state_, form, {attributes_[0], attributes_[1], id_},
                 [this] { return ruleTag(fields()); });
    nameBoxesByLabels(this);
}

RuleFields RuleDialog::fields() const
{
    return {.align = align_->currentText(),
            .size = attributes_[0]->text(),
            .width = attributes_[1]->text(),
            .id = id_->text(),
            .colour = swatch_->colour()};
}

MarqueeDialog::MarqueeDialog(ProgramState &state, Platform &platform, QWidget *parent)
    : QDialog(parent), state_(state), picker_(platform), attributes_(fieldGroup("txtAttib", 8)),
      align_(namedList(
          "cboAlign", {QStringLiteral("Center"), QStringLiteral("Left"), QStringLiteral("Right")})),
      behavior_(namedList("cboBehavior", {QStringLiteral("Scroll"), QStringLiteral("Slide"),
                                          QStringLiteral("Alternate")})),
      direction_(namedList("cboDirection", {QStringLiteral("Right"), QStringLiteral("Left")})),
      id_(namedLineEdit("txtID")), swatch_(new ColourSwatch("shpColor"))
{
    setObjectName(QStringLiteral("frmMarquee"));
    setWindowTitle(QStringLiteral("Marquee Dialog"));
    state_.dialogResult.clear();
    attributes_[0]->setText(state_.selectedText);

    static const char *const kLabels[] = {"Text To Scroll", "Height", "Width",
                                          "HSpace",         "VSpace", "Scroll Amount",
                                          "Scroll Delay",   "Loop"};
    auto *form = new QFormLayout;
    for (std::size_t k = 0; k < attributes_.size(); ++k)
        form->addRow(QString::fromUtf8(kLabels[k]), attributes_[k]);
    form->addRow(QStringLiteral("Align"), align_);
    form->addRow(QStringLiteral("Behavior"), behavior_);
    form->addRow(QStringLiteral("Direction"), direction_);
    form->addRow(QStringLiteral("ID"), id_);
    form->addRow(QStringLiteral("Background Color"), colourRow(swatch_, picker_, state_, this));
    std::vector<QLineEdit *> enterFields = attributes_;
    enterFields.push_back(id_);
    finishDialog(*this, state_, form, enterFields, [this] { return marqueeMarkup(fields()); });
    nameBoxesByLabels(this);
}

MarqueeFields MarqueeDialog::fields() const
{
    return {.text = attributes_[0]->text(),
            .height = attributes_[1]->text(),
            .width = attributes_[2]->text(),
            .hSpace = attributes_[3]->text(),
            .vSpace = attributes_[4]->text(),
            .scrollAmount = attributes_[5]->text(),
            .scrollDelay = attributes_[6]->text(),
            .loop = attributes_[7]->text(),
            .align = align_->currentText(),
            .behavior = behavior_->currentText(),
            .direction = direction_->currentText(),
            .id = id_->text(),
            .colour = swatch_->colour()};
}

} // namespace pw
