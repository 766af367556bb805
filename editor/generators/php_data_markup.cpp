#include "generators/php_data_markup.h"

#include "shared/escaping.h"

#include <QRegularExpression>

namespace pw {

namespace {

const QString kCredit =
    QStringLiteral("This page was generated with Pagewick by Brenlow Computer Services");
const QString kBackLinkHtml = QStringLiteral("<A HREF=menu.html>Back To The Menu</A>");
// A page tells its failures in its own words; PHP's messages, which name the script's path,
// go to the server's log whatever the server shows.
const QString kQuietErrors = QStringLiteral("ini_set(\"display_errors\", \"0\");");

// A form field's name as the add form writes it: as typed when it is a plain word, else
// quoted and escaped.
QString fieldNameAttribute(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_-]+$"));
    return plain.match(name).hasMatch() ? name : u'"' + htmlAttribute(name) + u'"';
}

// A value from the table as the page prints it. Latin-1 leaves every byte but the five
// markup characters as it is, so text in any 8-bit or UTF-8 form shows (and goes back in
// the update form) unchanged, where a character set check would blank it.
QString printed(const QString &expression)
{
    return QStringLiteral("htmlspecialchars((string) %1, ENT_QUOTES, 'ISO-8859-1')")
        .arg(expression);
}

// The lines of one page; the text has CR LF between them and none after the last.
class Page {
public:
    Page &operator<<(const QString &line)
    {
        lines_ << line;
        return *this;
    }
    Page &operator<<(const char *line) { return *this << QString::fromUtf8(line); }
    QString text() const { return lines_.join(QStringLiteral("\r\n")); }

private:
    QStringList lines_;
};

class Builder {
public:
    explicit Builder(const PhpDataFields &fields)
        : f_(fields), names_(phpFieldNames(fields.fields)), table_(phpString(fields.table)),
          connect_(QStringLiteral("$myDB = @odbc_connect(\"%1\",\"%2\",\"%3\");")
                       .arg(phpString(fields.dsn), phpString(fields.userName),
                            phpString(fields.password)))
    {
    }

    QString addForm() const
    {
        Page p;
        htmlHead(p, "Add Form");
        p << "<FORM Name=frmAdd Method=POST Action=add.php>";
        for (const QString &name : names_)
            p << QStringLiteral("   <B>%1:</B><BR>   <INPUT Name=%2></INPUT><BR><BR>")
                     .arg(htmlText(name), fieldNameAttribute(name));
        p << ""
          << "   <INPUT Name=SUBMIT Type=SUBMIT Value=SUBMIT></INPUT>"
          << "   &nbsp;&nbsp;&nbsp;"
          << "   <INPUT Name=RESET Type=RESET Value=RESET></INPUT>"
          << "</FORM>"
          << ""
          << "<BR><HR>";
        if (f_.menu)
            p << kBackLinkHtml << "";
        p << "</BODY></HTML>";
        return p.text();
    }

    QString menuPage() const
    {
        Page p;
        htmlHead(p, "Menu");
        if (f_.add)
            p << "<A HREF=add_form.html>Add</A><BR><BR>";
        if (f_.update)
            p << "<A HREF=update_listing.php>Update</A><BR><BR>";
        if (f_.remove)
            p << "<A HREF=delete_listing.php>Delete</A><BR><BR>";
        if (f_.listAll)
            p << "<A HREF=list_all.php>List All</A><BR><BR>"
              << "";
        p << "<BR><HR>"
          << "</BODY></HTML>";
        return p.text();
    }

    enum class Listing { All, Update, Delete };

    QString listing(Listing kind) const
    {
        Page p;
        phpHead(p, kind == Listing::All      ? "List All"
                   : kind == Listing::Update ? "Update Listing"
                                             : "Delete Listing");
        p << QStringLiteral("$query = \"SELECT * FROM %1\";").arg(table_)
          << "$result = $myDB ? @odbc_prepare($myDB,$query) : false;"
          << "if (!$result || !@odbc_execute($result)) {"
          << "     print (\"<H3>There Was An Error.  The Records Were Not Listed</H3>\");"
          << "     $result = false;"
          << "}"
          << ""
          << "// Print the Results"
          << "";
        recordLoop(p);
        if (kind == Listing::All) {
            p << "   print(\"<H3>Record: \" . $c . \"</H3>\");";
        } else {
            // The key goes into the link as the number the pages read it as.
            p << QStringLiteral("   print(\"<H3><A HREF=%1?id=\" . (int) odbc_result($result, "
                                "\"ID\") . \">Record: \" . $c . \"</A></H3>\");")
                     .arg(kind == Listing::Update ? QStringLiteral("update_form.php")
                                                  : QStringLiteral("delete.php"))
              << "";
        }
        p << "   for ($i = 1; $i <= $max; $i = $i + 1)"
          << "     {"
          << QStringLiteral("       print (%1 . \"<BR>\");")
                 .arg(printed(QStringLiteral("odbc_result($result, $i)")))
          << "     }"
          << "   print (\"<BR><HR>\");"
          << ""
          << "}"
          << "";
        phpFoot(p, "print (\"<BR>\");");
        return p.text();
    }

    enum class Action { Add, Update, Delete };

    QString action(Action kind) const
    {
        const QString done = kind == Action::Add      ? QStringLiteral("Added")
                             : kind == Action::Update ? QStringLiteral("Updated")
                                                      : QStringLiteral("Deleted");
        Page p;
        phpHead(p, kind == Action::Add ? "Add" : kind == Action::Update ? "Update" : "Delete");
        p << ""
          << "$refused = \"\";";
        if (kind != Action::Add)
            idCheck(p);
        QStringList values;
        if (kind != Action::Delete) {
            if (!names_.isEmpty()) {
                p << "// A post larger than the server takes arrives as no post at all"
                  << "if (count($_POST) == 0) $refused = \"No Data Arrived With The Form.\";";
            }
            p << "$field = array();";
            for (const QString &name : names_) {
                const QString field = QStringLiteral("$field[\"%1\"]").arg(phpString(name));
                p << QStringLiteral("%1 = $_POST[\"%2\"] ?? \"\";").arg(field, phpString(name))
                  << QStringLiteral("if (%1 == \"\") %1 = \" \";").arg(field);
                values << field;
            }
            p << "// A field is taken only as one whole text: not as a list of values, nor cut "
                 "short at a NUL byte"
              << "foreach ($field as $value)"
              << "   if (!is_string($value) || strpos($value, \"\\0\") !== false) $refused = "
                 "\"Every Field Must Be Sent As One Text.\";"
              << "";
        }
        QStringList columns;
        for (const QString &name : names_)
            columns << phpString(name);
        switch (kind) {
        case Action::Add:
            p << QStringLiteral("$query = \"INSERT INTO %1 (%2) VALUES (%3) \";")
                     .arg(table_, columns.join(u','),
                          QStringList(columns.size(), QStringLiteral("?")).join(u','));
            break;
        case Action::Update:
            for (QString &column : columns)
                column += QStringLiteral("=?");
            p << QStringLiteral("$query = \"UPDATE %1 SET %2 WHERE ID=? \";")
                     .arg(table_, columns.join(QStringLiteral(", ")));
            values << QStringLiteral("$id");
            break;
        case Action::Delete:
            p << QStringLiteral("$query = \"DELETE FROM %1 WHERE ID=? \";").arg(table_);
            values << QStringLiteral("$id");
            break;
        }
        p << QStringLiteral("$values = array(%1);").arg(values.join(u',')) << "";
        const QString run = QStringLiteral(
            "$myDB && ($junk = @odbc_prepare($myDB,$query)) && @odbc_execute($junk,$values)");
        if (kind == Action::Delete) {
            p << "if ($refused == \"\" && " + run + ") {";
        } else {
            // PHP's ODBC layer sends the content of the file a parameter names when the
            // parameter starts and ends with a single quote; such a value is refused.
            p << "// A value in single quotes would be read as the name of a file to send"
              << "if ($refused == \"\" && !preg_grep('/^\\x27.+\\x27\\z/s', $values) && " + run
                     + ") {";
        }
        p << QStringLiteral("     print (\"<H3>The Record Was %1</H3>\");").arg(done) << "} else {"
          << QStringLiteral("     print (\"<H3>There Was An Error.  The Record Was Not %1</H3>\");")
                 .arg(done)
          << "     if ($refused != \"\") print (\"<P>\" . $refused . \"</P>\");"
          << "}"
          << "";
        phpFoot(p, "print (\"<BR>\");");
        return p.text();
    }

    QString updateForm() const
    {
        const QString columnName = printed(QStringLiteral("odbc_field_name($result, $i)"));
        Page p;
        p << "<?php"
          << ""
          << "print (\"<HTML>\");"
          << "// " + kCredit << "" << kQuietErrors
          << "print (\"<HEAD><TITLE>Update Form</TITLE></HEAD>\");"
          << ""
          << "print (\"<H1>Update Form</H1><HR><BR>\");"
          << "// Connect to ODBC DSN and Call the Query"
          << "" << connect_;
        p << "$id = $_GET[\"id\"] ?? \"\";"
          << "// Only a record number names a record"
          << "if (!is_string($id) || !ctype_digit($id)) $id = \"\";"
          << QStringLiteral("$query = \"SELECT * FROM %1 WHERE ID=? \";").arg(table_)
          << "$result = ($myDB && $id != \"\") ? @odbc_prepare($myDB,$query) : false;"
          << "if (!$result || !@odbc_execute($result,array($id))) {"
          << "     print (\"<H3>There Was An Error.  The Record Was Not Found</H3>\");"
          << "     $result = false;"
          << "}"
          << ""
          << "// Print the Results"
          << ""
          << "print(\"<FORM Name=frmUpdate Method=POST Action=update.php?id=$id>\");"
          << "";
        recordLoop(p);
        p << "   for ($i = 2; $i <= $max; $i = $i + 1)"
          << "     {"
          << QStringLiteral("       print (\"<B>\" . %1 . \":</B><BR>\");").arg(columnName)
          << QStringLiteral("       print (\"<INPUT Name=\" . %1 . \" Value='\" . %2 . "
                            "\"'></INPUT><BR><BR>\");")
                 .arg(columnName, printed(QStringLiteral("odbc_result($result, $i)")))
          << "     }"
          << "   print (\"<BR>\");"
          << ""
          << "}"
          << ""
          << "print (\"<INPUT Type=SUBMIT Name=SUBMIT Value=UPDATE></INPUT>\");"
          << "print (\"&nbsp;&nbsp;&nbsp;\");"
          << "print (\"<INPUT Type=RESET Name=RESET Value=RESET></INPUT>\");"
          << "print (\"</FORM>\");"
          << "";
        phpFoot(p, "print (\"<BR><HR>\");");
        return p.text();
    }

private:
    static void htmlHead(Page &p, const char *title)
    {
        p << "<HTML>"
          << "<!-- " + kCredit + " -->"
          << "" << QStringLiteral("<HEAD><TITLE>%1</TITLE></HEAD>").arg(QLatin1String(title)) << ""
          << QStringLiteral("<H1>%1</H1><HR><BR>").arg(QLatin1String(title)) << "";
    }

    void phpHead(Page &p, const char *title) const
    {
        p << "<?php"
          << ""
          << "// " + kCredit << "" << kQuietErrors << "print (\"<HTML>\");"
          << QStringLiteral("print (\"<HEAD><TITLE>%1</TITLE></HEAD>\");").arg(QLatin1String(title))
          << "" << QStringLiteral("print (\"<H1>%1</H1><HR><BR>\");").arg(QLatin1String(title))
          << ""
          << "// Connect to ODBC DSN and Call the Query"
          << "" << connect_;
    }

    // The record an update or delete acts on: only a record number names one.
    static void idCheck(Page &p)
    {
        p << "$id = $_GET[\"id\"] ?? \"\";"
          << "if (!is_string($id) || !ctype_digit($id)) $refused = \"No Valid Record Number Was "
             "Given.\";";
    }

    // The opening of the loop over the records of $result, counted in $c.
    static void recordLoop(Page &p)
    {
        p << "$c = 0;"
          << "$max = $result ? odbc_num_fields($result) : 0;"
          << ""
          << "while ($result && odbc_fetch_row($result))"
          << "{"
          << "   $c = $c + 1;"
          << "";
    }

    void phpFoot(Page &p, const char *closing) const
    {
        p << "if ($myDB) odbc_close($myDB);"
          << "" << closing;
        if (f_.menu)
            p << "print (\"" + kBackLinkHtml + "\");"
              << "";
        p << "print (\"</BODY></HTML>\");"
          << ""
          << "?>";
    }

    const PhpDataFields &f_;
    const QStringList names_;
    const QString table_;
    const QString connect_;
};

} // namespace

QStringList phpFieldNames(const QString &fieldList)
{
    const QStringList items = fieldList.split(u'|');
    QStringList names;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2)
        names << items[i];
    return names;
}

QStringList phpRenamedFieldNames(const QString &fieldList)
{
    QStringList renamed;
    for (const QString &name : phpFieldNames(fieldList)) {
        if (name.contains(u' ') || name.contains(u'.') || name.contains(u'['))
            renamed << name;
    }
    return renamed;
}

QList<GeneratedPage> phpDataPages(const PhpDataFields &fields)
{
    const Builder b(fields);
    QList<GeneratedPage> pages;
    const auto page = [&](const char *name, const QString &text) {
        pages.append({QString::fromUtf8(name), text});
    };
    if (fields.add) {
        page("add_form.html", b.addForm());
        page("add.php", b.action(Builder::Action::Add));
    }
    if (fields.update) {
        page("update_listing.php", b.listing(Builder::Listing::Update));
        page("update_form.php", b.updateForm());
        page("update.php", b.action(Builder::Action::Update));
    }
    if (fields.remove) {
        page("delete_listing.php", b.listing(Builder::Listing::Delete));
        page("delete.php", b.action(Builder::Action::Delete));
    }
    if (fields.listAll)
        page("list_all.php", b.listing(Builder::Listing::All));
    if (fields.menu)
        page("menu.html", b.menuPage());
    return pages;
}

QString phpDefinitionText(const PhpDataFields &fields)
{
    QString text;
    for (const QString *value :
         {&fields.dsn, &fields.table, &fields.userName, &fields.password, &fields.fields})
        text += u'"' + *value + QStringLiteral("\"\r\n");
    return text;
}

std::optional<PhpDataFields> parsePhpDefinition(const QString &text, PhpDataFields into)
{
    // One value to a line, so a quote inside a value (a password may hold one) reads back
    // as it was written.
    const QStringList lines = text.split(u'\n');
    QString *const boxes[] = {&into.dsn, &into.table, &into.userName, &into.password, &into.fields};
    QStringList values;
    for (qsizetype i = 0; i < 5; ++i) {
        if (i >= lines.size())
            return std::nullopt;
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.size() < 2 || !line.startsWith(u'"') || !line.endsWith(u'"'))
            return std::nullopt;
        values << line.mid(1, line.size() - 2);
    }
    for (qsizetype i = 0; i < 5; ++i)
        *boxes[i] = values[i];
    return into;
}

} // namespace pw
