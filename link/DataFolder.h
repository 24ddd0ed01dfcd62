#pragma once
// Where the program keeps config.ini, the databases, the help files and the debug log.

#include <QString>

namespace dunmere {

// $ALLUSERSPROFILE/Quelmar/Dunmere/ when that variable is set, else the user's generic data
// location + /Quelmar/Dunmere/. Always ends with a slash; not created here.
[[nodiscard]] QString DataFolder();

// DataFolder() + "config.ini".
[[nodiscard]] QString ConfigFilePath();

// The user's documents folder + "/Dunmere", where configuration files are saved by default;
// created when missing (a failure shows up when a file is written there).
[[nodiscard]] QString DocumentsFolder();

}  // namespace dunmere
