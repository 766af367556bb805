#pragma once
// The toolbar pages' commands: builds every button of the command table, the vocabulary
// lists and the ten user buttons on their pages, and runs a row when its button is clicked.
// Tag dialogs are looked up by name, so each plugs into its rows with one registerDialog
// line; until then its buttons do nothing.
#include "shared/feature_context.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <optional>
#include <memory>

class QComboBox;
class QDialog;
class QToolButton;

namespace pw {

struct ToolbarCommand;

class InsertionToolbar : public QObject {
    Q_OBJECT
public:
    // The page of MyTab or MyTabScript with the given caption.
    using PageLookup = std::function<QWidget *(const QString &caption)>;
    // Builds a tag dialog; it resets its exchange values when built (DialogResult, ...).
    using TagDialogFactory = std::function<std::unique_ptr<QDialog>(FeatureContext &)>;

    InsertionToolbar(const FeatureContext &context, const PageLookup &pages, QObject *parent);

    void registerDialog(const QString &name, TagDialogFactory factory);

    // Runs one command row as its button does.
    void run(const ToolbarCommand &command);
    // User button k (0..9).
    void runUserButton(int k);
    // A choice in the headings list.
    void chooseHeading(const QString &entry);
    // Fills the six vocabulary lists with their entries and start-up state.
    void fillLists();

    QComboBox *list(const QString &name) const { return lists_.value(name); }
    const QList<QToolButton *> &userButtons() const { return userButtons_; }

private:
    void build(const PageLookup &pages);
    // Asks the row's prompts in order; nothing when the row stops on an empty answer.
    std::optional<QStringList> askPrompts(const ToolbarCommand &command);
    void runListSkeleton(const ToolbarCommand &command);
    void runTagDialog(const ToolbarCommand &command);
    void insertChosenList();
    QString windowTag() const;

    FeatureContext ctx_;
    QHash<QString, TagDialogFactory> dialogs_;
    QHash<QString, QComboBox *> lists_;
    QList<QToolButton *> userButtons_;
    bool leavingTypedHeading_ = false; // the headings list's typed text is being left
};

} // namespace pw
