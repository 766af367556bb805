#pragma once
// Files a test lays out before it runs the code under test.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw::test {

// Writes the bytes to the path, making its folders first.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// Names that are not UTF-8 cannot be spelt as a QString, and QDir neither lists nor removes
// them: this reaches them by their bytes inside a directory given as usual, and removes what
// it made when it goes, so the temporary folders around it can go too.
class BytesNamedEntries {
public:
    explicit BytesNamedEntries(const QString &directory) : directory_(QFile::encodeName(directory))
    {
    }
    ~BytesNamedEntries()
    {
        for (auto it = made_.crbegin(); it != made_.crend(); ++it) {
            if (::unlink(it->constData()) != 0)
                ::rmdir(it->constData());
        }
    }
    BytesNamedEntries(const BytesNamedEntries &) = delete;
    BytesNamedEntries &operator=(const BytesNamedEntries &) = delete;

    QByteArray path(const QByteArray &name) const { return directory_ + '/' + name; }

    void file(const QByteArray &name, const QByteArray &bytes)
    {
        const int fd = ::open(path(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << name.toStdString();
        made_ << path(name);
        ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
        ::close(fd);
    }

    void folder(const QByteArray &name)
    {
        ASSERT_EQ(::mkdir(path(name).constData(), 0755), 0) << name.toStdString();
        made_ << path(name);
    }

    // Also removed at the end: a file the code under test should not have made.
    void removeAtEnd(const QByteArray &name) { made_ << path(name); }

    // The bytes of the file, or a null array when it cannot be read.
    QByteArray read(const QByteArray &name) const
    {
        const int fd = ::open(path(name).constData(), O_RDONLY);
        if (fd < 0)
            return {};
        QByteArray bytes(0, '\0');
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, got);
        ::close(fd);
        return bytes;
    }

private:
    QByteArray directory_;
    QList<QByteArray> made_;
};

// How the panes show such a name: U+FFFD for each byte that does not decode.
inline QString shownName(const QByteArray &name)
{
    return QString::fromUtf8(name);
}

} // namespace pw::test
