#include "windows/preview_commands.h"

#include "document/document.h"
#include "document/feature_context.h"
#include "shared/platform.h"

namespace pw {

std::optional<QString> documentToPreview(FeatureContext &context)
{
    Platform &platform = context.platform;
    Document &document = context.document;
    if (!document.isOpen()) {
        platform.messageBox(QStringLiteral("View In Browser Aborted..."),
                            QStringLiteral("There Is No Document To Show"), MsgButtons::Ok,
                            MsgIcon::Information);
        return std::nullopt;
    }
    if (document.isUntitled()) {
        platform.messageBox(
            QStringLiteral("Notice..."),
            QStringLiteral("You Must Save The File Before Viewing In External Browser"),
            MsgButtons::Ok, MsgIcon::Information);
        document.saveAs();
        // Still untitled: the user cancelled, and knows it.
        if (document.isUntitled())
            return std::nullopt;
    }
    return document.path();
}

void previewDocument(FeatureContext &context, Browser browser)
{
    if (const std::optional<QString> path = documentToPreview(context))
        previewInBrowser(context, browser, *path);
}

void previewDocumentInChooser(FeatureContext &context)
{
    if (const std::optional<QString> path = documentToPreview(context))
        chooseBrowserFor(context, *path);
}

} // namespace pw
