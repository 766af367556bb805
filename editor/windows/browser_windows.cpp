#include "windows/browser_windows.h"

#include "shared/dialog_parts.h"
#include "document/feature_context.h"
#include "files/paths.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pw {

namespace {

QLineEdit *namedBox(const char *name, const QString &text)
{
    auto *box = new QLineEdit(text);
    box->setObjectName(QString::fromUtf8(name));
    box->setMinimumWidth(320);
    return box;
}

} // namespace

BrowserChooser::BrowserChooser(FeatureContext &context, const QString &path, Showing showing,
                               QWidget *parent)
    : QDialog(parent), context_(context), path_(path)
{
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("External Browser"));
    auto *cmdIE = namedButton("cmdIE", "Browser 1");
    cmdIE->setDefault(true); // Enter shows the page in the first browser
    cmdIE->setToolTip(QStringLiteral("MS Internet Explorer"));
    auto *cmdNetscape = namedButton("cmdNetscape", "Browser 2");
    cmdNetscape->setToolTip(QStringLiteral("Netscape Navigator"));
    auto *cmdExit = namedButton("cmdExit", "OK");

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdIE);
    buttons->addWidget(cmdNetscape);
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(namedLabel("Label1", showing == Showing::HelpFile
                                               ? "Choose A Browser To View The Help File"
                                               : "Choose A Browser To View The Document"));
    layout->addLayout(buttons);

    connect(cmdIE, &QPushButton::clicked, this, [this] { showIn(Browser::First); });
    connect(cmdNetscape, &QPushButton::clicked, this, [this] { showIn(Browser::Second); });
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::accept);
    nameBoxesByLabels(this);
}

void BrowserChooser::showIn(Browser browser)
{
    // The chooser stays open only when there was no browser to try.
    if (startBrowserOn(context_, browser, path_, false))
        accept();
}

BrowserDefinitions::BrowserDefinitions(FeatureContext &context, QWidget *parent)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Define External Browsers"));
    txtIE_ = namedBox("txtIE", context.state.iePath.trimmed());
    txtNN_ = namedBox("txtNN", context.state.nnPath.trimmed());
    // While no first browser is named the default browser stands in: the box says which,
    // without making it the box's text (which Done would store).
    if (txtIE_->text().isEmpty())
        txtIE_->setPlaceholderText(browserProgram(Browser::First, context.state, context.platform));

    auto *grid = new QGridLayout;
    const Browser browsers[] = {Browser::First, Browser::Second};
    for (int index = 0; index < 2; ++index) {
        auto *picker = namedButton("cmdIE", "...");
        picker->setProperty("index", index);
        connect(picker, &QPushButton::clicked, this,
                [this, browser = browsers[index]] { browse(browser); });
        grid->addWidget(
            namedLabel(index == 0 ? "Label1" : "Label2", index == 0 ? "Browser 1" : "Browser 2"),
            index, 0);
        grid->addWidget(box(browsers[index]), index, 1);
        grid->addWidget(picker, index, 2);
    }
    auto *cmdDone = namedButton("cmdDone", "Done");
    cmdDone->setDefault(true); // Enter presses it
    connect(cmdDone, &QPushButton::clicked, this, &BrowserDefinitions::storeBrowsers);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdDone);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(bottom);
    nameBoxesByLabels(this);
}

QLineEdit *BrowserDefinitions::box(Browser browser) const
{
    return browser == Browser::First ? txtIE_ : txtNN_;
}

void BrowserDefinitions::browse(Browser browser)
{
    const QString current = typedPath(box(browser)->text());
    const QString picked = context_.platform.openProgramName(
        browser == Browser::First ? QStringLiteral("Browser 1") : QStringLiteral("Browser 2"),
        current.isEmpty() ? QString() : directoryOfPath(current));
    if (!picked.isEmpty())
        box(browser)->setText(picked);
}

void BrowserDefinitions::storeBrowsers()
{
    for (const Browser browser : {Browser::First, Browser::Second}) {
        const QString path = typedPath(box(browser)->text());
        const QString problem = browserPathProblem(path);
        if (path.isEmpty() || problem.isEmpty())
            continue;
        context_.platform.messageBox(windowTitle(), QStringLiteral("%1:\r\n%2").arg(problem, path),
                                     MsgButtons::Ok, MsgIcon::Exclamation);
        box(browser)->setFocus();
        box(browser)->selectAll();
        return;
    }
    for (const Browser browser : {Browser::First, Browser::Second}) {
        const QString path = typedPath(box(browser)->text());
        if (path.isEmpty())
            continue;
        const bool first = browser == Browser::First;
        context_.settings.write(QStringLiteral("Browsers"),
                                first ? QStringLiteral("IE") : QStringLiteral("NN"), path);
        (first ? context_.state.iePath : context_.state.nnPath) = path;
    }
    accept();
}

PathMappingDialog::PathMappingDialog(const PathMapping &mapping, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVirtualPath"));
    setWindowTitle(QStringLiteral("Virtual Path Mapping"));
    txtPhysicalPath_ = namedBox("txtPhysicalPath", mapping.physicalPath);
    txtVirtualPath_ = namedBox("txtVirtualPath", mapping.virtualPath);
    chkUseVPath_ = new QCheckBox(QStringLiteral("Use Virtual Path"));
    chkUseVPath_->setObjectName(QStringLiteral("chkUseVPath"));
    chkUseVPath_->setChecked(mapping.used);
    auto *cmdOk = namedButton("cmdOk", "&Ok");
    cmdOk->setDefault(true); // Enter presses it
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *grid = new QGridLayout;
    grid->addWidget(namedLabel("Label1", "Physical Path"), 0, 0);
    grid->addWidget(txtPhysicalPath_, 0, 1);
    grid->addWidget(namedLabel("Label2", "Virtual Path"), 1, 0);
    grid->addWidget(txtVirtualPath_, 1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkUseVPath_);
    bottom->addStretch(1);
    bottom->addWidget(cmdOk);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(bottom);
    nameBoxesByLabels(this);
}

PathMapping PathMappingDialog::mapping() const
{
    return {txtPhysicalPath_->text(), txtVirtualPath_->text(), chkUseVPath_->isChecked()};
}

} // namespace pw
