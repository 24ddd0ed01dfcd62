#pragma once
// dunmere-cli adapters: the adapter list in the data folder's store, discovery, and an
// adapter's network set-up, on the same procedures as the adapter windows.
//
//   adapters list
//   adapters add HOST:PORT
//   adapters remove N
//   adapters search [--local ADDR]... [--target HOST]...
//   adapters setup HOST (--dhcp | --fixed IP --gateway GW) --port P
//
// --local gives the PC addresses to search from (default: every IPv4 interface that is up);
// --target where the query goes (default: the broadcast address 255.255.255.255).

#include <QStringList>

namespace dunmere {
class Messages;
class TextSource;
}  // namespace dunmere

namespace dunmere::cli {

[[nodiscard]] int runAdaptersCommand(const QStringList& args, Messages& messages, const TextSource& texts);

}  // namespace dunmere::cli
