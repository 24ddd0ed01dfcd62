#pragma once
// The file dialogs as the user meets them: the system's open dialog over the main window.

#include "link/FileDialogs.h"

#include <QObject>

class QWidget;

namespace dunmere {

class SystemFileDialogs final : public QObject, public FileDialogs {
    Q_OBJECT
public:
    explicit SystemFileDialogs(QWidget* window);
    [[nodiscard]] QString openFile(const QString& filter, const QString& startFolder) override;

private:
    QWidget* window_;
};

}  // namespace dunmere
