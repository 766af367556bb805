#include "shell/start_up.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    // Answered before the application starts, so it needs no display (packagers and
    // scripts ask it on machines that have none).
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Pagewick %s\n", PAGEWICK_VERSION_TEXT);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagewick"));
    QApplication::setOrganizationName(QStringLiteral("Pagewick"));
    QApplication::setApplicationVersion(QStringLiteral(PAGEWICK_VERSION_TEXT));
    // The command line is one file name, which may hold blanks.
    QStringList words = QApplication::arguments();
    words.removeFirst();
    return pw::startUp(words.join(QLatin1Char(' ')));
}
