#pragma once
// PictureCal of the moisture window: the rule lines, the fitted line and the points in the
// graph's 4000 x 3000 units, scaled to the widget; the point that stands out is ringed.

#include "calibration/MoistureFit.h"

#include <QWidget>

namespace dunmere {

class MoistureGraphWidget final : public QWidget {
    Q_OBJECT
public:
    explicit MoistureGraphWidget(QWidget* parent = nullptr);

    // A recompute's result; worstRow: the notebook's flagged row, -1 for none.
    void show(const MoistureFit& fit, int worstRow);
    void clear();
    // The graph in its own units, as drawn on screen.
    void render(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<MoistureFit> fit_;
    int worstRow_ = -1;
};

}  // namespace dunmere
