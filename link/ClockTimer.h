#pragma once
// A QTimer-like timer driven by the installed Clock, so the program's timers (the task timer,
// the calibration timers) run on virtual time in tests.

#include <QObject>

namespace dunmere {

class ClockTimer final : public QObject {
    Q_OBJECT
public:
    explicit ClockTimer(QObject* parent = nullptr);
    ~ClockTimer() override;
    ClockTimer(const ClockTimer&) = delete;
    ClockTimer& operator=(const ClockTimer&) = delete;

    void setInterval(int ms) { interval_ = ms; }
    [[nodiscard]] int interval() const { return interval_; }
    void setSingleShot(bool singleShot) { singleShot_ = singleShot; }
    [[nodiscard]] bool isActive() const { return handle_ != 0; }

    void start();
    void start(int ms);
    void stop();

signals:
    void timeout();

private:
    void fire();

    int interval_ = 0;
    bool singleShot_ = false;
    int handle_ = 0;
};

}  // namespace dunmere
