#pragma once
// The Configuration, Diagnostics and Advanced pages without their widgets: the control
// model, the page state and the requests their buttons leave for the task timer.
//
// How the main window drives it:
// - setSelectedSensor(SelectedPageSensor(sensorModel)) whenever the selection or the search
//   result changes, then adaptToSensorType() (the sensor search and the selection call it).
// - setEditionType() and accessLevels().setStoredConfigurationLock() at start-up.
// - applyTexts() after every language load; afterwards raise FillConfigRequest when page 1
//   shows, or FullRefreshRequest when page 2 or 3 shows.
// - configurationPageEntered() / diagnosticsPageEntered() from the page switch handler.
// - From the task timer tick: runConfigurationTick() while page 1 shows, and
//   runDiagnosticsTick() while page 2, 3 or 4 shows.
// - busyChanged(true/false): hourglass on and MainTab disabled, and back.
// - accessLevels().layoutChanged(): apply advancedTabVisible() and tabsPerRow() to MainTab
//   (tab 3 shown or hidden only when its state differs; TabsPerRow last).
// - accessLevels().pageEntryRerun(): call the page switch handler with the current tab as
//   both new and previous tab.
// - valueListsRefilled(): the Sensor page rebuilds ListValue and ListTemp (typeState() holds
//   SecondChannel and BrixAvailable for them).
// The page widgets report the user's actions through the *Clicked/*Picked functions.

#include "AccessLevels.h"
#include "ConfigurationFilePage.h"
#include "ControlModel.h"
#include "DiagnosticsProcedures.h"
#include "FirmwareGroup.h"
#include "PagesContext.h"
#include "shell/core/TaskRequests.h"

#include <QObject>
#include <memory>

namespace dunmere {

class PagesCore final : public QObject {
    Q_OBJECT
public:
    PagesCore(Link& link, const TextSource& texts, Messages* messages, TaskRequests& requests, QString settingsPath,
              QObject* parent = nullptr);
    ~PagesCore() override;
    PagesCore(const PagesCore&) = delete;
    PagesCore& operator=(const PagesCore&) = delete;

    [[nodiscard]] ControlModel& model() { return model_; }
    [[nodiscard]] PagesContext& context() { return ctx_; }
    [[nodiscard]] AccessLevels& accessLevels() { return *access_; }
    [[nodiscard]] FirmwareGroup& firmware() { return *firmware_; }
    [[nodiscard]] const SensorTypeState& typeState() const { return ctx_.type; }

    void setSelectedSensor(const PageSensor& sensor);
    void setEditionType(int type);
    void setDemonstration(bool on);
    // The file dialogs and the language the Download and Upload buttons need.
    void setConfigurationFiles(FileDialogs* dialogs, std::function<int()> languageNumber);
    void adaptToSensorType();
    void applyTexts();
    void showDemonstrationValues();
    // A new search ends the output test: its frame would otherwise cover the page with
    // nothing left to close it.
    void endOutputTest();

    void configurationPageEntered();
    void diagnosticsPageEntered(int previousTab, const AdapterConnection& connection);
    void runConfigurationTick();
    void runDiagnosticsTick();

    // From the widgets.
    void buttonClicked(const QString& name);
    void listPicked(const QString& name, int index);
    void textEdited(const QString& name, const QString& text);
    void checkClicked(const QString& name, bool ticked);
    void sliderMoved(const QString& name, int value);

signals:
    void busyChanged(bool busy);
    // cmdResonator: the main window opens the resonator test window.
    void resonatorRequested();
    // The hourglass alone: a firmware upgrade keeps the tabs and its cancel button usable.
    void hourglassChanged(bool on);
    // The selected sensor took a new firmware: its record follows.
    void firmwareUpgraded(int address, const QString& firmwareText);
    void valueListsRefilled();
    // From the Write click until its write has run, the page may not change.
    void writePending(bool pending);
    // CmdCalibrate raised CalibrationWindowRequest; without sensors no tick serves it.
    void calibrationWindowRequested();

private:
    class Busy;
    void serveFill();
    void serveWrite();
    void serveRequest(DiagnosticsRequest request);
    void serveUpgrade();
    void serveFactoryReset();
    void serveConfigurationFile(DiagnosticsRequest request);
    void raise(DiagnosticsRequest request, const QString& button);
    void toggleOutputTest();

    ControlModel model_;
    PagesContext ctx_;
    TaskRequests& requests_;
    QString settingsPath_;
    std::unique_ptr<AccessLevels> access_;
    std::unique_ptr<FirmwareGroup> firmware_;
    // The last fill of the selected sensor got every answer: only then may the page be written.
    bool fillComplete_ = false;
    ConfigurationFileHost fileHost_;
};

}  // namespace dunmere
