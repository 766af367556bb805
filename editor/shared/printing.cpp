#include "shared/printing.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <memory>

namespace pw {

namespace {

constexpr double kTwipsPerInch = 1440.0;
// Pixel-sized fonts and tab stops on screen are taken at this resolution.
constexpr double kScreenDpi = 96.0;

} // namespace

bool printRichText(QPlainTextEdit *box, QPrinter &printer, int leftTwips, int topTwips,
                   int rightTwips, int bottomTwips)
{
    return printRichText(*box->document(), box->font(), printer, leftTwips, topTwips, rightTwips,
                         bottomTwips);
}

bool printRichText(const QTextDocument &document, const QFont &font, QPrinter &printer,
                   int leftTwips, int topTwips, int rightTwips, int bottomTwips)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;

    const double dpiX = printer.resolution();
    const double dpiY = printer.resolution();
    auto toX = [&](int twips) { return twips * dpiX / kTwipsPerInch; };
    auto toY = [&](int twips) { return twips * dpiY / kTwipsPerInch; };

    // The painter's origin is the corner of the printable area, which the printer may place
    // inside the paper; margins count from the paper's edge.
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    const double offX = printable.left() - paper.left();
    const double offY = printable.top() - paper.top();
    const QRectF area(
        QPointF(toX(leftTwips) - offX, toY(topTwips) - offY),
        QPointF(paper.width() - toX(rightTwips) - offX, paper.height() - toY(bottomTwips) - offY));

    // Lay out a copy on the printer so that the box's own layout (and its wrapping) stay
    // untouched, and QTextDocument::print's own margins and page numbers stay out.
    std::unique_ptr<QTextDocument> copy(document.clone());
    QFont printFont = font;
    if (printFont.pointSizeF() <= 0 && printFont.pixelSize() > 0)
        printFont.setPointSizeF(printFont.pixelSize() * 72.0 / kScreenDpi);
    copy->setDefaultFont(printFont);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(option.tabStopDistance() * dpiX / kScreenDpi);
    copy->setDefaultTextOption(option);
    copy->setDocumentMargin(0);
    copy->documentLayout()->setPaintDevice(&printer);
    const double pageWidth = std::max(1.0, area.width());
    const double pageHeight = std::max(1.0, area.height());
    copy->setPageSize(QSizeF(pageWidth, pageHeight));

    const int pages = std::max(1, copy->pageCount());
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            printer.newPage();
        painter.save();
        painter.translate(area.left(), area.top() - page * pageHeight);
        // One pixel short, so a line crossing the page edge is not drawn on both pages.
        copy->drawContents(&painter, QRectF(0, page * pageHeight, pageWidth, pageHeight - 1));
        painter.restore();
    }
    return painter.end();
}

} // namespace pw
