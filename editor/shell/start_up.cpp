#include "shell/start_up.h"

#include "document/recovery_keeper.h"
#include "shared/program_state.h"
#include "shared/qt_platform.h"
#include "shared/settings_store.h"
#include "shell/main_window.h"
#include "shell/program_folder.h"
#include "shell/recovery_dialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace pw {

std::unique_ptr<QWidget> createSplash(const QString &programFolder)
{
    auto frmSplash = std::make_unique<QWidget>(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    frmSplash->setObjectName(QStringLiteral("frmSplash"));
    auto *imgLogo = new QLabel(frmSplash.get());
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    // A missing or broken picture leaves the splash without one.
    QPixmap logo;
    if (logo.load(QDir(programFolder).filePath(QStringLiteral("Pagewick_Logo.gif"))))
        imgLogo->setPixmap(logo);
    auto *layout = new QVBoxLayout(frmSplash.get());
    layout->addWidget(imgLogo);
    return frmSplash;
}

int startUp(const QString &commandLine)
{
    const QString folder = programFolder();

    std::unique_ptr<QWidget> frmSplash = createSplash(folder);
    frmSplash->show();
    QApplication::processEvents();

    ProgramState state;
    SettingsStore settings;
    QtPlatform platform;
    MainWindow frmMain(state, settings, platform, folder);
    platform.setParentWindow(&frmMain);
    frmMain.loadMainWindow(commandLine); // shows the window
    frmSplash.reset();
    frmMain.reportLoadProblems();
    // Destroyed before the window, at the end of a normal run: the copies go with them.
    RecoveryStore recovery(RecoveryStore::defaultFolder());
    RecoveryKeeper keeper(frmMain.document(), recovery);
    offerRecovery(frmMain.document(), recovery, keeper, platform, &frmMain);
    return QApplication::exec();
}

} // namespace pw
