#include "pagoline/styles/CTemplate.h"

#include "pagoline/styles/CGDIToolbox.h"
#include "pagoline/winapi/MUnicodeSupport.h"

#include <QPainter>
#include <QPolygon>

#include <cmath>

namespace {

int roundEven(double value)
{
    return int(std::nearbyint(value));
}

// How text runs in each orientation: the device direction of the text's advance and
// the turn that gives it.
struct TextDirection
{
    int alongX, alongY; // unit advance along the text
    int turnDegrees;
};

TextDirection directionFor(int orientation)
{
    switch (orientation) {
    case 2: return {0, -1, -90}; // left: upwards
    case 3: return {0, 1, 90};   // right: downwards
    default: return {1, 0, 0};
    }
}

// Draws one run of text with its cell's start at origin (device pixels), turned for the
// orientation, clipped to clip; returns its width.
int drawRun(QPainter &painter, QPoint origin, int orientation, const QFont &font, const QRect &clip,
            const QString &text)
{
    if (text.isEmpty())
        return 0;
    painter.save();
    painter.setFont(font);
    painter.translate(origin);
    painter.rotate(directionFor(orientation).turnDegrees);
    MUnicodeSupport::ExtTextOut(painter, QPoint(0, 0), &clip, text);
    painter.restore();
    return MUnicodeSupport::GetTextExtentPoint32(font, text).width();
}

QPoint advance(QPoint origin, int orientation, int by)
{
    const TextDirection d = directionFor(orientation);
    return origin + QPoint(d.alongX * by, d.alongY * by);
}

QFont underlineSwitched(const QFont &font)
{
    QFont switched = font;
    switched.setUnderline(!font.underline());
    return switched;
}

// Runs of text between line breaks, as the line-breaking rules cut them.
struct Piece
{
    QString text;
    int start = 0; // position in the full text
    int width = 0;
    int height = 0;
    int line = 1;
};

QList<Piece> breakIntoLines(const QString &full, const QFont &font, int room)
{
    QList<Piece> pieces;
    int line = 1;
    int running = 0;
    int i = 0;
    while (i < full.size()) {
        Piece piece;
        piece.start = i;
        if (full[i] == QLatin1Char(' ')) {
            piece.text = QStringLiteral(" ");
            i += 1;
        } else if (full.mid(i, 2) == QLatin1String("\r\n")) {
            i += 2;
        } else {
            int end = i;
            while (end < full.size() && full[end] != QLatin1Char(' ') && full.mid(end, 2) != QLatin1String("\r\n"))
                ++end;
            piece.text = full.mid(i, end - i);
            i = end;
        }
        const QSize extent = MUnicodeSupport::GetTextExtentPoint32(font, piece.text);
        piece.width = extent.width();
        piece.height = QFontMetrics(font).height();
        const bool lineBreak = piece.text.isEmpty();
        if (lineBreak) {
            ++line;
            running = 0;
        } else if (piece.text == QLatin1String(" ") || running + piece.width <= room) {
            running += piece.width;
        } else {
            // A word that does not fit starts a line of its own (also when it is wider
            // than the whole room), unless the line is still empty.
            if (running > 0)
                ++line;
            running = piece.width;
        }
        piece.line = line;
        pieces.append(piece);
    }
    return pieces;
}

struct Line
{
    int start = 0; // position in the full text of the line's first character
    QString text;  // untrimmed
    int height = 0;
};

QList<Line> collectLines(const QList<Piece> &pieces)
{
    QList<Line> lines;
    for (const Piece &piece : pieces) {
        while (int(lines.size()) < piece.line) {
            Line line;
            line.start = piece.start;
            line.height = piece.height;
            lines.append(line);
        }
        Line &line = lines.last();
        if (line.text.isEmpty() && !piece.text.isEmpty())
            line.start = piece.start;
        line.text += piece.text;
    }
    return lines;
}

int leadingSpaces(const QString &text)
{
    int lead = 0;
    while (lead < text.size() && text[lead] == QLatin1Char(' '))
        ++lead;
    return lead;
}

void drawFocusRect(QPainter &painter, const QRect &r, const QColor &colour)
{
    // A dotted ring, every other pixel, on the rectangle's own pixels.
    for (int x = r.left(); x <= r.right(); ++x) {
        for (int y : {r.top(), r.bottom()}) {
            if ((x + y) % 2 == 0)
                painter.fillRect(QRect(x, y, 1, 1), colour);
        }
    }
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x : {r.left(), r.right()}) {
            if ((x + y) % 2 == 0)
                painter.fillRect(QRect(x, y, 1, 1), colour);
        }
    }
}

} // namespace

void CTemplate::SetOrientation(int orientation, int dX, int dY)
{
    switch (orientation) {
    case 1: m11 = 1; m12 = 0; m21 = 0; m22 = -1; break;
    case 2: m11 = 0; m12 = -1; m21 = 1; m22 = 0; break;
    case 3: m11 = 0; m12 = 1; m21 = -1; m22 = 0; break;
    default: m11 = 1; m12 = 0; m21 = 0; m22 = 1; break;
    }
    m_originX = dX;
    m_originY = dY;
}

void CTemplate::Initialise(int count)
{
    m_capacity = qMax(0, count);
    m_elements.clear();
    m_elements.reserve(m_capacity);
}

QPoint CTemplate::step(int dX, int dY) const
{
    return {dX * m11 + dY * m21, dX * m12 + dY * m22};
}

QPoint CTemplate::point(int X, int Y) const
{
    return step(X, Y) + QPoint(m_originX, m_originY);
}

void CTemplate::SetULx(int dX, int dY) { m_ulx = m_x + step(dX, dY).x(); }
void CTemplate::SetULy(int dX, int dY) { m_uly = m_y + step(dX, dY).y(); }
void CTemplate::SetLRx(int dX, int dY) { m_lrx = m_x + step(dX, dY).x(); }
void CTemplate::SetLRy(int dX, int dY) { m_lry = m_y + step(dX, dY).y(); }

void CTemplate::gSave()
{
    m_saved = {m_x, m_y, m_colour, m_thickness};
}

void CTemplate::gRestore(int dX, int dY)
{
    const QPoint moved = step(dX, dY);
    m_x = m_saved.x + moved.x();
    m_y = m_saved.y + moved.y();
    m_colour = m_saved.colour;
    m_thickness = m_saved.thickness;
}

void CTemplate::record(QPoint start, QPoint length, int type, int eDx, int eDy)
{
    Element element;
    element.x = start.x();
    element.y = start.y();
    element.dx = length.x();
    element.dy = length.y();
    element.colour = m_colour;
    element.thickness = m_thickness;
    element.type = type;
    const QPoint correction = step(eDx, eDy);
    element.eDx = correction.x();
    element.eDy = correction.y();
    m_elements.append(element);
}

void CTemplate::MPt(int dX, int dY, int type, int eDx, int eDy)
{
    const QPoint length = step(dX, dY);
    if (type == OutlineOnly && !full())
        record({m_x, m_y}, length, type, eDx, eDy);
    m_x += length.x();
    m_y += length.y();
}

void CTemplate::SPt(int X, int Y, int type, int eDx, int eDy)
{
    const QPoint target = point(X, Y);
    if (type == OutlineOnly && !full())
        record({m_x, m_y}, target - QPoint(m_x, m_y), type, eDx, eDy);
    m_x = target.x();
    m_y = target.y();
}

void CTemplate::CPt(int dX, int dY, int type, int eDx, int eDy)
{
    if (full())
        return;
    const QPoint length = step(dX, dY);
    record({m_x, m_y}, length, type, eDx, eDy);
    m_x += length.x();
    m_y += length.y();
}

void CTemplate::RPt(int dX, int dY, const QColor &C, int T, int type, int eDx, int eDy)
{
    if (full())
        return;
    m_colour = C;
    m_thickness = T;
    CPt(dX, dY, type, eDx, eDy);
}

void CTemplate::Pt(int X, int Y, int dX, int dY, const QColor &C, int T, int type, int eDx, int eDy)
{
    if (full())
        return;
    const QPoint start = point(X, Y);
    m_x = start.x();
    m_y = start.y();
    RPt(dX, dY, C, T, type, eDx, eDy);
}

void CTemplate::Caption(const QColor &C, bool Bold)
{
    m_captionColour = C;
    m_bold = Bold;
}

int CTemplate::X() const
{
    const int det = m11 * m22 - m12 * m21;
    return det == 0 ? 0 : roundEven(double((m_x - m_originX) * m22 + (m_originY - m_y) * m21) / det);
}

int CTemplate::Y() const
{
    const int det = m12 * m21 - m11 * m22;
    return det == 0 ? 0 : roundEven(double(m12 * (m_x - m_originX) + m11 * (m_originY - m_y)) / det);
}

void CTemplate::FillBackground(QPainter &painter, const QColor &face) const
{
    QPolygon outline;
    QPoint at;
    for (const Element &element : m_elements) {
        if (element.type == LineOnly)
            continue;
        if (outline.isEmpty()) {
            at = QPoint(element.x + element.eDx, element.y + element.eDy);
            outline << at;
        }
        at += QPoint(element.dx + element.eDx, element.dy + element.eDy);
        outline << at;
    }
    if (outline.size() < 2)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(face, 1));
    painter.setBrush(face);
    painter.drawPolygon(outline);
    painter.restore();
}

void CTemplate::DrawTab(QPainter &painter) const
{
    for (const Element &element : m_elements) {
        if (element.type == OutlineOnly)
            continue;
        const int steps = qMax(qAbs(element.dx), qAbs(element.dy));
        const int t = qMax(1, element.thickness);
        const int off = (t - 1) / 2;
        if (element.dx == 0 || element.dy == 0) {
            // A straight run: its pixels from the start, the end pixel left out.
            const int sx = element.dx > 0 ? 1 : (element.dx < 0 ? -1 : 0);
            const int sy = element.dy > 0 ? 1 : (element.dy < 0 ? -1 : 0);
            if (steps == 0)
                continue;
            const QPoint a(element.x, element.y);
            const QPoint b(element.x + sx * (steps - 1), element.y + sy * (steps - 1));
            const QRect run = QRect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())),
                                    QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y())))
                                  .adjusted(-off, -off, t - 1 - off, t - 1 - off);
            painter.fillRect(run, element.colour);
            continue;
        }
        for (int i = 0; i < steps; ++i) {
            const int px = element.x + roundEven(double(i) * element.dx / steps);
            const int py = element.y + roundEven(double(i) * element.dy / steps);
            painter.fillRect(QRect(px - off, py - off, t, t), element.colour);
        }
    }
}

namespace {

// One caption being drawn: the caption rectangle, the fonts, the picture and the text,
// with the placing rules for a single line and for wrapped lines.
struct CaptionJob
{
    QPainter &painter;
    int ulx, uly, lrx, lry;
    int orientation;
    QFont font;
    QFont accelFont;
    QRect clip;
    QString full;
    QString accelerator;
    int accelAt;
    bool showAccelerators;
    QPixmap picture;
    int pw = 0, ph = 0, gap = 0;

    [[nodiscard]] bool vertical() const { return orientation == 2 || orientation == 3; }

    [[nodiscard]] int room() const
    {
        if (!vertical())
            return lrx - ulx - gap - pw;
        return orientation == 3 ? lry - uly - gap - ph : uly - lry - gap - ph;
    }

    void drawPicture(int x, int y) const
    {
        if (picture.isNull())
            return;
        painter.save();
        painter.setClipRect(clip);
        CGDIToolbox::DrawPicture(painter, x, y, picture, pw, ph);
        painter.restore();
    }

    // Draws [from, to) of the full text from origin, the accelerator in its own font.
    void drawSpan(QPoint origin, int from, int to) const
    {
        const bool hasAccel = showAccelerators && !accelerator.isEmpty() && accelAt >= from && accelAt < to;
        if (!hasAccel) {
            drawRun(painter, origin, orientation, font, clip, full.mid(from, to - from));
            return;
        }
        QPoint at = origin;
        at = advance(at, orientation, drawRun(painter, at, orientation, font, clip, full.mid(from, accelAt - from)));
        at = advance(at, orientation, drawRun(painter, at, orientation, accelFont, clip, accelerator));
        drawRun(painter, at, orientation, font, clip, full.mid(accelAt + 1, to - accelAt - 1));
    }

    void drawSingleLine() const
    {
        const QSize extent = MUnicodeSupport::GetTextExtentPoint32(font, full);
        const int w = extent.width();
        const int h = extent.height();
        QPoint origin;
        if (!vertical()) {
            const int picX = roundEven(ulx + (lrx - ulx - w - pw) / 2.0);
            const int picY = roundEven(uly + (lry - uly - ph) / 2.0);
            drawPicture(picX, picY);
            origin = QPoint(picX + pw, roundEven(uly + (lry - uly - h) / 2.0));
        } else if (orientation == 2) {
            const int picX = roundEven(ulx + (lrx - ulx - pw) / 2.0);
            const int picY = roundEven(uly - (uly - lry - w - ph) / 2.0 - ph);
            drawPicture(picX, picY);
            origin = QPoint(roundEven(ulx + (lrx - ulx - h) / 2.0), picY);
        } else {
            const int picX = roundEven(ulx + (lrx - ulx - pw) / 2.0);
            const int picY = roundEven(uly + (lry - uly - w - ph) / 2.0);
            drawPicture(picX, picY);
            origin = QPoint(roundEven(lrx + (ulx + h - lrx) / 2.0), picY + ph);
        }
        drawSpan(origin, 0, int(full.size()));
    }

    void drawWrapped() const
    {
        const QList<Line> lines = collectLines(breakIntoLines(full, font, room()));
        int blockWidth = 0, blockHeight = 0, lineAdvance = 0;
        QList<int> widths;
        for (const Line &line : lines) {
            const int w = MUnicodeSupport::GetTextExtentPoint32(font, line.text.trimmed()).width();
            widths.append(w);
            blockWidth = qMax(blockWidth, w);
            blockHeight += line.height;
            lineAdvance = qMax(lineAdvance, line.height);
        }
        int picX = roundEven(ulx + (lrx - ulx - pw) / 2.0);
        int picY = 0, across = 0;
        if (!vertical()) {
            picX = roundEven(ulx + (lrx - ulx - pw - blockWidth) / 2.0);
            picY = roundEven(uly + (lry - uly - ph) / 2.0);
            across = roundEven((uly + lry) / 2.0 - blockHeight / 2.0);
        } else if (orientation == 2) {
            picY = roundEven(uly - (uly - lry - ph - blockWidth) / 2.0 - ph);
            across = roundEven(ulx + (lrx - ulx - blockHeight) / 2.0);
        } else {
            picY = roundEven(uly + (lry - uly - ph - blockWidth) / 2.0);
            across = roundEven((ulx + lrx) / 2.0 + blockHeight / 2.0);
        }
        drawPicture(picX, picY);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const Line &line = lines[i];
            const int offset = roundEven((blockWidth - widths[i]) / 2.0);
            int along = gap + picX + pw + offset;
            if (orientation == 2)
                along = picY - gap - offset;
            else if (orientation == 3)
                along = gap + picY + ph + offset;
            const int from = line.start + leadingSpaces(line.text);
            const QPoint origin = vertical() ? QPoint(across, along) : QPoint(along, across);
            drawSpan(origin, from, from + int(line.text.trimmed().size()));
            across += orientation == 3 ? -lineAdvance : lineAdvance;
        }
    }
};

} // namespace

QFont CTemplate::CaptionFont(const QFont &base, bool templateBold, const QPaintDevice &device)
{
    QFont font = base;
    if (base.pointSizeF() > 0)
        font.setPixelSize(qMax(1, roundEven(std::nearbyint(base.pointSizeF()) * device.logicalDpiY() / 72.0)));
    const bool fontBold = base.bold();
    const int weight = fontBold ? (templateBold ? 800 : 700) : (templateBold ? 700 : 400);
    font.setWeight(QFont::Weight(weight));
    return font;
}

void CTemplate::DrawCaption(QPainter &painter, const CaptionText &text, const CaptionOptions &options) const
{
    const QString prefix = QString(text.Prefix).replace(QLatin1String("&&"), QLatin1String("&"));
    const QString postfix = QString(text.Postfix).replace(QLatin1String("&&"), QLatin1String("&"));
    const QColor colour = options.colour.value_or(m_captionColour);
    const QFont font = CaptionFont(options.font, m_bold, *painter.device());
    CaptionJob job{painter,
                   m_ulx, m_uly, m_lrx, m_lry,
                   options.orientation,
                   font,
                   underlineSwitched(font),
                   QRect(QPoint(qMin(m_ulx, m_lrx), qMin(m_uly, m_lry)),
                         QPoint(qMax(m_ulx, m_lrx) - 1, qMax(m_uly, m_lry) - 1)),
                   prefix + text.Accelerator + postfix,
                   text.Accelerator,
                   int(prefix.size()),
                   options.showAccelerators,
                   options.picture};
    if (!options.picture.isNull()) {
        const QSize himetric = CGDIToolbox::PictureHimetric(options.picture);
        job.pw = himetric.width();
        job.ph = himetric.height();
        CGDIToolbox::HimetricToPixels(*painter.device(), job.pw, job.ph);
        job.gap = 10;
    }

    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    if (options.showFocus)
        drawFocusRect(painter, job.clip, colour);
    painter.setPen(colour);
    painter.setBackgroundMode(Qt::TransparentMode);
    if (job.room() > 0 && options.wordWrap)
        job.drawWrapped();
    else
        job.drawSingleLine();
    painter.restore();
}
