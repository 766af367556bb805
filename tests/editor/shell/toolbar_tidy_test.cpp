// Every toolbar and menu row that inserts a whole element, run on a selected word and read by
// the HTML checker tidy in the body of a page: no errors.
#include "shell/commands.h"
#include "shell/main_window.h"
#include "support/main_window_harness.h"
#include "support/qt_print.h"
#include "support/tidy_check.h"

#include <gtest/gtest.h>

using namespace pw;
using pw::test::MainWindowHarness;

namespace {

// Whether a row's insertion is one whole element: a pair of tags, or a text that opens with a
// tag name (its prompts answered).
bool insertsElement(const Insertion &insert)
{
    const QString open = QString::fromUtf8(insert.open);
    // ColdFusion's tags are the server's: it runs them before any browser reads the page.
    if (open.startsWith(u"<CF", Qt::CaseInsensitive) || open.startsWith(u"CF", Qt::CaseInsensitive))
        return false;
    switch (insert.kind) {
    case CommandKind::IdPair:
        return true;
    case CommandKind::Pair:
        return open.startsWith(u'<') && QString::fromUtf8(insert.close).startsWith(u"</");
    case CommandKind::Text:
        return open.size() > 1 && open.startsWith(u'<') && open.at(1).isLetter();
    default:
        return false;
    }
}

} // namespace

TEST(Tidy, EveryInsertedElementHasNoErrors)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    int checked = 0;
    for (const Command &row : commandTable()) {
        if (!insertsElement(row.insert))
            continue;
        SCOPED_TRACE(row.name);
        for (const bool idAttribute : {false, true}) {
            h.state.idAttribute = idAttribute;
            w.editBox().setText(QStringLiteral("word"));
            w.editBox().setSelection(0, 4);
            h.platform.inputAnswers = {"one", "two", "three"};
            w.commands().run(QString::fromUtf8(row.name));
            EXPECT_EQ(tidyErrors(w.editBox().text(), true), QString())
                << w.editBox().text().toStdString();
        }
        ++checked;
    }
    EXPECT_GE(checked, 35); // the table's element rows were found (39 today)
}
