#include "FrmResonator.h"

#include "link/Link.h"
#include "link/Messages.h"
#include "link/ValueFormat.h"
#include "shell/core/ExchangeGuard.h"
#include "shell/core/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace dunmere {

namespace {

constexpr int WidthTwips = 12030;
constexpr int HeightTwips = 6075;
constexpr int GraphWidthTwips = 7990;
constexpr int GraphHeightTwips = 4980;
constexpr int RefreshMs = 600;
constexpr int BusyRetryMs = 50;

}  // namespace

SweepView::SweepView(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("SweepView")); }

void SweepView::setPoints(const SweepPoints& points, std::optional<SweepPoints> frozen)
{
    points_ = points;
    frozen_ = std::move(frozen);
    update();
}

void SweepView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.scale(double(width()) / SweepWidth, double(height()) / SweepHeight);
    // GridLine(0...19): ten vertical and ten horizontal white lines at the tenths.
    p.setPen(QPen(Qt::white, 0));
    for (int i = 1; i <= 10; ++i) {
        p.drawLine(QLineF(80.0 * i, 0, 80.0 * i, SweepHeight));
        p.drawLine(QLineF(0, 102.4 * i, SweepWidth, 102.4 * i));
    }
    p.setRenderHint(QPainter::Antialiasing);
    auto curve = [&](const SweepPoints& points, const QColor& colour) {
        p.setPen(QPen(colour, 0));
        for (int i = 2; i <= SweepPointCount; ++i)
            p.drawLine(QPoint(16 * (i - 1), points[i - 2]), QPoint(16 * i, points[i - 1]));
    };
    if (frozen_)
        curve(*frozen_, Qt::darkGray);
    curve(points_, ColourTable()[0]);
}

FrmResonator::FrmResonator(Link& link, const TextSource& texts, ExchangeGuard& guard, ClockTimer& mainTimer, QWidget* parent)
    : QWidget(parent, Qt::Window), link_(link), texts_(texts), guard_(guard), mainTimer_(mainTimer)
{
    setObjectName(QStringLiteral("frmResonator"));
    if (!ColourTable()[0].isValid())
        FillColourTable();
    tmrResonator_.setObjectName(QStringLiteral("tmrResonator"));
    tmrResonator_.setInterval(RefreshMs);
    connect(&tmrResonator_, &ClockTimer::timeout, this, &FrmResonator::refresh);
    resize(Twips(WidthTwips), Twips(HeightTwips));

    sweepView_ = new SweepView(this);
    sweepView_->setGeometry(8, 8, Twips(GraphWidthTwips), Twips(GraphHeightTwips));

    const int left = sweepView_->geometry().right() + 16;
    auto heading = [&](int index, int top, const char* key) {
        auto* label = new QLabel(t(key), this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(index));
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setGeometry(left, top, width() - left - 8, 20);
    };
    heading(8, 10, "LangUnComp");
    values_[0] = valueLabel("lblGraphFreq", "LangFreq", 0, 34, "0.00");
    values_[1] = valueLabel("lblGraphBW", "LangBandWidth", 1, 58, "0.00");
    values_[2] = valueLabel("lblGraphAmp", "LangAmp", 2, 82, "0");
    values_[3] = valueLabel("lblGraphRef", "LangReference", 3, 106, "0");
    heading(7, 140, "LangTemperature");
    values_[4] = valueLabel("lblGraphTempElec", "LangElectronic", 4, 164, "0.0");
    values_[5] = valueLabel("lblGraphTempRes", "LangResonator", 5, 188, "0.0");
    lblTempMat_ = valueLabel("lblTempMat", "LangMaterial", 21, 212, "");
    heading(9, 246, "LangComp");
    values_[6] = valueLabel("lblGraphFreqComp", "LangFreq", 6, 270, "0.00");

    cmdFreeze_ = new QPushButton(t("LangHold"), this);
    cmdFreeze_->setObjectName(QStringLiteral("cmdFreeze"));
    cmdFreeze_->setCheckable(true);
    cmdFreeze_->setGeometry(left, 310, width() - left - 16, 30);
    connect(cmdFreeze_, &QPushButton::toggled, this, [this](bool on) {
        frozen_ = on ? std::optional<SweepPoints>(reading_.points) : std::nullopt;
        sweepView_->setPoints(reading_.points, frozen_);
    });
}

FrmResonator::~FrmResonator() { tmrResonator_.stop(); }

QString FrmResonator::t(const char* key) const { return texts_.text(QString::fromLatin1(key)); }

QLabel* FrmResonator::valueLabel(const char* name, const char* captionKey, int index, int top, const char* design)
{
    const int left = sweepView_->geometry().right() + 16;
    auto* caption = new QLabel(t(captionKey), this);
    caption->setObjectName(QStringLiteral("Label1_%1").arg(index));
    caption->setGeometry(left + 8, top, 130, 20);
    auto* value = new QLabel(QString::fromLatin1(design), this);
    value->setObjectName(QString::fromLatin1(name));
    value->setGeometry(left + 140, top, width() - left - 148, 20);
    QPalette palette = value->palette();
    palette.setColor(QPalette::WindowText, ColourTable()[0]);
    value->setPalette(palette);
    return value;
}

void FrmResonator::open(QWidget* mainWindow, int address)
{
    address_ = address;
    unloading_ = false;
    setWindowTitle(t("LangResonator"));
    tmrResonator_.start();
    if (link_.state().ProgramClosing)
        return;
    show();
    if (mainWindow) {
        move(mainWindow->geometry().center() - QPoint(width() / 2, height() / 2));
        mainWindow->hide();
    }
}

void FrmResonator::refresh()
{
    tmrResonator_.stop();
    if (refreshing_ || unloading_)
        return;
    if (guard_.busy()) {
        // The main window's tick is waiting for a reply: refresh once it is done.
        tmrResonator_.start(BusyRetryMs);
        return;
    }
    mainTimer_.stop();
    refreshing_ = true;
    {
        ExchangeGuard::Scope busy(guard_);
        ReadResonator(link_, address_, reading_);
    }
    refreshing_ = false;
    sweepView_->setPoints(reading_.points, frozen_);
    showValues();
    if (!unloading_ && !link_.state().ProgramClosing)
        tmrResonator_.start();
    if (!link_.state().ProgramClosing)
        mainTimer_.start();
    if (unloading_)
        deleteLater();
}

void FrmResonator::showValues()
{
    for (QLabel* label : values_)
        label->show();
    lblTempMat_->show();
    if (reading_.values) {
        const auto texts = ResonatorValueTexts(*reading_.values);
        for (int i = 0; i < ResonatorValueCount; ++i)
            values_[i]->setText(texts[i]);
    } else {
        for (QLabel* label : values_)
            label->clear();
    }
    lblTempMat_->setText(reading_.materialTemperature);
}

void FrmResonator::closeEvent(QCloseEvent* event)
{
    tmrResonator_.stop();
    unloading_ = true;
    emit closed();
    event->accept();
    // A refresh waiting inside an exchange unloads the window when it returns.
    if (!refreshing_)
        deleteLater();
}

}  // namespace dunmere
