#pragma once
// The spelling dictionary of a session: a Hunspell dictionary, the user's personal words
// (a file of one word to a line beside the settings) and the words ignored until the program
// ends. Answers are remembered per word, so a long page with few distinct words is quick.
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

namespace pw {

// Where the system keeps its dictionaries.
inline const QString kDictionaryFolder = QStringLiteral("/usr/share/hunspell");

// The dictionary for a locale name ("de_AT"): the folder's file for that name, else one of
// the same language ("de_DE"), else "en_US". Returns the path without ".dic"/".aff" (both
// must be there), or empty when none is.
QString dictionaryFor(const QString &folder, const QString &localeName);

class Speller {
public:
    ~Speller();
    Speller(const Speller &) = delete;
    Speller &operator=(const Speller &) = delete;

    // Opens the dictionary of the locale (see dictionaryFor) and the personal word file,
    // which need not exist yet. Nothing, with the reason in `error`, when no dictionary can
    // be opened.
    static std::unique_ptr<Speller> open(const QString &folder, const QString &localeName,
                                         const QString &personalFile, QString *error);

    QString dictionaryPath() const { return dictionary_; }
    // True for a word of the dictionary, the personal words or the ignored words.
    bool isCorrect(const QString &word);
    QStringList suggestions(const QString &word);
    // Passes the word for the rest of the session.
    void ignoreAll(const QString &word);
    // Adds the word to the personal words and their file. The word counts as correct even
    // when the file cannot be written; then false, with the reason in `error`.
    bool addToPersonal(const QString &word, QString *error);

private:
    Speller() = default;
    std::string encode(const QString &word, bool *ok) const;
    QString decode(const std::string &bytes) const;

    std::unique_ptr<Hunspell> hunspell_;
    QString dictionary_;
    QString personalFile_;
    QByteArray encoding_; // the dictionary's character set ("UTF-8", "ISO8859-1", ...)
    QSet<QString> ignored_;
    QHash<QString, bool> known_; // answers given so far
};

} // namespace pw
