#pragma once
// The seam behind the file dialogs: procedures ask for a file through it, the windows answer
// with the system's dialog and tests with a prepared name.

#include <QString>

namespace dunmere {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // An existing file to open, chosen under filter (a name and its patterns, such as
    // "Firmware upgrades (*)") starting in startFolder; empty when the user cancelled.
    [[nodiscard]] virtual QString openFile(const QString& filter, const QString& startFolder) = 0;
};

}  // namespace dunmere
