#include "generators/page_wizard.h"

#include "document/document.h"

#include "generators/page_markup.h"
#include "shared/dialog_parts.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/program_state.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace pw {

namespace {

// Colours are kept as 24-bit values with red in the low byte, as the page builder takes them.
std::int32_t colourValue(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

QGroupBox *namedFrame(const char *name, const char *caption)
{
    auto *frame = new QGroupBox(QString::fromUtf8(caption));
    frame->setObjectName(QString::fromUtf8(name));
    return frame;
}

// A member of a control array: one name, told apart by its "index".
template <typename Control>
Control *indexed(Control *control, int index)
{
    control->setProperty("index", index);
    return control;
}

} // namespace

PageWizard::PageWizard(ProgramState &state, Platform &platform, QWidget *parent)
    : QDialog(parent), state_(state), picker_(std::make_unique<ColourPicker>(platform)),
      title_(namedLineEdit("txtTitle")), image_(namedLineEdit("txtBkImage")), preview_(new QFrame)
{
    setObjectName(QStringLiteral("frmJumpStart"));
    setWindowTitle(QStringLiteral("Jump Start"));
    state_.dialogResult.clear();

    auto *titleLabel = indexed(namedLabel("lblLabel", "&Title of Page"), 0);
    titleLabel->setBuddy(title_);
    auto *imageLabel = indexed(namedLabel("lblLabel", "Background &Image"), 1);
    imageLabel->setBuddy(image_);

    QGroupBox *colours = namedFrame("fraColors", "Colors");
    auto *colourGrid = new QGridLayout(colours);
    for (int k = 0; k < PageColourCount; ++k) {
        const std::int32_t start = PageFields{}.colours[k];
        auto *swatch = indexed(
            new ColourSwatch("shpColors", QColor(start & 0xFF, (start >> 8) & 0xFF, start >> 16)),
            k);
        auto *change = indexed(namedButton("cmdColors", "Change"), k);
        connect(change, &QPushButton::clicked, this, [this, k] { changeColour(k); });
        colourGrid->addWidget(indexed(namedLabel("lblChoice", pageColourName(k)), k), k, 0);
        colourGrid->addWidget(swatch, k, 1);
        colourGrid->addWidget(change, k, 2);
        swatches_.push_back(swatch);
    }

    // The preview: the background colour behind the four text colours.
    QGroupBox *previewFrame = namedFrame("fraPreview", "Preview");
    preview_->setObjectName(QStringLiteral("picBackColor"));
    preview_->setFrameShape(QFrame::Panel);
    preview_->setFrameShadow(QFrame::Sunken);
    preview_->setAutoFillBackground(true);
    auto *previewLines = new QVBoxLayout(preview_);
    for (int k = 0; k < 4; ++k) {
        QLabel *text = indexed(namedLabel("lblText", pageColourName(k + 1)), k);
        previewLines->addWidget(text);
        previewTexts_.push_back(text);
    }
    (new QVBoxLayout(previewFrame))->addWidget(preview_);
    paintPreview();

    auto *create = namedButton("cmdCreate", "&Create");
    create->setDefault(true); // Enter presses it
    auto *cancel = namedButton("cmdCancel", "Cancel");
    connect(create, &QPushButton::clicked, this, [this] {
        state_.dialogResult = jumpStartPage(fields());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        state_.dialogResult.clear();
        reject();
    });
    pressOnEnter({title_, image_}, create);

    auto *texts = new QGridLayout;
    texts->addWidget(titleLabel, 0, 0);
    texts->addWidget(title_, 0, 1);
    texts->addWidget(imageLabel, 1, 0);
    texts->addWidget(image_, 1, 1);
    auto *middle = new QHBoxLayout;
    middle->addWidget(colours);
    middle->addWidget(previewFrame, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(create);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(middle);
    layout->addLayout(buttons);
    nameBoxesByLabels(this);
}

PageWizard::~PageWizard() = default;

PageFields PageWizard::fields() const
{
    PageFields fields;
    fields.title = title_->text();
    fields.backgroundImage = image_->text();
    for (int k = 0; k < PageColourCount; ++k)
        fields.colours[k] = colourValue(swatches_[k]->colour());
    return fields;
}

// A cancelled picker changes nothing.
void PageWizard::changeColour(int index)
{
    QColor chosen;
    if (!picker_->pick(chosen))
        return;
    swatches_[index]->setColour(chosen);
    paintPreview();
}

void PageWizard::paintPreview()
{
    QPalette background = preview_->palette();
    background.setColor(QPalette::Window, swatches_[BgColor]->colour());
    preview_->setPalette(background);
    for (int k = 0; k < 4; ++k) {
        QPalette text = previewTexts_[k]->palette();
        text.setColor(QPalette::WindowText, swatches_[k + 1]->colour());
        previewTexts_[k]->setPalette(text);
    }
}

void openNewPage(FeatureContext &context, const QString &promptText,
                 const std::function<std::unique_ptr<QDialog>()> &make)
{
    if (!context.document.maybeSave(QStringLiteral("Save on Open..."), promptText,
                                    MsgButtons::YesNo))
        return;
    {
        const std::unique_ptr<QDialog> dialog = make();
        context.platform.runDialog(*dialog);
    }
    if (!context.state.dialogResult.isEmpty())
        context.document.replace(context.state.dialogResult);
}

void runPageWizard(FeatureContext &context)
{
    openNewPage(context, QStringLiteral("Save Current File Before Opening Another?"), [&context] {
        return std::make_unique<PageWizard>(context.state, context.platform, context.parent);
    });
}

} // namespace pw
