#pragma once
// Adds an adapter by hand: its address and TCP port. The entry goes to the end of the list
// and the list is written to the store and read back.

#include "EthernetContext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace dunmere {

class FrmAddEthernetAdapter final : public QDialog {
    Q_OBJECT
public:
    FrmAddEthernetAdapter(const EthernetContext& context, QWidget* parent);

    [[nodiscard]] QLineEdit* tbIPAddress() const { return tbIPAddress_; }
    [[nodiscard]] QLineEdit* tbPort() const { return tbPort_; }
    [[nodiscard]] QPushButton* btnOK() const { return btnOK_; }
    [[nodiscard]] QPushButton* btnCancel() const { return btnCancel_; }

private:
    void onOk();

    const EthernetContext& ctx_;
    QLabel* lblIPAddress_;
    QLabel* lblRemotePort_;
    QLineEdit* tbIPAddress_;
    QLineEdit* tbPort_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
};

}  // namespace dunmere
