// The find window and the batch tools, opened from the main window.
#include "shell/main_window.h"

#include "tools/directory_replace_dialog.h"
#include "tools/find_window.h"
#include "tools/lower_case_dialog.h"
#include "tools/rtf_dialog.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLayout>
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
    // The tool buttons live on the "Dialogs" page; a page that does not have them yet
    // gets them here.
    QWidget *page = toolbarPage(QStringLiteral("Dialogs"));
    for (const ToolButton &tool : kToolButtons) {
        const QString name = QString::fromUtf8(tool.name);
        auto *button = findChild<QAbstractButton *>(name);
        if (!button && page) {
            auto *created = new QToolButton(page);
            created->setObjectName(name);
            created->setToolTip(QString::fromUtf8(tool.tooltip));
            created->setText(QString::fromUtf8(tool.caption));
            created->setAutoRaise(true);
            created->setFocusPolicy(Qt::NoFocus);
            if (!page->layout()) {
                auto *row = new QHBoxLayout(page);
                row->setContentsMargins(2, 2, 2, 2);
                row->setSpacing(0);
                row->addStretch(1);
            }
            // Before the closing stretch of a row laid out left to right.
            auto *box = qobject_cast<QBoxLayout *>(page->layout());
            if (box && box->count() > 0 && box->itemAt(box->count() - 1)->spacerItem())
                box->insertWidget(box->count() - 1, created);
            else
                page->layout()->addWidget(created);
            button = created;
        }
        if (button) {
            auto run = tool.run;
            connect(button, &QAbstractButton::clicked, this, [this, run] {
                FeatureContext context = featureContext();
                run(context);
            });
        }
    }
}

} // namespace pw
