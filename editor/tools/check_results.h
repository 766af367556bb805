#pragma once
// The pane under the document box that lists what Check Page and Check PHP found: line,
// column and text of each message. A double click takes the caret there. Each check
// replaces the list; the document is only read.
#include "tools/page_check.h"

#include <QWidget>

class QLabel;
class QTreeWidget;

namespace pw {

class EditBox;
struct FeatureContext;

class CheckResults : public QWidget {
    Q_OBJECT
public:
    explicit CheckResults(EditBox &edit, QWidget *parent = nullptr);

    // Shows the pane with the messages under a one-line summary.
    void showMessages(const QString &summary, const QList<CheckMessage> &messages);
    QList<CheckMessage> messages() const { return messages_; }
    QTreeWidget *list() const { return list_; }
    // Puts the caret on the place of the message in the given row.
    void goTo(int row);

private:
    EditBox &edit_;
    QLabel *summary_;
    QTreeWidget *list_;
    QList<CheckMessage> messages_;
};

// Check Page: libtidy over the document's text.
void checkPage(FeatureContext &context, CheckResults &results);
// Check PHP: `php -l` over the document's text; says so when there is no php on the PATH.
void checkPhp(FeatureContext &context, CheckResults &results);

} // namespace pw
