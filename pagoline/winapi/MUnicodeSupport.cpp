#include "pagoline/winapi/MUnicodeSupport.h"

#include <QFontMetrics>
#include <QPainter>

namespace MUnicodeSupport {

QSize GetTextExtentPoint32(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void ExtTextOut(QPainter &painter, QPoint origin, const QRect *clip, const QString &text)
{
    if (text.isEmpty())
        return;
    painter.save();
    if (clip) {
        // The clip is in device pixels while the painter may be turned for vertical text.
        const QTransform turned = painter.worldTransform();
        painter.resetTransform();
        painter.setClipRect(*clip, Qt::IntersectClip);
        painter.setWorldTransform(turned);
    }
    const QFontMetrics metrics(painter.font());
    painter.drawText(QPoint(origin.x(), origin.y() + metrics.ascent()), text);
    painter.restore();
}

} // namespace MUnicodeSupport
