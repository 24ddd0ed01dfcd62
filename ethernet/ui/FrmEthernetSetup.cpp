#include "FrmEthernetSetup.h"

#include "link/DebugLog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dunmere {

FrmEthernetSetup::FrmEthernetSetup(const EthernetContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      ctx_(context),
      setup_(socket_, context.host.adapterInUse()),
      frCurrentSettings_(new QGroupBox(context.tr("LangExistingSettings"), this)),
      FrNewSettings_(new QGroupBox(context.tr("LangNewSettings"), this)),
      pbSet_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("frmEthernetSetup"));
    setWindowTitle(context.tr("LangEthernetTCPIPSetup"));
    setup_.setMessages(context.messages, &context.texts, &context.closing);
    frCurrentSettings_->setObjectName(QStringLiteral("frCurrentSettings"));
    FrNewSettings_->setObjectName(QStringLiteral("FrNewSettings"));

    // Existing settings
    lblDHCPSetting_ = label("lblDHCPSetting");
    lblCurrentIP_ = label("lblCurrentIP");
    lblCurrentPort_ = label("lblCurrentPort");
    lblCurrentGateway_ = label("lblCurrentGateway");
    auto* current = new QGridLayout(frCurrentSettings_);
    current->addWidget(lblDHCPSetting_, 0, 0, 1, 2);
    current->addWidget(label("lblCurrentIPLabel", context.tr("LangIPAddress")), 1, 0);
    current->addWidget(lblCurrentIP_, 1, 1);
    current->addWidget(label("lblCurrentPortLabel", context.tr("LangPortNumber")), 2, 0);
    current->addWidget(lblCurrentPort_, 2, 1);
    current->addWidget(label("lblCurrentGatewayLabel", context.tr("LangGateway")), 3, 0);
    current->addWidget(lblCurrentGateway_, 3, 1);
    current->setColumnStretch(1, 1);

    // New settings
    rbDHCP_ = new QRadioButton(context.tr("LangAutoIPAddress"), FrNewSettings_);
    rbFixedIP_ = new QRadioButton(context.tr("LangFixedIPAddress"), FrNewSettings_);
    tbFixedIPAddress_ = new QLineEdit(FrNewSettings_);
    lblPortNumber_ = label("lblPortNumber", context.tr("LangPortNumber"));
    tbPortNumber_ = new QLineEdit(FrNewSettings_);
    lblGateway_ = label("lblGateway", context.tr("LangGateway"));
    tbGateway_ = new QLineEdit(FrNewSettings_);
    btnSet_ = new QPushButton(context.tr("LangWrite"), FrNewSettings_);
    rbDHCP_->setObjectName(QStringLiteral("rbDHCP"));
    rbFixedIP_->setObjectName(QStringLiteral("rbFixedIP"));
    tbFixedIPAddress_->setObjectName(QStringLiteral("tbFixedIPAddress"));
    tbPortNumber_->setObjectName(QStringLiteral("tbPortNumber"));
    tbGateway_->setObjectName(QStringLiteral("tbGateway"));
    btnSet_->setObjectName(QStringLiteral("btnSet"));
    tbFixedIPAddress_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000.000.000.000")) + 16);
    auto* fresh = new QGridLayout(FrNewSettings_);
    fresh->addWidget(rbDHCP_, 0, 0, 1, 2);
    fresh->addWidget(rbFixedIP_, 1, 0);
    fresh->addWidget(tbFixedIPAddress_, 1, 1);
    fresh->addWidget(lblPortNumber_, 2, 0);
    fresh->addWidget(tbPortNumber_, 2, 1);
    fresh->addWidget(lblGateway_, 3, 0);
    fresh->addWidget(tbGateway_, 3, 1);
    fresh->addWidget(btnSet_, 4, 1, Qt::AlignRight);

    pbSet_->setObjectName(QStringLiteral("pbSet"));
    pbSet_->setRange(0, 100);
    pbSet_->setTextVisible(false);
    // Hidden, yet keeping its room, so the window does not change size while it shows.
    QSizePolicy keep = pbSet_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    pbSet_->setSizePolicy(keep);
    pbSet_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frCurrentSettings_);
    layout->addWidget(FrNewSettings_);
    layout->addWidget(pbSet_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    rbDHCP_->setEnabled(false);
    rbFixedIP_->setEnabled(false);
    btnSet_->setEnabled(false);
    connect(rbDHCP_, &QRadioButton::clicked, this, &FrmEthernetSetup::onDhcp);
    connect(rbFixedIP_, &QRadioButton::clicked, this, &FrmEthernetSetup::onFixed);
    connect(btnSet_, &QPushButton::clicked, this, &FrmEthernetSetup::onSet);
}

QLabel* FrmEthernetSetup::label(const char* name, const QString& text)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

void FrmEthernetSetup::load()
{
    setup_.ConfigReadFailed = false;
    if (setup_.GetCurrentConfiguration()) {
        // Choosing the option is what a click on it does: the fixed mode fills its boxes.
        (setup_.DhcpMode ? rbDHCP_ : rbFixedIP_)->setChecked(true);
        showRead();
        if (setup_.DhcpMode)
            onDhcp();
        else
            onFixed();
    } else {
        FrNewSettings_->setEnabled(false);
        setupIdle_ = true;
    }
}

void FrmEthernetSetup::showRead()
{
    lblDHCPSetting_->setText(ctx_.tr(setup_.DhcpMode ? "LangAutoIPAddress" : "LangFixedIPAddress"));
}

void FrmEthernetSetup::ShowCurrentSettings()
{
    lblCurrentIP_->setText(setup_.AdapterAddress);
    lblCurrentPort_->setText(QString::number(setup_.CurrentPort));
    lblCurrentGateway_->setText(setup_.CurrentGateway);
    const bool fixed = !setup_.DhcpMode;
    tbFixedIPAddress_->setEnabled(fixed);
    tbGateway_->setEnabled(fixed);
    lblGateway_->setEnabled(fixed);
    for (QWidget* w : std::initializer_list<QWidget*>{lblPortNumber_, tbPortNumber_, rbFixedIP_, rbDHCP_, btnSet_})
        w->setEnabled(true);
    setupIdle_ = true;
}

void FrmEthernetSetup::onDhcp()
{
    setup_.DhcpMode = true;
    ShowCurrentSettings();
}

void FrmEthernetSetup::onFixed()
{
    setup_.DhcpMode = false;
    if (tbFixedIPAddress_->text().isEmpty())
        tbFixedIPAddress_->setText(setup_.AdapterAddress);
    if (tbPortNumber_->text().isEmpty())
        tbPortNumber_->setText(QString::number(setup_.CurrentPort));
    if (tbGateway_->text().isEmpty())
        tbGateway_->setText(setup_.CurrentGateway);
    ShowCurrentSettings();
}

void FrmEthernetSetup::onSet()
{
    FrNewSettings_->setEnabled(false);
    setupIdle_ = false;
    const bool automatic = rbDHCP_->isChecked();
    const NewAdapterSettings input{automatic, tbFixedIPAddress_->text().trimmed(), tbGateway_->text().trimmed(),
                                   tbPortNumber_->text()};
    const AdapterSetup::WriteResult result = setup_.write(input, [this](int percent) {
        if (!pbSet_->isVisible())
            pbSet_->show();
        pbSet_->setValue(percent);
    });
    pbSet_->hide();
    switch (result) {
    case AdapterSetup::WriteResult::InputRefused:
    case AdapterSetup::WriteResult::CannotRead:
        FrNewSettings_->setEnabled(true);
        ShowCurrentSettings();
        return;
    case AdapterSetup::WriteResult::Failed:
        // Until the window is opened again: what the adapter holds now is not known.
        setupIdle_ = true;
        return;
    case AdapterSetup::WriteResult::Written:
        break;
    }
    if (automatic) {
        DebugLog(QStringLiteral("Adapter ") + setup_.AdapterAddress + QStringLiteral(" set to automatic addressing"), 15);
        setupIdle_ = true;
        searchWanted_ = true;
        accept();
        return;
    }
    fixedAddressWritten(quint16(tbPortNumber_->text().trimmed().toUInt()));
}

void FrmEthernetSetup::fixedAddressWritten(quint16 writtenPort)
{
    setup_.moveTo(tbFixedIPAddress_->text().trimmed());
    // Should the adapter not answer at its new address, its entry still gets the port it was
    // given, not the one it had.
    setup_.CurrentPort = writtenPort;
    if (setup_.GetCurrentConfiguration())
        showRead();
    FrNewSettings_->setEnabled(true);
    ShowCurrentSettings();
    QString error;
    const int position = ReplaceAdapterEntry(ctx_.list, ctx_.host.currentAdapter(), setup_.AdapterAddress,
                                             setup_.CurrentPort, setup_.localAddress, ctx_.databasePath, &error);
    if (position == 0)
        DebugLog(QStringLiteral("Saving the adapter list failed: ") + error, 10);
    ctx_.host.rebuildMenus();
    if (position != 0)
        ctx_.host.connectToAdapter(position);
    ShowCurrentSettings();
}

void FrmEthernetSetup::closeEvent(QCloseEvent* event)
{
    // The adapter is taking over its new settings: the window stays until it has.
    if (!setupIdle_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void FrmEthernetSetup::reject()
{
    if (setupIdle_)
        QDialog::reject();
}

}  // namespace dunmere
