#pragma once
// Four small tag dialogs, each building one piece of markup into dialogResult:
// frmAnchor (a link), frmComment (an HTML comment), frmHR (a rule) and frmMarquee. The anchor,
// comment and marquee dialogs show the editor's selection (selectedText) in their text field,
// so the selection comes back wrapped in the markup.
#include "dialogs/tag_markup.h"
#include "shared/dialog_parts.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pw {

class Platform;
struct ProgramState;

class AnchorDialog : public QDialog {
    Q_OBJECT
public:
    explicit AnchorDialog(ProgramState &state, QWidget *parent = nullptr);
    AnchorFields fields() const;

private:
    ProgramState &state_;
    QLineEdit *url_;
    QLineEdit *text_;
    QLineEdit *target_;
    QLineEdit *name_;
    QLineEdit *id_;
};

class CommentDialog : public QDialog {
    Q_OBJECT
public:
    explicit CommentDialog(ProgramState &state, QWidget *parent = nullptr);

private:
    ProgramState &state_;
    QLineEdit *comments_;
};

class RuleDialog : public QDialog {
    Q_OBJECT
public:
    RuleDialog(ProgramState &state, Platform &platform, QWidget *parent = nullptr);
    RuleFields fields() const;

private:
    ProgramState &state_;
    ColourPicker picker_;
    QComboBox *align_;
    std::vector<QLineEdit *> attributes_; // txtAttrib(0) size, (1) width
    QLineEdit *id_;
    ColourSwatch *swatch_;
};

class MarqueeDialog : public QDialog {
    Q_OBJECT
public:
    MarqueeDialog(ProgramState &state, Platform &platform, QWidget *parent = nullptr);
    MarqueeFields fields() const;

private:
    ProgramState &state_;
    ColourPicker picker_;
    std::vector<QLineEdit *> attributes_; // txtAttib(0) text, (1..7) sizes, speeds and loop
    QComboBox *align_;
    QComboBox *behavior_;
    QComboBox *direction_;
    QLineEdit *id_;
    ColourSwatch *swatch_;
};

} // namespace pw
