#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QByteArray>
#include <QList>
#include <QPixmap>
#include <QString>

// The record of one host control that belongs to a tab while another tab is current.
struct PAGOLINE_EXPORT CControl
{
    QString Name;
    bool TabStop = true;
    int Index = -1; // index within a control array; -1 when not an array member
};

// The parts of a caption around its accelerator marker.
struct PAGOLINE_EXPORT CaptionParts
{
    QString Prefix;
    QString Accelerator;
    QString Postfix;
    short AcceleratorKey = -1;
};

// "&x" marks x as the accelerator, "&&" is a literal ampersand, the last marker wins.
[[nodiscard]] PAGOLINE_EXPORT CaptionParts ParseCaption(const QString &caption);
// Four upper-case hex digits per UTF-16 code unit, so any caption survives a host whose
// form files are not Unicode.
[[nodiscard]] PAGOLINE_EXPORT QString CaptionToHex(const QString &caption);
// Decodes four digits at a time; stops at the first group that is not hex.
[[nodiscard]] PAGOLINE_EXPORT QString CaptionFromHex(const QString &hex);

// One tab of the control. Positions are 1-based; the layout and the style fill in
// Index, Row, the hit region, Width and Left.
class PAGOLINE_EXPORT CTab
{
public:
    CTab() = default;

    [[nodiscard]] const QString &Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    [[nodiscard]] const QString &CaptionPrefix() const { return m_parts.Prefix; }
    [[nodiscard]] const QString &CaptionAccelerator() const { return m_parts.Accelerator; }
    [[nodiscard]] const QString &CaptionPostfix() const { return m_parts.Postfix; }
    [[nodiscard]] short AcceleratorKey() const { return m_parts.AcceleratorKey; }

    void SetRegion(int ulx, int uly, int lrx, int lry);
    [[nodiscard]] int ULx() const { return m_ulx; }
    [[nodiscard]] int ULy() const { return m_uly; }
    [[nodiscard]] int LRx() const { return m_lrx; }
    [[nodiscard]] int LRy() const { return m_lry; }
    // Half-open in both directions: the smaller edge is inside, the larger outside.
    [[nodiscard]] bool IsHit(int x, int y) const;

    [[nodiscard]] QByteArray Serialise() const;
    void Deserialise(const QByteArray &contents);

    bool Enabled = true;
    bool Visible = true;
    QPixmap Picture;
    int Index = 0;      // position among the visible tabs, -1 when hidden
    int FixedIndex = 0; // position in the tab list
    int Row = 0;        // 1 is the row touching the page
    int Width = 0;
    int Left = 0;
    QList<CControl> ContainedControls;

private:
    QString m_caption;
    CaptionParts m_parts;
    int m_ulx = 0, m_uly = 0, m_lrx = 0, m_lry = 0;
};
