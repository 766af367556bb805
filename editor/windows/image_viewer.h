#pragma once
// frmImageView: browses the pictures of a directory with the drive, directory and file
// panes; a click on a file shows it, scaled down to the window keeping its proportions. A
// file that cannot be read as a picture shows nothing.
#include <QDialog>

class QLabel;

namespace pw {

class FileList;
struct FeatureContext;

class ImageViewer : public QDialog {
    Q_OBJECT
public:
    // Opens on the main window's drive and directory.
    ImageViewer(FeatureContext &context, QWidget *parent = nullptr);

    // Shows the listed file, or nothing when it is no picture this program can read.
    void showPicture(const QString &name);

private:
    FileList *files_;
    QLabel *imgView_;
};

// The file list's pattern: every kind of picture this program can read (png, jpg, gif, bmp,
// svg, webp, ... as the installed image formats allow), and the metafiles it lists unread.
QString pictureFilePattern();

// The Picture menu item.
void showImageViewer(FeatureContext &context);

} // namespace pw
