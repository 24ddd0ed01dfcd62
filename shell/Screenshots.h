#pragma once
// --screenshot: pictures of the main window on each page and of the other windows, for a
// machine without a display and for the documentation.

#include <QString>
#include <QStringList>

class QWidget;

namespace dunmere {

class FrmMain;

class Screenshots {
public:
    explicit Screenshots(const QString& folder);

    // Writes the window as folder/name.png; false when the file could not be written.
    bool write(QWidget& window, const QString& name);
    // Each page of MainTab in turn, then the help window, the data window after some seconds
    // of trend and the resonator window; the main window is left on the page it showed.
    void writeMainWindow(FrmMain& main);
    // The moisture calibration window on a store of its own with a few points (the user's
    // calibrations stay as they are), and its calculator.
    void writeCalibrationWindows(FrmMain& main);

    [[nodiscard]] const QStringList& written() const { return written_; }
    [[nodiscard]] const QStringList& failed() const { return failed_; }

private:
    void writeDataWindow(FrmMain& main);
    void writeResonatorWindow(FrmMain& main);

    QString folder_;
    QStringList written_;
    QStringList failed_;
};

}  // namespace dunmere
