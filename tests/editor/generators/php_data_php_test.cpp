// The generated PHP pages run in PHP itself: PHP's own web server serves them over an ODBC
// data source on an SQLite file, and records are added, listed, updated and deleted through
// HTTP, with values that once broke such pages (quotes, SQL, markup).
#include "generators/php_data_markup.h"
#include "shared/safe_write.h"
#include "support/qt_print.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace pw;

namespace {

constexpr int kTimeoutMs = 15000;

QString program(const char *name)
{
    return QStandardPaths::findExecutable(QString::fromUtf8(name));
}

// A port nobody listens on now: the system picks it for a socket that is closed again.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), size) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

int connectTo(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

struct Reply {
    int status = 0;
    QString body;
};

// One HTTP/1.0 request; the server closes the connection after the reply.
Reply request(int port, const QByteArray &method, const QByteArray &target,
              const QByteArray &form = QByteArray())
{
    const int fd = connectTo(port);
    if (fd < 0)
        return {};
    QByteArray text = method + ' ' + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n";
    if (method == "POST")
        text += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
                + QByteArray::number(form.size()) + "\r\n";
    text += "\r\n" + form;
    QByteArray answer;
    bool sent = ::send(fd, text.constData(), size_t(text.size()), MSG_NOSIGNAL) == text.size();
    const QDeadlineTimer deadline(kTimeoutMs);
    while (sent && !deadline.hasExpired()) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, int(deadline.remainingTime())) <= 0)
            break;
        char block[4096];
        const ssize_t got = ::recv(fd, block, sizeof block, 0);
        if (got <= 0)
            break;
        answer.append(block, got);
    }
    ::close(fd);
    Reply reply;
    const qsizetype headEnd = answer.indexOf("\r\n\r\n");
    if (!answer.startsWith("HTTP/") || headEnd < 0)
        return reply;
    reply.status = answer.mid(answer.indexOf(' ') + 1, 3).toInt();
    reply.body = QString::fromUtf8(answer.mid(headEnd + 4));
    return reply;
}

QByteArray form(std::initializer_list<std::pair<const char *, QString>> fields)
{
    QByteArrayList parts;
    for (const auto &[name, value] : fields)
        parts << QByteArray(name) + '=' + QUrl::toPercentEncoding(value);
    return parts.join('&');
}

class PhpPagesInPhp : public ::testing::Test {
protected:
    void SetUp() override
    {
        php = program("php");
        ASSERT_FALSE(php.isEmpty()) << "php is missing: run scripts/install-deps";
        ASSERT_FALSE(program("sqlite3").isEmpty())
            << "sqlite3 is missing: run scripts/install-deps";
        ASSERT_TRUE(dir.isValid());
        database = dir.filePath("people.db");
        ASSERT_TRUE(sql("CREATE TABLE People (ID INTEGER PRIMARY KEY, FirstName TEXT, "
                        "LastName TEXT, Age TEXT);")
                        .has_value());
        // The data source lives in a file of the test's own; the SQLite driver is the one
        // the system registered.
        ASSERT_TRUE(writeFileSafely(
            dir.filePath("odbc.ini"),
            "[pagewick_test]\nDriver=SQLite3\nDatabase=" + QFile::encodeName(database) + "\n"));
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ODBCINI", dir.filePath("odbc.ini"));
        environment.insert("ODBCSYSINI", "/etc");

        PhpDataFields fields;
        fields.dsn = "pagewick_test";
        fields.table = "People";
        fields.fields = "FirstName|String|LastName|String|Age|Numeric";
        writePages("www", fields);
        // The same pages without a data source, and over a table whose name breaks the SQL.
        PhpDataFields noSource = fields;
        noSource.dsn = "no_such_source";
        writePages("www/nosource", noSource);
        PhpDataFields quoted = fields;
        quoted.table = "Peo\"ple'";
        writePages("www/quoted", quoted);

        port = freePort();
        ASSERT_GT(port, 0);
        server.setProcessEnvironment(environment);
        server.setProcessChannelMode(QProcess::MergedChannels);
        // The server shows every warning and notice in the page and logs it too: the pages
        // must keep PHP's messages out of what they send either way, and cause none.
        server.start(php,
                     {"-d", "display_errors=1", "-d", "error_reporting=-1", "-d", "log_errors=1",
                      "-d", "error_log=" + errorLog(), "-d", "post_max_size=4K", "-S",
                      QStringLiteral("127.0.0.1:%1").arg(port), "-t", dir.filePath("www")});
        ASSERT_TRUE(server.waitForStarted(kTimeoutMs)) << server.errorString().toStdString();
        const QDeadlineTimer deadline(kTimeoutMs);
        int fd = -1;
        while ((fd = connectTo(port)) < 0 && server.state() == QProcess::Running
               && !deadline.hasExpired())
            server.waitForFinished(50);
        ASSERT_GE(fd, 0) << "the PHP server did not listen: " << server.readAll().toStdString();
        ::close(fd);
    }

    void TearDown() override
    {
        if (server.state() != QProcess::NotRunning) {
            server.kill();
            server.waitForFinished(kTimeoutMs);
        }
    }

    // Runs SQL on the database file; the rows as JSON objects, nothing when sqlite3 failed.
    std::optional<QJsonArray> sql(const QString &statement)
    {
        QProcess sqlite;
        sqlite.start(program("sqlite3"), {"-json", database, statement});
        if (!sqlite.waitForFinished(kTimeoutMs) || sqlite.exitCode() != 0) {
            ADD_FAILURE() << sqlite.readAllStandardError().toStdString();
            return std::nullopt;
        }
        return QJsonDocument::fromJson(sqlite.readAllStandardOutput()).array();
    }

    // The table as "ID|FirstName|LastName|Age" lines.
    QStringList rows()
    {
        QStringList lines;
        const std::optional<QJsonArray> all = sql("SELECT * FROM People ORDER BY ID;");
        for (const QJsonValue &row : all.value_or(QJsonArray())) {
            const QJsonObject r = row.toObject();
            lines << QStringLiteral("%1|%2|%3|%4")
                         .arg(r["ID"].toInteger())
                         .arg(r["FirstName"].toString(), r["LastName"].toString(),
                              r["Age"].toString());
        }
        return lines;
    }

    void writePages(const QString &folder, const PhpDataFields &fields)
    {
        ASSERT_TRUE(QDir().mkpath(dir.filePath(folder)));
        for (const GeneratedPage &page : phpDataPages(fields)) {
            ASSERT_TRUE(writeFileSafely(dir.filePath(folder + "/" + page.fileName),
                                        (page.text + "\r\n").toUtf8()));
        }
    }

    QString errorLog() const { return dir.filePath("php-errors.log"); }

    // A whole page that PHP ran without a word of complaint, shown or logged, and that names
    // no file of the server.
    Reply page(const QByteArray &method, const QByteArray &target,
               const QByteArray &formData = QByteArray())
    {
        const Reply reply = request(port, method, target, formData);
        EXPECT_EQ(reply.status, 200) << target.constData();
        for (const char *complaint : {"Warning", "Notice", "Deprecated", "Fatal error", "<?"})
            EXPECT_FALSE(reply.body.contains(complaint)) << target.constData() << "\n"
                                                         << reply.body.toStdString();
        EXPECT_FALSE(reply.body.contains(dir.path())) << reply.body.toStdString();
        EXPECT_TRUE(reply.body.trimmed().endsWith("</BODY></HTML>")) << reply.body.toStdString();
        QFile log(errorLog());
        EXPECT_FALSE(log.exists() && log.size() > 0)
            << target.constData() << "\n"
            << (log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string());
        return reply;
    }

    QTemporaryDir dir;
    QString php;
    QString database;
    QProcessEnvironment environment;
    QProcess server;
    int port = 0;
};

} // namespace

TEST_F(PhpPagesInPhp, RecordsAreAddedListedUpdatedAndDeletedThroughThePages)
{
    const QString added = "<H3>The Record Was Added</H3>";
    EXPECT_TRUE(page("GET", "/menu.html").body.contains("<A HREF=add_form.html>Add</A>"));
    EXPECT_TRUE(page("GET", "/add_form.html").body.contains("<INPUT Name=LastName></INPUT>"));

    EXPECT_TRUE(page("POST", "/add.php",
                     form({{"FirstName", "O'Brien"},
                           {"LastName", "<script>alert('x')</script>"},
                           {"Age", "42"}}))
                    .body.contains(added));
    EXPECT_TRUE(page("POST", "/add.php",
                     form({{"FirstName", "Robert'); DROP TABLE People; --"},
                           {"LastName", "x' OR '1'='1"},
                           {"Age", ""}}))
                    .body.contains(added));
    EXPECT_TRUE(page("POST", "/add.php", form({{"FirstName", "Ann"}, {"LastName", "Lee"}}))
                    .body.contains(added));
    // PHP's ODBC layer would send the named file in place of a value in single quotes.
    EXPECT_TRUE(
        page("POST", "/add.php", form({{"FirstName", "'" + dir.filePath("odbc.ini") + "'"}}))
            .body.contains("<H3>There Was An Error.  The Record Was Not Added</H3>"));
    // Injected SQL is stored as text and the table survives; an empty value is one blank.
    EXPECT_EQ(rows(),
              QStringList({"1|O'Brien|<script>alert('x')</script>|42",
                           "2|Robert'); DROP TABLE People; --|x' OR '1'='1| ", "3|Ann|Lee| "}));

    const QString list = page("GET", "/list_all.php").body;
    EXPECT_TRUE(list.contains("<H3>Record: 3</H3>"));
    EXPECT_TRUE(list.contains("O&#039;Brien<BR>"));
    EXPECT_TRUE(list.contains("&lt;script&gt;alert(&#039;x&#039;)&lt;/script&gt;<BR>"));
    EXPECT_FALSE(list.contains("<script>"));
    EXPECT_TRUE(list.contains("<A HREF=menu.html>Back To The Menu</A>"));
    EXPECT_TRUE(page("GET", "/update_listing.php")
                    .body.contains("<H3><A HREF=update_form.php?id=2>Record: 2</A></H3>"));
    EXPECT_TRUE(page("GET", "/delete_listing.php")
                    .body.contains("<H3><A HREF=delete.php?id=3>Record: 3</A></H3>"));

    const QString updateForm = page("GET", "/update_form.php?id=1").body;
    EXPECT_TRUE(updateForm.contains("<FORM Name=frmUpdate Method=POST Action=update.php?id=1>"));
    EXPECT_TRUE(updateForm.contains("<INPUT Name=FirstName Value='O&#039;Brien'></INPUT>"));
    EXPECT_FALSE(updateForm.contains("Name=ID")); // the key is not offered for editing
    EXPECT_FALSE(updateForm.contains("Ann"));

    EXPECT_TRUE(page("POST", "/update.php?id=1",
                     form({{"FirstName", "Pat"}, {"LastName", "O\"Neil & Sons"}, {"Age", "43"}}))
                    .body.contains("<H3>The Record Was Updated</H3>"));
    EXPECT_EQ(rows().value(0), "1|Pat|O\"Neil & Sons|43");

    EXPECT_TRUE(page("GET", "/delete.php?id=3").body.contains("<H3>The Record Was Deleted</H3>"));
    EXPECT_EQ(rows().size(), 2);
    page("GET", "/delete.php?id=2");
    EXPECT_EQ(rows(), QStringList({"1|Pat|O\"Neil & Sons|43"}));
}

// Requests no form sends: a key or a field as a list, a key that is not a number, a NUL byte,
// nothing posted at all, a post over the server's size limit. Each page says it changed
// nothing, and nothing changed.
TEST_F(PhpPagesInPhp, OddRequestsChangeNothingAndSaySo)
{
    ASSERT_TRUE(page("POST", "/add.php", form({{"FirstName", "Ann"}, {"LastName", "Lee"}}))
                    .body.contains("<H3>The Record Was Added</H3>"));
    const QStringList before = rows();
    ASSERT_EQ(before, QStringList({"1|Ann|Lee| "}));

    const QString notAdded = "<H3>There Was An Error.  The Record Was Not Added</H3>";
    const QString notUpdated = "<H3>There Was An Error.  The Record Was Not Updated</H3>";
    const QString notDeleted = "<H3>There Was An Error.  The Record Was Not Deleted</H3>";
    const QString notFound = "<H3>There Was An Error.  The Record Was Not Found</H3>";
    const QString badKey = "<P>No Valid Record Number Was Given.</P>";
    const QString oneText = "<P>Every Field Must Be Sent As One Text.</P>";
    const QString noData = "<P>No Data Arrived With The Form.</P>";
    struct Attempt {
        QByteArray method, target, form;
        QStringList says;
    };
    const Attempt attempts[] = {
        {"POST", "/update.php?id[]=1", "FirstName=X", {notUpdated, badKey}},
        {"POST", "/update.php?id=1%20OR%201=1", "FirstName=X", {notUpdated, badKey}},
        {"POST", "/update.php", "FirstName=X", {notUpdated, badKey}},
        {"GET", "/delete.php?id[]=1", "", {notDeleted, badKey}},
        {"GET", "/delete.php?id=-1", "", {notDeleted, badKey}},
        {"GET", "/delete.php?id=1%20OR%201=1", "", {notDeleted, badKey}},
        {"GET", "/delete.php?id=%201", "", {notDeleted, badKey}},
        {"POST", "/update.php?id=1", "FirstName[]=a&LastName=b", {notUpdated, oneText}},
        {"POST", "/add.php", "FirstName[]=a", {notAdded, oneText}},
        {"POST", "/add.php", "FirstName[x]=a&LastName=b", {notAdded, oneText}},
        {"POST", "/add.php", "FirstName=a%00b&LastName=c", {notAdded, oneText}},
        {"POST", "/add.php", "", {notAdded, noData}},
        {"GET", "/add.php", "", {notAdded, noData}},
        {"GET", "/update_form.php?id[]=1", "", {notFound}},
        {"GET", "/update_form.php?id=1abc", "", {notFound}},
    };
    for (const Attempt &a : attempts) {
        SCOPED_TRACE(a.target.toStdString() + " " + a.form.toStdString());
        const QString body = page(a.method, a.target, a.form).body;
        for (const QString &line : a.says)
            EXPECT_TRUE(body.contains(line)) << body.toStdString();
        EXPECT_EQ(rows(), before);
    }
    // A form after a refused key offers no record to send back.
    EXPECT_TRUE(page("GET", "/update_form.php?id=1x")
                    .body.contains("<FORM Name=frmUpdate Method=POST Action=update.php?id=>"));

    // Over the size limit PHP hands the page no fields at all: the page adds nothing and
    // says so. (PHP logs that post itself before the page runs; the reply holds no word of it.)
    const Reply big = request(port, "POST", "/add.php",
                              form({{"FirstName", QString(8000, u'x')}, {"LastName", "y"}}));
    EXPECT_EQ(big.status, 200);
    EXPECT_TRUE(big.body.contains(notAdded) && big.body.contains(noData)) << big.body.toStdString();
    for (const QString &leak : {QStringLiteral("Warning"), QStringLiteral("exceeds"), dir.path()})
        EXPECT_FALSE(big.body.contains(leak)) << big.body.toStdString();
    EXPECT_EQ(rows(), before);
}

// Without the data source, or with a table name that breaks the SQL, every page still comes
// whole, with its error line and without PHP's messages.
TEST_F(PhpPagesInPhp, PagesWithoutTheirDataSourceOrTableSaySoAndEndProperly)
{
    const QString fields = "FirstName=A&LastName=B&Age=1";
    for (const char *folder : {"nosource", "quoted"}) {
        struct Visit {
            QByteArray method, target;
            QString says;
        };
        const Visit visits[] = {
            {"GET", "list_all.php", "<H3>There Was An Error.  The Records Were Not Listed</H3>"},
            {"GET", "update_listing.php",
             "<H3>There Was An Error.  The Records Were Not Listed</H3>"},
            {"GET", "delete_listing.php",
             "<H3>There Was An Error.  The Records Were Not Listed</H3>"},
            {"GET", "update_form.php?id=1",
             "<H3>There Was An Error.  The Record Was Not Found</H3>"},
            {"POST", "add.php", "<H3>There Was An Error.  The Record Was Not Added</H3>"},
            {"POST", "update.php?id=1", "<H3>There Was An Error.  The Record Was Not Updated</H3>"},
            {"GET", "delete.php?id=1", "<H3>There Was An Error.  The Record Was Not Deleted</H3>"},
        };
        for (const Visit &v : visits) {
            SCOPED_TRACE(std::string(folder) + "/" + v.target.toStdString());
            const QString body = page(v.method, "/" + QByteArray(folder) + "/" + v.target,
                                      v.method == "POST" ? fields.toUtf8() : QByteArray())
                                     .body;
            EXPECT_TRUE(body.contains(v.says)) << body.toStdString();
            EXPECT_TRUE(body.contains("<A HREF=menu.html>Back To The Menu</A>"));
        }
    }
    EXPECT_TRUE(rows().isEmpty());
}

TEST(PhpPagesLint, PagesParseWhateverTheBoxesHold)
{
    const QString php = program("php");
    ASSERT_FALSE(php.isEmpty()) << "php is missing: run scripts/install-deps";
    QTemporaryDir dir;
    PhpDataFields odd;
    odd.dsn = "my \"dsn\" $x";
    odd.userName = "{$user}";
    odd.password = "p\\a\"s's$s\\";
    odd.table = "T\"$x";
    odd.fields = "O'Key|String|Back\\slash|String";
    const QString lint = dir.filePath("lint");
    ASSERT_TRUE(QDir().mkpath(lint));
    for (const PhpDataFields &fields : {odd, PhpDataFields{}}) {
        for (const GeneratedPage &page : phpDataPages(fields)) {
            if (!page.fileName.endsWith(".php"))
                continue;
            const QString file = lint + "/" + page.fileName;
            ASSERT_TRUE(writeFileSafely(file, page.text.toUtf8()));
            QProcess check;
            check.setProcessChannelMode(QProcess::MergedChannels);
            check.start(php, {"-l", file});
            ASSERT_TRUE(check.waitForFinished(kTimeoutMs));
            EXPECT_EQ(check.exitCode(), 0)
                << page.fileName.toStdString() << ": " << check.readAll().toStdString();
        }
    }
}
