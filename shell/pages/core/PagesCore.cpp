#include "PagesCore.h"

#include "ConfigurationProcedures.h"
#include "OutputTest.h"
#include "PageControls.h"
#include "PageTexts.h"
#include "SensorTypeAdaptation.h"
#include "link/Settings.h"

#include <map>

namespace dunmere {

namespace {

struct RequestButton {
    DiagnosticsRequest request;
    const char* button;
};

constexpr RequestButton requestButtons[] = {
    {DiagnosticsRequest::AutoCal, "cmdAutoCal"},
    {DiagnosticsRequest::FactoryValues, "cmdFactoryUpdate"},
    {DiagnosticsRequest::Coefficients, "CmdCoeffUpdate"},
    {DiagnosticsRequest::WaterReference, "cmdWater"},
    {DiagnosticsRequest::AirReference, "cmdAir"},
    {DiagnosticsRequest::ModeWrite, "cmdMeasurementModeWrite"},
    {DiagnosticsRequest::Mode2Write, "cmdMeasurementModeWrite2"},
    {DiagnosticsRequest::AveragingMode, "BtnWriteAveragingMode"},
    {DiagnosticsRequest::ArmType, "cmdWriteCorraneArmType"},
};

QString buttonOf(DiagnosticsRequest request)
{
    for (const RequestButton& rb : requestButtons) {
        if (rb.request == request)
            return QString::fromLatin1(rb.button);
    }
    return {};
}

// The list whose state decides whether a write button may come back after its write.
QString listOfButton(const QString& button)
{
    static const std::map<QString, QString> lists = {
        {QStringLiteral("cmdMeasurementModeWrite"), QStringLiteral("cbAdvMeasurementMode")},
        {QStringLiteral("cmdMeasurementModeWrite2"), QStringLiteral("cbAdvMeasurementMode2")},
        {QStringLiteral("BtnWriteAveragingMode"), QStringLiteral("CBAveragingMode")},
    };
    const auto it = lists.find(button);
    return it == lists.end() ? QString() : it->second;
}

}  // namespace

// Hourglass and MainTab disabled for the length of a service.
class PagesCore::Busy {
public:
    explicit Busy(PagesCore& core) : core_(core) { emit core_.busyChanged(true); }
    ~Busy() { emit core_.busyChanged(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    PagesCore& core_;
};

PagesCore::PagesCore(Link& link, const TextSource& texts, Messages* messages, TaskRequests& requests,
                     QString settingsPath, QObject* parent)
    : QObject(parent), ctx_(model_, link, texts, messages), requests_(requests), settingsPath_(std::move(settingsPath))
{
    AddPageControls(model_);
    access_ = std::make_unique<AccessLevels>(ctx_, settingsPath_);
    firmware_ = std::make_unique<FirmwareGroup>(ctx_);
    // Every type adaptation rebuilds the output-variable lists, the full diagnostics refresh
    // included; the Sensor page's value lists follow them.
    connect(&model_, &ControlModel::itemsReplaced, this, [this](const QString& name) {
        if (name == QLatin1String("ListOPVar1"))
            emit valueListsRefilled();
    });
}

PagesCore::~PagesCore() = default;

void PagesCore::setSelectedSensor(const PageSensor& sensor)
{
    // What the page holds was read from another sensor.
    if (sensor.address != ctx_.sensor.address)
        fillComplete_ = false;
    ctx_.sensor = sensor;
    ctx_.type.CurrentTypeCode = sensor.typeCode;
}

void PagesCore::setEditionType(int type)
{
    ctx_.editionType = type;
    ApplyEditionLayout(ctx_);
}

void PagesCore::setDemonstration(bool on)
{
    ctx_.demonstration = on;
}

void PagesCore::setConfigurationFiles(FileDialogs* dialogs, std::function<int()> languageNumber)
{
    fileHost_.dialogs = dialogs;
    fileHost_.languageNumber = std::move(languageNumber);
    fileHost_.languageFile = settingsPath_;
    fileHost_.busy = [this](bool on) { emit busyChanged(on); };
}

void PagesCore::adaptToSensorType()
{
    AdaptPagesToSensorType(ctx_);
}

void PagesCore::applyTexts()
{
    ApplyPageTexts(ctx_);
}

void PagesCore::showDemonstrationValues()
{
    ShowPageDemonstrationValues(ctx_);
}

void PagesCore::configurationPageEntered()
{
    const bool calibrationLocked = ReadSetting(QStringLiteral("Settings"), QStringLiteral("DisableCalib"), settingsPath_)
                                   == QStringLiteral("1");
    if (EnterConfigurationPage(ctx_, access_->configurationLocked(), calibrationLocked)) {
        // Until the fill has run the boxes hold whatever they held before.
        fillComplete_ = false;
        model_.setEnabled(QStringLiteral("CmdConfigWrite"), false);
        requests_.FillConfigRequest = true;
    }
}

void PagesCore::diagnosticsPageEntered(int previousTab, const AdapterConnection& connection)
{
    requests_.FullRefreshRequest = true;
    EnterDiagnosticsPage(ctx_, previousTab, connection);
    firmware_->keepButtonsOff();
}

void PagesCore::runConfigurationTick()
{
    if (requests_.FillConfigRequest)
        serveFill();
    if (requests_.WriteConfigRequest)
        serveWrite();
}

void PagesCore::serveFill()
{
    requests_.FillConfigRequest = false;
    const QString write = QStringLiteral("CmdConfigWrite");
    model_.setEnabled(write, false);
    FillOutcome outcome;
    {
        Busy busy(*this);
        outcome = FillConfigurationPage(ctx_);
    }
    // Boxes of an incomplete reading may hold another sensor's values: no write until a
    // reading got every answer.
    fillComplete_ = outcome.complete();
    model_.setEnabled(write, fillComplete_);
    if (!fillComplete_)
        ctx_.message(ctx_.tr("LangCommsError"));
}

void PagesCore::serveWrite()
{
    requests_.WriteConfigRequest = false;
    // Boxes not filled from this sensor would write defaults or another sensor's values.
    if (!fillComplete_) {
        model_.setEnabled(QStringLiteral("CmdConfigWrite"), false);
        emit writePending(false);
        return;
    }
    {
        Busy busy(*this);
        const bool answered = WriteConfigurationPage(ctx_);
        ConfirmConfigurationWrite(ctx_, answered);
    }
    model_.setEnabled(QStringLiteral("CmdConfigWrite"), fillComplete_);
    emit writePending(false);
}

void PagesCore::runDiagnosticsTick()
{
    const DiagnosticsStep step = requests_.takeDiagnosticsStep(ctx_.type.CurrentTypeCode);
    switch (step.kind) {
    case DiagnosticsStep::Kind::Request:
        serveRequest(step.request);
        break;
    case DiagnosticsStep::Kind::FactoryReset:
        serveFactoryReset();
        break;
    case DiagnosticsStep::Kind::OutputTest:
        RunOutputTestStep(ctx_);
        break;
    case DiagnosticsStep::Kind::Refresh:
        if (step.refreshLevel == 2) {
            Busy busy(*this);
            RefreshDiagnostics(ctx_, 2);
        } else {
            RefreshDiagnostics(ctx_, step.refreshLevel);
        }
        break;
    }
}

void PagesCore::serveRequest(DiagnosticsRequest request)
{
    if (request == DiagnosticsRequest::SaveConfiguration || request == DiagnosticsRequest::RestoreConfiguration) {
        serveConfigurationFile(request);
        return;
    }
    if (request == DiagnosticsRequest::Upgrade) {
        serveUpgrade();
        return;
    }
    {
        Busy busy(*this);
        switch (request) {
        case DiagnosticsRequest::AutoCal: RunAutoCalibration(ctx_); break;
        case DiagnosticsRequest::FactoryValues: WriteFactoryValues(ctx_); break;
        case DiagnosticsRequest::Coefficients: WriteCoefficients(ctx_); break;
        case DiagnosticsRequest::WaterReference: MeasureReference(ctx_, Reference::Water); break;
        case DiagnosticsRequest::AirReference: MeasureReference(ctx_, Reference::Air); break;
        case DiagnosticsRequest::ModeWrite: WriteMeasurementMode(ctx_, 1); break;
        case DiagnosticsRequest::Mode2Write: WriteMeasurementMode(ctx_, 2); break;
        case DiagnosticsRequest::AveragingMode: WriteAveragingMode(ctx_); break;
        case DiagnosticsRequest::ArmType: WriteArmType(ctx_); break;
        case DiagnosticsRequest::SaveConfiguration:
        case DiagnosticsRequest::RestoreConfiguration:
        case DiagnosticsRequest::Upgrade:  // served above
        case DiagnosticsRequest::None: break;
        }
    }
    const QString button = buttonOf(request);
    if (button.isEmpty())
        return;
    // A write button whose list the refresh locked (a mode this program does not offer) stays
    // locked with it.
    const QString list = listOfButton(button);
    model_.setEnabled(button, list.isEmpty() || model_.enabled(list));
}

// The file dialog comes first, without the hourglass; the transfer shows it once a file is chosen.
void PagesCore::serveConfigurationFile(DiagnosticsRequest request)
{
    if (request == DiagnosticsRequest::SaveConfiguration) {
        SaveConfigurationFromPage(ctx_, fileHost_);
    } else {
        RestoreConfigurationFromPage(ctx_, fileHost_);
        requests_.FullRefreshRequest = true;
    }
}

void PagesCore::serveUpgrade()
{
    const QString fileName = firmware_->chooseFile();
    emit hourglassChanged(true);
    const bool upgraded = firmware_->serve(fileName);
    emit hourglassChanged(false);
    model_.setEnabled(QStringLiteral("CmdUpgrade"), true);
    if (upgraded) {
        ctx_.type.CurrentTypeCode = ctx_.sensor.typeCode;
        emit firmwareUpgraded(ctx_.sensor.address, ctx_.sensor.firmwareText);
    }
}

void PagesCore::serveFactoryReset()
{
    requests_.FactoryResetRequest = false;
    {
        Busy busy(*this);
        RunFactoryReset(ctx_);
    }
    model_.setEnabled(QStringLiteral("BtnFactoryReset"), true);
}

void PagesCore::raise(DiagnosticsRequest request, const QString& button)
{
    model_.setEnabled(button, false);
    requests_.setPending(request, true);
}

void PagesCore::endOutputTest()
{
    requests_.OutputTestRequest = false;
    if (model_.visible(QStringLiteral("FrameInterface")))
        CloseOutputTest(ctx_, access_->fullLevel());
}

void PagesCore::toggleOutputTest()
{
    if (model_.visible(QStringLiteral("FrameInterface"))) {
        endOutputTest();
    } else {
        OpenOutputTest(ctx_);
        requests_.OutputTestRequest = true;
    }
}

void PagesCore::buttonClicked(const QString& name)
{
    if (!model_.enabled(name))
        return;
    // While blocks are sent only the cancel button acts: a code typed or a log-out would
    // change the upgrade group under the transfer.
    if (name == QLatin1String("CmdUpgradeCancel")) {
        firmware_->cancelClicked();
        return;
    }
    if (firmware_->running())
        return;
    if (name == QLatin1String("CmdUpgrade")) {
        firmware_->upgradeClicked();
        raise(DiagnosticsRequest::Upgrade, name);
        return;
    }
    for (const RequestButton& rb : requestButtons) {
        if (name == QLatin1String(rb.button)) {
            raise(rb.request, name);
            return;
        }
    }
    if (name == QLatin1String("CmdDownload")) {
        DownloadClicked(ctx_);
        requests_.SaveConfigurationRequest = true;
    } else if (name == QLatin1String("UploadButton")) {
        UploadClicked(ctx_);
        requests_.RestoreConfigurationRequest = true;
    } else if (name == QLatin1String("CmdConfigWrite")) {
        model_.setEnabled(name, false);
        requests_.WriteConfigRequest = true;
        emit writePending(true);
    } else if (name == QLatin1String("BtnFactoryReset")) {
        if (access_->askFactoryReset())
            requests_.FactoryResetRequest = true;
    } else if (name.startsWith(QLatin1String("Key_"))) {
        access_->pressKey(name.mid(4).toInt());
    } else if (name.startsWith(QLatin1String("CmdLogOut_"))) {
        access_->logOut();
    } else if (name == QLatin1String("CmdCalibrate")) {
        requests_.CalibrationWindowRequest = true;
        emit calibrationWindowRequested();
    } else if (name == QLatin1String("CmdOutputTest")) {
        toggleOutputTest();
    } else if (name == QLatin1String("cmdResonator")) {
        emit resonatorRequested();
    } else if (name.startsWith(QLatin1String("CmdmA_"))) {
        QuickOutputSetting(ctx_, name.mid(6).toInt());
    }
}

void PagesCore::listPicked(const QString& name, int index)
{
    model_.setIndex(name, index);
    if (name == QLatin1String("ListOPType"))
        OutputTypeClicked(ctx_);
    else if (name == QLatin1String("ListOPVar1"))
        OutputVariable1Clicked(ctx_);
    else if (name == QLatin1String("ListOPVar2"))
        OutputVariable2Clicked(ctx_);
    else if (name == QLatin1String("ListSmoothTime"))
        SmoothingTimeClicked(ctx_);
}

void PagesCore::textEdited(const QString& name, const QString& text)
{
    model_.setText(name, text);
}

void PagesCore::checkClicked(const QString& name, bool ticked)
{
    if (name == QLatin1String("chkDisableConfig"))
        access_->configurationLockClicked(ticked);
    else if (name == QLatin1String("chkDisableCalib"))
        access_->calibrationLockClicked(ticked);
    else
        model_.setChecked(name, ticked);
}

void PagesCore::sliderMoved(const QString& name, int value)
{
    model_.setValue(name, value);
}

}  // namespace dunmere
