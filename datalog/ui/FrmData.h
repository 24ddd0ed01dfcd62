#pragma once
// The data and trend window: samples the rows in use (normal turns) or the selected
// sensor's raw blocks (raw turns), draws a trend of one reading, shows each row's latest
// value and writes the data log. It replaces the main window while it is open; the main
// window's task timer stays stopped until it exits.

#include "datalog/DataLog.h"
#include "datalog/TrendAcquisition.h"
#include "datalog/TrendGraph.h"

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

class ExchangeGuard;
class Link;
class Messages;
class SensorModel;
class TextSource;
class TrendView;
struct TrendPicture;

struct DataWindowContext {
    Link& link;
    const TextSource& texts;
    Messages& messages;
    ExchangeGuard& guard;
    const SensorModel& sensors;
    bool brixAvailable = false;
    bool secondChannel = false;
    QString identification;  // the program's part number and version, for the log header
};

class FrmData final : public QWidget {
    Q_OBJECT
public:
    // Asks for a file to save to: start folder, proposed name, filter; empty when cancelled.
    using SaveDialog = std::function<QString(QWidget* parent, const QString& folder, const QString& name, const QString& filter)>;

    explicit FrmData(DataWindowContext context, QWidget* parent = nullptr);
    ~FrmData() override;
    FrmData(const FrmData&) = delete;
    FrmData& operator=(const FrmData&) = delete;

    // Tests replace the file dialogs.
    void setSaveDialog(SaveDialog dialog) { saveDialog_ = std::move(dialog); }

    // Opening: the rows' header facts, the lists, then shown (unless the program is closing)
    // with its timers running. mainWindow is placed over and hidden.
    void open(QWidget* mainWindow);

    // The close request, as the window's close box gives it.
    void requestExit();
    // The program is closing and no turn is running: exit at once (the log's final flush
    // included).
    void unload();

    void UpdateGraph();
    [[nodiscard]] bool paused() const { return paused_; }
    [[nodiscard]] const TrendAcquisition& acquisition() const { return acquisition_; }
    [[nodiscard]] const DataLog& log() const { return log_; }
    [[nodiscard]] const TrendPicture& picture() const;
    [[nodiscard]] bool exitRequested() const { return exitRequested_; }

signals:
    // ExitDataForm ran: the main window comes back with its task timer. The window deletes
    // itself afterwards.
    void exited();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void applyTexts();
    void fillRateList();
    void readHeaderFacts();

    void onTrendTimer();
    void scheduleNextPass();
    void ExitDataForm();
    void showRowLabels();
    void showLogTime();

    [[nodiscard]] int readingAtPosition(int position) const;
    void onListGraph(int position);
    void onListLogRate(int position);
    void onCheckReading(int k);
    void syncTicked();
    [[nodiscard]] bool askClearTrend();
    void selectRateOf(int seconds);

    void onCmdLog();
    void OpenLogFile();
    void CloseLogFile();
    void onLogTimer();
    void showFlushOutcome(DataLog::FlushOutcome outcome);
    void setLoggingControlsEnabled(bool enabled);
    void exportCsv();
    [[nodiscard]] QString documentsFolder() const;
    [[nodiscard]] QString t(const char* key) const;

    DataWindowContext ctx_;
    DataLog log_;
    TrendAcquisition acquisition_;
    QList<SensorHeaderFacts> headerFacts_;
    QStringList readingNames_;
    QList<int> offered_;
    SaveDialog saveDialog_;

    ClockTimer drawTimer_;
    ClockTimer trendTimer_;
    ClockTimer logTimer_;

    bool Running = false;
    bool exitRequested_ = false;
    bool Drawing = false;
    bool turnInProgress_ = false;
    bool flushPending_ = false;
    bool exited_ = false;
    bool opening_ = false;
    bool filling_ = false;      // the program fills or reselects a list: no questions
    bool paused_ = false;
    int GraphChoice = 0;
    int scaleTop_ = 50;
    int scaleBottom_ = -5;

    TrendView* TrendBox = nullptr;
    QLineEdit* TextScaleMax = nullptr;
    QLineEdit* TextScaleMin = nullptr;
    QLabel* LblTrendInt = nullptr;
    QLabel* LblInterval = nullptr;
    QLabel* LblTime1 = nullptr;
    QLabel* LblTime = nullptr;
    QLabel* LblTime2 = nullptr;
    QLabel* LblPointer = nullptr;
    QComboBox* ListGraph = nullptr;
    QComboBox* ListLogRate = nullptr;
    std::array<QLabel*, 6> LblSensor{};
    std::array<QLabel*, 6> LblSensorValue{};
    QGroupBox* FrameLogging = nullptr;
    std::array<QCheckBox*, ReadingCount> CheckReading{};
    QLabel* LblLog = nullptr;
    QLabel* LblLogTime = nullptr;
    QPushButton* CmdLog = nullptr;
    QPushButton* CmdPause = nullptr;
    QPushButton* CmdExportCsv = nullptr;
};

}  // namespace dunmere
