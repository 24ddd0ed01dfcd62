#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QString>

#include <optional>

class QPaintDevice;
class QPainter;

// The drawing recipe of one tab shape. A style walks a pen over the outline in strip
// coordinates (x along the strip, y across it from its outer edge towards the page);
// each step is turned into window pixels by the orientation transform as it is
// recorded. The recipe then fills its outline, draws its lines and draws a caption
// into its caption rectangle, the same for all four orientations.
class PAGOLINE_EXPORT CTemplate
{
public:
    enum ElemType { LineOnly = 0, LineAndOutline = 1, OutlineOnly = 2 };

    struct Element
    {
        int x = 0, y = 0;   // pixel start
        int dx = 0, dy = 0; // pixel length
        QColor colour;
        int thickness = 1;
        int type = LineOnly;
        int eDx = 0, eDy = 0; // correction when used as a side of the fill outline
    };

    struct CaptionText
    {
        QString Prefix;
        QString Accelerator;
        QString Postfix;
    };

    struct CaptionOptions
    {
        QFont font;
        int orientation = 0;
        std::optional<QColor> colour; // the template's caption colour when absent
        bool wordWrap = false;
        bool showFocus = false;
        bool showAccelerators = false;
        QPixmap picture;
    };

    void SetOrientation(int orientation, int dX, int dY);
    void Initialise(int count);

    // One corner coordinate of the caption rectangle: the pen plus the turned step.
    void SetULx(int dX, int dY);
    void SetULy(int dX, int dY);
    void SetLRx(int dX, int dY);
    void SetLRy(int dX, int dY);

    void gSave();
    void gRestore(int dX = 0, int dY = 0);
    void MPt(int dX, int dY, int type = LineOnly, int eDx = 0, int eDy = 0);
    void SPt(int X, int Y, int type = LineOnly, int eDx = 0, int eDy = 0);
    void CPt(int dX, int dY, int type = LineOnly, int eDx = 0, int eDy = 0);
    void RPt(int dX, int dY, const QColor &C, int T, int type = LineOnly, int eDx = 0, int eDy = 0);
    void Pt(int X, int Y, int dX, int dY, const QColor &C, int T, int type = LineOnly, int eDx = 0, int eDy = 0);
    void Caption(const QColor &C, bool Bold);

    [[nodiscard]] int ULx() const { return m_ulx; }
    [[nodiscard]] int ULy() const { return m_uly; }
    [[nodiscard]] int LRx() const { return m_lrx; }
    [[nodiscard]] int LRy() const { return m_lry; }
    // The pen in strip coordinates, computed back from its pixel position.
    [[nodiscard]] int X() const;
    [[nodiscard]] int Y() const;
    [[nodiscard]] QPoint Pen() const { return {m_x, m_y}; }
    [[nodiscard]] const QList<Element> &Elements() const { return m_elements; }

    // Fills the outline made of the elements that are sides of it.
    void FillBackground(QPainter &painter, const QColor &face) const;
    // Draws every line, each including its start pixel and not its end pixel.
    void DrawTab(QPainter &painter) const;
    void DrawCaption(QPainter &painter, const CaptionText &text, const CaptionOptions &options) const;

    // The font a caption is drawn in: the host font at the device's resolution, bold
    // fonts heavier for a bold template, plain ones turned bold.
    [[nodiscard]] static QFont CaptionFont(const QFont &base, bool templateBold, const QPaintDevice &device);

private:
    [[nodiscard]] QPoint step(int dX, int dY) const;
    [[nodiscard]] QPoint point(int X, int Y) const;
    [[nodiscard]] bool full() const { return m_elements.size() >= m_capacity; }
    void record(QPoint start, QPoint length, int type, int eDx, int eDy);

    int m11 = 1, m12 = 0, m21 = 0, m22 = 1;
    int m_originX = 0, m_originY = 0;
    int m_x = 0, m_y = 0;
    QColor m_colour;
    int m_thickness = 1;
    struct Saved
    {
        int x = 0, y = 0;
        QColor colour;
        int thickness = 1;
    } m_saved;
    qsizetype m_capacity = 0;
    QList<Element> m_elements;
    int m_ulx = 0, m_uly = 0, m_lrx = 0, m_lry = 0;
    QColor m_captionColour;
    bool m_bold = false;
};
