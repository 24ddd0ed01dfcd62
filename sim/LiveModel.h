#pragma once
// The measurement a sensor makes: an unscaled reading (0 air … 100 water) that settles on the
// material in front of the sensor and drifts a little, its smoothing and averaging, the three
// temperatures and their extremes. Everything is a function of clock time and a seed, so a
// run on the virtual clock gives the same values every time.

#include <QList>
#include <QtGlobal>

namespace dunmere::sim {

class LiveModel {
public:
    explicit LiveModel(quint32 seed, double material = 38.0);

    // The unscaled value of the material now in front of the sensor; the reading follows it.
    void setMaterial(double unscaled) { material_ = unscaled; }
    [[nodiscard]] double material() const { return material_; }
    // Smoothing time constant of the filtered reading, in seconds (0 = none).
    void setSmoothingSeconds(double seconds) { smoothing_ = seconds; }

    // Brings the model up to clock time ms; every query below is about that moment.
    void advanceTo(qint64 ms);

    [[nodiscard]] double rawUnscaled(int channel = 1) const;
    [[nodiscard]] double filteredUnscaled(int channel = 1) const;
    [[nodiscard]] double averageUnscaled() const { return average_; }
    [[nodiscard]] double electronicsTemperature() const;
    [[nodiscard]] double resonatorTemperature() const;
    [[nodiscard]] double materialTemperature() const;
    [[nodiscard]] double lowestTemperature() const { return lowest_; }
    [[nodiscard]] double highestTemperature() const { return highest_; }

    void startAveraging();
    void stopAveraging();
    [[nodiscard]] bool averaging() const { return averaging_; }
    void resetAverage() { average_ = filtered_[0]; }

    // The raw samples of the last second at 25 samples a second, oldest first.
    [[nodiscard]] QList<double> lastSecondSamples(int channel) const;

    static constexpr int SamplesPerSecond = 25;
    static constexpr qint64 SampleMs = 1000 / SamplesPerSecond;

private:
    [[nodiscard]] double rawAt(qint64 ms, int channel) const;
    [[nodiscard]] double noise(qint64 slot, int stream) const;
    void step(qint64 ms);

    quint32 seed_;
    double material_;
    double smoothing_ = 2.5;
    qint64 now_ = -1;
    double level_;          // where the reading has settled so far
    double filtered_[2];
    double average_;
    double averageSum_ = 0;
    qint64 averageCount_ = 0;
    bool averaging_ = false;
    double lowest_ = 8.4;   // extremes the sensor has recorded before this run
    double highest_ = 47.9;
};

}  // namespace dunmere::sim
