#pragma once
// TrendBox: paints a trend picture of 5000 x 3000 units onto whatever size it has, and
// reports the time and value under the mouse pointer.

#include "datalog/TrendGraph.h"

#include <QColor>
#include <QLine>
#include <QList>
#include <QWidget>

namespace dunmere {

struct TrendPicture {
    TrendScale scale;
    QList<int> gridLines;
    int timeLeft = 0;
    int timeRight = 100;
    QColor frameColour = Qt::black;
    QList<std::pair<QColor, QList<QLine>>> curves;
};

class TrendView final : public QWidget {
    Q_OBJECT
public:
    explicit TrendView(QWidget* parent = nullptr);

    void setPicture(TrendPicture picture);
    [[nodiscard]] const TrendPicture& picture() const { return picture_; }

    // The time (seconds) and value at a point of the widget.
    [[nodiscard]] std::pair<double, double> readingAt(const QPoint& point) const;

signals:
    // The pointer moved over the graph (time, value), or left it.
    void pointerReading(double seconds, double value);
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TrendPicture picture_;
};

}  // namespace dunmere
