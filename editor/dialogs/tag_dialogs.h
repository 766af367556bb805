#pragma once
// The tag dialogs by the names the toolbar's rows give them. The main window registers each
// with the toolbar; a command builds its dialog afresh for every showing, so each starts from
// its designed state.
#include "document/feature_context.h"

#include <QDialog>
#include <memory>
#include <span>

namespace pw {

struct TagDialog {
    const char *name; // the dialog's objectName, as the toolbar rows name it
    std::unique_ptr<QDialog> (*make)(FeatureContext &context);
};

std::span<const TagDialog> tagDialogs();

// Shows the date dialog and returns the chosen date text; empty when it was cancelled or
// closed.
QString chooseDate(FeatureContext &context);

} // namespace pw
