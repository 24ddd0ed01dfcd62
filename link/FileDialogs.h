#pragma once
// The seam through which procedures and windows ask the user for a file, so that tests can
// answer in place of the system's file dialog. Filters are given as "(*.txt)|*.txt": the text
// shown, a bar, the pattern.

#include <QString>

namespace dunmere {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // An existing file chosen in folder; empty when the user cancelled.
    [[nodiscard]] virtual QString openFile(const QString& folder, const QString& filter) = 0;
    // Any name in folder, proposedName filled in; empty when the user cancelled. Whether an
    // existing file may be replaced is the caller's question.
    [[nodiscard]] virtual QString saveFile(const QString& folder, const QString& proposedName, const QString& filter) = 0;
};

}  // namespace dunmere
