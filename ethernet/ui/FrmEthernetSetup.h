#pragma once
// The network set-up of the adapter in use: its current settings read over UDP, and new ones
// written (automatic addressing, or a fixed address with the TCP port and the gateway). After
// a fixed address the list entry and the connection follow the adapter; after automatic
// addressing the window closes and the opener searches the network.

#include "EthernetContext.h"

#include "ethernet/AdapterSetup.h"
#include "ethernet/AdapterSocket.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace dunmere {

class FrmEthernetSetup final : public QDialog {
    Q_OBJECT
public:
    FrmEthernetSetup(const EthernetContext& context, QWidget* parent);

    // Reads the adapter's settings (up to three tries of 3000 ms) and shows them.
    void load();
    // Automatic addressing was written: the caller searches for the adapter's new address.
    [[nodiscard]] bool searchWanted() const { return searchWanted_; }

    [[nodiscard]] bool SetupIdle() const { return setupIdle_; }
    [[nodiscard]] AdapterSetup& setup() { return setup_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void ShowCurrentSettings();
    void showRead();
    void onDhcp();
    void onFixed();
    void onSet();
    void fixedAddressWritten(quint16 writtenPort);
    [[nodiscard]] QLabel* label(const char* name, const QString& text = {});

    const EthernetContext& ctx_;
    AdapterSocket socket_;  // WinsockSearch of this window
    AdapterSetup setup_;
    bool setupIdle_ = true;
    bool searchWanted_ = false;

    QGroupBox* frCurrentSettings_;
    QLabel* lblDHCPSetting_;
    QLabel* lblCurrentIP_;
    QLabel* lblCurrentPort_;
    QLabel* lblCurrentGateway_;
    QGroupBox* FrNewSettings_;
    QRadioButton* rbDHCP_;
    QRadioButton* rbFixedIP_;
    QLineEdit* tbFixedIPAddress_;
    QLabel* lblPortNumber_;
    QLineEdit* tbPortNumber_;
    QLabel* lblGateway_;
    QLineEdit* tbGateway_;
    QPushButton* btnSet_;
    QProgressBar* pbSet_;
};

}  // namespace dunmere
