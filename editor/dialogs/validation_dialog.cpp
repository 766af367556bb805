#include "dialogs/validation_dialog.h"

#include "dialogs/dialog_parts.h"
#include "shared/named_widgets.h"
#include "shared/program_state.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

namespace pw {

namespace {

QGroupBox *Frame(const char *caption, QWidget *content)
{
    auto *frame = new QGroupBox(QString::fromUtf8(caption));
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(content);
    return frame;
}

QRadioButton *Option(const char *name, const char *caption, QButtonGroup *group, int id)
{
    auto *option = new QRadioButton(QString::fromUtf8(caption));
    option->setObjectName(QString::fromUtf8(name));
    group->addButton(option, id);
    return option;
}

} // namespace

ValidationDialog::ValidationDialog(ProgramState &state, QWidget *parent)
    : QDialog(parent), state_(state), controlName_(NamedLineEdit("txtControlName")),
      comparison_(new QButtonGroup(this)), value_(NamedLineEdit("txtValue")),
      message_(NamedLineEdit("txtMessage")),
      controlType_(NamedList(
          "cboControl",
          {QStringLiteral("TextBox"), QStringLiteral("TextArea"), QStringLiteral("Password")},
          false)),
      language_(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("frmValControls"));
    setWindowTitle(QStringLiteral("Validate Form Controls Dialog"));
    state_.DialogResult.clear();

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
        comparisonGrid->addWidget(Option(name, caption, comparison_, id), id / 2, id % 2);
        ++id;
    }
    comparison_->button(int(Comparison::EqualTo))->setChecked(true);

    auto *languages = new QGroupBox(QStringLiteral("Scripting Language"));
    auto *languageRow = new QHBoxLayout(languages);
    languageRow->addWidget(
        Option("optJavaScript", "JavaScript", language_, int(ScriptLanguage::JavaScript)));
    languageRow->addWidget(
        Option("optVBScript", "VBScript", language_, int(ScriptLanguage::VBScript)));
    language_->button(int(ScriptLanguage::JavaScript))->setChecked(true);

    auto *insert = NamedButton("cmdInsert", "Insert");
    auto *cancel = NamedButton("cmdCancel", "Cancel");
    connect(insert, &QPushButton::clicked, this, [this] {
        // A blank value is compared with an empty string, and the field shows it so.
        if (TrimBlanks(value_->text()).isEmpty())
            value_->setText(ValidationValue(value_->text()));
        state_.DialogResult = ValidationScript(fields());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        state_.DialogResult.clear();
        reject();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(insert);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame("Name Of Control", controlName_));
    layout->addWidget(comparisons);
    layout->addWidget(Frame("Value To Compare", value_));
    layout->addWidget(Frame("Message To Display If Comparison Is True", message_));
    layout->addWidget(Frame("Form Control Type", controlType_));
    layout->addWidget(languages);
    layout->addLayout(buttons);
    setMinimumWidth(380);
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
