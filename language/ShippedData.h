#pragma once
// The texts that come with the program (config.ini and the help files) and the first-run
// copy of them into the data folder.

#include <QString>
#include <QStringList>

namespace dunmere {

// Where the shipped config.ini and help/ are: the source tree's data/ for a program run from
// the build tree, else the installed share/dunmere beside the program's prefix, else the
// configured install location.
[[nodiscard]] QString ShippedDataFolder();

// When DataFolder() holds no config.ini: creates the folder and copies in the shipped
// config.ini and every help/*.txt. An existing file is never replaced; each copy lands under
// its name only when complete. Returns the names of the files copied.
QStringList SeedDataFolder(const QString& shippedDataDir);

}  // namespace dunmere
