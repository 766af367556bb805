#pragma once
#include <QString>

namespace pw {

class Platform;

// Makes Pagewick the "Edit with Pagewick" program for HTML files: adds pagewick.desktop to
// the text/html associations of `mimeAppsList` (by default ~/.config/mimeapps.list), keeping
// every other line of that file. A program run from a build folder first writes that entry
// into `applicationsDir` (by default ~/.local/share/applications); an installed one whose
// entry the desktop already finds (see installedDesktopEntry) writes none, and takes back
// one an earlier registration left there, which would hide the installed entry. Then
// reports it, whatever happened, as the registration always did.
void registerHTMLFiles(Platform &platform, const QString &executable,
                       QString applicationsDir = QString(), QString mimeAppsList = QString());

// The desktop entry an installation put beside `executable` (its prefix's
// share/applications/pagewick.desktop) when one of `searchedFolders` (where the desktop looks
// for entries) holds it; empty for a program in a build folder (one that holds Template.html)
// or one whose entry the desktop does not see.
QString installedDesktopEntry(const QString &executable, const QStringList &searchedFolders);

// The desktop entry's text for the given executable.
QString desktopEntryText(const QString &executable);
// mimeapps.list text with pagewick.desktop added to text/html under [Added Associations].
QString withHtmlAssociation(const QString &mimeAppsText);

} // namespace pw
