#include "shared/qt_platform.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>

namespace pw {

QString qtFileFilter(const QString &programFilter)
{
    const QStringList parts = programFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file; on Linux many names have no full stop.
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

MsgAnswer QtPlatform::messageBox(const QString &title, const QString &text, MsgButtons buttons,
                                 MsgIcon icon, const QString &detail)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setText(text);
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    default:
        return MsgAnswer::Cancel;
    }
}

QString QtPlatform::inputBox(const QString &prompt, const QString &title,
                             const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtPlatform::openFileName(const QString &title, const QString &directory,
                                 const QString &filter)
{
    return QFileDialog::getOpenFileName(parent_, title, directory, qtFileFilter(filter));
}

QString QtPlatform::saveFileName(const QString &title, const QString &directory,
                                 const QString &filter, const QString &suggestedName)
{
    QString start = directory;
    if (!suggestedName.isEmpty())
        start = directory.isEmpty() ? suggestedName : directory + QLatin1Char('/') + suggestedName;
    // The program asks itself before it replaces a file (one question, the same for Save As
    // and the generators), so the picker does not ask as well.
    return QFileDialog::getSaveFileName(parent_, title, start, qtFileFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

std::optional<QColor> QtPlatform::chooseColor(const QColor &initial)
{
    const QColor color = QColorDialog::getColor(initial, parent_);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

QFont fontWithItsStyle(const QFont &font)
{
    const QString family = font.family();
    QString closest;
    int closestDistance = 0;
    for (const QString &style : QFontDatabase::styles(family)) {
        // Slanted either way: the database's italic() says false for an "Oblique" style.
        const QFont face = QFontDatabase::font(family, style, 12);
        if ((face.style() != QFont::StyleNormal) != font.italic())
            continue;
        const int distance = std::abs(face.weight() - font.weight());
        if (closest.isEmpty() || distance < closestDistance) {
            closest = style;
            closestDistance = distance;
        }
    }
    QFont named = font;
    if (!closest.isEmpty())
        named.setStyleName(closest);
    return named;
}

std::optional<QFont> QtPlatform::chooseFont(const QFont &initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, fontWithItsStyle(initial), parent_);
    if (!ok)
        return std::nullopt;
    return font;
}

bool QtPlatform::choosePrinter(QPrinter &printer)
{
    // With no printer installed the dialog would offer nothing to print on: it opens on a
    // PDF file in the user's home folder instead, which the user may rename or move.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir::home().filePath(QStringLiteral("Pagewick.pdf")));
    }
    QPrintDialog dialog(&printer, parent_);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPlatform::startProgram(const QString &program, const QStringList &arguments, QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
    return false;
}

QString QtPlatform::findProgram(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

QString QtPlatform::openProgramName(const QString &title, const QString &directory)
{
    // Linux programs have no common name ending: the picker lists executable files only.
    QFileDialog dialog(parent_, title, directory);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void QtPlatform::setBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

int QtPlatform::runDialog(QDialog &dialog)
{
    return dialog.exec();
}

void QtPlatform::processEvents()
{
    QApplication::processEvents();
}

} // namespace pw
