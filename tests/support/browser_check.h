#pragma once
// Runs a check script against a page in headless Chromium (tests/browser/browser-check.js,
// which says what a check script may do). A generated page is written to disk first, with
// its support files beside it; then, for example:
//
//   const BrowserCheck run = runBrowserCheck(pagePath, "menu-checks.js", "js-menu.png",
//                                            QJsonObject{{"topics", ...}, ...});
//   EXPECT_TRUE(run.passed) << run.output.toStdString();
//
// The screenshot goes to <build>/screenshots/<name>; the output lists every check made.
#include <QJsonObject>
#include <QString>

namespace pw::test {

struct BrowserCheck {
    bool passed = false;
    QString output; // the driver's report, the browser's complaints included
    QString screenshot;
};

// `checks` names a script in tests/browser; `params` is handed to it.
BrowserCheck runBrowserCheck(const QString &page, const QString &checks,
                             const QString &screenshotName, const QJsonObject &params);

} // namespace pw::test
