#include "shell/start_up.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagewick"));
    QApplication::setOrganizationName(QStringLiteral("Pagewick"));
    // The command line is one file name, which may hold blanks.
    QStringList words = QApplication::arguments();
    words.removeFirst();
    return pw::startUp(words.join(QLatin1Char(' ')));
}
