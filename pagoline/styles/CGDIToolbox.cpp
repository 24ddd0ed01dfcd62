#include "pagoline/styles/CGDIToolbox.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

int himetricToPixels(int value, int pixelsPerInch)
{
    const float hundredth = 0.01f;
    return int(std::nearbyint(double(hundredth * float(value)) * pixelsPerInch / 25.4));
}

int pixelsToHimetric(int value, double pixelsPerInch)
{
    return int(std::nearbyint(value * 2540.0 / pixelsPerInch));
}

} // namespace

void CGDIToolbox::HimetricToPixels(const QPaintDevice &device, int &x, int &y)
{
    x = himetricToPixels(x, device.logicalDpiX());
    y = himetricToPixels(y, device.logicalDpiY());
}

QSize CGDIToolbox::PictureHimetric(const QPixmap &picture)
{
    if (picture.isNull())
        return {};
    const QImage image = picture.toImage();
    const double dpiX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : 96.0;
    const double dpiY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() * 0.0254 : 96.0;
    return {pixelsToHimetric(picture.width(), dpiX), pixelsToHimetric(picture.height(), dpiY)};
}

void CGDIToolbox::DrawPicture(QPainter &painter, int x, int y, const QPixmap &picture, int width, int height)
{
    if (picture.isNull())
        return;
    const int w = width < 0 ? picture.width() : width;
    const int h = height < 0 ? picture.height() : height;
    // Icons carry their mask as alpha, so one composited copy does what the mask and
    // colour passes do.
    painter.drawPixmap(QRect(x, y, w, h), picture);
}
