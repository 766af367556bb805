#include "tools/batch_panes.h"

#include "shared/feature_context.h"
#include "shared/paths.h"

namespace pw {

BatchPanes BatchPanes::Create(QWidget *owner, FeatureContext &context)
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
    set.panes->open(context.paneDrive ? context.paneDrive() : QString(),
                    context.paneDirectory ? context.paneDirectory() : QString());
    return set;
}

QString BatchPanes::directoryPrefix() const
{
    QString path = directory->path();
    return WithTrailingBackslash(path);
}

} // namespace pw
