#pragma once
// The bus as a serial port: a pseudo-terminal whose slave device the program opens with its
// serial port code. The preamble and pad bytes it sends are line noise to the sensors.

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace dunmere::sim {

class SimBus;
class WireLine;

class PseudoTerminal final : public QObject {
    Q_OBJECT
public:
    explicit PseudoTerminal(SimBus& bus, QObject* parent = nullptr);
    ~PseudoTerminal() override;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    [[nodiscard]] bool open(QString& error);
    // The device path to give the program ("/dev/pts/7").
    [[nodiscard]] QString slavePath() const { return slavePath_; }
    void setBaud(int baud);

private:
    void readMaster();
    void writeMaster(const QByteArray& bytes);
    void closeAll();

    WireLine* line_;
    int master_ = -1;
    int slave_ = -1;  // held open so the master never sees a hang-up between the program's opens
    QString slavePath_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace dunmere::sim
