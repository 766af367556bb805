#include "shared/settings_store.h"

#include <QSettings>
#include <QStandardPaths>

namespace pw {

// ~/.config/Pagewick/Pagewick.conf on Linux (Qt's own default would end in ".ini").
static QString UserSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Pagewick/Pagewick.conf");
}

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(UserSettingsFile(), QSettings::IniFormat))
{
}

SettingsStore::SettingsStore(const QString &iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

static QString fullKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

QString SettingsStore::read(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const QVariant value = settings_->value(fullKey(section, key));
    if (!value.isValid())
        return defaultValue;
    // An INI value with an unquoted comma reads back as a list; our values are always
    // single strings, so join such a value back into the text that was written.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    settings_->setValue(fullKey(section, key), value);
}

bool SettingsStore::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return read(section, key, defaultValue ? QStringLiteral("True") : QStringLiteral("False"))
           == QLatin1String("True");
}

void SettingsStore::writeBool(const QString &section, const QString &key, bool value)
{
    write(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void SettingsStore::sync()
{
    settings_->sync();
}

QString SettingsStore::fileName() const
{
    return settings_->fileName();
}

} // namespace pw
