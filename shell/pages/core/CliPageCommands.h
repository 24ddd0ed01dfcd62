#pragma once
// dunmere-cli's page commands: the same procedures as the Configuration, Diagnostics and
// Advanced pages, read out as the page shows them (each value with its control's name, its
// caption in the loaded language and, for the status flags, whether it is set); the command
// line prints them.
//
//   config ADDR                   the Configuration page as the page shows it
//   diag ADDR                     the full diagnostics refresh
//   measure ADDR water|air        the 50-sample factory measurement of one reference
//   autocal ADDR                  the automatic calibration
//   factory-reset ADDR            the factory reset of a type-89 sensor
//   output-test ADDR RAW1 [RAW2]  one output-test step with raw values 0-4095
//
// Exit status: 0 done, 1 the sensor did not answer or refused, 2 wrong arguments.

#include <QList>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace dunmere {

class Link;
class Messages;
class TextSource;

// One value as the page shows it.
struct PageValue {
    QString name;             // the control's name ("ListOPType")
    QString label;            // the caption beside it ("Output Type"); empty when it has none
    QString group;            // the caption of its frame ("Analogue Output")
    QString text;             // as shown
    std::optional<bool> set;  // a status flag: shown in red
};

// The link (with its transport, message window and texts already set), what the pages'
// messages go through, where the values are collected and where complaints are written.
struct CliPageEnvironment {
    Link& link;
    const TextSource& texts;
    Messages& messages;
    QList<PageValue>& values;
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
