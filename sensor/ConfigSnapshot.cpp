#include "ConfigSnapshot.h"

#include "link/Link.h"
#include "link/Transport.h"
#include "link/ValueFormat.h"

namespace dunmere {

namespace {

using K = SnapshotEntry::Kind;

constexpr SnapshotEntry Entries[] = {
    {78, K::Index, 255},
    {1, K::Number, 0}, {2, K::Number, 0}, {3, K::Number, 0}, {4, K::Number, 0},
    {5, K::Index, 3},
    {6, K::Index, 12},
    {7, K::Number, 0},
    {8, K::Number, 0},
    {9, K::Index, 5},
    {10, K::Number, 0},
    {11, K::Number, 0},
    {13, K::Number, 0},
    {14, K::Index, 101},
    {16, K::Index, 4},
    {17, K::Index, 4},
    {20, K::Number, 0}, {21, K::Number, 0}, {22, K::Number, 0}, {23, K::Number, 0},
    {29, K::Index, 12},
    {42, K::Number, 0}, {43, K::Number, 0},
    {47, K::Index, 5},
    {49, K::Index, 2},
    {50, K::Text, 0},
    {51, K::Text, 0},
    {12, K::Number, 0},
    {55, K::Number, 0}, {56, K::Number, 0}, {57, K::Number, 0}, {58, K::Number, 0}, {59, K::Number, 0},
    {77, K::Index, 6},
};
static_assert(std::size(Entries) == 34);

constexpr int FirstCoefficientPosition = 1;
constexpr int CoefficientCount = 4;
constexpr int FirstBrixCoefficient = 25;

QString storedValue(const SnapshotEntry& entry, const QString& reply)
{
    switch (entry.kind) {
    case K::Number: return FormatNumber(reply);
    case K::Index: return QString::number(ParseIndex(reply, entry.limit));
    case K::Text: return reply;
    }
    return {};
}

}  // namespace

std::span<const SnapshotEntry> SnapshotEntries() { return Entries; }

bool SelectsBrixCoefficients(int hardwareKindIndex) { return (hardwareKindIndex & 0xF0) == 0x20; }

void ConfigSnapshot::ReadConfigSnapshot(Link& link, int address, int slot)
{
    QStringList& values = slots_.at(slot);
    QList<int>& parameters = parameters_.at(slot);
    values.clear();
    parameters.clear();
    replies_.at(slot).clear();
    failed_.at(slot) = false;
    bool brix = false;
    for (int position = 0; position < int(std::size(Entries)); ++position) {
        const SnapshotEntry& entry = Entries[position];
        int parameter = entry.parameter;
        const int coefficient = position - FirstCoefficientPosition;
        if (brix && coefficient >= 0 && coefficient < CoefficientCount)
            parameter = FirstBrixCoefficient + coefficient;
        const QString reply = link.ReadParameter(address, parameter);
        failed_[slot] = failed_[slot] || reply == FailureText;
        const QString value = storedValue(entry, reply);
        if (position == 0)
            brix = SelectsBrixCoefficients(value.toInt());
        values.append(value);
        parameters.append(parameter);
        replies_[slot].append(reply);
    }
}

bool ConfigSnapshot::SnapshotsEqual() const
{
    // Two empty slots (never read) are equal, as two silent readings are.
    return slots_[Before] == slots_[After];
}

}  // namespace dunmere
