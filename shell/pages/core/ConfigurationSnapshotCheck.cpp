#include "ConfigurationSnapshotCheck.h"

#include "sensor/ConfigSnapshot.h"

namespace dunmere {

namespace {

// A reading in which the firmware text came back as the failure value went unanswered; two
// such readings agree with each other and prove nothing.
bool answered(const ConfigSnapshot& snapshot, int slot)
{
    const QList<int>& parameters = snapshot.parameters(slot);
    const QStringList& values = snapshot.values(slot);
    for (int i = 0; i < parameters.size() && i < values.size(); ++i) {
        if (parameters.at(i) == 50)
            return values.at(i) != FailureText;
    }
    return false;
}

}  // namespace

bool StoreAndVerifyConfiguration(PagesContext& ctx, bool answeredSoFar)
{
    const int address = ctx.sensor.address;
    ConfigSnapshot snapshot;
    snapshot.ReadConfigSnapshot(ctx.link, address, ConfigSnapshot::Before);
    const bool stored = ctx.link.SendAction(address, QStringLiteral("1")) != FailureText;
    snapshot.ReadConfigSnapshot(ctx.link, address, ConfigSnapshot::After);
    if (!snapshot.SnapshotsEqual() || !answeredSoFar || !stored || !answered(snapshot, ConfigSnapshot::After))
        return false;
    return ctx.link.SendAction(address, QStringLiteral("14")) != FailureText;
}

}  // namespace dunmere
