#pragma once
// The way back from the last directory replace. Before the replace writes anything, the
// files it will change are copied into the recovery folder; once it has run, the files it
// did change are noted with a hash of what it wrote. Undo puts each back byte for byte, but
// only while the file still holds what the replace wrote: a file changed since keeps that
// change and is named instead. No widgets here.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace pw {

class ReplaceUndo {
public:
    // The folder kept in the recovery folder for the last directory replace.
    static QString defaultFolder();
    explicit ReplaceUndo(const QString &folder = defaultFolder()) : folder_(folder) {}

    // Whether there is a replace to undo.
    bool available() const;

    // Before the replace: the files' bytes as they are (an earlier replace's way back goes).
    // False, with the reason, when they could not all be kept: then nothing may be written.
    bool keepOriginals(const QStringList &paths, const QList<QByteArray> &bytes,
                       QString *error = nullptr);
    // After it: the files it wrote (among those kept), with the bytes written to each. Only
    // these are undone.
    bool noteWritten(const QStringList &paths, const QList<QByteArray> &written,
                     QString *error = nullptr);

    struct Outcome {
        QStringList restored; // put back as they were before the replace
        QStringList changed;  // changed since the replace: left alone
        QStringList failed;   // could not be written back (they keep the replace's text)
    };
    // Puts the files back and forgets the replace; nothing when there was none. Files that
    // failed stay noted, so the undo can be tried again.
    Outcome undo();

private:
    QString folder_;
    QStringList kept_; // the files whose originals were kept, in their numbering
};

} // namespace pw
