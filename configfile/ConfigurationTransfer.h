#pragma once
// Saving a sensor's configuration to a file and restoring a file into a sensor, one sensor at
// a time. The procedures take the file's path (choosing it is the caller's), talk to the
// sensor through the Link and report through small interfaces: progress, and the message
// window for messages and questions.

#include "ConfigurationCompare.h"
#include "ConfigurationWriter.h"

#include <QString>
#include <functional>
#include <optional>

namespace dunmere {

class Link;
class Messages;
class TextSource;

class TransferReport {
public:
    virtual ~TransferReport() = default;
    // 0 to 100.
    virtual void progress(int percent) = 0;
};

struct TransferEnvironment {
    Link& link;
    const TextSource& texts;  // the language in use
    int language = 0;         // its number
    QString languageFile;     // config.ini: the texts of the language a file was written in
    Messages* messages = nullptr;
    TransferReport* report = nullptr;
};

enum class SaveOutcome {
    Saved,
    Incomplete,   // written, but some read failed: "Download incomplete Please Retry"
    NotReplaced,  // the file exists and the user kept it
    FileError,    // nothing written; the old file, if any, is whole
};

// Asks before replacing an existing file; writes through a temporary file in the same folder
// that replaces the old one only when the whole file is written. adapt() brings the
// type-dependent choices up to date after the header (the pages' type adaptation) and says
// which they are. timestamp: line 4 (ConfigurationTimestamp()).
SaveOutcome SaveSensorConfiguration(TransferEnvironment& env, const SavedSensor& sensor, const QString& path,
                                    const std::function<SensorLayout()>& adapt, const QString& timestamp);

enum class RestoreOutcome {
    Restored,
    WriteFailed,  // every write was tried; some were refused or not sent: "Upload Failed Please Retry"
    Refused,      // not a configuration file; nothing sent
    Cancelled,    // the user declined after the comparison; nothing written
    FileError,    // the file could not be read; nothing sent
};

// The comparison before a restore writes anything: the target sensor as its record knows it,
// and the smoothing choice of its type.
struct RestoreCheck {
    SavedSensor sensor;
    bool anySmoothing = false;
};

// Reads and checks the file, then writes its values into the sensor at address. With a
// check, the values that would change are summed up first and the user may cancel.
RestoreOutcome RestoreSensorConfiguration(TransferEnvironment& env, int address, const QString& path,
                                          const std::optional<RestoreCheck>& check = std::nullopt);

// One restore write: "W " + parameter + " " + value, the reply awaited 1000 ms, then 200 ms of
// pause. A refused ("?") or missing reply sets the link's WriteErrorFlag, and so does a value
// that is no value for the parameter (empty, "---", -99, a text no code matched): that one is
// not sent. Numbers go out with "." whatever separator the file used. True when accepted.
bool WriteRestoredValue(Link& link, int address, int parameter, const QString& value);

// Whether the sensor at address reports the identity (the "P" + 1 reply's first 8 characters).
[[nodiscard]] bool SensorHasIdentity(Link& link, int address, const QString& identity);

// Reads a configuration file from disk: the contents, or why not.
[[nodiscard]] ReadOutcome LoadConfigurationFile(const QString& path);

}  // namespace dunmere
