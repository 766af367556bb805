#pragma once
#include <QString>

namespace pw {

class Platform;

// Makes Pagewick the "Edit with Pagewick" program for HTML files: writes a desktop entry
// into `applicationsDir` (by default ~/.local/share/applications) and adds it to the
// text/html associations of `mimeAppsList` (by default ~/.config/mimeapps.list), keeping
// every other line of that file. Then reports it, whatever happened, as the registration
// always did.
void registerHTMLFiles(Platform &platform, const QString &executable,
                       QString applicationsDir = QString(), QString mimeAppsList = QString());

// The desktop entry's text for the given executable.
QString desktopEntryText(const QString &executable);
// mimeapps.list text with pagewick.desktop added to text/html under [Added Associations].
QString withHtmlAssociation(const QString &mimeAppsText);

} // namespace pw
