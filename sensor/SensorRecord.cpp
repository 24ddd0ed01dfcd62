#include "SensorRecord.h"

#include "link/NumberRules.h"

#include <algorithm>

namespace dunmere {

namespace {

constexpr int FirmwareTextMinimum = 12;

// Columns are 1-based as the firmware and identification layouts are documented.
QString columns(const QString& text, int first, int count) { return text.mid(first - 1, count); }

std::optional<int> twoDigits(const QString& text)
{
    if (text.size() != 2 || !text.at(0).isDigit() || !text.at(1).isDigit())
        return std::nullopt;
    return text.toInt();
}

std::optional<HardwareKind> kindOfBits(int bits, bool brixEdition)
{
    switch (bits) {
    case 0: return HardwareKind{QStringLiteral("None")};
    case 16: return HardwareKind{QStringLiteral("Ostrem Corrane")};
    case 32:
        return brixEdition ? HardwareKind{QStringLiteral("Fayline"), true} : HardwareKind{QStringLiteral("Ostrem SE")};
    case 64: return HardwareKind{QStringLiteral("Dentho")};
    case 128: return HardwareKind{QStringLiteral("Grelmo")};
    case 256: return HardwareKind{QStringLiteral("Ostrem")};
    default: return std::nullopt;
    }
}

}  // namespace

void ClearSensorTable(SensorRecords& table)
{
    for (int a = FirstBusAddress; a <= LastBusAddress; ++a)
        table[a] = SensorRecord{};
}

QString IdentityOf(const QString& identificationReply) { return columns(identificationReply, 1, 8); }

QString NameOf(const QString& identificationReply)
{
    QString name = columns(identificationReply, 10, 20);
    while (name.endsWith(u' '))
        name.chop(1);
    return name;
}

void ParseFirmwareText(SensorRecord& record)
{
    const QString& text = record.FirmwareText;
    if (text.size() < FirmwareTextMinimum)
        return;
    const auto typeCode = twoDigits(columns(text, 5, 2));
    if (!typeCode)
        return;
    record.TypeCode = *typeCode;
    bool ok = false;
    const double version = ToNumber(columns(text, 9, 4), &ok);
    if (ok)
        record.FirmwareVersion = version;
}

bool HasSecondChannel(int typeCode) { return typeCode == 77 || typeCode == 89; }

std::optional<HardwareKind> HardwareKindOf(int parameter78, bool brixEdition)
{
    return kindOfBits(parameter78 & 0xFF0, brixEdition);
}

std::optional<HardwareKind> HardwareKindOfFirstReading(int parameter78, bool brixEdition)
{
    const int bits = parameter78 & 0xF0;
    return bits <= 64 ? kindOfBits(bits, brixEdition) : std::nullopt;
}

bool FitsOnTheBus(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0xFF; });
}

}  // namespace dunmere
