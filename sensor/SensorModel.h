#pragma once
// What the Sensor page shows, kept in core: the sensor table, the sixteen address boxes, the
// six display rows and which of them is selected. The page mirrors this state and reports the
// user's clicks back; every rule about rows lives here.

#include "SensorRecord.h"

#include <QString>
#include <QtGlobal>
#include <array>

namespace dunmere {

// How the model tells the page (and the pages beyond it) what changed. Every method has an
// empty default so a program without windows overrides only what it needs.
class SensorPageReport {
public:
    virtual ~SensorPageReport() = default;
    // A box's ticked or enabled state changed; the page mirrors it without raising a click.
    virtual void boxChanged(int box) { Q_UNUSED(box); }
    // A row's address item, caption, name, readings, visibility or selection changed (the
    // page draws a row whose option is set as the selected one).
    virtual void rowChanged(int row) { Q_UNUSED(row); }
    // The first row was filled: show CmdTrend, ListValue and ListTemp and enable pages 1-3.
    // The last row was emptied: hide them and disable pages 1 and 2.
    virtual void rowsInUse(bool any) { Q_UNUSED(any); }
    // The selected sensor changed or moved: adapt the pages to its type.
    virtual void adaptPages() {}
    // A search began: hourglass pointer, pages 1-3 disabled.
    virtual void searchStarted() {}
    // The search is about to ask this address (1-16), so a user sees it move on.
    virtual void searchProbing(int address) { Q_UNUSED(address); }
    // The search found a sensor: enable the buttons that need one.
    virtual void sensorsFound() {}
    // The search found none: show the demonstration values.
    virtual void demonstrationMode() {}
    // The search is over (also when it was cut short): normal pointer.
    virtual void searchFinished() {}
};

class SensorModel {
public:
    static constexpr int BoxCount = 16;
    static constexpr int RowCount = 6;
    static constexpr int NoAddress = -1;
    // ListAddress item shown by an empty row: "16".
    static constexpr int LastListItem = 15;

    struct AddressBox {
        bool ticked = false;
        bool enabled = true;
    };
    struct DisplayRow {
        QString caption;               // FrameSensor: the sensor's Identity
        int listItem = LastListItem;   // ListAddress item: address - 1
        QString name;                  // TextName
        QString reading;               // LblReading
        QString temp;                  // LblTemp
        bool frameVisible = false;
        bool optionVisible = false;
        bool optionSet = false;        // OptSensor's value: the row drawn as selected
    };

    SensorRecords SensorTable{};
    int CurrentAddress = 1;
    bool NoSensorFound = false;
    bool AutoCalSeen = false;
    // A transport switch overtakes a running search: set by every serial switch and
    // automatic TCP connect; the search stops when it sees both set.
    bool TransportChanged = false;
    bool SearchComplete = false;

    SensorModel();

    void setReport(SensorPageReport* report) { report_ = report; }
    [[nodiscard]] SensorPageReport* report() const { return report_; }

    [[nodiscard]] const AddressBox& box(int box) const { return boxes_.at(box); }
    [[nodiscard]] const DisplayRow& row(int r) const { return rows_.at(r); }
    // SensorRows[r]: the bus address shown in row r, or -1. Entry 6 is always -1.
    [[nodiscard]] int SensorRows(int r) const { return sensorRows_.at(r); }
    [[nodiscard]] int SensorRowCount() const { return rowCount_; }
    [[nodiscard]] int SelectedRow() const { return selectedRow_; }
    // SensorRows[SelectedRow]; -1 when that row is empty.
    [[nodiscard]] int selectedAddress() const { return sensorRows_.at(selectedRow_); }
    [[nodiscard]] const SensorRecord& selectedRecord() const;
    // The row showing the address, or -1.
    [[nodiscard]] int rowOf(int address) const;

    // Empties every row, clears the table and enables and unticks every box.
    void RemoveSensorInfo();
    // The check box handler, for a click on box k (address k + 1) that left it ticked or not.
    void CheckBoxClicked(int box, bool ticked);
    // Sets a box without running the handler (the program's own change).
    void setBox(int box, bool ticked, bool enabled);
    // The row's option button was clicked: select it (redrawn only when it changes) and adapt
    // the pages to it in any case.
    void SelectRow(int r);
    // Marks row r as selected without adapting the pages (the search does that itself).
    void drawSelection(int r);

    // What the user typed or picked in a row, collected by the page.
    void setRowName(int r, const QString& name);
    void setRowListItem(int r, int item);
    void setReadings(int r, const QString& reading, const QString& temp);

    // The fixed row 0 of demonstration mode.
    void ShowDemonstrationRow();

    // The address change bookkeeping: row r now shows newAddress; the record moves from
    // oldAddress with the new name, and the boxes follow.
    void moveRecord(int r, int oldAddress, int newAddress, const QString& name);

private:
    void fillRow(int r, int address);
    void clearRow(int r);
    void addRow(int box);
    void removeRow(int address);
    void changedRow(int r);
    void changedBox(int box);

    std::array<AddressBox, BoxCount> boxes_{};
    std::array<DisplayRow, RowCount> rows_{};
    std::array<int, RowCount + 1> sensorRows_{};
    int rowCount_ = 0;
    int selectedRow_ = 0;
    SensorPageReport* report_ = nullptr;
};

}  // namespace dunmere
