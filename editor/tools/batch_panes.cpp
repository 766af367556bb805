#include "tools/batch_panes.h"

#include "document/feature_context.h"
#include "shared/named_widgets.h"

#include <QBoxLayout>
#include <QPushButton>

namespace pw {

BatchPanes BatchPanes::create(QWidget *owner, FeatureContext &context)
{
    BatchPanes set;
    set.drive = new DriveList(owner);
    set.drive->setObjectName(QStringLiteral("MyDrive"));
    set.directory = new DirectoryList(owner);
    set.directory->setObjectName(QStringLiteral("MyDirectory"));
    set.files = new FileList(owner);
    set.files->setObjectName(QStringLiteral("MyFileList"));
    set.files->setMultiSelect(true);
    set.panes = new FilePanes(set.drive, set.directory, set.files, context.platform, owner);
    set.panes->setFollowHighlight(true);
    set.panes->open(context.paneDrive(), context.paneDirectory());
    return set;
}

void BatchPanes::addSteps(QVBoxLayout *layout, const char *selectCaption)
{
    layout->addWidget(namedLabel("Label1", "STEP 1 - Choose The Drive and Directory"));
    layout->addWidget(drive);
    layout->addWidget(labelFor(directory, "lblDirectory", "&Folders"));
    layout->addWidget(directory, 2);
    layout->addWidget(namedLabel("Label2", selectCaption));
    layout->addWidget(files, 3);
    auto *selection = new QHBoxLayout;
    selectAll = namedButton("cmdSelectAll", "Select &All");
    selectNone = namedButton("cmdSelectNone", "Select &None");
    selection->addWidget(selectAll);
    selection->addWidget(selectNone);
    layout->addLayout(selection);
    QObject::connect(selectNone, &QPushButton::clicked, files, &FileList::clearSelection);
}

void BatchPanes::setLocked(bool locked)
{
    for (QWidget *widget : {static_cast<QWidget *>(drive), static_cast<QWidget *>(directory),
                            static_cast<QWidget *>(files), static_cast<QWidget *>(selectAll),
                            static_cast<QWidget *>(selectNone)}) {
        if (widget)
            widget->setEnabled(!locked);
    }
}

} // namespace pw
