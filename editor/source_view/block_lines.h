#pragma once
// The source box's lines as the tag matching and completion read them: the text of its
// blocks, with the states and the tag index the highlighter keeps.
#include "source_view/html_scanner.h"
#include "source_view/source_highlighter.h"
#include "source_view/tag_matching.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace pw {

// The box's blocks as the tag matching reads them; the highlighter keeps their states.
class BlockLines : public SourceLines {
public:
    BlockLines(const QTextDocument *document, SourceHighlighter *highlighter)
        : document_(document), highlighter_(highlighter)
    {
    }
    int lineCount() const override { return document_->blockCount(); }
    QString line(int index) const override { return document_->findBlockByNumber(index).text(); }
    int stateBefore(int index) const override
    {
        if (index == 0)
            return kPageStartState;
        return std::max(document_->findBlockByNumber(index - 1).userState(), kPageStartState);
    }
    int nextCandidate(int from, bool forward, const QString &foldedName, int &depth) const override
    {
        // The highlighter's index, while it reads this document.
        if (highlighter_->document() == document_)
            return highlighter_->nextCandidate(from, forward, foldedName, depth);
        return SourceLines::nextCandidate(from, forward, foldedName, depth);
    }

private:
    const QTextDocument *document_;
    SourceHighlighter *highlighter_;
};

} // namespace pw
