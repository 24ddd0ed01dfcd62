#pragma once
// Text control of a running bus, for the command line and the simulator's console: switching
// faults on and off, moving the material, setting inputs, failing firmware blocks.

#include <QString>

namespace dunmere::sim {

class SimBus;

// "[ADDR:]NAME[,[ADDR:]NAME...]": each fault goes to the sensor at ADDR, or to the whole line
// without one; "none" clears that target's faults. False with a message on the first bad item.
[[nodiscard]] bool applyFaultSpec(SimBus& bus, const QString& spec, QString& error);

class SimConsole {
public:
    explicit SimConsole(SimBus& bus) : bus_(bus) {}

    // Runs one console line and returns what to print.
    [[nodiscard]] QString execute(const QString& line);
    [[nodiscard]] static QString help();

private:
    [[nodiscard]] QString list() const;
    [[nodiscard]] QString material(const QStringList& words);
    [[nodiscard]] QString input(const QStringList& words);
    [[nodiscard]] QString block(const QStringList& words);
    [[nodiscard]] QString autoCalibration(const QStringList& words);
    [[nodiscard]] QString flags(const QStringList& words);

    SimBus& bus_;
};

}  // namespace dunmere::sim
