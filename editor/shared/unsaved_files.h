#pragma once
// A command that writes several files reports those it could not write in one message, and
// shows its success message only when there are none.
#include <QString>
#include <QVector>

namespace pw {

class Platform;

struct UnsavedFile {
    QString name;   // as the message lists it
    QString reason; // why it could not be written; may be empty
};

// "These Files Could Not Be Saved:" and the names, one to a line; the reasons, when there
// are any, as the message's detail.
void reportUnsavedFiles(Platform &platform, const QVector<UnsavedFile> &files);

} // namespace pw
