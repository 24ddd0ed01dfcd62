#include "FrmEditEthernetAdapters.h"

#include "FrmIPSearchActive.h"

#include "ethernet/AdapterDiscovery.h"
#include "ethernet/EthernetAdapter.h"
#include "link/DebugLog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dunmere {

FrmEditEthernetAdapters::FrmEditEthernetAdapters(const EthernetContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ctx_(context),
      grid_(new QTableWidget(this)),
      delete_(new QPushButton(this)),
      reset_(new QPushButton(this))
{
    setObjectName(QStringLiteral("FrmEditEthernetAdapters"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Edit Ethernet Adapters"));
    grid_->setObjectName(QStringLiteral("grdEAList"));
    delete_->setObjectName(QStringLiteral("cmdDeleteEA"));
    reset_->setObjectName(QStringLiteral("cmdResetIP"));
    grid_->setColumnCount(4);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setStretchLastSection(true);
    delete_->setEnabled(false);
    reset_->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(delete_);
    buttons->addWidget(reset_);
    buttons->addStretch();
    layout->addLayout(buttons);

    applyTexts();
    resize(560, 300);
    CentreOver(*this, context.host.mainWindow());
    connect(grid_, &QTableWidget::itemSelectionChanged, this, &FrmEditEthernetAdapters::onSelectionChanged);
    connect(delete_, &QPushButton::clicked, this, &FrmEditEthernetAdapters::onDelete);
    connect(reset_, &QPushButton::clicked, this, &FrmEditEthernetAdapters::onReset);
    FillAdapterGrid();
}

FrmEditEthernetAdapters::~FrmEditEthernetAdapters() = default;

void FrmEditEthernetAdapters::applyTexts()
{
    delete_->setText(ctx_.tr("LangDelete") + QLatin1Char(' ') + ctx_.tr("LangEthernetAdapter"));
    reset_->setText(ctx_.tr("Langreset") + QLatin1Char(' ') + ctx_.tr("LangEthernetAdapter"));
    grid_->setHorizontalHeaderLabels(
        {ctx_.tr("LangIPAddress"), ctx_.tr("LangPortNumber"), ctx_.tr("LangLocalIP"), ctx_.tr("LangType")});
}

bool FrmEditEthernetAdapters::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FillAdapterGrid();
    return QWidget::event(event);
}

void FrmEditEthernetAdapters::FillAdapterGrid()
{
    grid_->clearSelection();
    grid_->setRowCount(0);
    grid_->setRowCount(ctx_.list.Count());
    int row = 0;
    for (const EthernetAdapter& adapter : ctx_.list) {
        const QString cells[] = {adapter.strIPAddress, QString::number(adapter.lPortNumber), adapter.strLocalIPAddress,
                                 ctx_.tr(adapter.bAutomaticallyFound ? "LangAutomatic" : "LangManual")};
        for (int column = 0; column < 4; ++column)
            grid_->setItem(row, column, new QTableWidgetItem(cells[column]));
        ++row;
    }
    grid_->resizeColumnsToContents();
    onSelectionChanged();
}

int FrmEditEthernetAdapters::selectedRow() const
{
    const QList<QTableWidgetItem*> selected = grid_->selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->row() + 1;
}

void FrmEditEthernetAdapters::onSelectionChanged()
{
    const bool any = selectedRow() != 0;
    delete_->setEnabled(any);
    reset_->setEnabled(any);
}

bool FrmEditEthernetAdapters::ask(const char* key, int row)
{
    if (!ctx_.messages || ctx_.closing)
        return false;
    const QString address = grid_->item(row - 1, 0)->text();
    return ctx_.messages->show(ctx_.tr(key) + QLatin1Char(' ') + address + QLatin1Char('?'), MessageButtons::YesNo);
}

void FrmEditEthernetAdapters::onDelete()
{
    const int row = selectedRow();
    if (row == 0)
        return;
    if (ask("LangDoYouWishToDeleteAdapter", row))
        ctx_.list.Remove(row);
    FillAdapterGrid();
}

void FrmEditEthernetAdapters::onReset()
{
    const int row = selectedRow();
    if (row == 0)
        return;
    if (ask("LangDoYouWishToResetAdapter", row)) {
        const QString address = grid_->item(row - 1, 0)->text();
        AdapterDiscovery discovery(ctx_.searchSocket, ctx_.list, ctx_.databasePath);
        discovery.setMessages(ctx_.messages, &ctx_.texts, &ctx_.closing);
        const QString mac = discovery.QueryAdapterMac(address);
        if (!mac.isEmpty()) {
            DebugLog(QStringLiteral("Resetting the address of ") + address + QStringLiteral(", hardware address ") + mac, 15);
            discovery.ResetAdapterAddress(mac);
            ctx_.list.Remove(row);
            FrmIPSearchActive::run(ctx_, this);
        }
    }
    FillAdapterGrid();
}

void FrmEditEthernetAdapters::closeEvent(QCloseEvent* event)
{
    if (!unloaded_) {
        unloaded_ = true;
        QString error;
        if (!ctx_.list.SaveToDB(ctx_.databasePath, &error))
            DebugLog(QStringLiteral("Saving the adapter list failed: ") + error, 10);
        ctx_.host.adapterListClosed();
    }
    event->accept();
}

}  // namespace dunmere
