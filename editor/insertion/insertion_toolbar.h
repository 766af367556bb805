#pragma once
// The toolbar pages' commands: makes the vocabulary lists and runs a row of the command table
// (or a user button) when the main window's command runner asks. Tag dialogs are looked up by
// name, so each plugs into its rows with one registerDialog line; until then the runner
// shows their buttons as not available.
#include "shared/feature_context.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <optional>
#include <memory>

class QComboBox;
class QDialog;

namespace pw {

struct ToolbarCommand;

class InsertionToolbar : public QObject {
    Q_OBJECT
public:
    // Builds a tag dialog; it resets its exchange values when built (dialogResult, ...).
    using TagDialogFactory = std::function<std::unique_ptr<QDialog>(FeatureContext &)>;

    InsertionToolbar(const FeatureContext &context, QObject *parent);

    void registerDialog(const QString &name, TagDialogFactory factory);
    bool hasDialog(const QString &name) const { return dialogs_.contains(name); }
    TagDialogFactory dialogFactory(const QString &name) const { return dialogs_.value(name); }

    // Runs one command row as its button does.
    void run(const ToolbarCommand &command);
    // User button k (0..9).
    void runUserButton(int k);
    // A choice in the headings list.
    void chooseHeading(const QString &entry);
    // Fills the six vocabulary lists with their entries and start-up state.
    void fillLists();

    // The vocabulary list of that name; the runner places it on its page.
    QComboBox *list(const QString &name) const { return lists_.value(name); }

private:
    void makeLists();
    // Asks the row's prompts in order; nothing when the row stops on an empty answer.
    std::optional<QStringList> askPrompts(const ToolbarCommand &command);
    void runListSkeleton(const ToolbarCommand &command);
    void runTagDialog(const ToolbarCommand &command);
    void insertChosenList();
    QString windowTag() const;

    FeatureContext ctx_;
    QHash<QString, TagDialogFactory> dialogs_;
    QHash<QString, QComboBox *> lists_;
    bool leavingTypedHeading_ = false; // the headings list's typed text is being left
};

} // namespace pw
