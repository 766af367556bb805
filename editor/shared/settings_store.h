#pragma once
// The per-user settings: string values addressed by section ("Settings", "Browsers",
// "Fonts") and key. Every value is written and read back exactly as given, blanks, quotes
// and "|" included. Keys are never deleted.
#include <QString>
#include <memory>

class QSettings;

namespace pw {

class SettingsStore {
public:
    // The user's store (~/.config/Pagewick/Pagewick.conf on Linux).
    SettingsStore();
    // A store in the given INI file; tests use one in a temporary directory.
    explicit SettingsStore(const QString &iniFile);
    ~SettingsStore();

    QString read(const QString &section, const QString &key, const QString &defaultValue) const;
    void write(const QString &section, const QString &key, const QString &value);
    // Reads a Boolean: True exactly when the stored text is "True".
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    void writeBool(const QString &section, const QString &key, bool value);
    // Flushes pending writes to disk.
    void sync();
    QString fileName() const;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace pw
