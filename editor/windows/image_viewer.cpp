#include "windows/image_viewer.h"

#include "shared/dialog_parts.h"
#include "document/feature_context.h"
#include "shared/file_panes.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

namespace pw {

ImageViewer::ImageViewer(FeatureContext &context, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImageView"));
    setWindowTitle(QStringLiteral("Image Viewer"));
    auto *drive = new DriveList(this);
    drive->setObjectName(QStringLiteral("MyDrive"));
    auto *directory = new DirectoryList(this);
    directory->setObjectName(QStringLiteral("MyDirectory"));
    files_ = new FileList(this);
    files_->setObjectName(QStringLiteral("MyFileList"));
    files_->setPattern(QStringLiteral("*.gif;*.bmp;*.jpg;*.wmf;*.dib"));
    imgView_ = namedLabel("imgView", "");
    imgView_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A picture larger than the window can be scrolled, as it is shown at its own size.
    auto *scroll = new QScrollArea;
    scroll->setWidget(imgView_);
    scroll->setWidgetResizable(true);
    auto *cmdOk = namedButton("cmdOk", "OK");
    cmdOk->setDefault(true); // Enter presses it
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *panes = new FilePanes(drive, directory, files_, context.platform, this);
    panes->setFollowHighlight(true);
    panes->open(context.paneDrive(), context.paneDirectory());
    connect(files_, &FileList::fileClicked, this, &ImageViewer::showPicture);
    connect(files_, &FileList::fileActivated, this, &ImageViewer::showPicture);

    auto *left = new QVBoxLayout;
    left->addWidget(drive);
    left->addWidget(directory, 1);
    left->addWidget(files_, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(scroll, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);
    setMinimumSize(twipsToPixels(6600), twipsToPixels(6045));
    nameBoxesByLabels(this);
}

void ImageViewer::showPicture(const QString &name)
{
    // The content decides the format, so a .dib reads as the bitmap it is; what cannot be
    // read (a metafile, a damaged file) leaves the view empty.
    QImageReader reader(files_->fullPath(name));
    reader.setDecideFormatFromContent(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        imgView_->clear();
    else
        imgView_->setPixmap(QPixmap::fromImage(picture));
}

void showImageViewer(FeatureContext &context)
{
    ImageViewer viewer(context, context.parent);
    context.platform.runDialog(viewer);
}

} // namespace pw
