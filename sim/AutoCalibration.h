#pragma once
// The sensor's automatic calibration as the "A 4" / "A 5" commands see it: available ("0"),
// running ("3"), then finished ("1") or failed ("2") for a while before it is available again.

#include <QByteArray>
#include <QtGlobal>

namespace dunmere::sim {

class AutoCalibration {
public:
    void setDurationMs(qint64 ms) { durationMs_ = ms; }
    void setSucceeds(bool succeeds) { succeeds_ = succeeds; }

    // "A 5": false while a calibration is running.
    [[nodiscard]] bool start(qint64 nowMs);
    // "A 4".
    [[nodiscard]] QByteArray state(qint64 nowMs) const;

    static constexpr qint64 ResultShownMs = 10'000;

private:
    qint64 startedAt_ = -1;
    qint64 durationMs_ = 12'000;
    bool succeeds_ = true;
};

}  // namespace dunmere::sim
