#pragma once
// The Settings keys the main window reads at start-up, each with its rule for values that
// cannot be taken (and, where the rule says so, the value written back).

#include <QString>

namespace dunmere {

inline const QString ProgramVersionText = QStringLiteral("QX0068 v1.80");

// "Dunmere (QX0068 v1.80)", or with the customer's name in the Brix edition.
[[nodiscard]] QString MainWindowCaption(bool brixEdition);

// Type: 0 standard, 1 Brix. Anything else is taken as 0 and "0" written back.
[[nodiscard]] int ReadEditionType(const QString& configPath);

// DisableConfig: a non-zero number.
[[nodiscard]] bool ReadDisableConfig(const QString& configPath);

// Fast, medium and slow probe time-outs of the search, in ms.
inline constexpr int SearchSpeedFastMs = 400;
inline constexpr int SearchSpeedMediumMs = 1000;
inline constexpr int SearchSpeedSlowMs = 2000;

// SearchSpeed: any positive number of ms is used as it stands; a missing, non-numeric or
// non-positive value would make every probe time out at once, so it gives the medium speed
// (not written back).
[[nodiscard]] int ReadSearchSpeed(const QString& configPath);

enum class LastTransport { None, Serial, Tcp };
// LastComms: "COM" or "IP"; anything else opens nothing from it.
[[nodiscard]] LastTransport ReadLastComms(const QString& configPath);

// Port: 1 to 16 as written (every port the probe offers survives a restart); empty writes
// "1" back; anything else is port 1.
inline constexpr int HighestPortNumber = 16;
[[nodiscard]] int ReadPortSetting(const QString& configPath);

}  // namespace dunmere
