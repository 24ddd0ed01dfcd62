#pragma once
// The calculator's picture of the four steps: the empty container on the scale, with the wet
// sample, drying over a flame, with the dried sample; each scale's display marked by a red
// arrow, the steps joined by arrows.

#include <QWidget>

namespace dunmere {

class WeighingPicture final : public QWidget {
    Q_OBJECT
public:
    explicit WeighingPicture(QWidget* parent = nullptr);
    [[nodiscard]] QSize sizeHint() const override { return {628, 159}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace dunmere
