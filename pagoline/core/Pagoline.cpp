#include "pagoline/core/Pagoline.h"

#include "pagoline/core/FAbout.h"
#include "pagoline/core/HostControls.h"
#include "pagoline/core/PropertyBag.h"
#include "pagoline/core/PropertyLimits.h"
#include "pagoline/core/TabLayout.h"
#include "pagoline/styles/CStylePropertyPage.h"
#include "pagoline/styles/CStyleTabbedDialog.h"
#include "pagoline/styles/SystemColours.h"

#include <QGuiApplication>
#include <QHash>
#include <QMessageBox>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int kTwipsPerPixel = 15;
// 2640 x 2085 twips, the size of a control newly placed on a form.
constexpr QSize kNewControlSize(176, 139);
// 96 pixels per inch, the resolution the control's sizes are given at.
constexpr int kDotsPerMeter = 3780;

// A saved number, or nothing when the stored value is not a number at all.
std::optional<qlonglong> readNumber(const PropertyBag &bag, const QString &name, qlonglong fallback)
{
    if (!bag.contains(name))
        return fallback;
    QVariant value = bag.ReadProperty(name);
    if (!value.convert(QMetaType::fromType<qlonglong>()))
        return std::nullopt;
    return value.toLongLong();
}

} // namespace

Pagoline::Pagoline(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(kNewControlSize);
    InitProperties();
}

Pagoline::~Pagoline()
{
    stopInput();
}

// --- persistence -----------------------------------------------------------------

void Pagoline::InitProperties()
{
    m_visible.clear();
    m_tabs.Clear();
    for (int i = 0; i < 3; ++i)
        m_current = &m_tabs.Add();
    m_tabsPerRow = 3;
    m_tabHeight = 20;
    m_tabMaxWidth = 0;
    m_showFocusRect = true;
    m_wordWrap = true;
    m_orientation = ssTabOrientationTop;
    m_style = ssStyleTabbedDialog;
    m_oleDropMode = ssOLEDropNone;
    m_mousePointer = ssDefault;
    m_foreColor = SystemColours::ButtonText;
    m_backColor = SystemColours::ButtonFace;
    applyEnabled(true);
    createStyleObject();
    applyCursor();
    setAcceptDrops(false);
    Redraw(true);
}

bool Pagoline::ReadProperties(const PropertyBag &bag)
{
    m_reading = true;
    const auto perRow = readNumber(bag, QStringLiteral("TabsPerRow"), 3);
    const auto height = readNumber(bag, QStringLiteral("TabHeight"), 20);
    const auto maxWidth = readNumber(bag, QStringLiteral("TabMaxWidth"), 0);
    const auto orientation = readNumber(bag, QStringLiteral("Orientation"), 0);
    const auto style = readNumber(bag, QStringLiteral("Style"), 0);
    const auto selected = readNumber(bag, QStringLiteral("SelectedTab"), 1);
    const auto back = readNumber(bag, QStringLiteral("BackColor"), SystemColours::ButtonFace);
    const auto fore = readNumber(bag, QStringLiteral("ForeColor"), SystemColours::ButtonText);
    const auto dropMode = readNumber(bag, QStringLiteral("OLEDropMode"), 0);
    const auto pointer = readNumber(bag, QStringLiteral("MousePointer"), 0);
    if (!perRow || !height || !maxWidth || !orientation || !style || !selected || !back || !fore || !dropMode
        || !pointer) {
        m_reading = false;
        return false;
    }
    // A stored 0 (or less) tabs per row would divide the layout by zero: it reads as 1.
    m_tabsPerRow = short(PropertyLimits::BoundTabsPerRow(*perRow));
    // A height of 0 is kept (a height that rounded to no pixels); a negative one has no
    // shape and reads as the default.
    m_tabHeight = *height >= 0 ? PropertyLimits::BoundTabHeight(*height) : 20;
    m_tabMaxWidth = PropertyLimits::BoundTabMaxWidth(*maxWidth);
    m_showFocusRect = bag.ReadProperty(QStringLiteral("ShowFocusRect"), true).toBool();
    m_wordWrap = bag.ReadProperty(QStringLiteral("WordWrap"), true).toBool();
    // A value that is none of the declared ones reads as the default.
    m_orientation = PropertyLimits::IsOrientation(*orientation) ? TabOrientationConstants(*orientation)
                                                                : ssTabOrientationTop;
    m_style = PropertyLimits::IsStyle(*style) ? StyleConstants(*style) : ssStyleTabbedDialog;
    m_backColor = uint(*back);
    m_foreColor = uint(*fore);
    m_oleDropMode = PropertyLimits::IsOLEDropMode(*dropMode) ? OLEDropConstants(*dropMode) : ssOLEDropNone;
    m_mousePointer = PropertyLimits::IsMousePointer(*pointer) ? MousePointerConstants(*pointer) : ssDefault;
    createStyleObject();

    applyEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    const QVariant font = bag.ReadProperty(QStringLiteral("Font"), QFont());
    if (font.metaType().id() == QMetaType::QFont)
        setFont(font.value<QFont>());
    m_visible.clear();
    m_current = nullptr;
    m_tabs.Clear();
    m_tabs.Deserialise(bag.ReadProperty(QStringLiteral("Tabs"), QByteArray()).toByteArray());
    // A number beyond the list leaves the first tab current.
    m_current = (*selected >= 1 && *selected <= m_tabs.Count()) ? m_tabs.Item(int(*selected)) : nullptr;
    applyCursor();
    setAcceptDrops(m_oleDropMode == ssOLEDropManual);
    m_reading = false;
    PlaceRecordedControls();
    Redraw(true);
    return true;
}

bool Pagoline::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(QStringLiteral("TabsPerRow"), m_tabsPerRow, 3);
    bag.WriteProperty(QStringLiteral("TabHeight"), m_tabHeight, 20);
    bag.WriteProperty(QStringLiteral("TabMaxWidth"), m_tabMaxWidth, 0);
    bag.WriteProperty(QStringLiteral("Style"), int(m_style), 0);
    bag.WriteProperty(QStringLiteral("Orientation"), int(m_orientation), 0);
    bag.WriteProperty(QStringLiteral("ShowFocusRect"), m_showFocusRect, true);
    bag.WriteProperty(QStringLiteral("OLEDropMode"), int(m_oleDropMode), 0);
    bag.WriteProperty(QStringLiteral("BackColor"), m_backColor, SystemColours::ButtonFace);
    bag.WriteProperty(QStringLiteral("ForeColor"), m_foreColor, SystemColours::ButtonText);
    bag.WriteProperty(QStringLiteral("MousePointer"), int(m_mousePointer), 0);
    bag.WriteProperty(QStringLiteral("WordWrap"), m_wordWrap, true);
    const CTab *current = CurrentTab();
    bag.WriteProperty(QStringLiteral("SelectedTab"), current ? current->FixedIndex : 1, 1);
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled, true);
    bag.WriteProperty(QStringLiteral("Font"), font(), QFont());
    bag.WriteProperty(QStringLiteral("Tabs"), m_tabs.Serialise());
    return true;
}

QString Pagoline::PropertyBagContents() const
{
    PropertyBag bag;
    if (!WriteProperties(bag))
        return {};
    return QString::fromLatin1(bag.toBytes().toBase64());
}

void Pagoline::setPropertyBagContents(const QString &contents)
{
    const auto decoded = QByteArray::fromBase64Encoding(contents.trimmed().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty())
        return;
    bool ok = false;
    const PropertyBag bag = PropertyBag::fromBytes(decoded.decoded, &ok);
    if (ok)
        ReadProperties(bag);
}

void Pagoline::AboutBox()
{
    FAbout about(this);
    about.exec();
}

QString Pagoline::Version()
{
    return QStringLiteral("%1.%2.0.%3").arg(PAGOLINE_VERSION_MAJOR).arg(PAGOLINE_VERSION_MINOR).arg(PAGOLINE_VERSION_REVISION);
}

void Pagoline::PlaceRecordedControls()
{
    PagolineHostControls::PlaceRecorded(*this);
}

// --- properties ------------------------------------------------------------------

void Pagoline::report(const QString &name)
{
    if (!m_reading)
        emit PropertyChanged(name);
}

void Pagoline::changed(const QString &name, bool recalculateTemplates)
{
    Redraw(recalculateTemplates);
    report(name);
}

void Pagoline::setForeColor(uint colour)
{
    if (colour == m_foreColor)
        return;
    m_foreColor = colour;
    changed(QStringLiteral("ForeColor"), false);
}

void Pagoline::setBackColor(uint colour)
{
    if (colour == m_backColor)
        return;
    m_backColor = colour;
    changed(QStringLiteral("BackColor"), false);
}

QString Pagoline::Caption() const
{
    const CTab *current = CurrentTab();
    return current ? current->Caption() : QString();
}

void Pagoline::setCaption(const QString &caption)
{
    CTab *current = CurrentTab();
    if (!current || current->Caption() == caption)
        return;
    current->setCaption(caption);
    changed(QStringLiteral("Tabs"));
}

void Pagoline::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    applyEnabled(enabled);
    report(QStringLiteral("Enabled"));
}

void Pagoline::applyEnabled(bool enabled)
{
    m_enabled = enabled;
    // A disabled control cannot be clicked or tabbed into; one that has the focus keeps
    // it, so that a host disabling the control for a moment does not move the focus.
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
}

qint32 Pagoline::hWnd() const
{
    return qint32(internalWinId());
}

void Pagoline::setMousePointer(MousePointerConstants pointer)
{
    if (pointer == m_mousePointer || !PropertyLimits::IsMousePointer(pointer))
        return;
    m_mousePointer = pointer;
    applyCursor();
    report(QStringLiteral("MousePointer"));
}

void Pagoline::setMouseIcon(const QPixmap &icon)
{
    m_mouseIcon = icon;
    applyCursor();
    report(QStringLiteral("MouseIcon"));
}

void Pagoline::applyCursor()
{
    static const QHash<int, Qt::CursorShape> shapes = {
        {ssArrow, Qt::ArrowCursor},         {ssCross, Qt::CrossCursor},       {ssIBeam, Qt::IBeamCursor},
        {ssIcon, Qt::ArrowCursor},          {ssSize, Qt::SizeAllCursor},      {ssSizeNESW, Qt::SizeBDiagCursor},
        {ssSizeNS, Qt::SizeVerCursor},      {ssSizeNWSE, Qt::SizeFDiagCursor}, {ssSizeEW, Qt::SizeHorCursor},
        {ssUpArrow, Qt::UpArrowCursor},     {ssHourglass, Qt::WaitCursor},    {ssNoDrop, Qt::ForbiddenCursor},
        {ssArrowHourglass, Qt::BusyCursor}, {ssArrowQuestion, Qt::WhatsThisCursor}, {ssSizeAll, Qt::SizeAllCursor},
    };
    if (m_mousePointer == ssCustom && !m_mouseIcon.isNull())
        setCursor(QCursor(m_mouseIcon));
    else if (shapes.contains(m_mousePointer))
        setCursor(shapes.value(m_mousePointer));
    else
        unsetCursor();
}

void Pagoline::setOLEDropMode(OLEDropConstants mode)
{
    if (mode == m_oleDropMode || !PropertyLimits::IsOLEDropMode(mode))
        return;
    m_oleDropMode = mode;
    setAcceptDrops(mode == ssOLEDropManual);
    report(QStringLiteral("OLEDropMode"));
}

QPixmap Pagoline::Picture() const
{
    const CTab *current = CurrentTab();
    return current ? current->Picture : QPixmap();
}

void Pagoline::setPicture(const QPixmap &picture)
{
    CTab *current = CurrentTab();
    if (!current)
        return;
    current->Picture = picture;
    changed(QStringLiteral("Tabs"));
}

void Pagoline::setShowFocusRect(bool show)
{
    if (show == m_showFocusRect)
        return;
    m_showFocusRect = show;
    changed(QStringLiteral("ShowFocusRect"));
}

void Pagoline::setStyle(StyleConstants style)
{
    if (style == m_style || !PropertyLimits::IsStyle(style))
        return;
    m_style = style;
    createStyleObject();
    changed(QStringLiteral("Style"));
}

void Pagoline::createStyleObject()
{
    m_styleObject.reset();
    if (m_style == ssStyleTabbedDialog)
        m_styleObject = std::make_unique<CStyleTabbedDialog>();
    else if (m_style == ssStylePropertyPage)
        m_styleObject = std::make_unique<CStylePropertyPage>();
    if (m_styleObject)
        m_styleObject->setParent(this);
}

short Pagoline::Tab() const
{
    const CTab *current = CurrentTab();
    return current ? short(current->FixedIndex - 1) : 0;
}

void Pagoline::setTab(short tab)
{
    if (tab == Tab())
        return;
    if (SelectTab(tab + 1))
        Redraw(false);
}

float Pagoline::TabHeight() const
{
    return float(PixelsToHost(m_tabHeight));
}

void Pagoline::setTabHeight(float height)
{
    const double pixels = m_scaleMode == vbTwips ? height / kTwipsPerPixel : height;
    // Zero is ignored, and so is a negative height, which has no shape.
    if (!(pixels > 0))
        return;
    m_tabHeight = PropertyLimits::BoundTabHeight(qint64(std::nearbyint(qMin(pixels, 1e9))));
    changed(QStringLiteral("TabHeight"));
}

float Pagoline::TabMaxWidth() const
{
    return float(PixelsToHost(m_tabMaxWidth));
}

void Pagoline::setTabMaxWidth(float width)
{
    // NaN and negative widths read as 0, no maximum.
    const double units = width > 0 ? qMin(double(width), 1e9) : 0.0;
    const int pixels = PropertyLimits::BoundTabMaxWidth(HostToPixels(units));
    if (pixels == m_tabMaxWidth)
        return;
    m_tabMaxWidth = pixels;
    changed(QStringLiteral("TabMaxWidth"));
}

void Pagoline::setTabOrientation(TabOrientationConstants orientation)
{
    if (orientation == m_orientation || !PropertyLimits::IsOrientation(orientation))
        return;
    m_orientation = orientation;
    changed(QStringLiteral("TabOrientation"));
}

void Pagoline::setTabsPerRow(short perRow)
{
    if (perRow < 1 || PropertyLimits::BoundTabsPerRow(perRow) == m_tabsPerRow)
        return;
    m_tabsPerRow = short(PropertyLimits::BoundTabsPerRow(perRow));
    changed(QStringLiteral("TabsPerRow"));
}

void Pagoline::setWordWrap(bool wrap)
{
    if (wrap == m_wordWrap)
        return;
    m_wordWrap = wrap;
    changed(QStringLiteral("WordWrap"));
}

// --- indexed properties ----------------------------------------------------------

CTab *Pagoline::tabAt(short index) const
{
    return m_tabs.Item(index + 1);
}

QString Pagoline::TabCaption(short index, bool *ok) const
{
    const CTab *tab = tabAt(index);
    if (ok)
        *ok = tab != nullptr;
    return tab ? tab->Caption() : QString();
}

void Pagoline::setTabCaption(short index, const QString &caption)
{
    CTab *tab = tabAt(index);
    if (!tab || tab->Caption() == caption)
        return;
    tab->setCaption(caption);
    changed(QStringLiteral("Tabs"));
}

bool Pagoline::TabEnabled(short index, bool *ok) const
{
    const CTab *tab = tabAt(index);
    if (ok)
        *ok = tab != nullptr;
    return tab && tab->Enabled;
}

void Pagoline::setTabEnabled(short index, bool enabled)
{
    CTab *tab = tabAt(index);
    if (!tab || tab->Enabled == enabled)
        return;
    tab->Enabled = enabled;
    changed(QStringLiteral("Tabs"));
}

bool Pagoline::TabVisible(short index, bool *ok) const
{
    const CTab *tab = tabAt(index);
    if (ok)
        *ok = tab != nullptr;
    return tab && tab->Visible;
}

void Pagoline::setTabVisible(short index, bool visible)
{
    CTab *tab = tabAt(index);
    if (!tab || tab->Visible == visible)
        return;
    tab->Visible = visible;
    if (!visible && tab == CurrentTab()) {
        for (const auto &candidate : m_tabs) {
            if (candidate->Visible) {
                SelectTab(candidate->FixedIndex);
                break;
            }
        }
    }
    changed(QStringLiteral("Tabs"));
}

QPixmap Pagoline::TabPicture(short index, bool *ok) const
{
    const CTab *tab = tabAt(index);
    if (ok)
        *ok = tab != nullptr;
    return tab ? tab->Picture : QPixmap();
}

void Pagoline::setTabPicture(short index, const QPixmap &picture)
{
    CTab *tab = tabAt(index);
    if (!tab)
        return;
    tab->Picture = picture;
    changed(QStringLiteral("Tabs"));
}

// --- selecting and the number of tabs --------------------------------------------

CTab *Pagoline::CurrentTab() const
{
    return m_current ? m_current : m_tabs.Item(1);
}

bool Pagoline::SelectTab(int fixedIndex)
{
    CTab *target = m_tabs.Item(fixedIndex);
    CTab *previous = CurrentTab();
    // A number that names no tab changes nothing, so no page is emptied for it.
    if (!target || target == previous || !target->Enabled)
        return false;
    PagolineHostControls::LeavePage(*this);
    enterTab(target, short(previous ? previous->FixedIndex - 1 : 0));
    return true;
}

void Pagoline::enterTab(CTab *target, short previousTab)
{
    m_current = target;
    report(QStringLiteral("SelectedTab"));
    Redraw(false);
    PagolineHostControls::EnterPage(*this, *target);
    emit Click(previousTab);
    report(QStringLiteral("SelectedTab"));
}

QString Pagoline::reductionRefusal(int count) const
{
    QStringList owners;
    const CTab *current = CurrentTab();
    const QList<QWidget *> onPage = PagolineHostControls::HostControls(*this);
    const bool currentPageHolds = std::any_of(onPage.begin(), onPage.end(), [this](const QWidget *w) {
        return PagolineHostControls::OnCurrentPage(*this, w);
    });
    for (int i = count + 1; i <= m_tabs.Count(); ++i) {
        const CTab *tab = m_tabs.Item(i);
        // The current page's controls are not in its records until it is left.
        if (!tab->ContainedControls.isEmpty() || (tab == current && currentPageHolds && !m_dontShift))
            owners.append(QString::number(i - 1));
    }
    if (owners.isEmpty())
        return {};
    QString list;
    QString ending;
    if (owners.size() == 1) {
        list = QStringLiteral("tab ") + owners.first();
        ending = QStringLiteral("s");
    } else {
        const QString last = owners.takeLast();
        list = QStringLiteral("tabs ") + owners.join(QStringLiteral(", ")) + QStringLiteral(", and ") + last;
    }
    return QStringLiteral("The number of tabs cannot be set to %1 whilst %2 contain%3 other controls.\r\n"
                          "Please remove the contained controls from %2, and then try again.")
        .arg(count)
        .arg(list, ending);
}

void Pagoline::setTabs(short requested)
{
    const int existing = m_tabs.Count();
    if (requested <= 0) {
        if (!m_userMode)
            showMessage(QStringLiteral("Pagoline"), QStringLiteral("There must always be at least one tab."));
        return;
    }
    const int count = PropertyLimits::BoundTabs(requested);
    if (count == existing)
        return;
    if (count > existing) {
        for (int i = existing; i < count; ++i)
            m_tabs.Add();
        changed(QStringLiteral("Tabs"));
        return;
    }
    const QString refusal = reductionRefusal(count);
    if (!refusal.isEmpty()) {
        showMessage(QStringLiteral("Pagoline Control"), refusal);
        return;
    }
    const CTab *current = CurrentTab();
    const bool currentRemoved = current && current->FixedIndex > count;
    const short previousTab = current ? short(current->FixedIndex - 1) : 0;
    m_visible.clear();
    if (currentRemoved)
        m_current = nullptr;
    for (int i = existing; i > count; --i)
        m_tabs.Remove(i);
    if (currentRemoved) {
        // Tab 1 when it can be selected, else the first remaining tab that can.
        CTab *target = m_tabs.Item(1);
        for (const auto &tab : m_tabs) {
            if (tab->Enabled) {
                target = tab.get();
                break;
            }
        }
        enterTab(target, previousTab);
    }
    changed(QStringLiteral("Tabs"));
}

void Pagoline::InsertTab(short index)
{
    if (m_tabs.Count() >= PropertyLimits::MaxTabs)
        return;
    const int position = (index >= 0 && index < m_tabs.Count()) ? index + 1 : -1;
    m_visible.clear();
    m_tabs.Add(position);
    changed(QStringLiteral("Tabs"));
}

void Pagoline::RemoveTab(short index)
{
    CTab *tab = tabAt(index);
    if (!tab || m_tabs.Count() <= 1)
        return;
    const bool currentRemoved = tab == CurrentTab();
    m_visible.clear();
    if (currentRemoved)
        m_current = nullptr;
    m_tabs.Remove(index + 1);
    if (currentRemoved) {
        CTab *target = m_tabs.Item(qMin<int>(index + 1, m_tabs.Count()));
        enterTab(target, index);
    }
    changed(QStringLiteral("Tabs"));
}

void Pagoline::showMessage(const QString &title, const QString &text)
{
    if (m_messageHandler)
        m_messageHandler(title, text);
    else
        QMessageBox::information(this, title, text);
}

void Pagoline::setMessageHandler(MessageHandler handler)
{
    m_messageHandler = std::move(handler);
}

// --- host controls and ambient state ---------------------------------------------

void Pagoline::AddContainedControl(const QString &Name, bool TabStop, int Index)
{
    CTab *current = CurrentTab();
    if (!current || current->ContainedControls.size() >= PropertyLimits::MaxControlsPerTab)
        return;
    current->ContainedControls.append({Name, TabStop, Index});
    report(QStringLiteral("Tabs"));
}

void Pagoline::setDontShiftControls(bool dontShift)
{
    m_dontShift = dontShift;
}

void Pagoline::setUserMode(bool runMode)
{
    if (runMode == m_userMode)
        return;
    m_userMode = runMode;
    if (isVisible()) {
        stopInput();
        startInput();
    }
    Redraw(false);
}

void Pagoline::setScaleMode(ScaleModeConstants mode)
{
    m_scaleMode = mode == vbTwips ? vbTwips : vbPixels;
}

double Pagoline::PixelsToHost(int pixels) const
{
    return m_scaleMode == vbTwips ? double(pixels) * kTwipsPerPixel : double(pixels);
}

int Pagoline::HostToPixels(double units) const
{
    return int(std::nearbyint(m_scaleMode == vbTwips ? units / kTwipsPerPixel : units));
}

// --- layout ----------------------------------------------------------------------

const QList<CTab *> &Pagoline::VisibleTabs(bool rebuild)
{
    if (rebuild)
        m_visible = TabLayout::BuildVisibleTabs(m_tabs);
    return m_visible;
}

int Pagoline::StripLength() const
{
    return (m_orientation == ssTabOrientationLeft || m_orientation == ssTabOrientationRight) ? height() : width();
}

int Pagoline::StripDepth() const
{
    return (m_orientation == ssTabOrientationLeft || m_orientation == ssTabOrientationRight) ? width() : height();
}

int Pagoline::LastTabRow() const
{
    return m_visible.isEmpty() ? 0 : m_visible.last()->Row;
}

bool Pagoline::ShowFocusNow() const
{
    return m_showFocusRect && m_userMode && hasFocus();
}

bool Pagoline::ShowAcceleratorsNow() const
{
    return (QGuiApplication::keyboardModifiers() & Qt::AltModifier) || hasFocus() || !m_userMode;
}

bool Pagoline::layoutPass(bool recalculateTemplates)
{
    if (!m_styleObject || m_tabs.Count() == 0)
        return false;
    m_visible = TabLayout::BuildVisibleTabs(m_tabs);
    const int n = int(m_visible.size());
    if (n == 0)
        return false;
    const int p = qMax<int>(1, m_tabsPerRow);
    m_rows = TabLayout::RowCount(n, p);
    m_pageDepth = TabLayout::PageDepth(StripDepth(), m_tabHeight, m_rows);
    // A hidden current tab has no row of its own; the rows then keep their natural order.
    const int currentIndex = qMax(1, CurrentTab()->Index);
    for (CTab *tab : m_visible)
        tab->Row = TabLayout::DisplayRow(tab->Index, currentIndex, p, m_rows);
    if (size().isEmpty())
        return false;
    if (!bufferFitsWidget()) {
        // Device pixels, so that lines and captions are as sharp as the host's widgets;
        // the resolution stays 96 dpi, so fonts and pictures measure in client pixels.
        const qreal ratio = devicePixelRatioF();
        m_buffer = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        m_buffer.setDevicePixelRatio(ratio);
        m_buffer.setDotsPerMeterX(kDotsPerMeter);
        m_buffer.setDotsPerMeterY(kDotsPerMeter);
    }
    m_styleObject->DrawTabs(recalculateTemplates);
    return true;
}

void Pagoline::Redraw(bool recalculateTemplates)
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    // A style that grows the control asks for one more pass at the new size.
    for (int pass = 0; pass < 2; ++pass) {
        m_sizeChanged = false;
        if (!layoutPass(recalculateTemplates || pass > 0) || !m_sizeChanged)
            break;
    }
    m_inLayout = false;
    update();
}

bool Pagoline::bufferFitsWidget() const
{
    const qreal ratio = devicePixelRatioF();
    return !m_buffer.isNull() && m_buffer.devicePixelRatio() == ratio && m_buffer.size() == size() * ratio;
}

int Pagoline::HitTest(int x, int y) const
{
    for (const CTab *tab : m_visible) {
        if (tab->IsHit(x, y))
            return tab->FixedIndex;
    }
    return 0;
}

bool Pagoline::SetControlSize(int stripLength, int stripDepth)
{
    if (m_resizeGuard)
        return false;
    m_resizeGuard = true;
    const bool across = m_orientation == ssTabOrientationLeft || m_orientation == ssTabOrientationRight;
    const int length = qMax(PropertyLimits::BoundGrownExtent(stripLength), StripLength());
    const int depth = qMax(PropertyLimits::BoundGrownExtent(stripDepth), StripDepth());
    const QSize wanted = across ? QSize(depth, length) : QSize(length, depth);
    const QSize before = size();
    if (wanted != m_neededSize) {
        m_neededSize = wanted;
        updateGeometry();
    }
    resize(wanted);
    m_resizeGuard = false;
    const bool grew = size() != before;
    if (grew)
        m_sizeChanged = true;
    return grew;
}

QSize Pagoline::sizeHint() const
{
    return m_neededSize.isValid() ? m_neededSize.expandedTo(kNewControlSize) : kNewControlSize;
}

QSize Pagoline::minimumSizeHint() const
{
    return m_neededSize.isValid() ? m_neededSize : QSize(0, 0);
}

QRect Pagoline::PageRect() const
{
    const int t = m_tabHeight * qMax(1, m_rows);
    const int l = StripLength();
    const int d = StripDepth();
    const int right = l - 11 * (qMax(1, m_rows) - 1) - 1;
    const int border = 3;
    const int along0 = border, along1 = right - border;
    const int across0 = t + border, across1 = d - 1 - border;
    switch (m_orientation) {
    case ssTabOrientationBottom:
        return QRect(QPoint(along0, d - 1 - across1), QPoint(along1, d - 1 - across0));
    case ssTabOrientationLeft:
        return QRect(QPoint(across0, l - 1 - along1), QPoint(across1, l - 1 - along0));
    case ssTabOrientationRight:
        return QRect(QPoint(d - 1 - across1, along0), QPoint(d - 1 - across0, along1));
    default:
        return QRect(QPoint(along0, across0), QPoint(along1, across1));
    }
}

void Pagoline::PlaceHostControl(QWidget *widget, const QRect &pageGeometry)
{
    if (!widget || widget->parentWidget() != this)
        return;
    QRect target = pageGeometry;
    // A control kept off its page stays off by the same offset.
    if (!PagolineHostControls::OnCurrentPage(*this, widget))
        target.moveLeft(HostToPixels(PixelsToHost(pageGeometry.x()) - kShiftOffset));
    widget->setGeometry(target);
}

// --- painting and window events --------------------------------------------------

void Pagoline::paintEvent(QPaintEvent *)
{
    // Also when the window moved to a screen of another pixel ratio.
    if (!bufferFitsWidget()) {
        m_inLayout = true;
        layoutPass(true);
        m_inLayout = false;
    }
    QPainter painter(this);
    if (bufferFitsWidget())
        painter.drawImage(QPointF(0, 0), m_buffer);
    else
        painter.fillRect(rect(), SystemColours::TranslateColour(m_backColor, palette()));
}

void Pagoline::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_inLayout)
        m_sizeChanged = true;
    else
        Redraw(true);
}

void Pagoline::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    startInput();
    Redraw(true);
}

void Pagoline::hideEvent(QHideEvent *event)
{
    stopInput();
    QWidget::hideEvent(event);
}

void Pagoline::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        changed(QStringLiteral("Font"));
        break;
    case QEvent::PaletteChange:
        Redraw(true);
        break;
    default:
        break;
    }
}
