#pragma once
// The vocabulary lists of the toolbar pages: made once, filled with their entries at start-up,
// placed on their pages by the command runner. Choosing a heading from its list inserts it.
#include "document/feature_context.h"

#include <QHash>
#include <QObject>

class QComboBox;

namespace pw {

class ToolbarLists : public QObject {
    Q_OBJECT
public:
    ToolbarLists(const FeatureContext &context, QObject *parent);

    // Fills the six vocabulary lists with their entries and start-up state.
    void fillLists();
    // A choice in the headings list.
    void chooseHeading(const QString &entry);

    // The vocabulary list of that name; the runner places it on its page.
    QComboBox *list(const QString &name) const { return lists_.value(name); }

private:
    void makeLists();

    FeatureContext ctx_;
    QHash<QString, QComboBox *> lists_;
    bool leavingTypedHeading_ = false; // the headings list's typed text is being left
};

} // namespace pw
