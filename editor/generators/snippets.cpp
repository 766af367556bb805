#include "generators/snippets.h"

#include "document/document.h"

#include "files/paths.h"
#include "files/text_file.h"
#include "shared/escaping.h"
#include "shared/insertion.h"
#include "shared/platform.h"
#include "shared/safe_write.h"
#include "shared/unsaved_files.h"

#include <QStringList>

namespace pw {

namespace {

const QString kIncludeFile = QStringLiteral("html_class.inc");
const QString kIncludeDocumentation = QStringLiteral("html_class_documentation.txt");
const QString kCopyTitle = QStringLiteral("File Copy: html_class.inc");

// The lines of a script, each ended with CR LF.
QString scriptText(std::initializer_list<QString> lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

const QString kScriptStart = QStringLiteral("<SCRIPT Language=\"JavaScript\"><!--");
const QString kScriptEnd = QStringLiteral("// --></SCRIPT>");
const QString kInHeader = QStringLiteral("// Place this script in the header of the html page");

// Copies a program file into the target directory; false with the reason when it could not.
bool copyProgramFile(const QString &from, const QString &to, QString *error)
{
    QByteArray bytes;
    // The program's own files are small; anything near this size is not one of them.
    constexpr qint64 kLimit = 64 * 1024 * 1024;
    return readFileBytes(from, kLimit, &bytes, error) == ReadResult::Ok
           && writeFileSafely(to, bytes, error);
}

} // namespace

QString adRotatorScript()
{
    return scriptText({
        kScriptStart,
        QString(),
        kInHeader,
        QStringLiteral("// Call insertAd() from the onLoad of the Body tag"),
        QString(),
        QStringLiteral("url = new Array(\"page1.html\","),
        QStringLiteral("\"page2.html\","),
        QStringLiteral("\"page3.html\","),
        QStringLiteral("\"page4.html\","),
        QStringLiteral("\"page5.html\")"),
        QStringLiteral("function insertAd() {"),
        QStringLiteral("ranAd = Math.round(Math.random()*(url.length-1))"),
        QStringLiteral("document.write('<P Align=Center><A HREF=\"'+url[ranAd]+'\">')"),
        QStringLiteral("document.write('<IMG Src=\"i'+ranAd+'.gif\"Border=0></IMG></A></P>') }"),
        kScriptEnd,
        QString(),
    });
}

QString statusScrollerScript(const QString &text)
{
    return scriptText({
        kScriptStart,
        QString(),
        kInHeader,
        QString(),
        QStringLiteral("function setText(s) {"),
        QStringLiteral("     scrollCount=0"),
        QStringLiteral("     mScroll=127"),
        QStringLiteral("     scrolledText=s }"),
        QString(),
        QStringLiteral("function space(n) {"),
        QStringLiteral("result=\"\""),
        QStringLiteral("for(var i=0; i<n; ++i) result+=\" \""),
        QStringLiteral("return result  }"),
        QString(),
        QStringLiteral("function statusScroll() {"),
        QStringLiteral("var text=space(mScroll - scrollCount)+scrolledText"),
        QStringLiteral("++scrollCount"),
        QStringLiteral("scrollCount %= (mScroll+1)"),
        QStringLiteral("window.defaultStatus=text"),
        QStringLiteral("window.setTimeout(\"statusScroll()\",500) }"),
        kScriptEnd,
        QString(),
        kScriptStart,
        QString(),
        QStringLiteral("// Place this script in the body of the html page"),
        QString(),
        QStringLiteral("setText(\"") + jsString(text) + QStringLiteral("\")"),
        QStringLiteral("statusScroll()"),
        kScriptEnd,
        QString(),
    });
}

void insertAdRotator(FeatureContext &context)
{
    insertText(context.edit, adRotatorScript());
}

void insertStatusScroller(FeatureContext &context)
{
    const QString text = context.platform.inputBox(QStringLiteral("Enter Scrolling Text:"),
                                                   QStringLiteral("Pagewick"));
    // Cancel (or no text) leaves the document as it was: a scroller of nothing is no use.
    if (text.isEmpty())
        return;
    insertText(context.edit, statusScrollerScript(text));
}

void copyIncludeFile(FeatureContext &context)
{
    Platform &platform = context.platform;
    const QString target = directoryOfPath(context.document.path());
    const bool present = fileIsPresent(target + kIncludeFile);
    if (present) {
        const MsgAnswer answer =
            platform.messageBox(kCopyTitle,
                                QStringLiteral("The File already exists in the directory\r\n"
                                               "Do you wish to overwrite the current file?"),
                                MsgButtons::YesNoCancel, MsgIcon::Question);
        if (answer != MsgAnswer::Yes)
            return;
    }

    QStringList failed;
    QStringList reasons;
    platform.setBusy(true);
    for (const QString &name : {kIncludeFile, kIncludeDocumentation}) {
        QString error;
        if (!copyProgramFile(joinPath(context.programFolder, name), target + name, &error)) {
            failed << name;
            reasons << name + QStringLiteral(": ") + error;
        }
    }
    platform.setBusy(false);

    // A copy that did not happen is never reported as done.
    if (!failed.isEmpty()) {
        reportUnsavedFiles(platform, failed, reasons.join(QLatin1Char('\n')));
    } else if (!present) {
        // Replacing the files on request needs no confirmation; the first copy gets one.
        platform.messageBox(kCopyTitle, QStringLiteral("Copy Complete"), MsgButtons::Ok,
                            MsgIcon::Information);
    }
}

} // namespace pw
