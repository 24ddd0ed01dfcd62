#pragma once
// dunmere-sim: the simulated bus served to the program over TCP, a pseudo-terminal and the
// adapter configuration datagrams, set up from the command line and a scenario file, and
// steered from standard input while it runs.

#include "sim/AdapterConfigServer.h"
#include "sim/PseudoTerminal.h"
#include "sim/Scenario.h"
#include "sim/SimBus.h"
#include "sim/SimConsole.h"
#include "sim/TcpBridge.h"

#include <QObject>
#include <QStringList>
#include <memory>

class QSocketNotifier;

namespace dunmere::sim {

class SimProgram final : public QObject {
    Q_OBJECT
public:
    SimProgram();
    ~SimProgram() override;
    SimProgram(const SimProgram&) = delete;
    SimProgram& operator=(const SimProgram&) = delete;

    // Sets everything up from the arguments; returns the exit code to stop with, or -1 to run.
    [[nodiscard]] int start(const QStringList& arguments);

private:
    [[nodiscard]] bool setUpBus(const QString& scenarioFile, const QString& sensors, const QStringList& faults,
                                ScenarioOptions& options, QString& error);
    [[nodiscard]] bool startFrontEnds(const ScenarioOptions& options, int baud, QString& error);
    void adapterApplied(const AdapterSettings& settings);
    void readConsole();
    void say(const QString& line) const;

    SimBus bus_;
    SimConsole console_{bus_};
    std::unique_ptr<TcpBridge> tcp_;
    std::unique_ptr<PseudoTerminal> pty_;
    std::unique_ptr<AdapterConfigServer> adapter_;
    QSocketNotifier* stdinNotifier_ = nullptr;
    QByteArray consoleBuffer_;
};

}  // namespace dunmere::sim
