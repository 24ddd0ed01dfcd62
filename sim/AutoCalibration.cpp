#include "AutoCalibration.h"

namespace dunmere::sim {

bool AutoCalibration::start(qint64 nowMs)
{
    if (state(nowMs) == "3")
        return false;
    startedAt_ = nowMs;
    return true;
}

QByteArray AutoCalibration::state(qint64 nowMs) const
{
    if (startedAt_ < 0)
        return "0";
    const qint64 elapsed = nowMs - startedAt_;
    if (elapsed < durationMs_)
        return "3";
    if (elapsed < durationMs_ + ResultShownMs)
        return succeeds_ ? "1" : "2";
    return "0";
}

}  // namespace dunmere::sim
