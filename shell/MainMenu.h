#pragma once
// The main window's menu bar as a keyed tree: every item is found by its key (the action's
// objectName), rebuilt whole from what the program knows, ticked from the current state.

#include "link/Messages.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace dunmere {

// What the items are made from.
struct MenuContents {
    QStringList languageNames;            // the Lang text of languages 0..n
    std::array<bool, 17> portAvailable{};  // index 1-16
    QStringList adapterKeys;              // in list order
};

// What the tick marks show.
struct MenuTicks {
    int language = 0;
    bool comPortOpen = false;
    int currentComPort = 0;
    bool ipMode = false;
    int currentAdapter = 0;
    int searchProbeMs = 0;
};

class MainMenu final : public QObject {
    Q_OBJECT
public:
    MainMenu(QMenuBar* bar, const TextSource& texts);
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    // Removes every item and adds them again in their fixed order. A communications menu that
    // is disabled stays disabled: a pending transport switch keeps it so until it is served.
    void build(const MenuContents& contents, const MenuTicks& ticks);
    void refreshTicks(const MenuTicks& ticks);

    // nullptr for a key that is not in the menu.
    [[nodiscard]] QAction* item(const QString& key) const;
    void setItemEnabled(const QString& key, bool enabled);
    [[nodiscard]] bool itemEnabled(const QString& key) const;
    // Keys of the items under a parent, in menu order.
    [[nodiscard]] QStringList childKeys(const QString& parentKey) const;

signals:
    void clicked(const QString& key);

private:
    QMenu* addMenu(const QString& key, const QString& caption, QMenu* parent);
    QAction* addItem(const QString& key, const QString& caption, QMenu* parent);
    QString text(const char* key) const;

    QMenuBar* bar_;
    const TextSource& texts_;
    QHash<QString, QAction*> items_;
    QHash<QString, QMenu*> menus_;
};

}  // namespace dunmere
