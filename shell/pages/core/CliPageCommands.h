#pragma once
// dunmere-cli's page commands: the same procedures as the Configuration, Diagnostics and
// Advanced pages, printed as "name = value" lines under the controls' names.
//
//   config ADDR                   the Configuration page as the page shows it
//   diag ADDR                     the full diagnostics refresh
//   measure ADDR water|air        the 50-sample factory measurement of one reference
//   autocal ADDR                  the automatic calibration
//   factory-reset ADDR            the factory reset of a type-89 sensor
//   output-test ADDR RAW1 [RAW2]  one output-test step with raw values 0-4095
//
// Exit status: 0 done, 1 the sensor did not answer or refused, 2 wrong arguments.

#include <QStringList>
#include <QTextStream>

namespace dunmere {

class Link;
class Messages;
class TextSource;

// The link (with its transport, message window and texts already set), what the pages'
// messages go through, and where the values and the complaints are printed.
struct CliPageEnvironment {
    Link& link;
    const TextSource& texts;
    Messages& messages;
    QTextStream& out;
    QTextStream& err;
    int editionType = 0;  // Settings/Type
};

[[nodiscard]] bool IsPageCommand(const QString& command);
// args: the command and its arguments.
[[nodiscard]] int RunPageCommand(CliPageEnvironment& env, const QStringList& args);
// One line per command for the usage text.
[[nodiscard]] QStringList PageCommandUsage();

[[nodiscard]] int CliConfig(CliPageEnvironment& env, int address);
[[nodiscard]] int CliDiag(CliPageEnvironment& env, int address);
[[nodiscard]] int CliMeasure(CliPageEnvironment& env, int address, const QString& reference);
[[nodiscard]] int CliAutoCal(CliPageEnvironment& env, int address);
[[nodiscard]] int CliFactoryReset(CliPageEnvironment& env, int address);
[[nodiscard]] int CliOutputTest(CliPageEnvironment& env, int address, int raw1, int raw2);  // raw2 -1: none

}  // namespace dunmere
