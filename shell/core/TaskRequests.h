#pragma once
// The requests that buttons and menus leave for the task timer, and the rules by which a tick
// picks the one it serves. Handlers only set these; the tick consumes them.

namespace dunmere {

// The requests of the Diagnostics and Advanced pages, in the order a tick serves them.
enum class DiagnosticsRequest {
    None,
    SaveConfiguration,
    RestoreConfiguration,
    Upgrade,
    AutoCal,
    FactoryValues,
    Coefficients,
    WaterReference,
    AirReference,
    ModeWrite,
    Mode2Write,
    AveragingMode,
    ArmType,
};

// What a tick on the Diagnostics or Advanced page does when it has no request of the list.
struct DiagnosticsStep {
    enum class Kind { Request, FactoryReset, OutputTest, Refresh };
    Kind kind = Kind::Refresh;
    DiagnosticsRequest request = DiagnosticsRequest::None;
    int refreshLevel = 0;  // 0 light, 1 regular, 2 full
};

struct TaskRequests {
    static constexpr int NoRow = 99;

    bool FillConfigRequest = false;
    bool WriteConfigRequest = false;
    bool SaveConfigurationRequest = false;
    bool RestoreConfigurationRequest = false;
    bool UpgradeRequest = false;
    bool AutoCalRequest = false;
    bool FactoryValuesRequest = false;
    bool CoefficientsRequest = false;
    bool WaterReferenceRequest = false;
    bool AirReferenceRequest = false;
    bool ModeWriteRequest = false;
    bool Mode2WriteRequest = false;
    bool AveragingModeRequest = false;
    bool ArmTypeRequest = false;
    bool FactoryResetRequest = false;
    bool OutputTestRequest = false;
    bool FullRefreshRequest = false;
    int AddressChangeRow = NoRow;
    bool CalibrationWindowRequest = false;
    bool EthernetSetupRequest = false;
    bool TrendRequest = false;
    int ComPortRequest = 0;
    int AdapterRequest = 0;
    bool ReinitRequest = false;
    // Ticks on pages 2-4 since the last heavier refresh, 1 to 5; 0 before the first.
    int DiagnosticsTick = 0;

    // A new search starts from a clean slate: nothing asked for the sensors of the previous
    // search may reach whichever sensor is selected after it.
    void clearForInitTasks();
    // The requests that name the selected sensor implicitly; dropped when the selection moves.
    void clearSelectedSensorRequests();

    [[nodiscard]] bool pending(DiagnosticsRequest request) const;
    void setPending(DiagnosticsRequest request, bool on);

    // The step of one tick on pages 2-4: the first pending request of the fixed order (taken,
    // i.e. cleared), else the factory reset for a type-89 sensor (left set for the caller to
    // clear when it runs), else one output-test step, else a diagnostics refresh whose level
    // DiagnosticsTick spaces out.
    [[nodiscard]] DiagnosticsStep takeDiagnosticsStep(int currentTypeCode);
};

}  // namespace dunmere
