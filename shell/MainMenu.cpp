#include "MainMenu.h"

#include "shell/core/MenuKeys.h"

#include "link/DebugLog.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace dunmere {

MainMenu::MainMenu(QMenuBar* bar, const TextSource& texts) : QObject(bar), bar_(bar), texts_(texts) {}

QString MainMenu::text(const char* key) const { return texts_.text(QString::fromLatin1(key)); }

QMenu* MainMenu::addMenu(const QString& key, const QString& caption, QMenu* parent)
{
    QMenu* menu = parent ? parent->addMenu(caption) : bar_->addMenu(caption);
    menu->setObjectName(key);
    menu->menuAction()->setObjectName(key);
    menus_.insert(key, menu);
    items_.insert(key, menu->menuAction());
    return menu;
}

QAction* MainMenu::addItem(const QString& key, const QString& caption, QMenu* parent)
{
    QAction* action = parent ? parent->addAction(caption) : bar_->addAction(caption);
    action->setObjectName(key);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, key] { emit clicked(key); });
    items_.insert(key, action);
    return action;
}

void MainMenu::build(const MenuContents& contents, const MenuTicks& ticks)
{
    DebugLog(QStringLiteral("Running BuildMenu"), 15);
    const bool communicationsEnabled = itemEnabled(QStringLiteral("mnuCommunications")) || items_.isEmpty();
    bar_->clear();
    // The old menus are the bar's children and outlive clear(); later, because this may run
    // from inside one of their own items (the language menu).
    for (QMenu* menu : std::as_const(menus_)) {
        if (menu->parent() == bar_)
            menu->deleteLater();
    }
    items_.clear();
    menus_.clear();

    QMenu* language = addMenu(QStringLiteral("mnuLanguage"), text("LangLanguage"), nullptr);
    QMenu* communications = addMenu(QStringLiteral("mnuCommunications"), text("LangCommunications"), nullptr);
    addItem(QStringLiteral("mnuHelp"), text("LangHelp"), nullptr)->setCheckable(false);
    QMenu* speed = addMenu(QStringLiteral("mnuSearchSpeed"), text("LangSearchSpeed"), nullptr);
    if (!communicationsEnabled)
        communications->menuAction()->setEnabled(false);

    for (int n = 0; n < contents.languageNames.size(); ++n)
        addItem(LanguageItemKey(n), contents.languageNames[n], language);

    QMenu* comPort = addMenu(QStringLiteral("mnuComPort"), text("LangComPort"), communications);
    QMenu* tcp = addMenu(QStringLiteral("mnuTCPIP"), text("LangTCPIP"), communications);
    for (int port = 1; port <= 16; ++port) {
        if (contents.portAvailable[port])
            addItem(ComPortItemKey(port), QStringLiteral("COM") + QString::number(port), comPort);
    }
    addItem(QStringLiteral("mnuAddTCPIP"), text("LangAddEthernetAdapter"), tcp)->setCheckable(false);
    addItem(QStringLiteral("mnuSearchEA"), text("LangSearchEthernetAdapter"), tcp)->setCheckable(false);
    addItem(QStringLiteral("mnuEditEA"), text("LangEditEthernetAdapters"), tcp)->setCheckable(false);
    if (!contents.adapterKeys.isEmpty())
        tcp->addSeparator();
    for (int k = 0; k < contents.adapterKeys.size(); ++k)
        addItem(AdapterItemKey(k + 1), contents.adapterKeys[k], tcp);

    addItem(QStringLiteral("mnuSearchSpeedFast"), text("LangFast"), speed);
    addItem(QStringLiteral("mnuSearchSpeedMedium"), text("LangMedium"), speed);
    addItem(QStringLiteral("mnuSearchSpeedSlow"), text("LangSlow"), speed);

    refreshTicks(ticks);
    DebugLog(QStringLiteral("Finished Running BuildMenu"), 15);
}

void MainMenu::refreshTicks(const MenuTicks& ticks)
{
    for (QAction* action : std::as_const(items_)) {
        if (action->isCheckable())
            action->setChecked(false);
    }
    auto tick = [this](const QString& key) {
        if (QAction* action = item(key); action && action->isCheckable())
            action->setChecked(true);
    };
    tick(LanguageItemKey(ticks.language));
    if (ticks.comPortOpen && ticks.currentComPort != 0)
        tick(ComPortItemKey(ticks.currentComPort));
    if (ticks.ipMode && ticks.currentAdapter != 0)
        tick(AdapterItemKey(ticks.currentAdapter));
    if (const QString speedKey = SearchSpeedItemKey(ticks.searchProbeMs); !speedKey.isEmpty())
        tick(speedKey);
}

QAction* MainMenu::item(const QString& key) const { return items_.value(key, nullptr); }

void MainMenu::setItemEnabled(const QString& key, bool enabled)
{
    if (QAction* action = item(key))
        action->setEnabled(enabled);
}

bool MainMenu::itemEnabled(const QString& key) const
{
    const QAction* action = item(key);
    return action && action->isEnabled();
}

QStringList MainMenu::childKeys(const QString& parentKey) const
{
    QStringList keys;
    if (const QMenu* menu = menus_.value(parentKey, nullptr)) {
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                keys << action->objectName();
        }
    }
    return keys;
}

}  // namespace dunmere
