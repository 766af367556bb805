#include "shell/start_up.h"

#include "shared/program_state.h"
#include "shared/qt_platform.h"
#include "shared/settings_store.h"
#include "shell/main_window.h"
#include "shell/program_folder.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace pw {

int StartUp(const QString &commandLine)
{
    const QString folder = ProgramFolder();

    QWidget frmSplash(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    frmSplash.setObjectName(QStringLiteral("frmSplash"));
    auto *imgLogo = new QLabel(&frmSplash);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    // A missing or broken picture leaves the splash without one.
    QPixmap logo;
    if (logo.load(QDir(folder).filePath(QStringLiteral("Pagewick_Logo.gif"))))
        imgLogo->setPixmap(logo);
    else
        imgLogo->setText(QStringLiteral("Pagewick"));
    auto *layout = new QVBoxLayout(&frmSplash);
    layout->addWidget(imgLogo);
    frmSplash.show();
    QApplication::processEvents();

    ProgramState state;
    SettingsStore settings;
    QtPlatform platform;
    MainWindow frmMain(state, settings, platform, folder);
    platform.setParentWindow(&frmMain);
    frmMain.LoadMainWindow(commandLine);
    frmSplash.close();
    frmMain.show();
    return QApplication::exec();
}

} // namespace pw
