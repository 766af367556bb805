// Which words of a page are checked, and the dictionary of a session: the system's Hunspell
// dictionary, the personal words file and the ignored words.
#include "tools/page_words.h"
#include "tools/speller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pw;

namespace {

QStringList wordsOf(const QString &page)
{
    QStringList words;
    for (const WordSpan &span : pageTextWords(page))
        words << page.mid(span.start, span.length);
    return words;
}

void touch(const QDir &dir, const QString &name)
{
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(PageWords, OnlyTheTextAReaderSeesIsChecked)
{
    const struct {
        const char *page;
        QStringList words;
    } cases[] = {
        {"<TD>teh</TD>", {"teh"}},
        // Alt and Title values are read or heard: their words are checked, other values not.
        {"<IMG Alt=\"recieve\" Src='a>b.gif'>after", {"recieve", "after"}},
        {"<a title=it's>word</a>", {"it's", "word"}},
        {"<a HREF=\"teh.html\" TITLE = 'See index.html or teh page' alt>x</a>",
         {"See", "or", "teh", "page", "x"}},
        {"<img alt=\"<?php echo $wrnog ?>\" title=\"Our&nbsp;logo\"></img alt=no>",
         {"Our", "logo"}},
        {"<!DOCTYPE html title=x><meta content=\"teh\" name=\"title\">", {}},
        {"one<!-- misspeled -->two<!--- cf coment --->three<![CDATA[ x<y ]]>four",
         {"one", "two", "three", "four"}},
        {"<SCRIPT Language=\"JavaScript\">if (a < b) wrnog();</SCRIPT>text", {"text"}},
        {"<style>bodyy { colr: red }</STYLE>", {}},
        {"<script src=\"x.js\" />after", {"after"}},
        {"<script>never closed", {}},
        {"a<?php echo $wrnog; ?>b<% Respons.Write \"x\" %>c<?= $y ?>", {"a", "b", "c"}},
        {"<a href=\"<?php echo $u ?>\">link</a>", {"link"}},
        {"<cfscript>wrnog = 1;</cfscript><cfquery name=q>SELEKT *</cfquery>Hi #fnord#", {"Hi"}},
        {"Fish &amp; Chips&nbsp;here caf&eacute; &#233;t&#233; na&#239;ve x&#38;y",
         {"Fish", "Chips", "here", "x", "y"}},
        {"See www.example.com, me@example.com, index.html; and/or e.g. h1 2nd {{x}} $v", {"See"}},
        {"don't 'quoted' rock-solid it\u2019s", {"don't", "quoted", "rock", "solid", "it\u2019s"}},
        {"a < b <3", {"a", "b"}},
        {"caf\u00e9 \u00fcber e\u0301t\u00e9", {"caf\u00e9", "\u00fcber", "e\u0301t\u00e9"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(wordsOf(QString::fromUtf8(c.page)), c.words) << c.page;

    // Places count a line break as the two characters it is in the text.
    EXPECT_EQ(pageTextWords(u"<P>\r\nab cd"), (std::vector<WordSpan>{{5, 2}, {8, 2}}));
}

TEST(Speller, DictionaryOfTheLocaleElseOfItsLanguageElseAmericanEnglish)
{
    QTemporaryDir temp;
    const QDir dir(temp.path());
    for (const char *name : {"de_DE.aff", "de_DE.dic", "en_US.aff", "en_US.dic", "fr_FR.dic"})
        touch(dir, QString::fromUtf8(name));
    EXPECT_EQ(dictionaryFor(dir.path(), "de_DE"), dir.filePath("de_DE"));
    EXPECT_EQ(dictionaryFor(dir.path(), "de_AT.UTF-8"), dir.filePath("de_DE"));
    EXPECT_EQ(dictionaryFor(dir.path(), "de-CH"), dir.filePath("de_DE"));
    // A dictionary without its affix file cannot be opened.
    EXPECT_EQ(dictionaryFor(dir.path(), "fr_FR"), dir.filePath("en_US"));
    EXPECT_EQ(dictionaryFor(dir.path(), "C"), dir.filePath("en_US"));
    QFile::remove(dir.filePath("en_US.aff"));
    EXPECT_EQ(dictionaryFor(dir.path(), "fr_FR"), QString());

    QString error;
    EXPECT_FALSE(Speller::open(dir.path(), "fr_FR", QString(), &error));
    EXPECT_EQ(error, "No spelling dictionary was found in " + dir.path() + ".");
}

TEST(Speller, SystemDictionaryPersonalWordsAndIgnoredWords)
{
    QTemporaryDir temp;
    const QString personal = temp.filePath("config/Pagewick.dic");
    QString error;
    std::unique_ptr<Speller> speller = Speller::open(kDictionaryFolder, "C", personal, &error);
    ASSERT_TRUE(speller) << error.toStdString();
    EXPECT_EQ(speller->dictionaryPath(), kDictionaryFolder + "/en_US");
    EXPECT_TRUE(speller->isCorrect("the"));
    EXPECT_TRUE(speller->isCorrect("The"));
    EXPECT_TRUE(speller->isCorrect("don't"));
    EXPECT_FALSE(speller->isCorrect("teh"));
    EXPECT_TRUE(speller->suggestions("teh").contains("the"));

    speller->ignoreAll("teh");
    EXPECT_TRUE(speller->isCorrect("teh"));
    EXPECT_FALSE(speller->isCorrect("Pagewick"));
    EXPECT_TRUE(speller->addToPersonal("Pagewick", &error)) << error.toStdString();
    EXPECT_TRUE(speller->addToPersonal("Quorvel", &error)) << error.toStdString();
    EXPECT_TRUE(speller->isCorrect("Pagewick"));
    QFile file(personal);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "Pagewick\nQuorvel\n");

    // The next session knows the personal words but not the ignored ones.
    speller = Speller::open(kDictionaryFolder, "C", personal, &error);
    ASSERT_TRUE(speller);
    EXPECT_TRUE(speller->isCorrect("Pagewick"));
    EXPECT_TRUE(speller->isCorrect("Quorvel"));
    EXPECT_FALSE(speller->isCorrect("teh"));
}

TEST(Speller, APersonalFileThatCannotBeWrittenKeepsTheWordForTheSession)
{
    QTemporaryDir temp;
    // A folder where the file should be: it cannot be read as words nor written.
    const QString personal = temp.filePath("Pagewick.dic");
    ASSERT_TRUE(QDir().mkpath(personal));
    QString error;
    std::unique_ptr<Speller> speller = Speller::open(kDictionaryFolder, "C", personal, &error);
    ASSERT_TRUE(speller);
    EXPECT_FALSE(speller->addToPersonal("Pagewick", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(speller->isCorrect("Pagewick"));
    EXPECT_TRUE(QFileInfo(personal).isDir());
}
