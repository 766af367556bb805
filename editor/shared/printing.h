#pragma once
// Printing the document box: its whole text as one print job, page by page, inside margins
// measured in twips (1440 per inch) from the edges of the paper.
class QPlainTextEdit;
class QPrinter;
class QTextDocument;
class QFont;

namespace pw {

// Prints the box's text in the box's font. An empty box prints one blank page. Returns
// false when the printer could not be started (the caller reports it).
bool printRichText(QPlainTextEdit *box, QPrinter &printer, int leftTwips, int topTwips,
                   int rightTwips, int bottomTwips);
// The same for a document, in the given font.
bool printRichText(const QTextDocument &document, const QFont &font, QPrinter &printer,
                   int leftTwips, int topTwips, int rightTwips, int bottomTwips);

} // namespace pw
