#pragma once
// The main window's commands as one table: every menu item, picture button and toolbar page
// button is one row of one type, and one runner builds the control of each row and runs it.
//
// Adding a command: add a row to kCommands in command_table.cpp naming what it runs: a
// function of the window, a feature given the FeatureContext, or what a toolbar page button
// inserts (insertion/insertion_command.h). A tag dialog plugs into its Dialog rows with one
// registerDialog call. Debug builds refuse to start when a row runs nothing or when a control
// of the window runs no row.
#include "document/feature_context.h"
#include "insertion/insertion_command.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <span>

class QHBoxLayout;
class QIcon;
class QMenuBar;
class QToolButton;

namespace pw {

class MainWindow;
class ToolbarLists;

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
    const char *shortcut = nullptr; // keys, "; " between several; the first one is shown
    Place place = Place::Menu;
    const char *where = nullptr;
    int left = 0;  // PictureBar: twips from the window's left edge; -1 keeps it at the right
    int count = 1; // a control array: `count` controls of one name, each with property "index"
    bool checkable = false; // a menu item with a check mark; what it runs sets the mark
    // The edit box handles the shortcut's keys itself (where the keys mean something else,
    // the other control keeps them): the item only shows them in its shortcut column.
    bool boxKeys = false;
    // What it runs: one of these.
    void (*window)(MainWindow &, int index) = nullptr;
    void (*feature)(FeatureContext &) = nullptr;
    Insertion insert = {};
};

// Every row, in the order the controls are built.
std::span<const Command> commandTable();
// The row of the given name, or nullptr.
const Command *findCommand(const QString &name);

// The icon of a command's picture (see Command::icon); null when none is found.
QIcon commandIcon(const char *icon);

class CommandRunner : public QObject {
    Q_OBJECT
public:
    explicit CommandRunner(MainWindow &window);

    // Builds the menus, the picture buttons (into `pictureBar`) and every toolbar page's
    // controls, and connects each to its row.
    void build(QMenuBar *menuBar, QHBoxLayout *pictureBar);

    // The tag dialogs the Dialog rows name.
    void registerDialog(const QString &name, TagDialogFactory factory);
    bool hasDialog(const QString &name) const { return dialogs_.contains(name); }

    // The toolbar pages' vocabulary lists.
    ToolbarLists &lists() const { return *lists_; }

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
    void run(const Command &row, int index);
    void buildPages();
    QToolButton *makeButton(const Command &row, const QString &caption);
    void wire(QObject *control, const Command &row, int index);
    bool rowIsBuilt(const Command &row) const;

    MainWindow &window_;
    ToolbarLists *lists_;
    QHash<QString, TagDialogFactory> dialogs_;
    QHash<const QObject *, QString> wired_;
    QStringList names_; // every row's name, in table order
};

} // namespace pw
