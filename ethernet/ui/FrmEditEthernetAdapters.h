#pragma once
// The adapter list: a grid of the known adapters, deleting one, and resetting one's address
// (the adapter is asked for its hardware address, told to take an automatic address, and
// found again by a search). Closing writes the list to the store and has the main window
// rebuild its menus and reconnect.

#include "EthernetContext.h"

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace dunmere {

class FrmEditEthernetAdapters final : public QWidget {
    Q_OBJECT
public:
    FrmEditEthernetAdapters(const EthernetContext& context, QWidget* parent);
    ~FrmEditEthernetAdapters() override;

    void FillAdapterGrid();

    [[nodiscard]] QTableWidget* grdEAList() const { return grid_; }
    [[nodiscard]] QPushButton* cmdDeleteEA() const { return delete_; }
    [[nodiscard]] QPushButton* cmdResetIP() const { return reset_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyTexts();
    [[nodiscard]] int selectedRow() const;  // 1-based; 0 for none
    void onSelectionChanged();
    [[nodiscard]] bool ask(const char* key, int row);
    void onDelete();
    void onReset();

    const EthernetContext& ctx_;
    QTableWidget* grid_;
    QPushButton* delete_;
    QPushButton* reset_;
    bool unloaded_ = false;
};

}  // namespace dunmere
