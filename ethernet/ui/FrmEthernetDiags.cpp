#include "FrmEthernetDiags.h"

#include "link/DebugLog.h"
#include "link/Link.h"
#include "link/Messages.h"
#include "link/TransportSwitch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace dunmere {

namespace {

enum Row { ConnectionTime, LastRtt, MaxRtt, Timeouts, AverageRtt };
const char* const rowNames[] = {"lblConnectionTime", "lblLastRTT", "lblMaxRTT", "lblTimeouts", "lblAverageRTT"};
const char* const rowKeys[] = {"LangConnectionTime", "LangLastRTT", "LangMaximumRTT", "LangTimeouts", "LangAverageRTT"};

QString ms(qint64 value) { return QString::number(value) + QStringLiteral(" ms"); }

}  // namespace

FrmEthernetDiags::FrmEthernetDiags(const Link& link, const TransportState& transport, const TextSource& texts,
                                   QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      link_(link),
      transport_(transport),
      texts_(texts),
      keepOnTop_(new QCheckBox(this)),
      frameAdapter_(new QGroupBox(this)),
      frameDiagnostics_(new QGroupBox(this))
{
    DebugLog(QStringLiteral("Ethernet Diagnostics Form Loaded"), 15);
    setObjectName(QStringLiteral("FrmEthernetDiags"));
    keepOnTop_->setObjectName(QStringLiteral("chkAlwaysOnTop"));
    frameAdapter_->setObjectName(QStringLiteral("FrameEthernetAdapter"));
    frameDiagnostics_->setObjectName(QStringLiteral("FrameAdapterDiagnostics"));

    lblEAIPAddressDiag_ = label(QStringLiteral("lblEAIPAddressDiag"));
    lblIPAddressDiag_ = label(QStringLiteral("lblIPAddressDiag"));
    lblEAPortNumDiag_ = label(QStringLiteral("lblEAPortNumDiag"));
    lblPortNumDiag_ = label(QStringLiteral("lblPortNumDiag"));
    lblEALocalIPAddressDiag_ = label(QStringLiteral("lblEALocalIPAddressDiag"));
    lblLocalIPAddressDiag_ = label(QStringLiteral("lblLocalIPAddressDiag"));
    auto* adapter = new QGridLayout(frameAdapter_);
    adapter->addWidget(lblEAIPAddressDiag_, 0, 0);
    adapter->addWidget(lblIPAddressDiag_, 0, 1);
    adapter->addWidget(lblEAPortNumDiag_, 1, 0);
    adapter->addWidget(lblPortNumDiag_, 1, 1);
    adapter->addWidget(lblEALocalIPAddressDiag_, 2, 0);
    adapter->addWidget(lblLocalIPAddressDiag_, 2, 1);
    adapter->setColumnStretch(1, 1);

    auto* diagnostics = new QGridLayout(frameDiagnostics_);
    for (int r = 0; r < int(rows_.size()); ++r) {
        for (int i = 0; i < 2; ++i) {
            rows_[r][i] = label(QStringLiteral("%1_%2").arg(QLatin1String(rowNames[r])).arg(i));
            diagnostics->addWidget(rows_[r][i], r, i);
        }
        rows_[r][1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    diagnostics->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(keepOnTop_);
    layout->addWidget(frameAdapter_);
    layout->addWidget(frameDiagnostics_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Room for the longest address without the window changing size as values come in.
    lblIPAddressDiag_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")) + 8);

    applyTexts();
    UpdateData();
    connect(keepOnTop_, &QCheckBox::toggled, this, &FrmEthernetDiags::keepOnTop);
    connect(&link_, &Link::roundTripMeasured, this, &FrmEthernetDiags::onRoundTrip);
}

FrmEthernetDiags::~FrmEthernetDiags() { DebugLog(QStringLiteral("Ethernet Diagnostics Form Unloaded"), 15); }

QLabel* FrmEthernetDiags::label(const QString& name)
{
    auto* l = new QLabel(this);
    l->setObjectName(name);
    return l;
}

void FrmEthernetDiags::applyTexts()
{
    auto t = [this](const char* key) { return texts_.text(QString::fromLatin1(key)); };
    const QString title = t("LangEthernetAdapter") + QLatin1Char(' ') + t("LangDiagnostics");
    setWindowTitle(title);
    keepOnTop_->setText(t("LangKeepOnTop"));
    frameAdapter_->setTitle(t("LangEthernetAdapterSettings"));
    frameDiagnostics_->setTitle(title);
    lblEAIPAddressDiag_->setText(t("LangIPAddress"));
    lblEAPortNumDiag_->setText(t("LangPortNumber"));
    lblEALocalIPAddressDiag_->setText(t("LangLocalIP"));
    for (int r = 0; r < int(rows_.size()); ++r)
        rows_[r][0]->setText(t(rowKeys[r]));
}

void FrmEthernetDiags::UpdateData()
{
    const LinkState& s = link_.state();
    lblIPAddressDiag_->setText(transport_.RemoteHostText);
    lblPortNumDiag_->setText(QString::number(transport_.RemotePortValue));
    lblLocalIPAddressDiag_->setText(transport_.LocalIPText);
    rows_[ConnectionTime][1]->setText(ms(s.ConnectTime));
    rows_[LastRtt][1]->setText(ms(s.LastRTT));
    rows_[MaxRtt][1]->setText(ms(s.MaxRTT));
    rows_[Timeouts][1]->setText(QString::number(s.NetTimeouts));
    rows_[AverageRtt][1]->setText(ms(s.AverageRTT));
}

void FrmEthernetDiags::onRoundTrip()
{
    if (!link_.state().ProgramClosing)
        UpdateData();
}

void FrmEthernetDiags::keepOnTop(bool on)
{
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        show();
}

}  // namespace dunmere
