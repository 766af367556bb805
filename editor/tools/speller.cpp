#include "tools/speller.h"

#include "files/text_file.h"
#include "shared/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#ifdef PAGEWICK_HAVE_HUNSPELL
#include <hunspell/hunspell.hxx>
#else
class Hunspell {};
#endif

namespace pw {

namespace {

// A personal word file larger than this is not a word list.
constexpr qint64 kPersonalFileLimit = 16 * 1024 * 1024;

bool hasDictionary(const QDir &folder, const QString &name)
{
    return QFileInfo(folder.filePath(name + QStringLiteral(".dic"))).isFile()
           && QFileInfo(folder.filePath(name + QStringLiteral(".aff"))).isFile();
}

} // namespace

QString dictionaryFor(const QString &folder, const QString &localeName)
{
    const QDir dir(folder);
    // "de-AT", "de_AT.UTF-8" and "de_AT@euro" all name the dictionary "de_AT".
    QString name = localeName;
    name.replace(u'-', u'_');
    name = name.section(u'.', 0, 0).section(u'@', 0, 0);
    if (!name.isEmpty() && hasDictionary(dir, name))
        return dir.filePath(name);
    const QString language = name.section(u'_', 0, 0);
    if (!language.isEmpty() && language != QLatin1String("C")
        && language != QLatin1String("POSIX")) {
        const QStringList names =
            dir.entryList({language + QStringLiteral("_*.dic"), language + QStringLiteral(".dic")},
                          QDir::Files, QDir::Name);
        for (const QString &file : names) {
            const QString base = file.chopped(4);
            if (hasDictionary(dir, base))
                return dir.filePath(base);
        }
    }
    if (hasDictionary(dir, QStringLiteral("en_US")))
        return dir.filePath(QStringLiteral("en_US"));
    return {};
}

Speller::~Speller() = default;

#ifdef PAGEWICK_HAVE_HUNSPELL

std::unique_ptr<Speller> Speller::open(const QString &folder, const QString &localeName,
                                       const QString &personalFile, QString *error)
{
    const QString base = dictionaryFor(folder, localeName);
    if (base.isEmpty()) {
        if (error)
            *error = QStringLiteral("No spelling dictionary was found in %1.").arg(folder);
        return nullptr;
    }
    std::unique_ptr<Speller> speller(new Speller);
    speller->dictionary_ = base;
    speller->personalFile_ = personalFile;
    speller->hunspell_ =
        std::make_unique<Hunspell>(QFile::encodeName(base + QStringLiteral(".aff")).constData(),
                                   QFile::encodeName(base + QStringLiteral(".dic")).constData());
    speller->encoding_ = QByteArray(speller->hunspell_->get_dic_encoding()).toUpper();

    QByteArray bytes;
    if (!personalFile.isEmpty()
        && readFileBytes(personalFile, kPersonalFileLimit, &bytes) == ReadResult::Ok) {
        const QString words = QString::fromUtf8(bytes);
        for (const QString &line : words.split(u'\n', Qt::SkipEmptyParts)) {
            const QString word = line.trimmed();
            bool ok = false;
            const std::string encoded = speller->encode(word, &ok);
            if (!word.isEmpty() && ok)
                speller->hunspell_->add(encoded);
        }
    }
    return speller;
}

std::string Speller::encode(const QString &word, bool *ok) const
{
    *ok = true;
    if (encoding_ == "UTF-8" || encoding_ == "UTF8")
        return word.toStdString();
    QStringEncoder encoder(encoding_.constData());
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringConverter::Latin1);
    const QByteArray bytes = encoder.encode(word);
    // A word the dictionary's character set cannot hold is not the dictionary's to judge.
    *ok = !encoder.hasError();
    return bytes.toStdString();
}

QString Speller::decode(const std::string &bytes) const
{
    if (encoding_ == "UTF-8" || encoding_ == "UTF8")
        return QString::fromStdString(bytes);
    QStringDecoder decoder(encoding_.constData());
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringConverter::Latin1);
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

bool Speller::isCorrect(const QString &word)
{
    if (const auto found = known_.constFind(word); found != known_.cend())
        return found.value();
    bool correct = ignored_.contains(word);
    if (!correct) {
        bool ok = false;
        const std::string encoded = encode(word, &ok);
        correct = !ok || hunspell_->spell(encoded);
    }
    known_.insert(word, correct);
    return correct;
}

QStringList Speller::suggestions(const QString &word)
{
    bool ok = false;
    const std::string encoded = encode(word, &ok);
    QStringList list;
    if (!ok)
        return list;
    for (const std::string &suggestion : hunspell_->suggest(encoded))
        list << decode(suggestion);
    return list;
}

void Speller::ignoreAll(const QString &word)
{
    ignored_.insert(word);
    known_.insert(word, true);
}

bool Speller::addToPersonal(const QString &word, QString *error)
{
    bool ok = false;
    const std::string encoded = encode(word, &ok);
    if (ok)
        hunspell_->add(encoded);
    known_.insert(word, true);
    if (personalFile_.isEmpty())
        return true;

    QByteArray bytes;
    QString readError;
    if (QFileInfo::exists(personalFile_)
        && readFileBytes(personalFile_, kPersonalFileLimit, &bytes, &readError) != ReadResult::Ok) {
        // Writing now would lose the words the file holds.
        if (error)
            *error = readError;
        return false;
    }
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    bytes += word.toUtf8() + '\n';
    QDir().mkpath(QFileInfo(personalFile_).absolutePath());
    return writeFileSafely(personalFile_, bytes, error);
}

#else

std::unique_ptr<Speller> Speller::open(const QString &, const QString &, const QString &,
                                       QString *error)
{
    if (error)
        *error = QStringLiteral("This build of the program has no spell checker.");
    return nullptr;
}

std::string Speller::encode(const QString &, bool *ok) const
{
    *ok = false;
    return {};
}

QString Speller::decode(const std::string &) const
{
    return {};
}

bool Speller::isCorrect(const QString &)
{
    return true;
}

QStringList Speller::suggestions(const QString &)
{
    return {};
}

void Speller::ignoreAll(const QString &) {}

bool Speller::addToPersonal(const QString &, QString *)
{
    return false;
}

#endif

} // namespace pw
