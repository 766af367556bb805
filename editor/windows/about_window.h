#pragma once
// frmAbout: the logo, the version and a button that starts the desktop's system information
// tool.
#include <QDialog>

namespace pw {

class Platform;
struct FeatureContext;

// The system information programs tried in order; the first found on the PATH is started.
inline constexpr const char *kSystemInfoTools[] = {"hardinfo", "gnome-system-monitor",
                                                   "kinfocenter"};

// cmdSysInfo: starts the first system information tool found; says so when none is found
// (or it would not start).
void startSystemInformation(Platform &platform);

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    // The logo is the program folder's Pagewick_Logo.gif; without it the picture stays empty.
    AboutWindow(FeatureContext &context, QWidget *parent = nullptr);
};

// The About menu item.
void showAbout(FeatureContext &context);

} // namespace pw
