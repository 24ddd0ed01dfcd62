#pragma once
// The Sensor page's controls: sixteen address boxes, six display rows, the search button, the
// two value lists, the transport label and the trend button. The page shows what it is told
// and reports what the user does; the search, the rows' bookkeeping and the readings live in
// the sensor model.

#include <QFont>
#include <QPalette>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dunmere {

class SensorPage final : public QWidget {
    Q_OBJECT
public:
    static constexpr int AddressCount = 16;
    static constexpr int RowCount = 6;

    struct Row {
        QGroupBox* FrameSensor;
        QRadioButton* OptSensor;
        QComboBox* ListAddress;
        QLineEdit* TextName;
        QPushButton* CmdAddrOK;
        QLabel* LblReading;
        QLabel* LblTemp;
    };

    explicit SensorPage(QWidget* parent = nullptr);
    SensorPage(const SensorPage&) = delete;
    SensorPage& operator=(const SensorPage&) = delete;

    [[nodiscard]] QCheckBox* CheckAddr(int box) const { return checkAddr_.at(box); }
    [[nodiscard]] const Row& row(int r) const { return rows_.at(r); }
    [[nodiscard]] QPushButton* CmdSearch() const { return cmdSearch_; }
    [[nodiscard]] QPushButton* CmdTrend() const { return cmdTrend_; }
    [[nodiscard]] QComboBox* ListValue() const { return listValue_; }
    [[nodiscard]] QComboBox* ListTemp() const { return listTemp_; }
    [[nodiscard]] QLabel* lblConnectedVia() const { return lblConnectedVia_; }

    // Draws row r as the selected one (red, bold, "X") or as a plain one.
    void SelectSensorBox(int r, bool selected);

    // Items "1" to "16" in every address list, each showing "1" afterwards.
    void fillAddressLists();

signals:
    void checkBoxClicked(int box, bool ticked);
    void rowOptionClicked(int r);
    void addressOkClicked(int r);
    void searchClicked();
    void trendClicked();
    void valueListChosen(int index);
    void tempListChosen(int index);

private:
    void buildAddressBoxes();
    void buildRows();
    void buildFoot();

    QFont plainFont_;
    QPalette plainPalette_;
    std::array<QCheckBox*, AddressCount> checkAddr_{};
    std::array<Row, RowCount> rows_{};
    QPushButton* cmdSearch_ = nullptr;
    QPushButton* cmdTrend_ = nullptr;
    QComboBox* listValue_ = nullptr;
    QComboBox* listTemp_ = nullptr;
    QLabel* lblConnectedVia_ = nullptr;
};

}  // namespace dunmere
