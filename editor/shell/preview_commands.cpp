#include "shell/preview_commands.h"

#include "shared/platform.h"
#include "shell/main_window.h"

namespace pw {

std::optional<QString> documentToPreview(MainWindow &window)
{
    Platform &platform = window.platform();
    if (window.statusText() == kReady) {
        platform.messageBox(QStringLiteral("View In Browser Aborted..."),
                            QStringLiteral("There Is No Document To Show"), MsgButtons::Ok,
                            MsgIcon::Information);
        return std::nullopt;
    }
    if (window.statusText() == kUntitled) {
        platform.messageBox(
            QStringLiteral("Notice..."),
            QStringLiteral("You Must Save The File Before Viewing In External Browser"),
            MsgButtons::Ok, MsgIcon::Information);
        window.saveAs();
        // Still untitled: the user cancelled, and knows it.
        if (window.statusText() == kUntitled)
            return std::nullopt;
    }
    return window.statusText();
}

void previewDocument(MainWindow &window, Browser browser)
{
    if (const std::optional<QString> document = documentToPreview(window)) {
        FeatureContext context = window.featureContext();
        previewInBrowser(context, browser, *document);
    }
}

void previewDocumentInChooser(MainWindow &window)
{
    if (const std::optional<QString> document = documentToPreview(window)) {
        FeatureContext context = window.featureContext();
        chooseBrowserFor(context, *document);
    }
}

} // namespace pw
