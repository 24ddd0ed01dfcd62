#include "pagoline/core/CTab.h"

#include "pagoline/core/PropertyBag.h"
#include "pagoline/core/PropertyLimits.h"

CaptionParts ParseCaption(const QString &caption)
{
    CaptionParts parts;
    parts.Prefix = caption;
    if (caption.trimmed().isEmpty())
        return parts;
    const qsizetype last = caption.size() - 1;
    for (qsizetype i = 0; i < last; ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        parts.Prefix = caption.left(i);
        parts.Accelerator = caption.mid(i + 1, 1);
        parts.Postfix = caption.mid(i + 2);
        parts.AcceleratorKey = short(parts.Accelerator.toUpper().at(0).unicode());
        ++i;
    }
    return parts;
}

QString CaptionToHex(const QString &caption)
{
    QString hex;
    hex.reserve(caption.size() * 4);
    for (const QChar c : caption)
        hex += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return hex;
}

QString CaptionFromHex(const QString &hex)
{
    QString caption;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4) {
        bool ok = false;
        const uint unit = QStringView(hex).mid(i, 4).toUInt(&ok, 16);
        if (!ok)
            break;
        caption.append(QChar(char16_t(unit)));
    }
    return caption;
}

void CTab::setCaption(const QString &caption)
{
    m_caption = caption;
    m_parts = ParseCaption(caption);
}

void CTab::SetRegion(int ulx, int uly, int lrx, int lry)
{
    m_ulx = ulx;
    m_uly = uly;
    m_lrx = lrx;
    m_lry = lry;
}

bool CTab::IsHit(int x, int y) const
{
    return x >= qMin(m_ulx, m_lrx) && x < qMax(m_ulx, m_lrx) && y >= qMin(m_uly, m_lry) && y < qMax(m_uly, m_lry);
}

QByteArray CTab::Serialise() const
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled, true);
    if (!Picture.isNull())
        bag.WriteProperty(QStringLiteral("Picture"), Picture);
    bag.WriteProperty(QStringLiteral("Caption"), CaptionToHex(m_caption));
    bag.WriteProperty(QStringLiteral("Visible"), Visible, true);
    bag.WriteProperty(QStringLiteral("ControlsCount"), int(ContainedControls.size()), 0);
    for (qsizetype i = 0; i < ContainedControls.size(); ++i) {
        const QString n = QString::number(i + 1);
        const CControl &control = ContainedControls[i];
        bag.WriteProperty(QStringLiteral("n") + n, control.Name);
        bag.WriteProperty(QStringLiteral("ts") + n, control.TabStop);
        bag.WriteProperty(QStringLiteral("ix") + n, control.Index);
    }
    return bag.toBytes();
}

void CTab::Deserialise(const QByteArray &contents)
{
    const PropertyBag bag = PropertyBag::fromBytes(contents);
    Enabled = bag.ReadProperty(QStringLiteral("Enabled"), true).toBool();
    setCaption(CaptionFromHex(bag.ReadProperty(QStringLiteral("Caption"), QString()).toString()));
    Visible = bag.ReadProperty(QStringLiteral("Visible"), true).toBool();
    // A damaged count must not make the loop run past the records actually stored.
    const int count = qMin(PropertyLimits::BoundControlsPerTab(
                               bag.ReadProperty(QStringLiteral("ControlsCount"), qlonglong(0)).toLongLong()),
                           bag.count());
    ContainedControls.clear();
    for (int i = 1; i <= count; ++i) {
        const QString n = QString::number(i);
        if (!bag.contains(QStringLiteral("n") + n))
            break;
        CControl control;
        control.Name = bag.ReadProperty(QStringLiteral("n") + n, QString()).toString();
        control.TabStop = bag.ReadProperty(QStringLiteral("ts") + n, true).toBool();
        control.Index = bag.ReadProperty(QStringLiteral("ix") + n, -1).toInt();
        ContainedControls.append(control);
    }
    Picture = bag.ReadProperty(QStringLiteral("Picture"), QPixmap()).value<QPixmap>();
}
