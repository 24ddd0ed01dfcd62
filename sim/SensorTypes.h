#pragma once
// What each sensor type has: the parameter register of its firmware (which numbers exist,
// their factory values, which may be written and within which range) and its features.

#include <QByteArray>
#include <QList>

namespace dunmere::sim {

enum class ParameterAccess {
    Config,    // written with W, kept by A1, restored by a factory reset
    ReadOnly,  // fixed by the factory (hardware kind, snapshot-only values)
    Live,      // measured; computed at the moment of the read
    Output,    // the analogue output test values, written only
};

struct ParameterDefinition {
    int number = 0;
    ParameterAccess access = ParameterAccess::Config;
    QByteArray factoryValue;  // its decimals are the decimals the sensor answers with
    double minimum = -1e9;
    double maximum = 1e9;
    bool integral = false;
    QList<int> allowed;  // when not empty, the only values accepted (codes)
};

[[nodiscard]] bool hasSecondChannel(int typeCode);   // second measurement channel
[[nodiscard]] bool hasSecondOutput(int typeCode);    // second analogue output
[[nodiscard]] bool hasBrix(int typeCode);            // Brix coefficients and reading
[[nodiscard]] bool hasAutoCalibration(int typeCode);
[[nodiscard]] bool hasFactoryReset(int typeCode);
[[nodiscard]] bool hasArmType(int typeCode);

// The register of a sensor type, ordered by number. Unknown types get the common set.
[[nodiscard]] QList<ParameterDefinition> parameterRegister(int typeCode);

}  // namespace dunmere::sim
