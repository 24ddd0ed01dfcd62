#pragma once
// What the adapter windows share and what they ask of the main window. They show and
// collect; the list, the store, discovery and set-up are the core's.

#include "link/Messages.h"

#include <QString>

class QWidget;

namespace dunmere {

class AdapterSocket;
class EthernetAdapters;

class EthernetWindowHost {
public:
    virtual ~EthernetWindowHost() = default;
    // The main window, which the adapter windows centre over and a search hides.
    [[nodiscard]] virtual QWidget* mainWindow() = 0;
    // BuildMenu: the adapter items follow the list, CurrentAdapter is found again by key.
    virtual void rebuildMenus() = 0;
    // The list window closed: lblConnectedVia empty, and a reconnect to CurrentAdapter asked
    // of the task timer while the TCP connection is the transport.
    virtual void adapterListClosed() = 0;
    [[nodiscard]] virtual int currentAdapter() const = 0;
    // The remote host of the TCP connection (the adapter in use); empty when none was made.
    [[nodiscard]] virtual QString adapterInUse() const = 0;
    // SetIPPort(position, automatic).
    virtual void connectToAdapter(int position) = 0;
    // MainTab shows the Sensor page.
    virtual void showSensorPage() = 0;
};

struct EthernetContext {
    EthernetAdapters& list;
    QString databasePath;
    AdapterSocket& searchSocket;  // WinsockSearch of the main window
    Messages* messages;
    const TextSource& texts;
    const bool& closing;  // ProgramClosing
    EthernetWindowHost& host;

    [[nodiscard]] QString tr(const char* key) const { return texts.text(QString::fromLatin1(key)); }
    void message(const char* key) const
    {
        if (messages && !closing)
            messages->show(tr(key), MessageButtons::Ok);
    }
};

// Moves window so that its centre is over the centre of over.
void CentreOver(QWidget& window, const QWidget* over);

}  // namespace dunmere
