#pragma once
// The system's file dialog behind the FileDialogs seam.

#include "link/FileDialogs.h"

class QWidget;

namespace dunmere {

class SystemFileDialogs final : public FileDialogs {
public:
    explicit SystemFileDialogs(QWidget* owner) : owner_(owner) {}
    [[nodiscard]] QString openFile(const QString& folder, const QString& filter) override;
    [[nodiscard]] QString saveFile(const QString& folder, const QString& proposedName, const QString& filter) override;

private:
    QWidget* owner_;
};

}  // namespace dunmere
