#pragma once
// The commands' side of the browser preview: the check that there is a saved document to
// show, before the preview itself (windows/preview.h) takes over.
#include "windows/preview.h"

#include <optional>

namespace pw {

// The document's path when it can be shown in a browser. With no document open, or a
// never-saved one the user declines to save when asked, it says so and gives nothing.
std::optional<QString> documentToPreview(FeatureContext &context);

// cmdIE and cmdNN: the document in that browser, through the path mapping.
void previewDocument(FeatureContext &context, Browser browser);
// "In Browser": the document in the browser chooser, never mapped.
void previewDocumentInChooser(FeatureContext &context);

} // namespace pw
