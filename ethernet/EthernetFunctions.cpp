#include "EthernetFunctions.h"

#include "link/DataFolder.h"
#include "link/Settings.h"

#include <QStringList>

namespace dunmere {

namespace {

bool allDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

std::optional<int> wholeNumber(const QString& text)
{
    const QString t = text.trimmed();
    // Long runs of digits would overflow; no port is longer than five.
    if (!allDigits(t) || t.size() > 9)
        return std::nullopt;
    return t.toInt();
}

}  // namespace

QString EthernetDatabasePath() { return DataFolder() + QStringLiteral("EthernetDB.mdb"); }

bool LoadAdapterList(EthernetAdapters& list, const QString& databasePath, const QString& configPath,
                     QString& lastIPAddress, QString& error)
{
    const bool loaded = list.LoadFromDB(databasePath, &error);
    lastIPAddress = ReadSetting(QStringLiteral("EthernetSetup"), QStringLiteral("LastIPAddress"), configPath);
    return loaded;
}

bool SaveAdapterList(const EthernetAdapters& list, const QString& databasePath, QString* error)
{
    return list.SaveToDB(databasePath, error);
}

bool IsDottedAddress(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts)
        if (!allDigits(part))
            return false;
    return true;
}

std::optional<std::array<quint8, 4>> DottedParts(const QString& text)
{
    if (!IsDottedAddress(text))
        return std::nullopt;
    const QStringList parts = text.split(QLatin1Char('.'));
    std::array<quint8, 4> out{};
    for (int i = 0; i < 4; ++i) {
        const auto value = wholeNumber(parts.at(i));
        if (!value || *value > 255)
            return std::nullopt;
        out[size_t(i)] = quint8(*value);
    }
    return out;
}

std::optional<quint16> ParseAdapterPort(const QString& text)
{
    const auto value = wholeNumber(text);
    if (!value || *value < 1 || *value > 65535)
        return std::nullopt;
    return quint16(*value);
}

bool IsAllowedBusPort(int port)
{
    return port >= 1025 && port <= 65535 && port != 9999 && port != 30704 && port != 30718
           && !(port >= 14000 && port <= 14009);
}

std::optional<quint16> ParseBusPort(const QString& text)
{
    const auto value = wholeNumber(text);
    if (!value || !IsAllowedBusPort(*value))
        return std::nullopt;
    return quint16(*value);
}

QString AdapterKey(const QString& address, int port) { return address + QLatin1Char(':') + QString::number(port); }

}  // namespace dunmere
