#pragma once
// frmResonator: the resonator response of the selected sensor as a curve of 50 points,
// refreshed about every 0.6 s, beside its uncompensated and compensated values and its
// temperatures. A sweep can be frozen and shown in grey behind the live one.

#include "datalog/Resonator.h"

#include "link/ClockTimer.h"

#include <QWidget>
#include <array>
#include <optional>

class QLabel;
class QPushButton;

namespace dunmere {

class ExchangeGuard;
class Link;
class TextSource;

class SweepView final : public QWidget {
    Q_OBJECT
public:
    explicit SweepView(QWidget* parent = nullptr);
    void setPoints(const SweepPoints& points, std::optional<SweepPoints> frozen);
    [[nodiscard]] const SweepPoints& points() const { return points_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SweepPoints points_{};
    std::optional<SweepPoints> frozen_;
};

class FrmResonator final : public QWidget {
    Q_OBJECT
public:
    // mainTimer: the main window's task timer, stopped around each refresh.
    FrmResonator(Link& link, const TextSource& texts, ExchangeGuard& guard, ClockTimer& mainTimer, QWidget* parent = nullptr);
    ~FrmResonator() override;
    FrmResonator(const FrmResonator&) = delete;
    FrmResonator& operator=(const FrmResonator&) = delete;

    // Opening: texts, the timer, shown centred over mainWindow, which is hidden.
    void open(QWidget* mainWindow, int address);
    // One refresh, as a tmrResonator tick runs it.
    void refresh();
    [[nodiscard]] const SweepView& sweep() const { return *sweepView_; }
    [[nodiscard]] bool frozen() const { return frozen_.has_value(); }

signals:
    // The window closed: the main window comes back.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* valueLabel(const char* name, const char* captionName, int index, int top, const char* key);
    void showValues();
    [[nodiscard]] QString t(const char* key) const;

    Link& link_;
    const TextSource& texts_;
    ExchangeGuard& guard_;
    ClockTimer& mainTimer_;
    ClockTimer tmrResonator_;
    int address_ = 1;
    bool unloading_ = false;
    bool refreshing_ = false;
    ResonatorReading reading_;
    std::optional<SweepPoints> frozen_;

    SweepView* sweepView_ = nullptr;
    std::array<QLabel*, ResonatorValueCount> values_{};
    QLabel* lblTempMat_ = nullptr;
    QPushButton* cmdFreeze_ = nullptr;
};

}  // namespace dunmere
