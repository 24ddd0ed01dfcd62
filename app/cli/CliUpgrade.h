#pragma once
// dunmere-cli upgrade ADDR FILE [--yes] [--restore-config]: the firmware upgrade of the
// Diagnostics page without the window. Status texts go to standard output, the progress bar
// to standard error; Ctrl-C cancels after the block in flight.

#include <QStringList>

namespace dunmere {
class Link;
class TextSource;
}  // namespace dunmere

namespace dunmere::cli {

struct UpgradeOptions {
    int address = 0;
    QString file;
    bool yes = false;             // no question before the first block
    bool restoreConfig = false;   // write back the values the new firmware changed
};

// Parses the command's arguments; false with a reason for a usage error.
[[nodiscard]] bool parseUpgradeOptions(const QStringList& args, UpgradeOptions& options, QString& error);

// Runs the upgrade on the open link; the exit status (0 upgraded, 1 failed or cancelled).
[[nodiscard]] int runUpgrade(Link& link, const TextSource& texts, const UpgradeOptions& options, int editionType);

}  // namespace dunmere::cli
