#include "windows/about_window.h"

#include "document/feature_context.h"
#include "files/paths.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"

#include <QHBoxLayout>
#include <QPixmap>
#include <QVBoxLayout>

namespace pw {

void startSystemInformation(Platform &platform)
{
    for (const char *tool : kSystemInfoTools) {
        const QString program = platform.findProgram(QString::fromUtf8(tool));
        if (program.isEmpty())
            continue;
        if (platform.startProgram(program, {}))
            return;
        break;
    }
    platform.messageBox(QStringLiteral("Pagewick"),
                        QStringLiteral("System Information Is Unavailable At This Time"),
                        MsgButtons::Ok, MsgIcon::None);
}

AboutWindow::AboutWindow(FeatureContext &context, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Pagewick"));
    auto *imgLogo = namedLabel("imgLogo", "");
    const QPixmap logo(joinPath(context.programFolder, QStringLiteral("Pagewick_Logo.gif")));
    if (!logo.isNull())
        imgLogo->setPixmap(logo);
    auto *cmdSysInfo = namedButton("cmdSysInfo", "&System Info...");
    auto *cmdOK = namedButton("cmdOK", "OK");
    cmdOK->setDefault(true);
    Platform &platform = context.platform;
    connect(cmdSysInfo, &QPushButton::clicked, this,
            [&platform] { startSystemInformation(platform); });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *text = new QVBoxLayout;
    text->addWidget(namedLabel("lblTitle", "Pagewick"));
    text->addWidget(namedLabel("lblVersion", "Version 4.5.2"));
    text->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(imgLogo);
    top->addLayout(text, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
}

void showAbout(FeatureContext &context)
{
    AboutWindow about(context, context.parent);
    context.platform.runDialog(about);
}

} // namespace pw
