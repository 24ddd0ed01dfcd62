#pragma once
// What the data window has sampled: the trend store of value texts (six rows, eleven
// readings, 100 samples, circular) and the two raw stores of 500 numbers each.

#include "ReadingCatalogue.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

namespace dunmere {

// The marker of a trend cell that holds no value.
inline const QString NoTrendValue = QStringLiteral("-999");

class TrendStore {
public:
    static constexpr int Rows = 6;
    static constexpr int Samples = 100;

    TrendStore() { clear(); }

    // Every cell to no value, the write position to 0.
    void clear();
    [[nodiscard]] const QString& cell(int row, int reading, int sample) const { return cells_[row][reading][sample]; }
    // Writes at the write position.
    void set(int row, int reading, const QString& value) { cells_[row][reading][position_] = value; }
    void setSampleTime(const QDateTime& time) { times_[position_] = time; }
    [[nodiscard]] const QDateTime& sampleTime(int sample) const { return times_[sample]; }
    // The next sample to write.
    [[nodiscard]] int writePosition() const { return position_; }
    void advance() { position_ = (position_ + 1) % Samples; }

    // A cell's number, or nothing for "---", the no-value marker and anything else that is
    // not a number.
    [[nodiscard]] static std::optional<double> valueOf(const QString& cell);

private:
    std::array<std::array<std::array<QString, Samples>, ReadingCount>, Rows> cells_;
    std::array<QDateTime, Samples> times_;
    int position_ = 0;
};

class RawStore {
public:
    static constexpr int Samples = 500;

    RawStore() { clear(); }

    // Every position to no value; the write position stays where it is.
    void clear();
    // Writes at the write position and moves it on, wrapping 499 to 0.
    void append(double value);
    [[nodiscard]] std::optional<double> at(int sample) const { return samples_[sample]; }
    // The next position to write, so the oldest sample stands there once the store is full.
    [[nodiscard]] int writePosition() const { return position_; }

private:
    std::array<std::optional<double>, Samples> samples_;
    int position_ = 0;
};

}  // namespace dunmere
