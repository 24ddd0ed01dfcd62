#include "SensorTypes.h"

#include <algorithm>

namespace dunmere::sim {

namespace {

using A = ParameterAccess;

ParameterDefinition number(int n, const char* value, A access = A::Config)
{
    return ParameterDefinition{n, access, QByteArray(value)};
}

ParameterDefinition index(int n, const char* value, int count)
{
    return ParameterDefinition{n, A::Config, QByteArray(value), 0, double(count - 1), true};
}

ParameterDefinition live(int n) { return ParameterDefinition{n, A::Live, {}}; }

// Parameters every sensor has.
QList<ParameterDefinition> commonRegister()
{
    return {
        number(1, "0.0000"), number(2, "0.2857"), number(3, "-4.0000"), number(4, "0.0000"),
        index(5, "0", 3), index(6, "1", 12), number(7, "0.00"), number(8, "20.00"), index(9, "0", 4),
        number(10, "720.00"), number(11, "880.00"), number(12, "0.0150"), index(13, "0", 6),
        // Smoothing: an index up to 5, or whole seconds up to 100 that may arrive formatted ("7.50").
        ParameterDefinition{14, A::Config, "2", 0, 100, false}, index(16, "0", 4), index(17, "0", 4),
        number(20, "0.00"), number(21, "25.00"), number(22, "0.00"), number(23, "100.00"),
        index(24, "0", 5), ParameterDefinition{31, A::Output, "0", 0, 4095, true},
        ParameterDefinition{38, A::Config, "0", 0, 4, true}, number(55, "0.0120"), number(56, "0.0080"),
        live(50), live(51), live(61), live(62), live(64), live(65), live(66), live(67), live(69), live(75),
        live(100),
    };
}

void remove(QList<ParameterDefinition>& list, std::initializer_list<int> numbers)
{
    list.removeIf([&](const ParameterDefinition& d) { return std::find(numbers.begin(), numbers.end(), d.number) != numbers.end(); });
}

}  // namespace

bool hasSecondChannel(int typeCode) { return typeCode == 77 || typeCode == 89; }
bool hasSecondOutput(int typeCode) { return typeCode == 63 || typeCode == 70 || hasSecondChannel(typeCode); }
bool hasBrix(int typeCode) { return typeCode == 48 || typeCode == 70; }
bool hasAutoCalibration(int typeCode) { return hasSecondChannel(typeCode); }
bool hasFactoryReset(int typeCode) { return typeCode == 89; }
bool hasArmType(int typeCode) { return typeCode == 63 || hasSecondChannel(typeCode); }

QList<ParameterDefinition> parameterRegister(int typeCode)
{
    QList<ParameterDefinition> list = commonRegister();
    if (typeCode == 29 || typeCode == 45)
        remove(list, {24, 55, 56, 75});
    if (hasBrix(typeCode)) {
        list += {number(25, "101.0000"), number(26, "0.1500"), number(27, "0.1700"), number(28, "-2.5000"), live(74)};
    }
    if (hasSecondOutput(typeCode))
        list += {index(29, "4", 12), ParameterDefinition{37, A::Output, "0", 0, 4095, true}};
    if (hasArmType(typeCode))
        list += ParameterDefinition{79, A::Config, "0", 0, 35, true, {0, 16, 32, 33, 34, 35}};
    if (hasSecondChannel(typeCode)) {
        list += {number(39, "1200.00"), number(40, "3200.00"), number(42, "1.0000", A::ReadOnly),
                 number(43, "0.0000", A::ReadOnly), live(46), ParameterDefinition{47, A::Config, "0", 0, 4, true},
                 index(49, "0", 2), number(57, "0.5000"), number(58, "0.4000"), number(59, "0.3000"),
                 index(77, "2", 6), number(78, typeCode == 89 ? "256" : "64", A::ReadOnly), live(117)};
    }
    std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return list;
}

}  // namespace dunmere::sim
