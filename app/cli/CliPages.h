#pragma once
// The page commands of dunmere-cli (config, diag, measure, autocal, factory-reset,
// output-test): the pages' own procedures, printed under the pages' captions, under the
// control names (--names) or as JSON.

#include "shell/pages/core/CliPageCommands.h"

#include <QStringList>

namespace dunmere::cli {

struct Session;

[[nodiscard]] int runPageCommand(Session& s, const QString& command, const QStringList& args);

}  // namespace dunmere::cli
