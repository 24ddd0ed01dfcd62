#pragma once
// The data log file: the header, the line buffer that collects sample lines, the flush every
// fifth LogTimer tick and on stopping. The file is UTF-16LE; every opening appends FF FE and
// then the text, lines ending in CR LF, cells separated by TAB. A flush that fails keeps its
// lines for the next one, so nothing sampled is lost and nothing is written twice.

#include "LogHeader.h"

#include <QString>
#include <optional>

namespace dunmere {

class Messages;
class TextSource;

class DataLog {
public:
    enum class HeaderOutcome { Written, EmptyName, OpenFailed };
    enum class FlushOutcome { Nothing, Written, Failed, FailedAgain, Recovered };

    DataLog(const TextSource& texts, Messages* messages);

    // The chosen file; the header's messages go to the message window.
    void setPath(const QString& path) { path_ = path; }
    [[nodiscard]] const QString& path() const { return path_; }

    // Appends the header and starts logging at the next acquisition turn. The setup is kept
    // for a fresh header when the file goes missing while logging.
    HeaderOutcome WriteLogHeader(const LogHeaderSetup& setup);
    // Collected while logging; written by the next flush.
    void appendLine(const QString& line);
    // One LogTimer tick: every fifth one flushes.
    FlushOutcome LogTimerTick();
    // Writes the buffer now (a fresh header first when the file is missing or is a folder).
    FlushOutcome flush();
    // The final flush, then logging off. A final flush that fails keeps the lines and leaves
    // logging on, so stopping again once the file can be written loses nothing.
    FlushOutcome CloseLogFile();

    // Logging state shared with the acquisition turns.
    bool LogStartPending = false;
    bool Logging = false;
    std::optional<qint64> LogStart;  // clock ms
    double RawSampleTime = 0.0;

    [[nodiscard]] const QString& buffer() const { return buffer_; }
    [[nodiscard]] bool active() const { return Logging || LogStartPending; }
    [[nodiscard]] bool failing() const { return failing_; }

    // "h h m m s s " for LblLogTime.
    [[nodiscard]] QString ElapsedText(qint64 ms) const;

private:
    [[nodiscard]] bool append(const QString& text);
    void restartTimes();

    const TextSource& texts_;
    Messages* messages_;
    QString path_;
    LogHeaderSetup setup_;
    QString buffer_;
    int ticks_ = 0;
    bool failing_ = false;
    bool headerPending_ = false;  // a fresh header could not be written yet
};

// The TAB-separated cells of one sensor's group in a normal sample line: time, seconds since
// logging started, each ticked reading of 0-8 followed by TAB, one more TAB.
[[nodiscard]] QString NormalLogGroup(const QString& time, const QString& seconds, const std::array<QString, ReadingCount>& values,
                                     const ReadingFlags& ticked);
// One raw sample: the group of the sampled sensor at its place among the rows in use (the
// other groups empty), with the ticked raw values in the places the title row gives them.
[[nodiscard]] QString RawLogLine(const QString& time, double sampleTime, std::optional<double> raw1,
                                 std::optional<double> raw2, const ReadingFlags& ticked, int groupIndex, int groupCount);
// Seconds as the log writes them: a plain decimal number, three decimals.
[[nodiscard]] QString LogSecondsText(double seconds, int decimals = 3);

}  // namespace dunmere
