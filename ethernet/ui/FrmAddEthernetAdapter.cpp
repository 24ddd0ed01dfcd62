#include "FrmAddEthernetAdapter.h"

#include "AdapterDatabaseError.h"

#include "ethernet/EthernetAdapter.h"
#include "ethernet/EthernetFunctions.h"
#include "link/DebugLog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dunmere {

FrmAddEthernetAdapter::FrmAddEthernetAdapter(const EthernetContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      ctx_(context),
      lblIPAddress_(new QLabel(context.tr("LangRemoteIPAddress"), this)),
      lblRemotePort_(new QLabel(context.tr("LangRemotePort"), this)),
      tbIPAddress_(new QLineEdit(this)),
      tbPort_(new QLineEdit(this)),
      btnOK_(new QPushButton(context.tr("LangOK"), this)),
      btnCancel_(new QPushButton(context.tr("LangCancel"), this))
{
    setObjectName(QStringLiteral("frmAddEthernetAdapter"));
    setWindowTitle(context.tr("LangAddEthernetAdapter"));
    lblIPAddress_->setObjectName(QStringLiteral("lblIPAddress"));
    lblRemotePort_->setObjectName(QStringLiteral("lblRemotePort"));
    tbIPAddress_->setObjectName(QStringLiteral("tbIPAddress"));
    tbPort_->setObjectName(QStringLiteral("tbPort"));
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    tbIPAddress_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000.000.000.000")) + 16);
    btnOK_->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblIPAddress_, 0, 0);
    grid->addWidget(tbIPAddress_, 0, 1);
    grid->addWidget(lblRemotePort_, 1, 0);
    grid->addWidget(tbPort_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOK_, &QPushButton::clicked, this, &FrmAddEthernetAdapter::onOk);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmAddEthernetAdapter::onOk()
{
    const QString address = tbIPAddress_->text().trimmed();
    const auto port = ParseAdapterPort(tbPort_->text());
    if (!IsDottedAddress(address) || !port) {
        ctx_.message("LangIncorrectIPAddressFormat");
        return;
    }
    // The list changes only once the store has it: a failed write leaves both as they were.
    EthernetAdapters changed = ctx_.list;
    changed.Add(false, -1, *port, address, address, QStringLiteral("0.0.0.0"), AdapterKey(address, *port));
    QString error;
    if (!changed.SaveToDB(ctx_.databasePath, &error)) {
        DebugLog(QStringLiteral("Saving the adapter list failed: ") + error, 10);
        ShowAdapterDatabaseError(this, error, ctx_.closing);
        return;
    }
    if (!ctx_.list.LoadFromDB(ctx_.databasePath, &error)) {
        ctx_.list = changed;
        ShowAdapterDatabaseError(this, error, ctx_.closing);
    }
    accept();
}

}  // namespace dunmere
