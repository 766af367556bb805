#include "windows/image_viewer.h"

#include "shared/dialog_parts.h"
#include "document/feature_context.h"
#include "shared/file_panes.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace pw {

namespace {

// The picture scaled down to fit the area, keeping its proportions; a small one keeps its
// own size.
class PictureLabel : public QLabel {
public:
    PictureLabel()
    {
        setObjectName(QStringLiteral("imgView"));
        setAlignment(Qt::AlignCenter);
        setMinimumSize(kLeast, kLeast);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    }
    void setPicture(const QImage &picture)
    {
        picture_ = picture;
        fit();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    static constexpr int kLeast = 200;
    void fit()
    {
        if (picture_.isNull()) {
            clear();
            return;
        }
        const QSize room = contentsRect().size();
        QImage shown = picture_;
        if (picture_.width() > room.width() || picture_.height() > room.height())
            shown = picture_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        setPixmap(QPixmap::fromImage(shown));
    }
    QImage picture_;
};

} // namespace

QString pictureFilePattern()
{
    // The program's own list first, then every other kind this Qt reads.
    QStringList patterns{QStringLiteral("*.gif"), QStringLiteral("*.bmp"), QStringLiteral("*.jpg"),
                         QStringLiteral("*.wmf"), QStringLiteral("*.dib")};
    for (const QByteArray &format : QImageReader::supportedImageFormats()) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format).toLower();
        if (!patterns.contains(pattern))
            patterns << pattern;
    }
    return patterns.join(u';');
}

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
    files_->setPattern(pictureFilePattern());
    auto *view = new PictureLabel;
    view->setFrameShape(QFrame::StyledPanel);
    imgView_ = view;
    auto *cmdOk = namedButton("cmdOk", "OK");
    cmdOk->setDefault(true); // Enter presses it
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *panes = new FilePanes(drive, directory, files_, context.platform, this);
    panes->setFollowHighlight(true);
    panes->open(context.paneDrive(), context.paneDirectory());
    connect(files_, &FileList::fileClicked, this, &ImageViewer::showPicture);
    connect(files_, &FileList::fileActivated, this, &ImageViewer::showPicture);

    auto *left = new QVBoxLayout;
    left->addWidget(labelFor(drive, "lblDrive", "Dri&ve"));
    left->addWidget(drive);
    left->addWidget(labelFor(directory, "lblDirectory", "&Folders"));
    left->addWidget(directory, 1);
    left->addWidget(labelFor(files_, "lblFiles", "F&iles"));
    left->addWidget(files_, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(imgView_, 1);
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
    static_cast<PictureLabel *>(imgView_)->setPicture(reader.read());
}

void showImageViewer(FeatureContext &context)
{
    ImageViewer viewer(context, context.parent);
    context.platform.runDialog(viewer);
}

} // namespace pw
