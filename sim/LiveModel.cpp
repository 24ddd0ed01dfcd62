#include "LiveModel.h"

#include <cmath>
#include <numbers>

namespace dunmere::sim {

namespace {

constexpr double SettleSeconds = 3.0;
// Beyond this the model does not replay every sample; it jumps to the settled state.
constexpr qint64 CatchUpLimitMs = 60'000;

double wave(qint64 ms, double periodSeconds, double phase)
{
    return std::sin(2 * std::numbers::pi * (double(ms) / 1000.0 / periodSeconds) + phase);
}

}  // namespace

LiveModel::LiveModel(quint32 seed, double material) : seed_(seed), material_(material), level_(material)
{
    filtered_[0] = material;
    filtered_[1] = material * 0.92 + 1.3;
    average_ = material;
}

double LiveModel::noise(qint64 slot, int stream) const
{
    // A small integer hash: the same slot always gives the same noise, whoever asks.
    quint64 x = quint64(slot) * 0x9E3779B97F4A7C15ull ^ (quint64(seed_) << 16) ^ quint64(stream) * 0xBF58476D1CE4E5B9ull;
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 31;
    return double(x % 20001) / 10000.0 - 1.0;  // -1 … 1
}

double LiveModel::rawAt(qint64 ms, int channel) const
{
    const double phase = double(seed_ % 628) / 100.0;
    const double value = level_ + 0.4 * wave(ms, 90, phase) + 0.15 * noise(ms / SampleMs, channel);
    return channel == 1 ? value : value * 0.92 + 1.3;
}

void LiveModel::step(qint64 ms)
{
    const double dt = double(SampleMs) / 1000.0;
    level_ += (material_ - level_) * (1.0 - std::exp(-dt / SettleSeconds));
    const double k = smoothing_ <= 0 ? 1.0 : 1.0 - std::exp(-dt / smoothing_);
    for (int channel = 1; channel <= 2; ++channel)
        filtered_[channel - 1] += (rawAt(ms, channel) - filtered_[channel - 1]) * k;
    if (averaging_) {
        averageSum_ += filtered_[0];
        ++averageCount_;
        average_ = averageSum_ / double(averageCount_);
    }
}

void LiveModel::advanceTo(qint64 ms)
{
    if (now_ < 0 || ms - now_ > CatchUpLimitMs) {
        if (now_ >= 0) {
            level_ = material_;
            filtered_[0] = rawAt(ms, 1);
            filtered_[1] = rawAt(ms, 2);
        }
        now_ = ms;
    }
    for (qint64 t = now_ + SampleMs; t <= ms; t += SampleMs) {
        step(t);
        now_ = t;
    }
    for (double t : {electronicsTemperature(), resonatorTemperature(), materialTemperature()}) {
        lowest_ = std::min(lowest_, t);
        highest_ = std::max(highest_, t);
    }
}

double LiveModel::rawUnscaled(int channel) const { return rawAt(now_, channel); }

double LiveModel::filteredUnscaled(int channel) const { return filtered_[channel == 2 ? 1 : 0]; }

double LiveModel::electronicsTemperature() const
{
    return 31.5 + 1.5 * wave(now_, 600, 0.3) + 0.05 * noise(now_ / 1000, 7);
}

double LiveModel::resonatorTemperature() const
{
    return 26.0 + 1.0 * wave(now_, 900, 1.1) + 0.05 * noise(now_ / 1000, 8);
}

double LiveModel::materialTemperature() const
{
    return 21.0 + 0.8 * wave(now_, 1200, 2.0) + 0.05 * noise(now_ / 1000, 9);
}

void LiveModel::startAveraging()
{
    averaging_ = true;
    averageSum_ = 0;
    averageCount_ = 0;
}

void LiveModel::stopAveraging() { averaging_ = false; }

QList<double> LiveModel::lastSecondSamples(int channel) const
{
    QList<double> samples;
    const qint64 last = now_ - now_ % SampleMs;
    for (int i = SamplesPerSecond - 1; i >= 0; --i)
        samples.append(rawAt(last - i * SampleMs, channel));
    return samples;
}

}  // namespace dunmere::sim
