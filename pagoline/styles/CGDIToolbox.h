#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QPixmap>
#include <QSize>

class QPaintDevice;
class QPainter;

// Picture helpers for tab captions. A picture's size is kept in HIMETRIC (hundredths
// of a millimetre), as the host's picture objects report it, and turned into pixels of
// the device that draws it.
class PAGOLINE_EXPORT CGDIToolbox
{
public:
    // Both values from HIMETRIC to pixels of device, rounded halves to even.
    static void HimetricToPixels(const QPaintDevice &device, int &x, int &y);
    // The HIMETRIC size of a picture at its own resolution.
    [[nodiscard]] static QSize PictureHimetric(const QPixmap &picture);
    // Draws picture with its top-left corner at (x, y); a width or height below 0 means
    // the picture's own size. A null picture draws nothing.
    static void DrawPicture(QPainter &painter, int x, int y, const QPixmap &picture, int width = -1, int height = -1);
};
