// The runner that builds the command table's controls and runs its rows.
#include "shell/commands.h"

#include "insertion/toolbar_lists.h"
#include "insertion/vocabulary.h"
#include "shared/flow_layout.h"
#include "shared/platform.h"
#include "shared/window.h"
#include "shell/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QFile>
#include <QHash>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace pw {

namespace {

struct MenuDef {
    const char *name;
    const char *caption;
};

const MenuDef kMenus[] = {
    {"mnuFile", "&File"},     {"mnuEdit", "&Edit"}, {"mnuView", "&View"},
    {"mnuRecent", "&Recent"}, {"mnuHelp", "&Help"},
};

// The text a page caption is shown with: "&" written "&&".
QString pageCaption(const QString &tabText)
{
    return QString(tabText).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace

CommandRunner::CommandRunner(MainWindow &window)
    : QObject(&window), window_(window), lists_(new ToolbarLists(window.featureContext(), this))
{
    setObjectName(QStringLiteral("commandRunner"));
}

void CommandRunner::registerDialog(const QString &name, TagDialogFactory factory)
{
    dialogs_.insert(name, std::move(factory));
}

QIcon commandIcon(const char *icon)
{
    if (!icon)
        return {};
    const QStringList names = QString::fromUtf8(icon).split(u'|');
    for (const QString &name : names) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    const QString own = QStringLiteral(":/pictures/%1.svg").arg(names.first());
    return QFile::exists(own) ? QIcon(own) : QIcon();
}

QToolButton *CommandRunner::makeButton(const Command &row, const QString &caption)
{
    auto *button = new QToolButton;
    button->setObjectName(QString::fromUtf8(row.name));
    button->setText(caption);
    if (row.icon) {
        button->setIcon(commandIcon(row.icon));
        button->setIconSize(QSize(18, 18));
        button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                     : Qt::ToolButtonTextBesideIcon);
    }
    if (row.tooltip)
        button->setToolTip(QString::fromUtf8(row.tooltip));
    // The document keeps the keyboard focus; the commands hand it back there anyway.
    button->setFocusPolicy(Qt::NoFocus);
    if (row.place == Place::PictureBar) {
        // Square, or as wide as a caption beside the picture needs.
        const int size = twipsToPixels(375);
        if (caption.isEmpty())
            button->setFixedSize(size, size);
        else
            button->setFixedHeight(size);
        button->setAutoRaise(true);
    } else {
        button->setMinimumWidth(28);
    }
    return button;
}

void CommandRunner::build(QMenuBar *menuBar, QHBoxLayout *pictureBar)
{
    QHash<QString, QMenu *> menus;
    for (const MenuDef &def : kMenus) {
        QMenu *menu = menuBar->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QString::fromUtf8(def.name));
        menus.insert(menu->objectName(), menu);
    }

    int previousEnd = twipsToPixels(120);
    const int size = twipsToPixels(375);
    for (const Command &row : commandTable()) {
        if (row.name)
            names_ << QString::fromUtf8(row.name);
        if (row.place == Place::Menu) {
            QMenu *menu = menus.value(QString::fromUtf8(row.where));
            Q_ASSERT(menu);
            if (!row.name) {
                menu->addSeparator();
                continue;
            }
            for (int k = 0; k < row.count; ++k) {
                QAction *action = menu->addAction(QString::fromUtf8(row.caption));
                action->setObjectName(QString::fromUtf8(row.name));
                if (row.count > 1)
                    action->setProperty("index", k);
                if (row.shortcut) {
                    action->setShortcuts(
                        QKeySequence::listFromString(QString::fromUtf8(row.shortcut)));
                    if (row.boxKeys)
                        action->setShortcutContext(Qt::WidgetShortcut);
                }
                action->setCheckable(row.checkable);
                wire(action, row, k);
            }
        } else if (row.place == Place::PictureBar) {
            QToolButton *button = makeButton(row, QString::fromUtf8(row.caption));
            if (row.left < 0) {
                pictureBar->addStretch(1);
            } else {
                const int left = twipsToPixels(row.left);
                if (left > previousEnd)
                    pictureBar->addSpacing(left - previousEnd);
                previousEnd = left + std::max(size, button->sizeHint().width());
            }
            pictureBar->addWidget(button);
            wire(button, row, 0);
        }
    }
    buildPages();

#ifndef NDEBUG
    const QStringList problems = wiringProblems();
    if (!problems.isEmpty())
        qFatal("Command wiring: %s", qPrintable(problems.join(QStringLiteral("; "))));
#endif
}

// Each page holds, in order: the lists no button reads, then its rows, a vocabulary list
// just before the button that inserts it.
void CommandRunner::buildPages()
{
    for (const char *tabsName : {"MyTab", "MyTabScript"}) {
        auto *tabs = window_.findChild<QTabWidget *>(QString::fromUtf8(tabsName));
        for (int i = 0; i < tabs->count(); ++i) {
            QWidget *page = tabs->widget(i);
            const QString caption = pageCaption(tabs->tabText(i));
            auto *layout = new FlowLayout(page);

            for (const VocabularyList &vocabulary : vocabularyLists()) {
                const bool hasButton = std::ranges::any_of(commandTable(), [&](const Command &c) {
                    return c.insert.target && qstrcmp(c.insert.target, vocabulary.name) == 0;
                });
                if (!hasButton && caption == QLatin1String(vocabulary.page))
                    layout->addWidget(lists_->list(QString::fromUtf8(vocabulary.name)));
            }
            for (const Command &row : commandTable()) {
                if (row.place != Place::Page || caption != QLatin1String(row.where))
                    continue;
                if (row.insert.kind == CommandKind::Vocabulary)
                    layout->addWidget(lists_->list(QString::fromUtf8(row.insert.target)));
                for (int k = 0; k < row.count; ++k) {
                    const QString text =
                        row.count > 1 ? QString::number(k + 1) : QString::fromUtf8(row.caption);
                    QToolButton *button = makeButton(row, text);
                    if (row.count > 1)
                        button->setProperty("index", k);
                    layout->addWidget(button);
                    wire(button, row, k);
                }
            }
        }
    }
}

void CommandRunner::wire(QObject *control, const Command &row, int index)
{
    const QString name = QString::fromUtf8(row.name);
    wired_.insert(control, name);
    auto action = [this, &row, index] { run(row, index); };
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        connect(button, &QAbstractButton::clicked, this, action);
    else if (auto *item = qobject_cast<QAction *>(control))
        connect(item, &QAction::triggered, this, action);
}

// Whether a command is built is asked when it runs: a dialog may be registered after the
// window was built.
bool CommandRunner::rowIsBuilt(const Command &row) const
{
    switch (row.insert.kind) {
    case CommandKind::None:
        return row.window || row.feature;
    case CommandKind::Dialog:
        return hasDialog(QString::fromUtf8(row.insert.target));
    default:
        return true;
    }
}

bool CommandRunner::isBuilt(const QString &name) const
{
    const Command *row = findCommand(name);
    return row && rowIsBuilt(*row);
}

void CommandRunner::run(const QString &name, int index)
{
    if (const Command *row = findCommand(name))
        run(*row, index);
}

void CommandRunner::run(const Command &row, int index)
{
    // Only a dialog that was never registered can be missing; the wiring check reports it.
    if (!rowIsBuilt(row))
        return;
    if (row.window) {
        row.window(window_, index);
        return;
    }
    FeatureContext context = window_.featureContext();
    if (row.feature) {
        row.feature(context);
        return;
    }
    const Insertion &insert = row.insert;
    switch (insert.kind) {
    case CommandKind::IdPair:
        insertIdPair(context, insert);
        break;
    case CommandKind::Pair:
    case CommandKind::Text:
        insertFilledIn(context, insert);
        break;
    case CommandKind::Vocabulary:
        insertListChoice(context, lists_->list(QString::fromUtf8(insert.target)));
        break;
    case CommandKind::ListSkeleton:
        insertListSkeleton(context, insert);
        break;
    case CommandKind::Dialog:
        runTagDialog(context, insert, dialogs_.value(QString::fromUtf8(insert.target)));
        break;
    case CommandKind::None:
    case CommandKind::NoAction:
        break;
    }
}

QStringList CommandRunner::wiringProblems() const
{
    QStringList problems;
    for (const QString &name : names_) {
        if (!isBuilt(name))
            problems << name + QStringLiteral(" runs nothing");
    }
    // Every control of the window that can be used runs a row.
    QList<QObject *> controls;
    for (QAction *action : window_.menuBar()->findChildren<QAction *>()) {
        if (!action->isSeparator() && !action->menu())
            controls << action;
    }
    for (QAbstractButton *button : window_.findChildren<QAbstractButton *>()) {
        // The tab bars' scroll arrows and the menu bar's overflow button belong to Qt.
        if (!qobject_cast<QTabBar *>(button->parentWidget())
            && !button->objectName().startsWith(QLatin1String("qt_")))
            controls << button;
    }
    for (QObject *control : controls) {
        if (wired_.value(control) != control->objectName())
            problems << QStringLiteral("control \"%1\" runs no command").arg(control->objectName());
    }
    // A key that two menu items claim runs neither: Qt calls it ambiguous.
    QHash<QKeySequence, QString> keys;
    for (QAction *action : window_.menuBar()->findChildren<QAction *>()) {
        for (const QKeySequence &key : action->shortcuts()) {
            const QString other = keys.value(key);
            if (!other.isEmpty() && other != action->objectName())
                problems << QStringLiteral("%1 and %2 share %3")
                                .arg(other, action->objectName(), key.toString());
            keys.insert(key, action->objectName());
        }
    }
    return problems;
}

} // namespace pw
