#pragma once
// Everything one command of dunmere-cli needs: the output in the chosen form, the link and its
// bus (opened once the arguments have been checked), the language texts, the message seam and
// the sensor search. The command groups (one file each) run on it.

#include "CliBus.h"
#include "CliOutput.h"
#include "CliTexts.h"

#include "link/Link.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorModel.h"

#include <QStringList>

namespace dunmere::cli {

// Wrong arguments: the command ends with ExitUsage and its help.
class UsageError {
public:
    explicit UsageError(QString text) : text(std::move(text)) {}
    QString text;
};

// The search's sign of life: the address it asks at.
class SearchProgress final : public SensorPageReport {
public:
    explicit SearchProgress(const CliOutput& output) : output_(output) {}
    void searchProbing(int address) override;

private:
    const CliOutput& output_;
};

// What a command that runs on several buses carries from one to the next.
struct AcrossBuses {
    QStringList identitiesFound;
};

struct Session {
    const Options& options;
    CliOutput& output;
    BusChoice busChoice;
    AcrossBuses& acrossBuses;
    Link link;
    IniTexts texts;
    StderrMessages messages{output};
    CliBus bus{link, busChoice, options.trace, output};
    SensorModel model;
    SensorBus sensors{link, model, &messages, &texts};
    SearchProgress searchProgress{output};

    Session(const Options& o, const BusChoice& choice, CliOutput& out, AcrossBuses& across);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the bus; true when it is open (else the reason has been given).
    [[nodiscard]] bool open(int& status);
    // The search, its progress on the terminal.
    SensorBus::SearchOutcome search();
    // The command runs on several buses: lines start with this one's.
    [[nodiscard]] bool severalBuses() const { return options.buses.size() > 1; }
    // Counts the sensor's replies on the progress line while a long command runs.
    void showRepliesAsProgress(const QString& what);
};

// Checks of the command line's arguments; a UsageError for a bad one.
[[nodiscard]] int parseInt(const QString& text, int low, int high, const QString& what);
[[nodiscard]] int parseAddress(const QString& text);
void needArguments(const QStringList& args, int low, int high, const QString& command);

}  // namespace dunmere::cli
