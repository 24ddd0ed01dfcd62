#include "TaskRequests.h"

#include <array>

namespace dunmere {

namespace {

// The configuration file transfers first: their buttons were clicked and a dialog is due.
constexpr std::array servedOrder = {
    DiagnosticsRequest::SaveConfiguration, DiagnosticsRequest::RestoreConfiguration,
    DiagnosticsRequest::Upgrade,        DiagnosticsRequest::AutoCal,    DiagnosticsRequest::FactoryValues,
    DiagnosticsRequest::Coefficients,   DiagnosticsRequest::WaterReference, DiagnosticsRequest::AirReference,
    DiagnosticsRequest::ModeWrite,      DiagnosticsRequest::Mode2Write, DiagnosticsRequest::AveragingMode,
    DiagnosticsRequest::ArmType,
};

constexpr int FactoryResetTypeCode = 89;
constexpr int TicksPerHeavyRefresh = 5;

// One switch for both the reading and the writing side.
template <class Requests>
auto flagOf(Requests& r, DiagnosticsRequest request) -> decltype(&r.UpgradeRequest)
{
    switch (request) {
    case DiagnosticsRequest::SaveConfiguration: return &r.SaveConfigurationRequest;
    case DiagnosticsRequest::RestoreConfiguration: return &r.RestoreConfigurationRequest;
    case DiagnosticsRequest::Upgrade: return &r.UpgradeRequest;
    case DiagnosticsRequest::AutoCal: return &r.AutoCalRequest;
    case DiagnosticsRequest::FactoryValues: return &r.FactoryValuesRequest;
    case DiagnosticsRequest::Coefficients: return &r.CoefficientsRequest;
    case DiagnosticsRequest::WaterReference: return &r.WaterReferenceRequest;
    case DiagnosticsRequest::AirReference: return &r.AirReferenceRequest;
    case DiagnosticsRequest::ModeWrite: return &r.ModeWriteRequest;
    case DiagnosticsRequest::Mode2Write: return &r.Mode2WriteRequest;
    case DiagnosticsRequest::AveragingMode: return &r.AveragingModeRequest;
    case DiagnosticsRequest::ArmType: return &r.ArmTypeRequest;
    case DiagnosticsRequest::None: break;
    }
    return nullptr;
}

}  // namespace

void TaskRequests::clearForInitTasks()
{
    CalibrationWindowRequest = false;
    FillConfigRequest = false;
    WriteConfigRequest = false;
    FullRefreshRequest = false;
    CoefficientsRequest = false;
    OutputTestRequest = false;
    WaterReferenceRequest = false;
    AirReferenceRequest = false;
    FactoryValuesRequest = false;
    AutoCalRequest = false;
    UpgradeRequest = false;
    SaveConfigurationRequest = false;
    RestoreConfigurationRequest = false;
    AddressChangeRow = NoRow;
    clearSelectedSensorRequests();
}

void TaskRequests::clearSelectedSensorRequests()
{
    ModeWriteRequest = false;
    Mode2WriteRequest = false;
    AveragingModeRequest = false;
    ArmTypeRequest = false;
    FactoryResetRequest = false;
}

bool TaskRequests::pending(DiagnosticsRequest request) const
{
    const bool* flag = flagOf(*this, request);
    return flag && *flag;
}

void TaskRequests::setPending(DiagnosticsRequest request, bool on)
{
    if (bool* flag = flagOf(*this, request))
        *flag = on;
}

DiagnosticsStep TaskRequests::takeDiagnosticsStep(int currentTypeCode)
{
    for (DiagnosticsRequest request : servedOrder) {
        if (pending(request)) {
            setPending(request, false);
            return {DiagnosticsStep::Kind::Request, request, 0};
        }
    }
    if (FactoryResetRequest && currentTypeCode == FactoryResetTypeCode)
        return {DiagnosticsStep::Kind::FactoryReset, DiagnosticsRequest::None, 0};
    if (OutputTestRequest)
        return {DiagnosticsStep::Kind::OutputTest, DiagnosticsRequest::None, 0};
    if (DiagnosticsTick < TicksPerHeavyRefresh) {
        ++DiagnosticsTick;
        return {DiagnosticsStep::Kind::Refresh, DiagnosticsRequest::None, 0};
    }
    DiagnosticsTick = 1;
    const int level = FullRefreshRequest ? 2 : 1;
    FullRefreshRequest = false;
    return {DiagnosticsStep::Kind::Refresh, DiagnosticsRequest::None, level};
}

}  // namespace dunmere
