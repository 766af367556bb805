#include "shared/settings_store.h"

#include "shared/platform.h"
#include "shared/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace pw {

namespace {

// ~/.config/Pagewick/Pagewick.conf on Linux.
QString userSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Pagewick/Pagewick.conf");
}

QString slot(const QString &section, const QString &key)
{
    return section + QChar(0) + key;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimmedBlanks(const QByteArray &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

// A value as written in the file: text outside quotes loses the blanks at its ends, text
// inside them keeps everything; backslash escapes work in both. Empty optional when the
// line cannot be read (a quote or an escape left open).
std::optional<QString> unescapeValue(const QByteArray &raw)
{
    const QByteArray text = trimmedBlanks(raw);
    QByteArray out;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '0':
            out += '\0';
            break;
        case 'x': {
            // Up to four hex digits name a character.
            qsizetype end = i + 1;
            while (end < text.size() && end < i + 5
                   && isxdigit(static_cast<unsigned char>(text[end])))
                ++end;
            if (end == i + 1)
                return std::nullopt;
            out +=
                QString(QChar(char16_t(text.mid(i + 1, end - i - 1).toUInt(nullptr, 16)))).toUtf8();
            i = end - 1;
            break;
        }
        default:
            out += text[i];
            break; // \\, \", \; and any other escaped character itself
        }
    }
    if (quoted)
        return std::nullopt;
    QString value = QString::fromUtf8(out);
    // A value that starts with "@" is written with two, as other INI readers expect.
    if (value.startsWith(QLatin1String("@@")))
        value.remove(0, 1);
    return value;
}

QByteArray escapeValue(const QString &value)
{
    const QByteArray utf8 =
        (value.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + value : value).toUtf8();
    const bool quote = !utf8.isEmpty()
                       && (isBlank(utf8.front()) || isBlank(utf8.back()) || utf8.contains('"')
                           || utf8.contains(';') || utf8.contains('#') || utf8.contains(','));
    QByteArray out;
    if (quote)
        out += '"';
    for (char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out +=
                    "\\x"
                    + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(4, '0');
            else
                out += c;
        }
    }
    if (quote)
        out += '"';
    return out;
}

QString errnoText(int code)
{
    return QString::fromStdString(std::generic_category().message(code));
}

} // namespace

SettingsStore::SettingsStore() : SettingsStore(userSettingsFile()) {}

SettingsStore::SettingsStore(const QString &iniFile) : file_(iniFile)
{
    if (load(&lines_, &problem_))
        takeValues();
}

void SettingsStore::takeValues()
{
    stored_.clear();
    for (const Line &line : lines_) {
        if (line.value) {
            const qsizetype eq = line.text.indexOf('=');
            stored_.insert(slot(line.section, line.key), *unescapeValue(line.text.mid(eq + 1)));
        }
    }
}

SettingsStore::~SettingsStore()
{
    sync();
}

// Reads the file into lines. False (with the reason) when the file is there but is not a
// regular file or cannot be read; a missing file is an empty one.
bool SettingsStore::load(std::vector<Line> *lines, QString *problem) const
{
    lines->clear();
    const QByteArray name = QFile::encodeName(file_);
    const QString unreadable = QStringLiteral("The settings file %1 cannot be read (%2). Pagewick "
                                              "starts with its default settings and leaves the "
                                              "file as it is.");
    const QString notRegular = QStringLiteral("The settings file %1 is not a regular file. "
                                              "Pagewick starts with its default settings and "
                                              "leaves the file as it is.")
                                   .arg(file_);
    struct stat info;
    if (::stat(name.constData(), &info) != 0) {
        if (errno == ENOENT)
            return true;
        *problem = unreadable.arg(file_, errnoText(errno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *problem = notRegular;
        return false;
    }
    // Opened without waiting, and checked again once open, in case the file was swapped.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    QByteArray bytes;
    int code = 0;
    bool regular = true;
    if (fd < 0) {
        code = errno;
    } else {
        if (::fstat(fd, &info) != 0)
            code = errno;
        else if (!S_ISREG(info.st_mode))
            regular = false;
        char block[16384];
        while (code == 0 && regular) {
            const ssize_t got = ::read(fd, block, sizeof block);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                code = errno;
            if (got <= 0)
                break;
            bytes.append(block, got);
        }
        ::close(fd);
    }
    if (!regular) {
        *problem = notRegular;
        return false;
    }
    if (code != 0) {
        *problem = unreadable.arg(file_, errnoText(code));
        return false;
    }

    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.isEmpty())
        return true;
    QString section;
    for (QByteArray text : bytes.split('\n')) {
        if (text.endsWith('\r'))
            text.chop(1);
        Line line{text, section, QString(), false};
        const QByteArray trimmed = trimmedBlanks(text);
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            section = QString::fromUtf8(trimmed.mid(1, trimmed.size() - 2)).trimmed();
            line.section = section;
        } else if (!trimmed.startsWith(';') && !trimmed.startsWith('#') && trimmed.contains('=')) {
            const qsizetype eq = text.indexOf('=');
            line.key = QString::fromUtf8(trimmedBlanks(text.left(eq)));
            line.value = !line.key.isEmpty() && unescapeValue(text.mid(eq + 1)).has_value();
        }
        lines->push_back(line);
    }
    return true;
}

// Puts the pending values into `lines`: over the line of the same key (a readable one
// first, else one that could not be read), else after the last line of the section, else
// in a new section at the end.
void SettingsStore::apply(std::vector<Line> *lines) const
{
    for (const auto &[where, value] : pending_) {
        const qsizetype split = where.indexOf(QChar(0));
        const QString section = where.left(split);
        const QString key = where.mid(split + 1);
        const QByteArray text = key.toUtf8() + '=' + escapeValue(value);
        Line line{text, section, key, true};

        qsizetype same = -1, unreadable = -1, lastInSection = -1;
        for (qsizetype i = 0; i < qsizetype(lines->size()); ++i) {
            const Line &existing = (*lines)[size_t(i)];
            if (existing.section != section)
                continue;
            if (existing.key == key)
                (existing.value ? same : unreadable) = i;
            if (!trimmedBlanks(existing.text).isEmpty())
                lastInSection = i;
        }
        if (same < 0)
            same = unreadable;
        if (same >= 0) {
            (*lines)[size_t(same)] = line;
        } else if (lastInSection >= 0) {
            lines->insert(lines->begin() + lastInSection + 1, line);
        } else {
            if (!lines->empty() && !trimmedBlanks(lines->back().text).isEmpty())
                lines->push_back(Line{QByteArray(), lines->back().section, QString(), false});
            lines->push_back(Line{'[' + section.toUtf8() + ']', section, QString(), false});
            lines->push_back(line);
        }
    }
}

QString SettingsStore::read(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const QString where = slot(section, key);
    for (auto it = pending_.rbegin(); it != pending_.rend(); ++it) {
        if (it->first == where)
            return it->second;
    }
    return stored_.value(where, defaultValue);
}

void SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    const QString where = slot(section, key);
    for (auto &entry : pending_) {
        if (entry.first == where) {
            entry.second = value;
            return;
        }
    }
    const auto it = stored_.constFind(where);
    if (it != stored_.constEnd() && *it == value)
        return;
    pending_.emplace_back(where, value);
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

bool SettingsStore::sync()
{
    if (pending_.empty())
        return true;
    if (!problem_.isEmpty())
        return false;
    // What the file holds now, with this store's changes over it.
    std::vector<Line> lines;
    QString problem;
    if (!load(&lines, &problem)) {
        problem_ = problem;
        return false;
    }
    apply(&lines);
    QByteArray bytes;
    for (const Line &line : lines)
        bytes += line.text + '\n';
    QDir().mkpath(QFileInfo(file_).absolutePath());
    if (!writeFileSafely(file_, bytes))
        return false;
    lines_ = std::move(lines);
    pending_.clear();
    takeValues();
    return true;
}

QString SettingsStore::fileName() const
{
    return file_;
}

void reportSettingsProblem(const SettingsStore &settings, Platform &platform)
{
    if (!settings.problem().isEmpty())
        platform.messageBox(QStringLiteral("Pagewick"), settings.problem(), MsgButtons::Ok,
                            MsgIcon::Exclamation);
}

} // namespace pw
