#include "dialogs/validation_dialog.h"

#include "shared/dialog_parts.h"
#include "shared/named_widgets.h"
#include "shared/program_state.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace pw {

namespace {

// A frame around one box, its caption a label that names the box (and takes its "&" key).
QGroupBox *frame(const char *caption, QWidget *content)
{
    auto *frame = new QGroupBox;
    auto *layout = new QVBoxLayout(frame);
    auto *label = new QLabel(QString::fromUtf8(caption));
    label->setBuddy(content);
    layout->addWidget(label);
    layout->addWidget(content);
    return frame;
}

QRadioButton *option(const char *name, const char *caption, QButtonGroup *group, int id)
{
    auto *option = new QRadioButton(QString::fromUtf8(caption));
    option->setObjectName(QString::fromUtf8(name));
    group->addButton(option, id);
    return option;
}

} // namespace

ValidationDialog::ValidationDialog(ProgramState &state, QWidget *parent)
    : QDialog(parent), state_(state), controlName_(namedLineEdit("txtControlName")),
      comparison_(new QButtonGroup(this)), value_(namedLineEdit("txtValue")),
      message_(namedLineEdit("txtMessage")),
      controlType_(namedList(
          "cboControl",
          {QStringLiteral("TextBox"), QStringLiteral("TextArea"), QStringLiteral("Password")},
          false)),
      language_(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("frmValControls"));
    setWindowTitle(QStringLiteral("Validate Form Controls Dialog"));
    state_.dialogResult.clear();

    auto *comparisons = new QGroupBox(QStringLiteral("Comparison Symbol"));
    auto *comparisonGrid = new QGridLayout(comparisons);
    const std::pair<const char *, const char *> kComparisons[] = {
        {"optEqualTo", "Equal To"},
        {"optNotEqualTo", "Not Equal To"},
        {"optGreaterThan", "Greater Than"},
        {"optLessThan", "Less Than"},
        {"optGTE", "Greater Than or Equal To"},
        {"optLTE", "Less Than or Equal To"},
    };
    int id = 0;
    for (const auto &[name, caption] : kComparisons) {
        comparisonGrid->addWidget(option(name, caption, comparison_, id), id / 2, id % 2);
        ++id;
    }
    comparison_->button(int(Comparison::EqualTo))->setChecked(true);

    auto *languages = new QGroupBox(QStringLiteral("Scripting Language"));
    auto *languageRow = new QHBoxLayout(languages);
    languageRow->addWidget(
        option("optJavaScript", "JavaScript", language_, int(ScriptLanguage::JavaScript)));
    languageRow->addWidget(
        option("optVBScript", "VBScript", language_, int(ScriptLanguage::VBScript)));
    language_->button(int(ScriptLanguage::JavaScript))->setChecked(true);

    auto *insert = namedButton("cmdInsert", "Insert");
    insert->setDefault(true); // Enter presses it
    auto *cancel = namedButton("cmdCancel", "Cancel");
    connect(insert, &QPushButton::clicked, this, [this] {
        // A blank value is compared with an empty string, and the field shows it so.
        if (trimBlanks(value_->text()).isEmpty())
            value_->setText(validationValue(value_->text()));
        state_.dialogResult = validationScript(fields());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        state_.dialogResult.clear();
        reject();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(insert);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame("Name Of Control", controlName_));
    layout->addWidget(comparisons);
    layout->addWidget(frame("Value To Compare", value_));
    layout->addWidget(frame("Message To Display If Comparison Is True", message_));
    layout->addWidget(frame("Form Control Type", controlType_));
    layout->addWidget(languages);
    layout->addLayout(buttons);
    setMinimumWidth(380);
    nameBoxesByLabels(this);
    tabToCheckedOptions(this);
}

ValidationFields ValidationDialog::fields() const
{
    return {.controlName = controlName_->text(),
            .comparison = Comparison(std::max(comparison_->checkedId(), 0)),
            .value = value_->text(),
            .message = message_->text(),
            .language = language_->checkedId() == int(ScriptLanguage::VBScript)
                            ? ScriptLanguage::VBScript
                            : ScriptLanguage::JavaScript};
}

} // namespace pw
