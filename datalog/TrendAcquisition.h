#pragma once
// The data window's acquisition turns as procedures: a normal turn polls every row in use
// for its trend values, a raw turn asks the selected sensor for its raw sample blocks. Both
// fill the stores, the rows' value labels and, while logging, the log's line buffer.

#include "DataLog.h"
#include "ReadingCatalogue.h"
#include "TrendStore.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace dunmere {

class Link;

struct TrendRowLabel {
    QString value;
    bool nameVisible = true;
    bool valueVisible = true;
};

class TrendAcquisition {
public:
    TrendAcquisition(Link& link, DataLog& log);

    // The bus addresses of the rows in use, in row order, and the row selected in the main
    // window (its sensor is the one raw turns ask).
    void setRows(const QList<int>& addresses, int selectedRow);
    [[nodiscard]] const QList<int>& rows() const { return rows_; }
    [[nodiscard]] int selectedRow() const { return selectedRow_; }
    void setBrixAvailable(bool on) { brixAvailable_ = on; }

    // Ticked readings, the graphed reading (an index 0-10) and the interval.
    ReadingFlags ticked{};
    int graphedReading = 0;
    int IntervalSeconds = 1;

    bool ClearRequested = true;
    std::optional<qint64> TimeOrigin;  // clock ms; unset after a clear
    qint64 NextDue = 0;

    [[nodiscard]] bool rawMode() const;
    // One pass of the loop: a raw turn in raw mode, else a normal turn when one is due.
    // True when a turn ran.
    bool runDueTurn();
    void NormalTurn();
    void RawTurn();

    [[nodiscard]] const TrendStore& trend() const { return trend_; }
    [[nodiscard]] const RawStore& raw(int channel) const { return raw_[channel - 1]; }
    [[nodiscard]] std::optional<double> RawLatest(int channel) const { return rawLatest_[channel - 1]; }
    [[nodiscard]] const TrendRowLabel& label(int row) const { return labels_[row]; }
    // The graph's elapsed time in whole seconds (0 before the first turn).
    [[nodiscard]] qint64 elapsedSeconds() const;
    // The graph's window length in seconds.
    [[nodiscard]] int windowLength() const;
    // The log time shown after each logged turn; empty while not logging.
    [[nodiscard]] const QString& logTimeText() const { return logTime_; }

private:
    void pollRow(int row, int address, QString& line, const QString& time, const QString& seconds);
    [[nodiscard]] bool wantsReading(int reading) const;
    [[nodiscard]] bool channelWanted(int channel) const;
    void refreshLogTime(qint64 now);

    Link& link_;
    DataLog& log_;
    QList<int> rows_;
    int selectedRow_ = 0;
    bool brixAvailable_ = false;
    TrendStore trend_;
    std::array<RawStore, 2> raw_;
    std::array<std::optional<double>, 2> rawLatest_;
    std::array<TrendRowLabel, TrendStore::Rows> labels_;
    QString logTime_;
};

}  // namespace dunmere
