#pragma once
// Reading a sensor into the lines of a configuration file: the header, then the body in file
// order, each line as soon as its reads are done.

#include <QString>
#include <QStringList>
#include <functional>

namespace dunmere {

class Link;
class TextSource;

// The sensor as its record knows it.
struct SavedSensor {
    int address = 0;
    QString identity;
    QString name;
    QString firmwareText;
    int typeCode = 0;
};

// The type-dependent choices current when the body is written.
struct SensorLayout {
    bool brixRow = false;       // the Brix coefficient row is shown
    bool anySmoothing = false;  // the smoothing list offers "Any"
};

// Lines 0-10. timestamp: the date and time line (ConfigurationTimestamp()).
[[nodiscard]] QStringList ConfigurationHeader(const TextSource& texts, const SavedSensor& sensor, const QString& timestamp);

// The current date and time in the system's short formats, two blanks between them.
[[nodiscard]] QString ConfigurationTimestamp();

// The body, from the coefficient heading to the last line before the end mark, handed to
// line() one line at a time; progress() gets 40 to 90 at the documented steps. A read that
// fails leaves its value empty and sets the link's ReadErrorFlag.
void WriteConfigurationFile(Link& link, const TextSource& texts, const SavedSensor& sensor, const SensorLayout& layout,
                            int language, const std::function<void(const QString&)>& line,
                            const std::function<void(int)>& progress = {});

}  // namespace dunmere
