#include "TrendView.h"

#include <QMouseEvent>
#include <QPainter>

namespace dunmere {

TrendView::TrendView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(false);
}

void TrendView::setPicture(TrendPicture picture)
{
    picture_ = std::move(picture);
    update();
}

std::pair<double, double> TrendView::readingAt(const QPoint& point) const
{
    const double fx = qBound(0.0, double(point.x()) / qMax(1, width()), 1.0);
    const double fy = qBound(0.0, double(point.y()) / qMax(1, height()), 1.0);
    const double seconds = picture_.timeLeft + fx * (picture_.timeRight - picture_.timeLeft);
    const double value = picture_.scale.bottom + (1.0 - fy) * picture_.scale.range();
    return {seconds, value};
}

void TrendView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.scale(double(width()) / trendgraph::Width, double(height()) / trendgraph::Height);
    QPen frame(picture_.frameColour, 0);
    p.setPen(frame);
    p.drawLine(0, trendgraph::Height, 0, 0);
    p.drawLine(0, trendgraph::Height - 1, trendgraph::Width, trendgraph::Height - 1);
    p.drawLine(0, trendgraph::Height - 10, trendgraph::Width, trendgraph::Height - 10);
    for (int y : picture_.gridLines)
        p.drawLine(0, y, trendgraph::Width, y);
    p.setRenderHint(QPainter::Antialiasing);
    for (const auto& [colour, segments] : picture_.curves) {
        p.setPen(QPen(colour, 0));
        p.drawLines(segments);
    }
}

void TrendView::mouseMoveEvent(QMouseEvent* event)
{
    const auto [seconds, value] = readingAt(event->position().toPoint());
    emit pointerReading(seconds, value);
}

void TrendView::leaveEvent(QEvent*) { emit pointerLeft(); }

}  // namespace dunmere
