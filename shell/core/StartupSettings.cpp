#include "StartupSettings.h"

#include "link/DebugLog.h"
#include "link/NumberRules.h"
#include "link/Settings.h"

#include <cmath>
#include <optional>

namespace dunmere {

namespace {

const QString section = QStringLiteral("Settings");

QString read(const QString& key, const QString& path) { return ReadSetting(section, key, path); }

// A whole number as the profile value holds it; nothing for a fraction or a non-number.
std::optional<int> wholeNumber(const QString& text)
{
    bool ok = false;
    const double value = ToNumber(text, &ok);
    if (!ok || !std::isfinite(value) || value != std::floor(value) || std::fabs(value) > 1e9)
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

QString MainWindowCaption(bool brixEdition)
{
    const QString plain = QStringLiteral("Dunmere (") + ProgramVersionText + QStringLiteral(")");
    return brixEdition ? QStringLiteral("Tolland Grey Limited - ") + plain : plain;
}

int ReadEditionType(const QString& configPath)
{
    const auto type = wholeNumber(read(QStringLiteral("Type"), configPath));
    if (type && (*type == 0 || *type == 1))
        return *type;
    WriteSetting(section, QStringLiteral("Type"), QStringLiteral("0"), configPath);
    return 0;
}

bool ReadDisableConfig(const QString& configPath)
{
    bool ok = false;
    const double value = ToNumber(read(QStringLiteral("DisableConfig"), configPath), &ok);
    return ok && value != 0.0;
}

int ReadSearchSpeed(const QString& configPath)
{
    bool ok = false;
    const double value = ToNumber(read(QStringLiteral("SearchSpeed"), configPath), &ok);
    if (!ok || !std::isfinite(value) || value < 1.0 || value > 600000.0)
        return SearchSpeedMediumMs;
    return static_cast<int>(std::nearbyint(value));
}

LastTransport ReadLastComms(const QString& configPath)
{
    const QString value = read(QStringLiteral("LastComms"), configPath);
    if (value == QLatin1String("COM"))
        return LastTransport::Serial;
    if (value == QLatin1String("IP"))
        return LastTransport::Tcp;
    return LastTransport::None;
}

int ReadPortSetting(const QString& configPath)
{
    const QString raw = read(QStringLiteral("Port"), configPath);
    int port = 1;
    if (raw.isEmpty()) {
        WriteSetting(section, QStringLiteral("Port"), QStringLiteral("1"), configPath);
        DebugLog(QStringLiteral("Unable to convert COM port"), 15);
    } else if (const auto number = wholeNumber(raw); number && *number >= 1 && *number <= HighestPortNumber) {
        port = *number;
    }
    DebugLog(QStringLiteral("Read COM port as ") + raw, 15);
    DebugLog(QStringLiteral("COM port is ") + QString::number(port), 15);
    DebugLog(QStringLiteral("Set COM port to ") + QString::number(port), 15);
    return port;
}

}  // namespace dunmere
