#include "MoistureGraphWidget.h"

#include "calibration/MoistureGraph.h"

#include <QPainter>

namespace dunmere {

using namespace MoistureGraphUnits;

MoistureGraphWidget::MoistureGraphWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PictureCal"));
    setAutoFillBackground(true);
}

void MoistureGraphWidget::show(const MoistureFit& fit, int worstRow)
{
    fit_ = fit;
    worstRow_ = worstRow;
    update();
}

void MoistureGraphWidget::clear()
{
    fit_.reset();
    update();
}

void MoistureGraphWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(double(width()) / Width, double(height()) / Height);
    render(painter);
}

void MoistureGraphWidget::render(QPainter& painter) const
{
    painter.fillRect(QRect(0, 0, Width, Height), palette().window());
    painter.setPen(QPen(palette().windowText(), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, Width - 1, Height - 1));
    if (!fit_)
        return;
    const int fullScale = fit_->points.fullScale;
    if (fit_->ruleLines) {
        for (const RuleLine& rule : MoistureRuleLines(fullScale)) {
            const QColor colour = rule.colour == RuleLineColour::DarkBlue ? QColor(0, 0, 192)
                : rule.colour == RuleLineColour::Magenta                  ? QColor(255, 0, 255)
                                                                          : QColor(Qt::black);
            painter.setPen(QPen(colour, 0, Qt::DotLine));
            painter.drawLine(rule.line);
        }
    }
    if (fit_->result.hasLine) {
        if (const auto line = MoistureFittedLine(fit_->result.B, fit_->result.C, fullScale)) {
            painter.setPen(QPen(Qt::red, 15));
            painter.drawLine(*line);
        }
    }
    const MoisturePointSet& p = fit_->points;
    for (qsizetype k = 0; k < p.count(); ++k) {
        const QPoint at = MoisturePointPosition(p.X[k], p.Y[k], fullScale);
        const QColor colour = p.highlighted[k] ? QColor(255, 0, 255) : QColor(Qt::black);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(at, PointRadius, PointRadius);
        if (p.rows[k] == worstRow_) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(QColor(255, 128, 0), 12));
            painter.drawEllipse(at, 3 * PointRadius, 3 * PointRadius);
        }
    }
}

}  // namespace dunmere
