#pragma once
// The main window's commands as one table: every menu item, picture button and toolbar page
// button is one row, and one runner builds the control of each row and runs it. The insertion
// rows (insertion/toolbar_commands.h) are read by the same runner.
//
// Adding a command: add a row to kCommands in commands.cpp naming what it runs: a function of
// the window, a feature given the FeatureContext, or a dialog registered by name. Debug builds
// refuse to start when a row runs nothing or when a control of the window runs no row.
#include "shared/feature_context.h"

#include <QHash>
#include <QObject>
#include <QStringList>

class QHBoxLayout;
class QIcon;
class QMenuBar;
class QToolButton;

namespace pw {

class MainWindow;
struct ToolbarCommand;

// Where a command's control sits.
enum class Place {
    Menu,       // an item of the menu named by `where`
    PictureBar, // a picture button in the row beside the tabs
    Page,       // a button on the toolbar page whose caption is `where`
};

struct Command {
    const char *name; // objectName; nullptr for a menu separator
    // Buttons: the picture, as icon theme names tried in order and separated by "|"; the
    // program's own picture of the first name (":/pictures/<name>.svg") when the theme has none.
    const char *icon = nullptr;
    const char *caption = nullptr; // menu caption, or the text a button shows
    const char *tooltip = nullptr;
    const char *shortcut = nullptr;
    Place place = Place::Menu;
    const char *where = nullptr;
    int left = 0;  // PictureBar: twips from the window's left edge; -1 keeps it at the right
    int count = 1; // a control array: `count` controls of one name, each with property "index"
    bool checkable = false; // a menu item with a check mark; what it runs sets the mark
    // What it runs: one of these.
    void (*window)(MainWindow &, int index) = nullptr;
    void (*feature)(FeatureContext &) = nullptr;
    const char *dialog = nullptr; // a dialog registered under this name, run modally
};

// The icon of a command's picture (see Command::icon); null when none is found.
QIcon commandIcon(const char *icon);

class CommandRunner : public QObject {
    Q_OBJECT
public:
    explicit CommandRunner(MainWindow &window);

    // Builds the menus, the picture buttons (into `pictureBar`) and every toolbar page's
    // controls, and connects each to its row.
    void build(QMenuBar *menuBar, QHBoxLayout *pictureBar);

    // The name of the command a control runs; empty when it runs none.
    QString commandOf(const QObject *control) const { return wired_.value(control); }
    // True when the named command does something now.
    bool isBuilt(const QString &name) const;
    // What is wrong with the wiring of the window: rows that run nothing, controls that run
    // no row. Empty when all is well.
    QStringList wiringProblems() const;

    // Runs a command by name as its control would.
    void run(const QString &name, int index = 0);

private:
    void buildPages();
    QToolButton *makeButton(const QString &name, const QString &caption, const QString &tooltip,
                            Place place, const char *icon = nullptr);
    void wire(QObject *control, const QString &name, std::function<void()> action);
    void wireRow(QObject *control, const Command &row, int index);
    bool rowIsBuilt(const Command &row) const;

    MainWindow &window_;
    QHash<const QObject *, QString> wired_;
    QStringList names_; // every row's name, in table order
};

} // namespace pw
