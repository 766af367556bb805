#pragma once
// The main window's side of the browser preview: the check that there is a saved document to
// show, before the preview itself (windows/preview.h) takes over.
#include "windows/preview.h"

#include <optional>

namespace pw {

class MainWindow;

// The document's path when it can be shown in a browser. With no document open, or a
// never-saved one the user declines to save when asked, it says so and gives nothing.
std::optional<QString> documentToPreview(MainWindow &window);

// cmdIE and cmdNN: the document in that browser, through the path mapping.
void previewDocument(MainWindow &window, Browser browser);
// "In Browser": the document in the browser chooser, never mapped.
void previewDocumentInChooser(MainWindow &window);

} // namespace pw
