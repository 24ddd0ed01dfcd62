#pragma once
// Two readings of a sensor's whole configuration, taken before and after it is asked to
// store a write, and their comparison: a sensor that changed or lost anything in between
// shows up as a difference.

#include <QStringList>
#include <array>
#include <span>

namespace dunmere {

class Link;

struct SnapshotEntry {
    enum class Kind { Number, Index, Text };
    int parameter;
    Kind kind;
    int limit;  // Index: the ParseIndex limit
};

// The 34 entries in reading order, with the moisture coefficients 1-4 in positions 2-5.
[[nodiscard]] std::span<const SnapshotEntry> SnapshotEntries();
// Whether the first entry (hardware kind bits, bits 4-7 equal to 2) makes positions 2-5 read
// the Brix coefficients 25-28 instead.
[[nodiscard]] bool SelectsBrixCoefficients(int hardwareKindIndex);

class ConfigSnapshot {
public:
    static constexpr int Before = 0;
    static constexpr int After = 1;

    // Reads every entry from the sensor at address into the slot (0 or 1). Each read stands
    // on its own: a missing reply stores an empty number, index 0 or the reply "-99".
    void ReadConfigSnapshot(Link& link, int address, int slot);
    // Every value of slot 0 equals the value at the same position of slot 1, texts compared
    // exactly.
    [[nodiscard]] bool SnapshotsEqual() const;

    // The values as stored: numbers formatted, indices in decimal, texts as replied.
    [[nodiscard]] const QStringList& values(int slot) const { return slots_.at(slot); }
    // The parameter behind each stored position of the slot's reading.
    [[nodiscard]] const QList<int>& parameters(int slot) const { return parameters_.at(slot); }
    // Each entry's reply as it came, before formatting ("?" and "-99" included).
    [[nodiscard]] const QStringList& replies(int slot) const { return replies_.at(slot); }
    // Some read of the slot's reading ended with the failure value "-99".
    [[nodiscard]] bool readFailed(int slot) const { return failed_.at(slot); }

private:
    std::array<QStringList, 2> slots_;
    std::array<QStringList, 2> replies_;
    std::array<bool, 2> failed_{};
    std::array<QList<int>, 2> parameters_;
};

}  // namespace dunmere
