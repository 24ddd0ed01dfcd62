#pragma once
// The TCP link to the adapter in use: its address and port, the PC address recorded for it,
// how long the connect took, and the round-trip statistics and time-outs of the receiver. The
// link refreshes it after every TCP exchange; the transport switch after every connect.

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;

namespace dunmere {

class Link;
class TextSource;
struct TransportState;

class FrmEthernetDiags final : public QWidget {
    Q_OBJECT
public:
    FrmEthernetDiags(const Link& link, const TransportState& transport, const TextSource& texts, QWidget* parent);
    ~FrmEthernetDiags() override;

    void UpdateData();
    // The captions in the current language; the values stay.
    void applyTexts();

    [[nodiscard]] QCheckBox* chkAlwaysOnTop() const { return keepOnTop_; }

private:
    void onRoundTrip();
    void keepOnTop(bool on);
    [[nodiscard]] QLabel* label(const QString& name);

    const Link& link_;
    const TransportState& transport_;
    const TextSource& texts_;
    QCheckBox* keepOnTop_;
    QGroupBox* frameAdapter_;
    QGroupBox* frameDiagnostics_;
    QLabel* lblEAIPAddressDiag_;
    QLabel* lblIPAddressDiag_;
    QLabel* lblEAPortNumDiag_;
    QLabel* lblPortNumDiag_;
    QLabel* lblEALocalIPAddressDiag_;
    QLabel* lblLocalIPAddressDiag_;
    // Caption (0) and value (1) of connection time, last, maximum and average round trip,
    // and time-outs.
    std::array<std::array<QLabel*, 2>, 5> rows_{};
};

}  // namespace dunmere
