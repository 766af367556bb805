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
        ASSERT_TRUE(QDir().mkpath(dir.filePath("www")));
        for (const GeneratedPage &page : phpDataPages(fields)) {
            ASSERT_TRUE(writeFileSafely(dir.filePath("www/" + page.fileName),
                                        (page.text + "\r\n").toUtf8()));
        }

        port = freePort();
        ASSERT_GT(port, 0);
        server.setProcessEnvironment(environment);
        server.setProcessChannelMode(QProcess::MergedChannels);
        // Every warning and notice goes into the page, where the test sees it.
        server.start(php, {"-d", "display_errors=1", "-d", "error_reporting=-1", "-S",
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

    // A page that PHP ran without a word of complaint.
    Reply page(const QByteArray &method, const QByteArray &target,
               const QByteArray &formData = QByteArray())
    {
        const Reply reply = request(port, method, target, formData);
        EXPECT_EQ(reply.status, 200) << target.constData();
        for (const char *complaint : {"Warning", "Notice", "Deprecated", "Fatal error", "<?"})
            EXPECT_FALSE(reply.body.contains(complaint)) << target.constData() << "\n"
                                                         << reply.body.toStdString();
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

    // The key is read as a number: the rest of an injected condition is dropped.
    EXPECT_TRUE(page("GET", "/delete.php?id=3%20OR%201=1")
                    .body.contains("<H3>The Record Was Deleted</H3>"));
    EXPECT_EQ(rows().size(), 2);
    page("GET", "/delete.php?id=2");
    EXPECT_EQ(rows(), QStringList({"1|Pat|O\"Neil & Sons|43"}));
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
