// The find window and the batch tools, opened from the main window.
#include "shell/main_window.h"

#include "insertion/flow_layout.h"
#include "tools/directory_replace_dialog.h"
#include "tools/find_window.h"
#include "tools/lower_case_dialog.h"
#include "tools/rtf_dialog.h"

#include <QAction>
#include <QToolButton>

namespace pw {

namespace {

struct ToolButton {
    const char *name;
    const char *tooltip;
    const char *caption; // shown while the button has no picture
    void (*run)(FeatureContext &);
};

const ToolButton kToolButtons[] = {
    {"cmdDirDialog", "Directory Replace Dialog", "DR", [](FeatureContext &c) { RunDirectoryReplace(c); }},
    {"cmdRTFDialog", "RTF to HTML Conversion Dialog", "RTF", [](FeatureContext &c) { RunRTFDialog(c); }},
    {"cmdLowerCase", "Convert Filenames To Lower Case Dialog", "lc", [](FeatureContext &c) { OpenLowerCase(c); }},
};

} // namespace

void MainWindow::connectTools()
{
    for (const char *name : {"mnuFind", "mnuReplace"}) {
        if (QAction *action = findChild<QAction *>(QString::fromUtf8(name))) {
            connect(action, &QAction::triggered, this, [this] {
                FeatureContext context = featureContext();
                OpenFindWindow(context);
            });
        }
    }
    // The tool buttons follow the tag dialogs' buttons on the "Dialogs" page.
    QWidget *page = toolbarPage(QStringLiteral("Dialogs"));
    if (!page)
        return;
    if (!page->layout())
        new FlowLayout(page);
    for (const ToolButton &tool : kToolButtons) {
        auto *button = new QToolButton(page);
        button->setObjectName(QString::fromUtf8(tool.name));
        button->setToolTip(QString::fromUtf8(tool.tooltip));
        button->setText(QString::fromUtf8(tool.caption));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        page->layout()->addWidget(button);
        auto run = tool.run;
        connect(button, &QToolButton::clicked, this, [this, run] {
            FeatureContext context = featureContext();
            run(context);
        });
    }
}

} // namespace pw
