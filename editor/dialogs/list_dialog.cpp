#include "dialogs/list_dialog.h"

#include "shared/dialog_parts.h"
#include "shared/list_item_slider.h"

#include "shared/named_widgets.h"
#include "shared/program_state.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QSlider>

namespace pw {

namespace {

// Option buttons of one name, told apart by their "index", in one group and one frame.
QGroupBox *optionFrame(const char *frameName, const char *caption, const char *optionName,
                       std::initializer_list<const char *> captions, QButtonGroup *group)
{
    auto *frame = new QGroupBox(QString::fromUtf8(caption));
    frame->setObjectName(QString::fromUtf8(frameName));
    auto *layout = new QVBoxLayout(frame);
    int index = 0;
    for (const char *text : captions) {
        auto *option = new QRadioButton(QString::fromUtf8(text));
        option->setObjectName(QString::fromUtf8(optionName));
        option->setProperty("index", index);
        group->addButton(option, index);
        layout->addWidget(option);
        ++index;
    }
    return frame;
}

} // namespace

QString listNumberingFor(int option)
{
    switch (option) {
    case 0:
        return QStringLiteral("1");
    case 1:
        return QStringLiteral("I");
    case 2:
        return QStringLiteral("A");
    case 3:
        return QStringLiteral("a");
    default:
        return QString();
    }
}

ListDialog::ListDialog(ProgramState &state, QWidget *parent)
    : QDialog(parent), state_(state), kind_(new QButtonGroup(this)),
      numbering_(new QButtonGroup(this)), slider_(new QSlider(Qt::Horizontal))
{
    setObjectName(QStringLiteral("frmLists"));
    setWindowTitle(QStringLiteral("List Dialog"));
    state_.dialogResult.clear();
    state_.listNumbering.clear();
    state_.listKind = -1;

    QGroupBox *type =
        optionFrame("fraType", "Choose a Type of List", "optList",
                    {"Ordered (Numbers)", "Unordered (Bullets)", "Definition"}, kind_);
    kind_->button(0)->setChecked(true);
    options_ = optionFrame("fraOptions", "Start With", "optAttributes",
                           {"Numbers", "Roman Numerals", "Uppercase Letters", "Lowercase Letters"},
                           numbering_);
    // Only ordered lists are numbered.
    connect(kind_, &QButtonGroup::idToggled, options_, [this](int k, bool checked) {
        if (checked)
            options_->setEnabled(k == 0);
    });

    auto *number = new QGroupBox(QStringLiteral("Number of List Items"));
    number->setObjectName(QStringLiteral("fraNumber"));
    QLabel *count = setUpListItemSlider(slider_);
    auto *numberRow = new QHBoxLayout(number);
    auto *sliderLabel = namedLabel("lblNumber", "&Items");
    sliderLabel->setBuddy(slider_);
    numberRow->addWidget(sliderLabel);
    numberRow->addWidget(slider_, 1);
    numberRow->addWidget(count);

    auto *insert = namedButton("cmdInsert", "Insert");
    auto *cancel = namedButton("cmdCancel", "Cancel");
    connect(insert, &QPushButton::clicked, this, [this] {
        state_.listItemCount = std::int16_t(slider_->value());
        state_.listKind = std::int16_t(kind_->checkedId());
        // A numbering chosen and then left for another kind of list stays; it is only read
        // for ordered lists.
        if (numbering_->checkedId() >= 0)
            state_.listNumbering = listNumberingFor(numbering_->checkedId());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        state_.listKind = -1;
        reject();
    });

    insert->setDefault(true);

    auto *frames = new QHBoxLayout;
    frames->addWidget(type);
    frames->addWidget(options_);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(insert);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addWidget(number);
    layout->addLayout(buttons);
    nameBoxesByLabels(this);
    tabToCheckedOptions(this);
}

} // namespace pw
