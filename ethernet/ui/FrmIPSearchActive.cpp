#include "FrmIPSearchActive.h"

#include "ethernet/AdapterSocket.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dunmere {

FrmIPSearchActive::FrmIPSearchActive(const EthernetContext& context, QWidget* listWindow)
    : QDialog(context.host.mainWindow(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ctx_(context),
      listWindow_(listWindow),
      messagelabel_(new QLabel(this)),
      messagelabel2_(new QLabel(this)),
      messagebutton_(new QPushButton(this))
{
    setObjectName(QStringLiteral("FrmIPSearchActive"));
    setWindowTitle(QStringLiteral("Searching Networks"));
    messagelabel_->setObjectName(QStringLiteral("messagelabel"));
    messagelabel2_->setObjectName(QStringLiteral("messagelabel2"));
    messagebutton_->setObjectName(QStringLiteral("messagebutton"));
    messagelabel_->setWordWrap(true);
    messagelabel_->setMinimumWidth(360);
    // Room for the longest address line, so the label does not grow the window as it changes.
    messagelabel2_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Checking IP Address 255.255.255.255")) + 8);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(messagelabel_);
    layout->addWidget(messagelabel2_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(messagebutton_);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(messagebutton_, &QPushButton::clicked, this, [this] { bButtonPressed = true; });
}

void FrmIPSearchActive::searchStarted()
{
    messagelabel_->setText(ctx_.tr("LangEthernetSearchPleaseWait"));
    messagebutton_->setText(ctx_.tr("LangCancel"));
    QWidget* main = ctx_.host.mainWindow();
    CentreOver(*this, main);
    show();
    if (main)
        main->hide();
    if (listWindow_)
        listWindow_->hide();
    QCoreApplication::processEvents();
}

void FrmIPSearchActive::checkingAddress(const QString& line) { messagelabel2_->setText(line); }

void FrmIPSearchActive::searchEnded()
{
    if (QWidget* main = ctx_.host.mainWindow())
        main->show();
    if (listWindow_)
        listWindow_->show();
    hide();
}

void FrmIPSearchActive::closeEvent(QCloseEvent* event)
{
    // The close box cancels, as the button does; the search closes the window when it ends.
    bButtonPressed = true;
    event->ignore();
}

SearchOutcome FrmIPSearchActive::run(const EthernetContext& context, QWidget* listWindow)
{
    FrmIPSearchActive window(context, listWindow);
    AdapterDiscovery discovery(context.searchSocket, context.list, context.databasePath);
    discovery.setReport(&window);
    discovery.setMessages(context.messages, &context.texts, &context.closing);
    return discovery.SearchAdapters();
}

}  // namespace dunmere
