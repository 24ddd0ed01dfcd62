#pragma once
// The moisture calibration window: stored calibrations with their point grid, the fit of the
// ticked rows once a second with its graph and residuals, the chosen sensor's live unscaled
// values and remote averaging, and the write of the fitted calibration to it. With no sensor
// it works on the store and the fit alone. Its flags and sensor work are the state object's;
// this window shows and collects.

#include "calibration/CalibrationStore.h"
#include "calibration/MoistureCalibrationState.h"
#include "link/ClockTimer.h"

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dunmere {

class Link;
class Messages;
struct MoistureFit;
class FrmMoisture;
class MoistureGraphWidget;
class TextSource;

class FrmCalM final : public QWidget {
    Q_OBJECT
public:
    struct SensorEntry {
        QString name;
        int address = 0;
    };
    struct Setup {
        QList<SensorEntry> sensors;  // the Sensor page's rows in use
        int selectedEntry = 0;       // the row marked on the Sensor page
        bool noSensor = false;       // demonstration mode
        bool calibrationLock = false;  // rows holding data are read-only for this user
        QString programText;         // "QX0068 v1.80", for the report
        QString storePath;           // calibdb.mdb
        // Where the report goes: the save dialog, or a test's answer. Empty: cancelled.
        std::function<QString(const QString& proposedName, const QString& folder)> reportFileName;
    };

    FrmCalM(Link& link, const TextSource& texts, Messages& messages, Setup setup, QWidget* parent = nullptr);
    ~FrmCalM() override;
    FrmCalM(const FrmCalM&) = delete;
    FrmCalM& operator=(const FrmCalM&) = delete;

    // Opens the store and starts the timer; false (after the LangCalib message) when the store
    // cannot be had, and the window is not shown.
    [[nodiscard]] bool open();
    [[nodiscard]] MoistureCalibrationState& state() { return state_; }
    [[nodiscard]] ClockTimer& updateTimer() { return timer_; }
    [[nodiscard]] CalibrationStore& store() { return store_; }

signals:
    // The window hid itself on a close request: show the main window again.
    void hiddenForClose();
    // The window has left (after its last tick): restart the main window's work.
    void left(bool sensorKnown);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct GridRow {
        QLineEdit* date = nullptr;
        QLineEdit* unscaled = nullptr;
        QLineEdit* lab = nullptr;
        QLabel* residual = nullptr;
        QCheckBox* include = nullptr;
    };

    void build();
    void applyTexts();
    QWidget* buildCalibrationFrame();
    QWidget* buildSensorFrame();
    QWidget* buildGraph();

    void onUpdateTimer();
    void applyTick(const MoistureTickReport& report);
    void recompute();
    void showFit(const MoistureFit& fit);
    void leave();

    void fillCalList(bool selectLast);
    void selectCalibration(int index);
    void loadRecord(const CalibrationRecord& record);
    [[nodiscard]] CalibrationRecord recordFromWindow() const;
    [[nodiscard]] CalibrationRows gridRows() const;
    void saveCurrent();
    void setControlsEnabled(bool enabled);
    void showPage(int page);

    void onNew();
    void onNewOk();
    void onNewCancel();
    void onDelete();
    void onReport();
    void onWrite();
    void onAveraging();
    void onSensorChosen(int entry);
    void onRulesToggled(bool on);
    void makeCurrentRow(int row);

    Link& link_;
    const TextSource& texts_;
    Messages& messages_;
    Setup setup_;
    MoistureCalibrationState state_;
    CalibrationStore store_{CalibrationKind::Moisture};
    ClockTimer timer_;
    CalibrationList list_;
    std::optional<CalibrationRecord> current_;  // as last loaded or saved
    int pendingSensorEntry_ = -1;
    bool tickInProgress_ = false;
    bool left_ = false;

    QComboBox* ListCal = nullptr;
    QPushButton* CmdNew = nullptr;
    QPushButton* CmdDeleteCal = nullptr;
    QGroupBox* FrameNew = nullptr;
    QLineEdit* TextNew = nullptr;
    QPushButton* CmdNewOK = nullptr;
    QPushButton* CmdNewCancel = nullptr;
    std::array<QGroupBox*, 2> FrameCal{};
    std::array<GridRow, CalibrationRowCount> rows_{};
    QPushButton* CmdNP = nullptr;
    QPushButton* CmdSave = nullptr;
    QPushButton* CmdMoistureCalc = nullptr;
    FrmMoisture* calculator_ = nullptr;
    QLabel* LblCalB = nullptr;
    QLabel* LblCalC = nullptr;
    QLineEdit* TextCurrentSSD = nullptr;
    QPushButton* CmdWrite = nullptr;
    QCheckBox* CheckRules = nullptr;
    QLabel* LblMatStatus = nullptr;
    QGroupBox* FrameSensor = nullptr;
    QComboBox* ListSensor = nullptr;
    QLabel* LblAddress = nullptr;
    QLabel* LblCurrentB = nullptr;
    QLabel* LblCurrentC = nullptr;
    QLabel* LblCurrentSSD = nullptr;
    QLineEdit* TextFiltUS = nullptr;
    QLineEdit* TextAvgUS = nullptr;
    QPushButton* CmdAvg = nullptr;
    QLabel* LblAvgHold = nullptr;
    MoistureGraphWidget* PictureCal = nullptr;
    QLabel* lbMFS = nullptr;
    QList<QWidget*> ruleLegend_;
};

}  // namespace dunmere
