// The PHP database pages and the definition file as text: the field list rule, which pages
// come with which boxes, the back links, and values that would break the PHP they go into.
#include "generators/php_data_markup.h"
#include "support/qt_print.h"

#include <gtest/gtest.h>

using namespace pw;

namespace {

PhpDataFields people(const QString &fieldList)
{
    PhpDataFields f;
    f.dsn = QStringLiteral("pagewick");
    f.table = QStringLiteral("People");
    f.fields = fieldList;
    return f;
}

QString page(const PhpDataFields &f, const QString &name)
{
    for (const GeneratedPage &p : phpDataPages(f)) {
        if (p.fileName == name)
            return p.text;
    }
    ADD_FAILURE() << "no page " << name.toStdString();
    return {};
}

QStringList lines(const QString &text)
{
    return text.split(QStringLiteral("\r\n"));
}

// The lines of a page that start with `prefix`.
QStringList linesStarting(const QString &text, const QString &prefix)
{
    QStringList found;
    for (const QString &line : lines(text)) {
        if (line.startsWith(prefix))
            found << line;
    }
    return found;
}

QStringList fileNames(const PhpDataFields &f)
{
    QStringList names;
    for (const GeneratedPage &p : phpDataPages(f))
        names << p.fileName;
    return names;
}

} // namespace

TEST(PhpFieldList, NamesAreTheEvenItemsThatHaveATypeAfterThem)
{
    EXPECT_EQ(phpFieldNames(QString()), QStringList());
    EXPECT_EQ(phpFieldNames("FirstName"), QStringList());
    EXPECT_EQ(phpFieldNames("FirstName|String"), QStringList({"FirstName"}));
    EXPECT_EQ(phpFieldNames("FirstName|String|LastName"), QStringList({"FirstName"}));
    EXPECT_EQ(phpFieldNames("FirstName|String|LastName|String|Age|Numeric"),
              QStringList({"FirstName", "LastName", "Age"}));
    EXPECT_EQ(phpFieldNames("A||B|"), QStringList({"A", "B"})); // an empty type still counts
}

TEST(PhpDataPages, QueriesAndFormsFollowTheFieldList)
{
    struct Case {
        const char *fields;
        const char *insert;
        const char *update;
        int formLines;
    };
    const Case cases[] = {
        {"FirstName", "$query = \"INSERT INTO People () VALUES () \";",
         "$query = \"UPDATE People SET  WHERE ID=? \";", 0},
        {"FirstName|String|LastName", "$query = \"INSERT INTO People (FirstName) VALUES (?) \";",
         "$query = \"UPDATE People SET FirstName=? WHERE ID=? \";", 1},
        {"FirstName|String|LastName|String|Age|Numeric",
         "$query = \"INSERT INTO People (FirstName,LastName,Age) VALUES (?,?,?) \";",
         "$query = \"UPDATE People SET FirstName=?, LastName=?, Age=? WHERE ID=? \";", 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fields);
        const PhpDataFields f = people(c.fields);
        const QString add = page(f, "add.php");
        const QString update = page(f, "update.php");
        EXPECT_EQ(linesStarting(add, "$query"), QStringList({c.insert}));
        EXPECT_EQ(linesStarting(update, "$query"), QStringList({c.update}));
        EXPECT_EQ(linesStarting(page(f, "add_form.html"), "   <B>").size(), c.formLines);
        EXPECT_EQ(linesStarting(add, "if ($field[").size(), c.formLines);
        // A post that arrived empty is refused only where fields were expected.
        EXPECT_EQ(add.contains("count($_POST) == 0"), c.formLines > 0);
    }

    const PhpDataFields three = people("FirstName|String|LastName|String|Age|Numeric");
    EXPECT_EQ(linesStarting(page(three, "add.php"), "$values"),
              QStringList({"$values = array($field[\"FirstName\"],$field[\"LastName\"],"
                           "$field[\"Age\"]);"}));
    EXPECT_EQ(linesStarting(page(three, "update.php"), "$values"),
              QStringList({"$values = array($field[\"FirstName\"],$field[\"LastName\"],"
                           "$field[\"Age\"],$id);"}));
    EXPECT_EQ(linesStarting(page(three, "update.php"), "$field[\"Age\"]"),
              QStringList({"$field[\"Age\"] = $_POST[\"Age\"] ?? \"\";"}));
}

TEST(PhpDataPages, WholePagesLineByLine)
{
    const PhpDataFields f = people("FirstName|String|LastName|String");
    EXPECT_EQ(page(f, "add_form.html"),
              "<HTML>\r\n"
              "<!-- This page was generated with Pagewick by Brenlow Computer Services -->\r\n"
              "\r\n"
              "<HEAD><TITLE>Add Form</TITLE></HEAD>\r\n"
              "\r\n"
              "<H1>Add Form</H1><HR><BR>\r\n"
              "\r\n"
              "<FORM Name=frmAdd Method=POST Action=add.php>\r\n"
              "   <B>FirstName:</B><BR>   <INPUT Name=FirstName></INPUT><BR><BR>\r\n"
              "   <B>LastName:</B><BR>   <INPUT Name=LastName></INPUT><BR><BR>\r\n"
              "\r\n"
              "   <INPUT Name=SUBMIT Type=SUBMIT Value=SUBMIT></INPUT>\r\n"
              "   &nbsp;&nbsp;&nbsp;\r\n"
              "   <INPUT Name=RESET Type=RESET Value=RESET></INPUT>\r\n"
              "</FORM>\r\n"
              "\r\n"
              "<BR><HR>\r\n"
              "<A HREF=menu.html>Back To The Menu</A>\r\n"
              "\r\n"
              "</BODY></HTML>");
    EXPECT_EQ(page(f, "delete.php"),
              "<?php\r\n"
              "\r\n"
              "// This page was generated with Pagewick by Brenlow Computer Services\r\n"
              "\r\n"
              "ini_set(\"display_errors\", \"0\");\r\n"
              "print (\"<HTML>\");\r\n"
              "print (\"<HEAD><TITLE>Delete</TITLE></HEAD>\");\r\n"
              "\r\n"
              "print (\"<H1>Delete</H1><HR><BR>\");\r\n"
              "\r\n"
              "// Connect to ODBC DSN and Call the Query\r\n"
              "\r\n"
              "$myDB = @odbc_connect(\"pagewick\",\"\",\"\");\r\n"
              "\r\n"
              "$refused = \"\";\r\n"
              "$id = $_GET[\"id\"] ?? \"\";\r\n"
              "if (!is_string($id) || !ctype_digit($id)) $refused = \"No Valid Record Number "
              "Was Given.\";\r\n"
              "$query = \"DELETE FROM People WHERE ID=? \";\r\n"
              "$values = array($id);\r\n"
              "\r\n"
              "if ($refused == \"\" && $myDB && ($junk = @odbc_prepare($myDB,$query)) && "
              "@odbc_execute($junk,$values)) {\r\n"
              "     print (\"<H3>The Record Was Deleted</H3>\");\r\n"
              "} else {\r\n"
              "     print (\"<H3>There Was An Error.  The Record Was Not Deleted</H3>\");\r\n"
              "     if ($refused != \"\") print (\"<P>\" . $refused . \"</P>\");\r\n"
              "}\r\n"
              "\r\n"
              "if ($myDB) odbc_close($myDB);\r\n"
              "\r\n"
              "print (\"<BR>\");\r\n"
              "print (\"<A HREF=menu.html>Back To The Menu</A>\");\r\n"
              "\r\n"
              "print (\"</BODY></HTML>\");\r\n"
              "\r\n"
              "?>");
}

TEST(PhpDataPages, TheBoxesChooseThePagesAndTheBackLinks)
{
    PhpDataFields all = people("A|String");
    EXPECT_EQ(fileNames(all), QStringList({"add_form.html", "add.php", "update_listing.php",
                                           "update_form.php", "update.php", "delete_listing.php",
                                           "delete.php", "list_all.php", "menu.html"}));
    for (const GeneratedPage &p : phpDataPages(all)) {
        // Every page but the menu links back to it once; PHP pages start as PHP 8 reads them.
        EXPECT_EQ(p.text.count("Back To The Menu"), p.fileName == "menu.html" ? 0 : 1)
            << p.fileName.toStdString();
        EXPECT_EQ(p.text.startsWith("<?php\r\n"), p.fileName.endsWith(".php"));
        EXPECT_FALSE(p.text.endsWith("\r\n"));
    }

    PhpDataFields updateOnly = all;
    updateOnly.add = updateOnly.remove = updateOnly.listAll = updateOnly.menu = false;
    EXPECT_EQ(fileNames(updateOnly),
              QStringList({"update_listing.php", "update_form.php", "update.php"}));
    for (const GeneratedPage &p : phpDataPages(updateOnly))
        EXPECT_FALSE(p.text.contains("menu.html")) << p.fileName.toStdString();
    EXPECT_TRUE(lines(page(updateOnly, "update_form.php")).contains("print (\"<BR><HR>\");"));

    PhpDataFields noAdd = all;
    noAdd.add = false;
    const QString menu = page(noAdd, "menu.html");
    EXPECT_FALSE(menu.contains("add_form.html"));
    EXPECT_TRUE(menu.contains("<A HREF=update_listing.php>Update</A>"));
    EXPECT_TRUE(page(noAdd, "list_all.php").contains("Back To The Menu"));

    // The empty line after the menu's links comes with List All only.
    EXPECT_TRUE(page(all, "menu.html")
                    .contains("<A HREF=list_all.php>List All</A><BR><BR>\r\n\r\n<BR><HR>\r\n"
                              "</BODY></HTML>"));
    PhpDataFields noListAll = all;
    noListAll.listAll = false;
    EXPECT_TRUE(page(noListAll, "menu.html")
                    .contains("<A HREF=delete_listing.php>Delete</A><BR><BR>\r\n<BR><HR>"));

    PhpDataFields none = all;
    none.add = none.update = none.remove = none.listAll = none.menu = false;
    EXPECT_TRUE(phpDataPages(none).isEmpty());
}

TEST(PhpDataPages, TypedTextsStayInsideThePhpStringsTheyGoInto)
{
    PhpDataFields f = people("O'Key|String");
    f.dsn = QStringLiteral("my \"dsn\"");
    f.userName = QStringLiteral("$user");
    f.password = QStringLiteral("p\\a\"s$s");
    f.table = QStringLiteral("T$x");
    const QString list = page(f, "list_all.php");
    EXPECT_TRUE(lines(list).contains(
        "$myDB = @odbc_connect(\"my \\\"dsn\\\"\",\"\\$user\",\"p\\\\a\\\"s\\$s\");"));
    EXPECT_TRUE(lines(list).contains("$query = \"SELECT * FROM T\\$x\";"));
    EXPECT_TRUE(
        lines(page(f, "add.php")).contains("$field[\"O'Key\"] = $_POST[\"O'Key\"] ?? \"\";"));
}

TEST(PhpDataPages, FieldNamesAreEscapedInTheFormAndThoseThatPhpRenamesAreNamed)
{
    const QString form =
        page(people("Plain_1|String|a\"b<c>|String|x' onfocus='y|String"), "add_form.html");
    EXPECT_TRUE(form.contains("   <B>Plain_1:</B><BR>   <INPUT Name=Plain_1></INPUT>"));
    EXPECT_TRUE(form.contains("   <B>a\"b&lt;c&gt;:</B><BR>   <INPUT Name=\"a&quot;b&lt;c&gt;\">"));
    EXPECT_TRUE(form.contains("<INPUT Name=\"x&#39; onfocus=&#39;y\"></INPUT>"));

    EXPECT_EQ(phpRenamedFieldNames("First Name|String|a.b|String|c[0]|String|ok|String|d]|S"),
              QStringList({"First Name", "a.b", "c[0]"}));
    EXPECT_TRUE(phpRenamedFieldNames("FirstName|String|Age|Numeric").isEmpty());
}

TEST(PhpDefinitionFile, SavedValuesLoadBackExactly)
{
    PhpDataFields f = people("FirstName|String|LastName|String|Age|Numeric");
    f.userName = QStringLiteral("admin");
    f.password = QStringLiteral("se\"cr,et |x");
    EXPECT_EQ(phpDefinitionText(f), "\"pagewick\"\r\n\"People\"\r\n\"admin\"\r\n"
                                    "\"se\"cr,et |x\"\r\n"
                                    "\"FirstName|String|LastName|String|Age|Numeric\"\r\n");

    PhpDataFields into;
    into.menu = false; // the page choices are not part of the file
    const std::optional<PhpDataFields> back = parsePhpDefinition(phpDefinitionText(f), into);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->dsn, f.dsn);
    EXPECT_EQ(back->table, f.table);
    EXPECT_EQ(back->userName, f.userName);
    EXPECT_EQ(back->password, f.password);
    EXPECT_EQ(back->fields, f.fields);
    EXPECT_FALSE(back->menu);

    const std::optional<PhpDataFields> empty = parsePhpDefinition("\"\"\n\"\"\n\"\"\n\"\"\n\"\"");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->dsn.isEmpty() && empty->fields.isEmpty());
    EXPECT_FALSE(parsePhpDefinition("\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n"));      // four values
    EXPECT_FALSE(parsePhpDefinition("\"a\"\r\n\"b\"\r\nc\r\n\"d\"\r\n\"e\"\r\n")); // not quoted
    EXPECT_FALSE(parsePhpDefinition(QString()));
}
