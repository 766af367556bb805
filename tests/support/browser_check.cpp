#include "support/browser_check.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>

namespace pw::test {

BrowserCheck runBrowserCheck(const QString &page, const QString &checks,
                             const QString &screenshotName, const QJsonObject &params)
{
    BrowserCheck result;
    result.screenshot =
        QDir(QStringLiteral(PAGEWICK_BUILD_DIR "/screenshots")).filePath(screenshotName);
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty()) {
        result.output = QStringLiteral("node is not installed (scripts/install-deps installs it)");
        return result;
    }
    const QDir scripts(QStringLiteral(PAGEWICK_SOURCE_DIR "/tests/browser"));
    QProcess driver;
    driver.setProcessChannelMode(QProcess::MergedChannels);
    driver.start(node, {scripts.filePath(QStringLiteral("browser-check.js")), page,
                        scripts.filePath(checks), result.screenshot,
                        QString::fromUtf8(QJsonDocument(params).toJson(QJsonDocument::Compact))});
    // The driver ends itself after 90 seconds; this is only a backstop.
    if (!driver.waitForFinished(110000)) {
        driver.kill();
        driver.waitForFinished();
        result.output = QStringLiteral("the browser check did not end in time\n");
    }
    result.output += QString::fromUtf8(driver.readAll());
    result.passed = driver.exitStatus() == QProcess::NormalExit && driver.exitCode() == 0;
    return result;
}

} // namespace pw::test
