#pragma once
// The snippet commands of the script and PHP pages: two ready-made client scripts put into
// the document, and the copy of the HTML helper include file beside the document.
#include "document/feature_context.h"

namespace pw {

// A script that writes one of five placeholder banners, picked at random, as a link. Every
// line ends with CR LF.
QString adRotatorScript();
// A script that scrolls `text` (as a script string of the same value) through the browser's status
// bar; every line ends with CR LF.
QString statusScrollerScript(const QString &text);

// cmdJSAd: the ad rotator at the caret, or in place of the selection.
void insertAdRotator(FeatureContext &context);
// cmdJSStatusScroll: asks for the text, then inserts the scroller; a cancelled question or an
// empty text inserts nothing.
void insertStatusScroller(FeatureContext &context);
// cmdCopyINC: copies the include file and its documentation from the program folder into the
// document's directory (the current directory for an untitled document), asking first when
// the include file is there already.
void copyIncludeFile(FeatureContext &context);

} // namespace pw
