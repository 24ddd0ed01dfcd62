#pragma once
// The command line of the desktop program.

#include <QString>
#include <QStringList>

namespace dunmere {

struct GuiOptions {
    bool simulate = false;
    QString simulateSpec;   // empty: the default demonstration bus
    QString screenshotDir;  // empty: run normally
    int debugLevel = -1;    // -1: leave the threshold as the environment set it
    QString error;          // not empty: the command line could not be taken
};

// What --help prints.
[[nodiscard]] QString GuiUsage();

// --simulate[=SPEC], --screenshot DIR (or =DIR), --debug-level N (or =N).
[[nodiscard]] GuiOptions ParseGuiOptions(const QStringList& arguments);

}  // namespace dunmere
