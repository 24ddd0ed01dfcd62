#include "MenuKeys.h"

#include "StartupSettings.h"

namespace dunmere {

namespace {

// The decimal number after prefix, or -1 when the rest is not all digits.
int numberAfter(const QString& key, QLatin1String prefix)
{
    const QString rest = key.mid(prefix.size());
    if (rest.isEmpty() || rest.size() > 4)
        return -1;
    for (QChar c : rest) {
        if (!c.isDigit())
            return -1;
    }
    return rest.toInt();
}

}  // namespace

MenuCommand ParseMenuKey(const QString& key)
{
    using Kind = MenuCommand::Kind;
    static const QLatin1String language("mnuLanguage"), comPort("mnuComPortCom"), adapter("mnuIP");
    if (key.startsWith(language) && key.size() > language.size()) {
        const int n = numberAfter(key, language);
        return n >= 1 ? MenuCommand{Kind::Language, n - 1} : MenuCommand{};
    }
    if (key.startsWith(comPort)) {
        const int n = numberAfter(key, comPort);
        return n >= 1 ? MenuCommand{Kind::ComPort, n} : MenuCommand{};
    }
    if (key == QLatin1String("mnuSearchEA"))
        return {Kind::SearchAdapters, 0};
    if (key == QLatin1String("mnuEditEA"))
        return {Kind::EditAdapters, 0};
    if (key == QLatin1String("mnuAddTCPIP"))
        return {Kind::AddAdapter, 0};
    if (key.startsWith(adapter)) {
        const int n = numberAfter(key, adapter);
        return n >= 1 ? MenuCommand{Kind::Adapter, n} : MenuCommand{};
    }
    if (key == QLatin1String("mnuHelp"))
        return {Kind::Help, 0};
    if (key == QLatin1String("mnuSearchSpeedFast"))
        return {Kind::SearchSpeed, SearchSpeedFastMs};
    if (key == QLatin1String("mnuSearchSpeedMedium"))
        return {Kind::SearchSpeed, SearchSpeedMediumMs};
    if (key == QLatin1String("mnuSearchSpeedSlow"))
        return {Kind::SearchSpeed, SearchSpeedSlowMs};
    return {};
}

QString LanguageItemKey(int language) { return QStringLiteral("mnuLanguage") + QString::number(language + 1); }
QString ComPortItemKey(int port) { return QStringLiteral("mnuComPortCom") + QString::number(port); }
QString AdapterItemKey(int position) { return QStringLiteral("mnuIP") + QString::number(position); }

QString SearchSpeedItemKey(int probeMs)
{
    switch (probeMs) {
    case SearchSpeedFastMs: return QStringLiteral("mnuSearchSpeedFast");
    case SearchSpeedMediumMs: return QStringLiteral("mnuSearchSpeedMedium");
    case SearchSpeedSlowMs: return QStringLiteral("mnuSearchSpeedSlow");
    default: return {};
    }
}

int ReindexCurrentAdapter(const QStringList& adapterKeys, const QString& lastIPAddress, int currentAdapter)
{
    if (currentAdapter == 0)
        return 0;
    int found = 0;
    for (int k = 0; k < adapterKeys.size(); ++k) {
        if (adapterKeys[k] == lastIPAddress)
            found = k + 1;
    }
    return found;
}

}  // namespace dunmere
