#pragma once
// The pages of the PHP database dialog: an entry form and PHP scripts that add, list, update
// and delete the records of one table of an ODBC data source, and a menu page linking them;
// and the small definition file that keeps the dialog's inputs. Pure text in, text out.
//
// The scripts run on today's PHP and are safe with any input: they take each form field from
// $_POST only as one text and the key from $_GET only as a record number (else they change
// nothing and say why), run every query prepared with its values as parameters, print every
// value from the table escaped, and report a missing data source or a failed query with the
// page's own error line, never with PHP's messages.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace pw {

struct PhpDataFields {
    QString dsn;
    QString userName;
    QString password;
    QString table;
    QString fields; // "FirstName|String|LastName|String|Age|Numeric"
    // The pages to create.
    bool add = true;
    bool update = true;
    bool remove = true;
    bool listAll = true;
    bool menu = true;
};

// The field names of a field list: the items at even positions of the text split at "|",
// each only when an item (its type) follows it.
QStringList phpFieldNames(const QString &fieldList);

// The field names of a field list that PHP would rename when the form is posted (a blank, a
// dot or "[" in the name), so that their page would never receive their data.
QStringList phpRenamedFieldNames(const QString &fieldList);

struct GeneratedPage {
    QString fileName; // "add_form.html", "add.php", ...
    QString text;     // CR LF line breaks, none after the last line
};

// The pages of the checked boxes, in the order they are written.
QList<GeneratedPage> phpDataPages(const PhpDataFields &fields);

// The definition file: DSN, table, user name, password and field list, one quoted value to
// a line, each line ending in CR LF.
QString phpDefinitionText(const PhpDataFields &fields);

// The five values of a definition file, in the boxes of `into` (the page choices are kept);
// nothing when the text does not begin with five quoted lines.
std::optional<PhpDataFields> parsePhpDefinition(const QString &text, PhpDataFields into = {});

} // namespace pw
