#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// The text calls of the control, with the text-cell semantics the drawing code is
// written for: a position names the top-left corner of the text cell, not the baseline.
// Qt takes UTF-16 everywhere, so captions keep every character on every platform.
namespace MUnicodeSupport {

// Width and height of the text cell of text in font.
[[nodiscard]] PAGOLINE_EXPORT QSize GetTextExtentPoint32(const QFont &font, const QString &text);
// Draws text with the painter's current font and pen, the cell's top-left at origin in
// the painter's current coordinates, clipped to clip (device coordinates) when given.
PAGOLINE_EXPORT void ExtTextOut(QPainter &painter, QPoint origin, const QRect *clip, const QString &text);

} // namespace MUnicodeSupport
