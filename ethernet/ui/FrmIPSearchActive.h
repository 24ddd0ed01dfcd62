#pragma once
// The window shown while the network is searched for adapters: what is being checked, and a
// Cancel button. The main window (and the adapter list window) are hidden meanwhile.

#include "EthernetContext.h"

#include "ethernet/AdapterDiscovery.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

namespace dunmere {

class FrmIPSearchActive final : public QDialog, public DiscoveryReport {
    Q_OBJECT
public:
    // listWindow: hidden and shown again with the main window when it is open.
    FrmIPSearchActive(const EthernetContext& context, QWidget* listWindow);

    // DiscoveryReport
    void searchStarted() override;
    void checkingAddress(const QString& line) override;
    [[nodiscard]] bool cancelRequested() const override { return bButtonPressed; }
    void searchEnded() override;

    [[nodiscard]] QLabel* messagelabel() const { return messagelabel_; }
    [[nodiscard]] QLabel* messagelabel2() const { return messagelabel2_; }
    [[nodiscard]] QPushButton* messagebutton() const { return messagebutton_; }

    bool bButtonPressed = false;

    // The search as the menu, the list window and the set-up window start it: the search
    // window shown meanwhile, the list saved at the end.
    static SearchOutcome run(const EthernetContext& context, QWidget* listWindow);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    const EthernetContext& ctx_;
    QPointer<QWidget> listWindow_;
    QLabel* messagelabel_;
    QLabel* messagelabel2_;
    QPushButton* messagebutton_;
};

}  // namespace dunmere
