#pragma once
// The commands of dunmere-cli, each on the same core procedures the windows use.

#include "CliOptions.h"

namespace dunmere::cli {

// Runs the parsed command line to its exit status.
[[nodiscard]] int runCommand(const Options& options);

// TEXT of the command command: \xNN is the byte NN, \\ a backslash. False with a reason for
// a malformed escape or a character outside one byte.
[[nodiscard]] bool unescapeCommandText(const QString& text, QString& out, QString& error);

}  // namespace dunmere::cli
