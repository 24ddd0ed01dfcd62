// The main window's side of the calibration window: opening it for the sensors of the Sensor
// page's rows, hiding this window and keeping the task timer stopped while it is open, and
// taking the work up again when it leaves.

#include "FrmMain.h"

#include "FrmMessages.h"
#include "calibration/CalibrationStore.h"
#include "calibration/ui/FrmCalM.h"
#include "shell/core/StartupSettings.h"
#include "shell/pages/core/ConfigurationProcedures.h"
#include "shell/pages/core/PagesCore.h"

#include "language/LanguageTexts.h"
#include "link/DebugLog.h"
#include "link/Link.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace dunmere {

namespace {

QString saveReportName(QWidget* parent, const QString& proposedName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Dunmere");
    QDir().mkpath(folder);
    return QFileDialog::getSaveFileName(parent, QString(), folder + u'/' + proposedName + QStringLiteral(".txt"),
                                        QStringLiteral("(*.txt)"));
}

}  // namespace

FrmCalM* FrmMain::calibrationWindow() const { return calibrationWindow_; }

FrmCalM::Setup FrmMain::calibrationWindowSetup()
{
    FrmCalM::Setup setup;
    if (!noSensorFound()) {
        for (int r = 0; r < sensorModel_.SensorRowCount(); ++r)
            setup.sensors.append({sensorModel_.row(r).name, sensorModel_.SensorRows(r)});
        setup.selectedEntry = sensorModel_.SelectedRow();
    }
    setup.noSensor = noSensorFound();
    const ControlModel& controls = pages_->model();
    setup.calibrationLock = controls.checked(QStringLiteral("chkDisableCalib")) && !controls.visible(QStringLiteral("chkDisableConfig"));
    setup.programText = ProgramVersionText;
    setup.storePath = CalibrationStorePath(CalibrationKind::Moisture);
    setup.reportFileName = [this](const QString& proposedName, const QString&) { return saveReportName(calibrationWindow_, proposedName); };
    return setup;
}

FrmCalM* FrmMain::openCalibrationWindowOn(const QString& storePath)
{
    openCalibrationWindow(storePath);
    return calibrationWindow_;
}

void FrmMain::openCalibrationWindow(const QString& storePath)
{
    if (calibrationWindow_)
        return;
    if (OpensBrixCalibration(pages_->context())) {
        // The Brix calibration window is not part of this program yet.
        DebugLog(QStringLiteral("Brix calibration window requested"), 15);
        return;
    }
    taskTimer_.stop();
    FrmCalM::Setup setup = calibrationWindowSetup();
    if (!storePath.isEmpty())
        setup.storePath = storePath;
    auto* window = new FrmCalM(link_, texts_, *messages_, setup);
    window->move(pos());
    calibrationWindow_ = window;
    connect(window, &FrmCalM::hiddenForClose, this, [this] {
        if (!link_.state().ProgramClosing)
            show();
    });
    connect(window, &FrmCalM::left, this, &FrmMain::calibrationWindowLeft);
    hide();
    if (!window->open()) {
        calibrationWindow_ = nullptr;
        window->deleteLater();
        calibrationWindowLeft(!noSensorFound());
    }
}

void FrmMain::calibrationWindowLeft(bool sensorKnown)
{
    if (calibrationWindow_) {
        calibrationWindow_->deleteLater();
        calibrationWindow_ = nullptr;
    }
    if (link_.state().ProgramClosing) {
        exitIfClosing();
        return;
    }
    if (sensorKnown) {
        requests_.FillConfigRequest = true;
        taskTimer_.start();
    }
    show();
}

}  // namespace dunmere
