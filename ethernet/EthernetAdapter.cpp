#include "EthernetAdapter.h"

#include <algorithm>

namespace dunmere {

EthernetAdapter& EthernetAdapters::Add(bool bAutomaticallyFound, qint16 iAdapterNumber, qint32 lPortNumber,
                                       const QString& strHostname, const QString& strIPAddress,
                                       const QString& strLocalIPAddress, const QString& Key)
{
    items_.append(EthernetAdapter{bAutomaticallyFound, iAdapterNumber, lPortNumber, strHostname, strIPAddress,
                                  strLocalIPAddress, Key});
    return items_.last();
}

void EthernetAdapters::Remove(int position)
{
    if (position >= 1 && position <= Count())
        items_.removeAt(position - 1);
}

bool EthernetAdapters::Exists(const QString& key) const
{
    return std::any_of(items_.cbegin(), items_.cend(), [&](const EthernetAdapter& a) { return a.Key == key; });
}

}  // namespace dunmere
