#pragma once
// The per-user settings: string values addressed by section ("Settings", "Browsers",
// "Fonts") and key, kept in an INI file. Every value is written and read back exactly as
// given, blanks, quotes and "|" included. Keys are never deleted.
//
// The file is read and written by the store itself, line by line: a line it cannot read
// (a stray quote, text without "=") costs only that line, and every line it does not know
// keeps its place and its bytes when the file is written back. A settings file that is not
// a regular file (a named pipe, a device, a link to one) or cannot be read is neither read
// nor written: the program runs on the defaults, and problem() says why.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <utility>
#include <vector>

namespace pw {

class Platform;

class SettingsStore {
public:
    // The user's store (~/.config/Pagewick/Pagewick.conf on Linux).
    SettingsStore();
    // A store in the given INI file; tests use one in a temporary directory.
    explicit SettingsStore(const QString &iniFile);
    // Writes what is pending, as sync() does.
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString read(const QString &section, const QString &key, const QString &defaultValue) const;
    void write(const QString &section, const QString &key, const QString &value);
    // Reads a Boolean: True exactly when the stored text is "True".
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    void writeBool(const QString &section, const QString &key, bool value);
    // Writes the changed values to the file, merged into what the file holds by then (another
    // running copy of the program may have written it). False when they could not be written.
    bool sync();
    QString fileName() const;
    // Why the file is not used, as a sentence for the user; empty when all is well.
    QString problem() const { return problem_; }

private:
    struct Line {
        QByteArray text;    // as in the file, without its line break
        QString section;    // the section the line is in
        QString key;        // for a "key=value" line, also an unreadable one
        bool value = false; // the line holds a value that was read
    };
    bool load(std::vector<Line> *lines, QString *problem) const;
    void apply(std::vector<Line> *lines) const;
    // Fills stored_ from lines_.
    void takeValues();

    QString file_;
    QString problem_;
    std::vector<Line> lines_;
    QHash<QString, QString> stored_;                   // the file's values
    std::vector<std::pair<QString, QString>> pending_; // section/key and value, in write order
};

// Tells the user, once, when the settings file is not used (see SettingsStore::problem).
void reportSettingsProblem(const SettingsStore &settings, Platform &platform);

} // namespace pw
