#include "TrendStore.h"

#include "link/NumberRules.h"

namespace dunmere {

void TrendStore::clear()
{
    for (auto& row : cells_)
        for (auto& reading : row)
            reading.fill(NoTrendValue);
    times_.fill(QDateTime());
    position_ = 0;
}

std::optional<double> TrendStore::valueOf(const QString& cell)
{
    if (cell == NoTrendValue)
        return std::nullopt;
    bool ok = false;
    const double value = ToNumber(cell, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

void RawStore::clear() { samples_.fill(std::nullopt); }

void RawStore::append(double value)
{
    samples_[position_] = value;
    position_ = (position_ + 1) % Samples;
}

}  // namespace dunmere
