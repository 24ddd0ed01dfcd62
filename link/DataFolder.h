#pragma once
// Where the program keeps config.ini, the databases, the help files and the debug log.

#include <QString>

namespace dunmere {

// $ALLUSERSPROFILE/Quelmar/Dunmere/ when that variable is set, else the user's generic data
// location + /Quelmar/Dunmere/. Always ends with a slash; not created here.
[[nodiscard]] QString DataFolder();

// DataFolder() + "config.ini".
[[nodiscard]] QString ConfigFilePath();

// The configuration folder where the file dialogs start: the user's documents folder +
// "/Dunmere", created when missing. Always ends with a slash.
[[nodiscard]] QString ConfigurationFolder();

}  // namespace dunmere
