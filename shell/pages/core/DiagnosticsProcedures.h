#pragma once
// The Diagnostics and Advanced pages: the refresh at its three depths, the factory
// measurement of the water and air references, writing the references and the temperature
// coefficients, and the automatic calibration.

#include "PagesContext.h"

namespace dunmere {

// 0: status flags; 1: temperatures, uncompensated frequency and amplitude, status;
// 2: the type adaptation and everything on both pages, then level 1.
void RefreshDiagnostics(PagesContext& ctx, int level);

// Fields 7 and 8 of the "P" + 11 reply; zeros (and empty texts) when there is no reply.
struct RawSample {
    QString frequencyText;
    QString amplitudeText;
    double frequency = 0.0;
    double amplitude = 0.0;
};
[[nodiscard]] RawSample ReadRawFrequencyAmplitude(PagesContext& ctx);

enum class Reference { Water, Air };
// 50 samples averaged into the reference's boxes, the progress bar following.
void MeasureReference(PagesContext& ctx, Reference reference);

void WriteFactoryValues(PagesContext& ctx);
void WriteCoefficients(PagesContext& ctx);
void RunAutoCalibration(PagesContext& ctx);

// The "P" + code command texts.
[[nodiscard]] QString PCommand(int code);

struct AdapterConnection {
    bool viaTcp = false;
    QString remoteHost;
    QString remotePort;
    QString localAddress;
};
// Entering the Diagnostics or Advanced page from previousTab.
void EnterDiagnosticsPage(PagesContext& ctx, int previousTab, const AdapterConnection& connection);

}  // namespace dunmere
