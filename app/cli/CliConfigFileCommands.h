#pragma once
// dunmere-cli's configuration file commands, on the same save, restore and comparison
// procedures as the Diagnostics page:
//
//   save-config ADDR FILE        the sensor's configuration into FILE (replaced when it exists)
//   restore-config ADDR FILE     FILE's values into the sensor
//   diff-config FILE ADDR        what a restore of FILE would change on the sensor
//   diff-config FILE1 FILE2      what a restore of FILE1 would change on FILE2's sensor
//
// The per-sensor functions below are what a command over many sensors builds on.

#include "configfile/ConfigurationTransfer.h"

#include <QStringList>
#include <QTextStream>
#include <optional>

namespace dunmere {
class Link;
class Messages;
class TextSource;
}  // namespace dunmere

namespace dunmere::cli {

struct ConfigFileEnvironment {
    Link& link;
    const TextSource& texts;
    int language = 0;        // the number of the language in use
    QString languageFile;    // the config.ini the texts come from
    Messages& messages;
    int editionType = 0;     // Settings/Type
    QTextStream& out;
    QTextStream& err;
};

// The sensor at address as the file's header needs it, identified afresh; nothing (and a line
// on err) when it does not answer.
[[nodiscard]] std::optional<SavedSensor> IdentifySensor(ConfigFileEnvironment& env, int address);
// The type-dependent choices the pages make for the sensor: the smoothing list, and the Brix
// coefficient row where the hardware kind or an output on Brix shows it.
[[nodiscard]] SensorLayout AdaptToSensor(ConfigFileEnvironment& env, const SavedSensor& sensor);

// Both of the above.
struct PreparedSensor {
    SavedSensor sensor;
    SensorLayout layout;
};
[[nodiscard]] std::optional<PreparedSensor> PrepareSensor(ConfigFileEnvironment& env, int address);

// Exit statuses: 0 done, 1 the sensor did not answer, refused a value or the file could not
// be written or read back, 2 a file that is no configuration file.
[[nodiscard]] int SaveConfigFile(ConfigFileEnvironment& env, int address, const QString& path);
[[nodiscard]] int RestoreConfigFile(ConfigFileEnvironment& env, int address, const QString& path);
// 0 equal, 1 different, 2 a file that cannot be compared (or no sensor answering).
[[nodiscard]] int DiffConfigWithSensor(ConfigFileEnvironment& env, const QString& path, int address);
[[nodiscard]] int DiffConfigFiles(ConfigFileEnvironment& env, const QString& path1, const QString& path2);

}  // namespace dunmere::cli
