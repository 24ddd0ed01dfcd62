#include "SensorModel.h"

namespace dunmere {

SensorModel::SensorModel() { sensorRows_.fill(NoAddress); }

const SensorRecord& SensorModel::selectedRecord() const
{
    static const SensorRecord none;
    const int address = selectedAddress();
    return address >= FirstBusAddress && address <= LastBusAddress ? SensorTable[address] : none;
}

int SensorModel::rowOf(int address) const
{
    for (int r = 0; r < RowCount; ++r)
        if (sensorRows_[r] == address)
            return r;
    return -1;
}

void SensorModel::changedRow(int r)
{
    if (report_)
        report_->rowChanged(r);
}

void SensorModel::changedBox(int box)
{
    if (report_)
        report_->boxChanged(box);
}

void SensorModel::clearRow(int r)
{
    rows_[r] = DisplayRow{};
    sensorRows_[r] = NoAddress;
}

void SensorModel::RemoveSensorInfo()
{
    // Demonstration mode fills row 0 without a sensor behind it.
    for (int r = 0; r < RowCount; ++r) {
        if (sensorRows_[r] != NoAddress || (r == 0 && NoSensorFound)) {
            clearRow(r);
            changedRow(r);
        }
    }
    rowCount_ = 0;
    ClearSensorTable(SensorTable);
    for (int b = 0; b < BoxCount; ++b)
        setBox(b, false, true);
}

void SensorModel::setBox(int box, bool ticked, bool enabled)
{
    boxes_.at(box) = AddressBox{ticked, enabled};
    changedBox(box);
}

void SensorModel::CheckBoxClicked(int box, bool ticked)
{
    if (box < 0 || box >= BoxCount)
        return;
    boxes_[box].ticked = ticked;
    if (ticked)
        addRow(box);
    else
        removeRow(box + 1);
}

void SensorModel::addRow(int box)
{
    const int address = box + 1;
    if (rowCount_ == RowCount) {
        // Six rows are all there is: the seventh box unticks itself.
        setBox(box, false, boxes_[box].enabled);
        return;
    }
    if (rowOf(address) >= 0)
        return;
    const int r = rowOf(NoAddress);
    fillRow(r, address);
    ++rowCount_;
    if (rowCount_ == 1 && report_)
        report_->rowsInUse(true);
}

void SensorModel::fillRow(int r, int address)
{
    const SensorRecord& record = SensorTable[address];
    sensorRows_[r] = address;
    DisplayRow& row = rows_[r];
    row.listItem = address - 1;
    row.name = record.Name;
    row.caption = record.Identity;
    row.frameVisible = true;
    row.optionVisible = true;
    changedRow(r);
}

void SensorModel::removeRow(int address)
{
    const int r = rowOf(address);
    if (r < 0)
        return;
    const int selectedBefore = selectedRow_;
    const bool wasSelected = rows_[r].optionSet;
    clearRow(r);
    if (wasSelected) {
        for (int f = 0; f < RowCount; ++f) {
            if (rows_[f].optionVisible) {
                drawSelection(f);
                break;
            }
        }
    }
    --rowCount_;
    // Later rows move up, the selected row's mark with them; SelectedRow follows it so the
    // operations keep talking to the sensor whose row shows the mark.
    for (int i = r; i < RowCount - 1; ++i) {
        rows_[i] = rows_[i + 1];
        sensorRows_[i] = sensorRows_[i + 1];
    }
    clearRow(RowCount - 1);
    if (selectedRow_ > r)
        --selectedRow_;
    for (int i = r; i < RowCount; ++i)
        changedRow(i);
    if (rowCount_ == 0 && report_)
        report_->rowsInUse(false);
    const bool selectionMoved = selectedRow_ != selectedBefore || wasSelected;
    if (selectionMoved && rowCount_ > 0 && report_)
        report_->adaptPages();
}

void SensorModel::drawSelection(int r)
{
    if (r < 0 || r >= RowCount)
        return;
    if (r != selectedRow_ && rows_[selectedRow_].optionSet) {
        rows_[selectedRow_].optionSet = false;
        changedRow(selectedRow_);
    }
    selectedRow_ = r;
    if (!rows_[r].optionSet) {
        rows_[r].optionSet = true;
        changedRow(r);
    }
}

void SensorModel::SelectRow(int r)
{
    if (r < 0 || r >= RowCount || !rows_[r].optionVisible)
        return;
    drawSelection(r);
    if (report_)
        report_->adaptPages();
}

void SensorModel::setRowName(int r, const QString& name) { rows_.at(r).name = name; }

void SensorModel::setRowListItem(int r, int item)
{
    if (item < 0 || item > LastListItem)
        return;
    rows_.at(r).listItem = item;
    changedRow(r);
}

void SensorModel::setReadings(int r, const QString& reading, const QString& temp)
{
    DisplayRow& row = rows_.at(r);
    row.reading = reading;
    row.temp = temp;
    changedRow(r);
}

void SensorModel::ShowDemonstrationRow()
{
    DisplayRow& row = rows_[0];
    row.listItem = LastListItem;
    row.name = QStringLiteral("DEMO");
    row.reading = QStringLiteral("XX.X");
    row.temp = QStringLiteral("XX.X");
    row.caption = QStringLiteral("DEMO");
    row.frameVisible = true;
    row.optionVisible = true;
    row.optionSet = true;
    selectedRow_ = 0;
    changedRow(0);
}

void SensorModel::moveRecord(int r, int oldAddress, int newAddress, const QString& name)
{
    SensorRecord moved = SensorTable[oldAddress];
    moved.FoundAddress = newAddress;
    moved.Name = name;
    SensorTable[newAddress] = moved;
    SensorTable[oldAddress] = SensorRecord{};
    sensorRows_.at(r) = newAddress;
    rows_[r].listItem = newAddress - 1;
    rows_[r].name = name;
    changedRow(r);
    setBox(oldAddress - 1, false, false);
    setBox(newAddress - 1, true, true);
    // Every operation on the selected sensor must follow it to its new address.
    if (r == selectedRow_ && report_)
        report_->adaptPages();
}

}  // namespace dunmere
