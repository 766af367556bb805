#include "document/recovery_keeper.h"

#include "document/document.h"
#include "shared/edit_box.h"
#include "shared/recovery_store.h"
#include "shared/safe_write.h"

#include <QFile>
#include <QPlainTextEdit>

namespace pw {

RecoveryKeeper::RecoveryKeeper(Document &document, RecoveryStore &store, QObject *parent)
    : QObject(parent), document_(document), store_(store)
{
    writer_.setMaxThreadCount(1);
    pause_.setSingleShot(true);
    longest_.setSingleShot(true);
    setDelays(2000, 30000);
    connect(&pause_, &QTimer::timeout, this, &RecoveryKeeper::update);
    connect(&longest_, &QTimer::timeout, this, &RecoveryKeeper::update);
    connect(document_.edit().widget(), &QPlainTextEdit::textChanged, this,
            &RecoveryKeeper::changed);
    connect(&document_, &Document::modifiedChanged, this, [this](bool modified) {
        if (modified)
            changed();
        else
            update();
    });
    // A document named anew (Save As that wrote nothing cannot do it) keeps its copy
    // current.
    connect(&document_, &Document::identityChanged, this, [this] {
        if (document_.isModified())
            changed();
    });
}

RecoveryKeeper::~RecoveryKeeper()
{
    writer_.waitForDone();
}

void RecoveryKeeper::setDelays(int pauseMs, int longestMs)
{
    pause_.setInterval(pauseMs);
    longest_.setInterval(longestMs);
}

void RecoveryKeeper::changed()
{
    if (!document_.isModified() || !store_.isActive())
        return;
    pause_.start(); // restarts with every change
    if (!longest_.isActive())
        longest_.start();
}

void RecoveryKeeper::update()
{
    pause_.stop();
    longest_.stop();
    if (!store_.isActive())
        return;
    const QString path = store_.copyPath();
    if (!document_.isModified() || !document_.isOpen()) {
        writer_.start([path] { QFile::remove(path); });
        return;
    }
    const RecoveryHeader header{document_.path(), document_.encoding(), document_.diskStamp()};
    QByteArray bytes = recoveryCopyBytes(header, document_.edit().text());
    ++writes_;
    writer_.start([path, bytes = std::move(bytes)] {
        writeFileSafely(path, bytes, nullptr, FileAccess::OwnerOnly);
    });
}

void RecoveryKeeper::waitForWrites()
{
    writer_.waitForDone();
}

} // namespace pw
