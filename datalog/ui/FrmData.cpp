#include "FrmData.h"

#include "TrendView.h"

#include "datalog/CsvExport.h"
#include "link/Clock.h"
#include "link/DebugLog.h"
#include "link/Link.h"
#include "link/Messages.h"
#include "link/ValueFormat.h"
#include "sensor/FixedPoint.h"
#include "sensor/SensorModel.h"
#include "shell/core/ExchangeGuard.h"
#include "shell/core/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

namespace dunmere {

namespace {

constexpr int WidthTwips = 10785;
constexpr int HeightTwips = 8160;
constexpr int DrawIntervalMs = 1000;
constexpr int RawPassMs = 10;
constexpr int LogIntervalMs = 60000;
constexpr int FirstRate[] = {1, 1, 1, 2, 3, 5, 5};  // by the number of rows in use
constexpr int Rates[] = {1, 2, 3, 5, 10, 60};

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(i); }

template <class W>
W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QString defaultSaveDialog(QWidget* parent, const QString& folder, const QString& name, const QString& filter)
{
    // A log is appended to, so choosing an existing file is no overwrite; a new name is fine.
    return QFileDialog::getSaveFileName(parent, QString(), QDir(folder).filePath(name), filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

}  // namespace

FrmData::FrmData(DataWindowContext context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ctx_(context),
      log_(ctx_.texts, &ctx_.messages),
      acquisition_(ctx_.link, log_),
      saveDialog_(defaultSaveDialog)
{
    setObjectName(QStringLiteral("FrmData"));
    drawTimer_.setObjectName(QStringLiteral("Draw_Timer"));
    trendTimer_.setObjectName(QStringLiteral("TrendTimer"));
    logTimer_.setObjectName(QStringLiteral("LogTimer"));
    drawTimer_.setInterval(DrawIntervalMs);
    trendTimer_.setInterval(RawPassMs);
    logTimer_.setInterval(LogIntervalMs);
    connect(&drawTimer_, &ClockTimer::timeout, this, [this] {
        if (!exitRequested_)
            UpdateGraph();
    });
    connect(&trendTimer_, &ClockTimer::timeout, this, &FrmData::onTrendTimer);
    connect(&logTimer_, &ClockTimer::timeout, this, &FrmData::onLogTimer);
    if (!ColourTable()[0].isValid())
        FillColourTable();
    build();
}

FrmData::~FrmData()
{
    drawTimer_.stop();
    trendTimer_.stop();
    logTimer_.stop();
}

QString FrmData::t(const char* key) const { return ctx_.texts.text(QString::fromLatin1(key)); }

// ---- the window's controls

void FrmData::build()
{
    resize(Twips(WidthTwips), Twips(HeightTwips));
    const int graphLeft = 70, graphTop = 34, graphWidth = 470, graphHeight = 282;
    TrendBox = named(new TrendView(this), QStringLiteral("TrendBox"));
    TrendBox->setGeometry(graphLeft, graphTop, graphWidth, graphHeight);
    connect(TrendBox, &TrendView::pointerReading, this, [this](double seconds, double value) {
        LblPointer->setText(t("LangTime") + QStringLiteral(": ") + FormatDecimals(seconds, 0) + QLatin1Char(' ')
                            + t("LangSeconds") + QStringLiteral("    ") + FormatDecimals(value, 2));
    });
    connect(TrendBox, &TrendView::pointerLeft, this, [this] { LblPointer->clear(); });

    TextScaleMax = named(new QLineEdit(QStringLiteral("50"), this), QStringLiteral("TextScaleMax"));
    TextScaleMax->setGeometry(8, graphTop - 2, 54, 24);
    TextScaleMin = named(new QLineEdit(QStringLiteral("-5"), this), QStringLiteral("TextScaleMin"));
    TextScaleMin->setGeometry(8, graphTop + graphHeight - 22, 54, 24);
    LblTrendInt = named(new QLabel(this), QStringLiteral("LblTrendInt"));
    LblTrendInt->setGeometry(4, graphTop + graphHeight / 2 - 24, 64, 20);
    LblInterval = named(new QLabel(this), QStringLiteral("LblInterval"));
    LblInterval->setGeometry(8, graphTop + graphHeight / 2 - 2, 54, 20);

    const int timeTop = graphTop + graphHeight + 4;
    LblTime1 = named(new QLabel(QStringLiteral("0"), this), QStringLiteral("LblTime1"));
    LblTime1->setGeometry(graphLeft, timeTop, 80, 20);
    LblTime = named(new QLabel(this), QStringLiteral("LblTime"));
    LblTime->setGeometry(graphLeft + graphWidth / 2 - 110, timeTop, 220, 20);
    LblTime->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    LblTime2 = named(new QLabel(QStringLiteral("100"), this), QStringLiteral("LblTime2"));
    LblTime2->setGeometry(graphLeft + graphWidth - 80, timeTop, 80, 20);
    LblTime2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblPointer = named(new QLabel(this), QStringLiteral("LblPointer"));
    LblPointer->setGeometry(graphLeft, timeTop + 22, graphWidth, 20);

    const int right = 552, rightWidth = 160;
    ListGraph = named(new QComboBox(this), QStringLiteral("ListGraph"));
    ListGraph->setGeometry(right, graphTop - 2, rightWidth, 26);
    connect(ListGraph, &QComboBox::activated, this, &FrmData::onListGraph);
    CmdPause = named(new QPushButton(this), QStringLiteral("CmdPause"));
    CmdPause->setCheckable(true);
    CmdPause->setGeometry(right, graphTop + 28, rightWidth, 26);
    connect(CmdPause, &QPushButton::toggled, this, [this](bool on) {
        paused_ = on;
        if (!on)
            UpdateGraph();
    });
    for (int i = 0; i < TrendStore::Rows; ++i) {
        const int top = graphTop + 62 + i * 38;
        LblSensor[i] = named(new QLabel(this), indexed("LblSensor", i));
        LblSensor[i]->setGeometry(right, top, rightWidth, 18);
        LblSensor[i]->hide();
        LblSensorValue[i] = named(new QLabel(this), indexed("LblSensorValue", i));
        LblSensorValue[i]->setGeometry(right + 12, top + 18, rightWidth - 12, 18);
        QFont bold = LblSensorValue[i]->font();
        bold.setBold(true);
        LblSensorValue[i]->setFont(bold);
        LblSensorValue[i]->hide();
    }
    ListLogRate = named(new QComboBox(this), QStringLiteral("ListLogRate"));
    ListLogRate->setGeometry(right, timeTop - 2, rightWidth, 26);
    connect(ListLogRate, &QComboBox::activated, this, &FrmData::onListLogRate);
    CmdExportCsv = named(new QPushButton(this), QStringLiteral("CmdExportCsv"));
    CmdExportCsv->setGeometry(right, timeTop + 28, rightWidth, 26);
    connect(CmdExportCsv, &QPushButton::clicked, this, &FrmData::exportCsv);

    FrameLogging = named(new QGroupBox(this), QStringLiteral("FrameLogging"));
    FrameLogging->setGeometry(8, 372, width() - 16, height() - 380);
    for (int k = 0; k < ReadingCount; ++k) {
        CheckReading[k] = named(new QCheckBox(FrameLogging), indexed("CheckReading", k));
        CheckReading[k]->setGeometry(10 + (k / 4) * 232, 22 + (k % 4) * 24, 228, 22);
        connect(CheckReading[k], &QCheckBox::clicked, this, [this, k] { onCheckReading(k); });
    }
    CheckReading[0]->setChecked(true);
    LblLog = named(new QLabel(FrameLogging), QStringLiteral("LblLog"));
    LblLog->setGeometry(10, 124, 300, 20);
    LblLogTime = named(new QLabel(FrameLogging), QStringLiteral("LblLogTime"));
    LblLogTime->setGeometry(316, 124, 200, 20);
    CmdLog = named(new QPushButton(FrameLogging), QStringLiteral("CmdLog"));
    CmdLog->setGeometry(FrameLogging->width() - 130, 118, 120, 30);
    connect(CmdLog, &QPushButton::clicked, this, &FrmData::onCmdLog);
}

void FrmData::applyTexts()
{
    setWindowTitle(t("LangTrend") + QLatin1Char(' ') + t("LangGraph") + QStringLiteral(" & ") + t("LangLogging"));
    LblTrendInt->setText(t("LangInterval"));
    LblTime->setText(t("LangTime") + QStringLiteral(" (") + t("LangSeconds") + QLatin1Char(')'));
    FrameLogging->setTitle(t("LangLogging"));
    CmdLog->setText(t("LangStart"));
    CmdPause->setText(t("LangHold"));
    CmdExportCsv->setText(t("LangData") + QStringLiteral(" CSV"));

    readingNames_ = ReadingNames(ctx_.texts, ctx_.brixAvailable, ctx_.secondChannel);
    offered_ = OfferedReadings(readingNames_);
    filling_ = true;
    ListGraph->clear();
    for (int reading : offered_)
        ListGraph->addItem(readingNames_[reading]);
    ListGraph->setCurrentIndex(0);
    filling_ = false;
    for (int k = 0; k < ReadingCount; ++k) {
        const bool offered = !readingNames_[k].isEmpty();
        CheckReading[k]->setText(readingNames_[k]);
        CheckReading[k]->setVisible(offered);
        if (!offered)
            CheckReading[k]->setChecked(false);
    }
}

void FrmData::fillRateList()
{
    const int rows = int(acquisition_.rows().size());
    const int first = FirstRate[qBound(0, rows, 6)];
    filling_ = true;
    ListLogRate->clear();
    for (int seconds : Rates) {
        if (seconds >= first)
            ListLogRate->addItem(t("LangEvery") + QLatin1Char(' ') + QString::number(seconds) + QLatin1Char(' ') + t("LangSeconds"),
                                 seconds);
    }
    ListLogRate->setCurrentIndex(0);
    filling_ = false;
    acquisition_.IntervalSeconds = first;
}

void FrmData::readHeaderFacts()
{
    headerFacts_.clear();
    const QList<int>& rows = acquisition_.rows();
    for (int i = 0; i < rows.size(); ++i) {
        const SensorRecord& record = ctx_.sensors.SensorTable[rows[i]];
        LblSensor[i]->setText(QString::number(rows[i]) + QStringLiteral("  ") + record.Name);
        QPalette palette = LblSensor[i]->palette();
        palette.setColor(QPalette::WindowText, ColourTable()[i]);
        LblSensor[i]->setPalette(palette);
        LblSensorValue[i]->setPalette(palette);
        LblSensor[i]->show();
        if (ctx_.link.state().ProgramClosing)
            continue;
        headerFacts_ << ReadHeaderFacts(ctx_.link, rows[i], record, HasSecondChannel(record.TypeCode), ctx_.texts);
    }
}

void FrmData::open(QWidget* mainWindow)
{
    opening_ = true;
    if (mainWindow)
        move(mainWindow->geometry().topLeft());
    QList<int> rows;
    for (int r = 0; r < ctx_.sensors.SensorRowCount(); ++r)
        rows << ctx_.sensors.SensorRows(r);
    acquisition_.setRows(rows, ctx_.sensors.SelectedRow());
    acquisition_.setBrixAvailable(ctx_.brixAvailable);
    applyTexts();
    {
        // Up to five reads per sensor, each with its tries: the hourglass meanwhile.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ExchangeGuard::Scope busy(ctx_.guard);
        readHeaderFacts();
        QApplication::restoreOverrideCursor();
    }
    fillRateList();

    if (mainWindow)
        mainWindow->hide();
    acquisition_.ClearRequested = true;
    acquisition_.TimeOrigin.reset();
    Running = true;
    exitRequested_ = false;
    log_.LogStartPending = false;
    GraphChoice = 0;
    CheckReading[RawReading1]->setEnabled(false);
    CheckReading[RawReading2]->setEnabled(false);
    syncTicked();
    LblTime1->setText(QStringLiteral("0"));
    LblTime2->setText(QStringLiteral("100"));
    LblLog->clear();
    LblLogTime->clear();
    opening_ = false;

    if (!ctx_.link.state().ProgramClosing)
        show();
    trendTimer_.start();
    drawTimer_.start();
}

// ---- the acquisition loop

void FrmData::syncTicked()
{
    for (int k = 0; k < ReadingCount; ++k)
        acquisition_.ticked[k] = CheckReading[k]->isChecked();
    acquisition_.graphedReading = readingAtPosition(GraphChoice);
}

void FrmData::onTrendTimer()
{
    trendTimer_.stop();
    if (!drawTimer_.isActive() && !exited_)
        drawTimer_.start();
    if (!Running)
        return;
    if (ctx_.guard.busy()) {
        // Someone else is waiting for a reply: try again shortly.
        trendTimer_.start(RawPassMs);
        return;
    }
    if (!exitRequested_) {
        syncTicked();
        {
            ExchangeGuard::Scope busy(ctx_.guard);
            turnInProgress_ = true;
            acquisition_.runDueTurn();
            turnInProgress_ = false;
        }
        showRowLabels();
        showLogTime();
        if (flushPending_) {
            flushPending_ = false;
            showFlushOutcome(log_.LogTimerTick());
        }
    }
    if (exitRequested_ && !Drawing) {
        Running = false;
        ExitDataForm();
        return;
    }
    scheduleNextPass();
}

void FrmData::scheduleNextPass()
{
    if (acquisition_.rawMode()) {
        trendTimer_.start(RawPassMs);
        return;
    }
    const qint64 wait = acquisition_.NextDue + 1 - Clock::current().nowMs();
    trendTimer_.start(int(qBound<qint64>(qint64(1), wait, qint64(60000))));
}

void FrmData::showRowLabels()
{
    for (int i = 0; i < int(acquisition_.rows().size()); ++i) {
        const TrendRowLabel& label = acquisition_.label(i);
        LblSensorValue[i]->setText(label.value);
        LblSensorValue[i]->setVisible(label.valueVisible && !label.value.isEmpty());
        LblSensor[i]->setVisible(label.nameVisible);
    }
}

void FrmData::showLogTime()
{
    if (log_.Logging)
        LblLogTime->setText(acquisition_.logTimeText());
}

void FrmData::closeEvent(QCloseEvent* event)
{
    if (exited_) {
        event->accept();
        return;
    }
    event->ignore();
    requestExit();
}

void FrmData::requestExit()
{
    if (exitRequested_ || exited_)
        return;
    exitRequested_ = true;
    hide();
    if (!turnInProgress_ && Running)
        trendTimer_.start(0);
}

void FrmData::unload()
{
    if (exited_)
        return;
    Running = false;
    ExitDataForm();
}

void FrmData::ExitDataForm()
{
    if (log_.active())
        CloseLogFile();
    trendTimer_.stop();
    drawTimer_.stop();
    logTimer_.stop();
    exited_ = true;
    exitRequested_ = false;
    hide();
    emit exited();
    deleteLater();
}

// ---- the graph

const TrendPicture& FrmData::picture() const { return TrendBox->picture(); }

void FrmData::UpdateGraph()
{
    if (paused_ || Drawing)
        return;
    Drawing = true;
    const TrendScale scale = GetScale(TextScaleMax->text(), TextScaleMin->text(), scaleTop_, scaleBottom_);
    scaleTop_ = scale.top;
    scaleBottom_ = scale.bottom;
    if (TextScaleMax->text() != scale.topText)
        TextScaleMax->setText(scale.topText);
    if (TextScaleMin->text() != scale.bottomText)
        TextScaleMin->setText(scale.bottomText);

    TrendPicture picture;
    picture.scale = scale;
    picture.frameColour = ColourTable()[5];
    const int interval = GridInterval(scale.range());
    LblInterval->setText(QString::number(interval));
    picture.gridLines = GridLines(scale.range(), interval);
    const auto [left, right] = TimeLabels(acquisition_.elapsedSeconds(), acquisition_.windowLength());
    picture.timeLeft = left;
    picture.timeRight = right;
    LblTime1->setText(QString::number(left));
    LblTime2->setText(QString::number(right));

    const int graphed = readingAtPosition(GraphChoice);
    if (IsRawReading(graphed)) {
        const RawStore& store = acquisition_.raw(graphed == RawReading2 ? 2 : 1);
        picture.curves.append({ColourTable()[acquisition_.selectedRow()],
                               CurveSegments([&](int s) { return store.at(s); }, RawStore::Samples, store.writePosition(),
                                             trendgraph::RawStep, scale)});
    } else {
        const TrendStore& store = acquisition_.trend();
        for (int row = 0; row < int(acquisition_.rows().size()); ++row) {
            picture.curves.append(
                {ColourTable()[row],
                 CurveSegments([&](int s) { return TrendStore::valueOf(store.cell(row, graphed, s)); }, TrendStore::Samples,
                               store.writePosition(), trendgraph::NormalStep, scale)});
        }
    }
    TrendBox->setPicture(std::move(picture));
    Drawing = false;
}

// ---- the lists and tick boxes

int FrmData::readingAtPosition(int position) const { return offered_.value(position, 0); }

bool FrmData::askClearTrend()
{
    if (opening_)
        return true;
    return ctx_.messages.show(t("LangClearTrend"), MessageButtons::YesNo);
}

void FrmData::onListGraph(int position)
{
    if (filling_)
        return;
    const bool raw = IsRawReading(readingAtPosition(position));
    const bool wasRaw = IsRawReading(readingAtPosition(GraphChoice));
    auto returnToChoice = [this] {
        filling_ = true;
        ListGraph->setCurrentIndex(GraphChoice);
        filling_ = false;
    };
    if (raw) {
        ListLogRate->setEnabled(false);
        if (askClearTrend()) {
            acquisition_.ClearRequested = true;
            acquisition_.TimeOrigin.reset();
            GraphChoice = position;
            for (QCheckBox* box : CheckReading)
                box->setEnabled(false);
            CheckReading[0]->setChecked(false);
            const int chosen = readingAtPosition(position);
            const int other = chosen == RawReading1 ? RawReading2 : RawReading1;
            CheckReading[chosen]->setEnabled(true);
            CheckReading[chosen]->setChecked(true);
            onCheckReading(chosen);
            CheckReading[other]->setEnabled(false);
            CheckReading[other]->setChecked(false);
        } else {
            returnToChoice();
            ListLogRate->setEnabled(!wasRaw);
        }
    } else if (wasRaw) {
        ListLogRate->setEnabled(true);
        if (askClearTrend()) {
            acquisition_.ClearRequested = true;
            GraphChoice = position;
            acquisition_.TimeOrigin.reset();
            for (int k = 0; k <= BrixReading; ++k)
                CheckReading[k]->setEnabled(true);
            CheckReading[0]->setChecked(true);
            for (int k : {RawReading1, RawReading2}) {
                CheckReading[k]->setEnabled(false);
                CheckReading[k]->setChecked(false);
            }
        } else {
            returnToChoice();
            ListLogRate->setEnabled(false);
        }
    } else {
        GraphChoice = position;
    }
    if (!turnInProgress_)
        syncTicked();
    if (Running && !turnInProgress_ && !exitRequested_)
        trendTimer_.start(0);
    UpdateGraph();
}

void FrmData::selectRateOf(int seconds)
{
    filling_ = true;
    const int index = ListLogRate->findData(seconds);
    if (index >= 0)
        ListLogRate->setCurrentIndex(index);
    filling_ = false;
}

void FrmData::onListLogRate(int position)
{
    if (filling_)
        return;
    if (askClearTrend()) {
        acquisition_.ClearRequested = true;
        acquisition_.TimeOrigin.reset();
        acquisition_.IntervalSeconds = ListLogRate->itemData(position).toInt();
        acquisition_.NextDue = Clock::current().nowMs();
        if (Running && !turnInProgress_ && !exitRequested_)
            trendTimer_.start(0);
    } else {
        selectRateOf(acquisition_.IntervalSeconds);
    }
}

void FrmData::onCheckReading(int k)
{
    const bool rawTicked = CheckReading[RawReading1]->isChecked() || CheckReading[RawReading2]->isChecked();
    if ((k == RawReading1 || k == RawReading2) && CheckReading[k]->isChecked()) {
        for (int i = 0; i <= BrixReading; ++i) {
            CheckReading[i]->setChecked(false);
            CheckReading[i]->setEnabled(false);
        }
    } else if (!rawTicked && k == 0) {
        // Reading 0 stays in every log that is not a raw one.
        CheckReading[0]->setChecked(true);
    }
    if (!turnInProgress_)
        syncTicked();
}

// ---- logging

QString FrmData::documentsFolder() const
{
    const QString folder = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("Dunmere"));
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    return folder;
}

void FrmData::onCmdLog()
{
    if (log_.active())
        CloseLogFile();
    else
        OpenLogFile();
}

void FrmData::setLoggingControlsEnabled(bool enabled)
{
    ListGraph->setEnabled(enabled);
    ListLogRate->setEnabled(enabled && !IsRawReading(readingAtPosition(GraphChoice)));
    const bool raw = IsRawReading(readingAtPosition(GraphChoice));
    for (int k = 0; k < ReadingCount; ++k) {
        // Unlocking gives back the state the graph choice sets.
        const bool free = raw ? readingAtPosition(GraphChoice) == k : k <= BrixReading;
        CheckReading[k]->setEnabled(enabled && free);
    }
}

void FrmData::OpenLogFile()
{
    QString path = saveDialog_(this, documentsFolder(), QStringLiteral("Dunmere-Log"), QStringLiteral("(*.txt)"));
    if (!path.isEmpty()) {
        if (QFileInfo(path).suffix().isEmpty() && !path.endsWith(u'/'))
            path += QStringLiteral(".txt");
        log_.setPath(path);
        syncTicked();
        LogHeaderSetup setup;
        setup.sensors = headerFacts_;
        setup.ticked = acquisition_.ticked;
        setup.readingNames = readingNames_;
        setup.intervalSeconds = acquisition_.IntervalSeconds;
        setup.identification = ctx_.identification;
        setup.start = QDateTime::currentDateTime();
        if (log_.WriteLogHeader(setup) == DataLog::HeaderOutcome::Written) {
            if (!logTimer_.isActive())
                logTimer_.start();
            CmdLog->setText(t("LangStop"));
            LblLog->setText(t("LangLogging") + QLatin1Char(' ') + t("LangTime") + QLatin1Char(':'));
            setLoggingControlsEnabled(false);
        }
    }
    acquisition_.NextDue = Clock::current().nowMs();
    if (Running && !turnInProgress_ && !exitRequested_)
        trendTimer_.start(0);
}

void FrmData::CloseLogFile()
{
    const DataLog::FlushOutcome outcome = log_.CloseLogFile();
    if (outcome == DataLog::FlushOutcome::Failed || outcome == DataLog::FlushOutcome::FailedAgain) {
        // The lines stay collected and logging goes on: Stop again once the file can be written.
        LblLog->setText(t("LangFile") + QLatin1Char(' ') + t("LangError"));
        if (!exitRequested_)
            ctx_.messages.show(t("LangFile") + QLatin1Char(' ') + t("LangError") + QStringLiteral(" - ") + t("LangLogging"),
                               MessageButtons::Ok);
        return;
    }
    logTimer_.stop();
    CmdLog->setText(t("LangStart"));
    LblLog->clear();
    LblLogTime->clear();
    setLoggingControlsEnabled(true);
}

void FrmData::onLogTimer()
{
    if (turnInProgress_) {
        flushPending_ = true;
        return;
    }
    showFlushOutcome(log_.LogTimerTick());
}

void FrmData::showFlushOutcome(DataLog::FlushOutcome outcome)
{
    switch (outcome) {
    case DataLog::FlushOutcome::Failed:
        LblLog->setText(t("LangFile") + QLatin1Char(' ') + t("LangError") + QStringLiteral(" - ") + t("LangLogging"));
        break;
    case DataLog::FlushOutcome::Recovered:
        LblLog->setText(t("LangFile") + QLatin1Char(' ') + t("LangWritten") + QStringLiteral(" - ") + t("LangLogging") + QLatin1Char(' ')
                        + t("LangTime") + QLatin1Char(':'));
        break;
    case DataLog::FlushOutcome::Nothing:
    case DataLog::FlushOutcome::Written:
    case DataLog::FlushOutcome::FailedAgain:
        break;
    }
}

void FrmData::exportCsv()
{
    const QString path = saveDialog_(this, documentsFolder(), QStringLiteral("Dunmere-Trend.csv"), QStringLiteral("(*.csv)"));
    if (path.isEmpty())
        return;
    QList<CsvSensor> sensors;
    for (int address : acquisition_.rows())
        sensors << CsvSensor{address, ctx_.sensors.SensorTable[address].Name};
    QString error;
    if (!WriteCsvFile(path, TrendCsv(acquisition_.trend(), sensors, readingNames_), error)) {
        DebugLog(QStringLiteral("CSV export failed: ") + error, 10);
        ctx_.messages.show(t("LangFile") + QLatin1Char(' ') + t("LangError"), MessageButtons::Ok);
    }
}

}  // namespace dunmere
