#include "WeighingPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace dunmere {

namespace {

constexpr int StepWidth = 157;  // four steps across 628 pixels

void drawContainer(QPainter& p, QPointF base, const QColor& sample, double fill)
{
    const QPolygonF cup{{base.x() - 24, base.y() - 34}, {base.x() + 24, base.y() - 34}, {base.x() + 18, base.y()},
                        {base.x() - 18, base.y()}};
    if (fill > 0) {
        const double top = base.y() - 34 * fill;
        p.setPen(Qt::NoPen);
        p.setBrush(sample);
        p.drawPolygon(QPolygonF{{base.x() - 18 - 6 * fill, top}, {base.x() + 18 + 6 * fill, top}, {base.x() + 18, base.y()},
                                {base.x() - 18, base.y()}});
    }
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(cup);
}

// The scale with its display at x; returns where a container stands.
QPointF drawScale(QPainter& p, double x)
{
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(x - 45, 110, 90, 26));
    p.setBrush(QColor(170, 220, 170));
    p.drawRect(QRectF(x - 20, 116, 40, 14));
    p.setBrush(QColor(150, 150, 160));
    p.drawRect(QRectF(x - 35, 104, 70, 6));
    // The red arrow at the display.
    p.setPen(QPen(Qt::red, 3));
    p.drawLine(QPointF(x + 40, 150), QPointF(x + 22, 130));
    p.setBrush(Qt::red);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF{{x + 20, 127}, {x + 31, 131}, {x + 24, 138}});
    return {x, 104};
}

void drawFlame(QPainter& p, double x)
{
    QPainterPath flame;
    flame.moveTo(x - 14, 140);
    flame.cubicTo(x - 18, 120, x - 4, 112, x, 96);
    flame.cubicTo(x + 4, 112, x + 18, 120, x + 14, 140);
    flame.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 140, 0));
    p.drawPath(flame);
    p.setBrush(QColor(255, 220, 60));
    p.drawEllipse(QPointF(x, 130), 6, 9);
}

void drawStepArrow(QPainter& p, double x)
{
    p.setPen(QPen(QColor(80, 80, 80), 3));
    p.drawLine(QPointF(x - 12, 80), QPointF(x + 8, 80));
    p.setBrush(QColor(80, 80, 80));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF{{x + 14, 80}, {x + 4, 73}, {x + 4, 87}});
}

}  // namespace

WeighingPicture::WeighingPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PictureWeighing"));
    setFixedSize(628, 159);
}

void WeighingPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QColor wet(110, 80, 50);
    const QColor dry(190, 160, 110);
    const char* labels[] = {"X", "Y", "", "Z"};
    for (int step = 0; step < 4; ++step) {
        const double x = StepWidth * step + StepWidth / 2.0;
        if (step == 2) {
            drawFlame(p, x);
            drawContainer(p, QPointF(x, 94), wet.lighter(130), 0.6);
            p.setPen(QPen(QColor(150, 150, 150), 2));
            for (int k = -1; k <= 1; ++k)
                p.drawArc(QRectF(x + 12 * k - 5, 30, 10, 20), 90 * 16, 180 * 16);  // steam
        } else {
            const QPointF stand = drawScale(p, x);
            drawContainer(p, stand, step == 1 ? wet : dry, step == 0 ? 0 : step == 1 ? 0.7 : 0.55);
            p.setPen(Qt::black);
            QFont f = p.font();
            f.setBold(true);
            f.setPixelSize(18);
            p.setFont(f);
            p.drawText(QRectF(x - 60, 8, 30, 24), Qt::AlignCenter, QString::fromLatin1(labels[step]));
        }
        if (step > 0)
            drawStepArrow(p, StepWidth * step);
    }
}

}  // namespace dunmere
