#include "pagoline/core/PGeneral.h"

#include "pagoline/core/Pagoline.h"
#include "pagoline/core/PropertyLimits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include <optional>

namespace {

constexpr int kTwipsPerPixel = 15;
// The page proper, 5910 x 3720 twips; the buttons stand below it.
constexpr QSize kPageSize(394, 248);
// Labels stand this far above their fields.
constexpr int kLabelRise = 240;
// Lists are drawn no shorter than a text field.
constexpr int kMinimumFieldHeight = 345;

QRect fromTwips(QRect twips)
{
    return {twips.x() / kTwipsPerPixel, twips.y() / kTwipsPerPixel, twips.width() / kTwipsPerPixel,
            twips.height() / kTwipsPerPixel};
}

std::optional<short> toShort(const QString &text)
{
    bool ok = false;
    const short value = text.trimmed().toShort(&ok);
    if (ok)
        return value;
    const short local = QLocale::system().toShort(text.trimmed(), &ok);
    return ok ? std::optional<short>(local) : std::nullopt;
}

std::optional<float> toSingle(const QString &text)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (ok)
        return value;
    const float local = QLocale::system().toFloat(text.trimmed(), &ok);
    return ok ? std::optional<float>(local) : std::nullopt;
}

void showValue(QComboBox *list, int value)
{
    const int at = list->findData(value);
    list->setCurrentIndex(at >= 0 ? at : 0);
}

} // namespace

QList<PGeneral::Entry> PGeneral::OrientationEntries()
{
    return {{"0 - ssTabOrientationTop", 0},
            {"1 - ssTabOrientationBottom", 1},
            {"2 - ssTabOrientationLeft", 2},
            {"3 - ssTabOrientationRight", 3}};
}

QList<PGeneral::Entry> PGeneral::StyleEntries()
{
    return {{"0 - ssStyleTabbedDialog", 0}, {"1 - ssStylePropertyPage", 1}};
}

QList<PGeneral::Entry> PGeneral::MousePointerEntries()
{
    return {{"0 - ssDefault", 0},        {"1 - ssArrow", 1},          {"2 - ssCross", 2},
            {"3 - ssIBeam", 3},          {"4 - ssIcon", 4},           {"5 - ssSize", 5},
            {"6 - ssSizeNESW", 6},       {"7 - ssSizeNS", 7},         {"8 - ssSizeNWSE", 8},
            {"9 - ssSizeEW", 9},         {"10 - ssUpArrow", 10},      {"11 - ssHourglass", 11},
            {"12 - ssNoDrop", 12},       {"13 - ssArrowHourglass", 13}, {"14 - ssArrowQuestion", 14},
            {"15 - ssSizeAll", 15},      {"99 - ssCustom", 99}};
}

QList<PGeneral::Entry> PGeneral::OLEDropModeEntries()
{
    return {{"0 - ssOLEDropNone", 0}, {"1 - ssOLEDropManual", 1}};
}

PGeneral::PGeneral(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PGeneral"));
    setWindowTitle(QStringLiteral("General"));
    buildFields();
    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    buttons->setGeometry(0, kPageSize.height() + 4, kPageSize.width() - 12, 30);
    m_cmdApply = buttons->button(QDialogButtonBox::Apply);
    m_cmdApply->setObjectName(QStringLiteral("cmdApply"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PGeneral::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_cmdApply, &QPushButton::clicked, this, [this] { ApplyChanges(); });
    setFixedSize(kPageSize.width(), kPageSize.height() + 40);
    fillPage();
}

QLineEdit *PGeneral::addText(const char *name, const char *label, QRect twips)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(fromTwips(twips));
    if (label) {
        auto *caption = new QLabel(QString::fromUtf8(label), this);
        caption->setGeometry(fromTwips(QRect(twips.x(), twips.y() - kLabelRise, qMax(twips.width(), 1245), 225)));
        caption->setBuddy(field);
    }
    connect(field, &QLineEdit::textChanged, this, &PGeneral::markChanged);
    return field;
}

QComboBox *PGeneral::addList(const char *name, const char *label, QRect twips, const QList<Entry> &entries)
{
    auto *list = new QComboBox(this);
    list->setObjectName(QLatin1String(name));
    twips.setHeight(qMax(twips.height(), kMinimumFieldHeight));
    list->setGeometry(fromTwips(twips));
    for (const Entry &entry : entries)
        list->addItem(QString::fromLatin1(entry.text), entry.value);
    auto *caption = new QLabel(QString::fromUtf8(label), this);
    caption->setGeometry(fromTwips(QRect(twips.x(), twips.y() - kLabelRise, twips.width(), 225)));
    caption->setBuddy(list);
    connect(list, &QComboBox::currentIndexChanged, this, &PGeneral::markChanged);
    return list;
}

QCheckBox *PGeneral::addCheck(const char *name, const char *caption, QRect twips)
{
    auto *box = new QCheckBox(QString::fromLatin1(caption), this);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(fromTwips(twips));
    connect(box, &QCheckBox::toggled, this, &PGeneral::markChanged);
    return box;
}

void PGeneral::buildFields()
{
    m_txtIndex = addText("txtIndex", "&Current Tab:", {240, 345, 720, 345});
    m_txtIndex->setReadOnly(true);
    m_cmdLeft = new QPushButton(QStringLiteral("<"), this);
    m_cmdLeft->setObjectName(QStringLiteral("cmdLeft"));
    m_cmdLeft->setGeometry(fromTwips({990, 345, 225, 345}));
    connect(m_cmdLeft, &QPushButton::clicked, this, [this] { step(-1); });
    m_cmdRight = new QPushButton(QStringLiteral(">"), this);
    m_cmdRight->setObjectName(QStringLiteral("cmdRight"));
    m_cmdRight->setGeometry(fromTwips({1230, 345, 225, 345}));
    connect(m_cmdRight, &QPushButton::clicked, this, [this] { step(1); });
    m_txtTabCaption = addText("txtTabCaption", "&TabCaption:", {1860, 345, 3855, 345});
    m_txtTabCount = addText("txtTabCount", "Tab Cou&nt:", {240, 975, 1245, 345});
    m_cboOrientation = addList("cboOrientation", "&Orientation:", {1860, 990, 3855, 225}, OrientationEntries());
    m_txtTabsPerRow = addText("txtTabsPerRow", "TabsPer&Row:", {240, 1605, 1245, 345});
    m_cboStyle = addList("cboStyle", "&Style:", {1860, 1620, 3855, 225}, StyleEntries());
    m_txtTabHeight = addText("txtTabHeight", "Tab&Height:", {240, 2235, 1245, 345});
    m_txtTabMaxWidth = addText("txtTabMaxWidth", "TabMax&Width:", {1830, 2235, 1245, 345});
    m_txtTabCount->setToolTip(QStringLiteral("1 to %1").arg(PropertyLimits::MaxTabs));
    m_txtTabsPerRow->setToolTip(QStringLiteral("1 to %1").arg(PropertyLimits::MaxTabsPerRow));
    m_txtTabHeight->setToolTip(QStringLiteral("Up to %1 pixels").arg(PropertyLimits::MaxTabHeight));
    m_txtTabMaxWidth->setToolTip(QStringLiteral("0 (none) to %1 pixels").arg(PropertyLimits::MaxTabMaxWidth));
    m_cboMousePointer = addList("cboMousePointer", "&MousePointer:", {3360, 2250, 2355, 225}, MousePointerEntries());
    m_cboOLEDropMode = addList("cboOLEDropMode", "OLEDro&pMode:", {270, 2880, 2535, 225}, OLEDropModeEntries());
    m_chkWordWrap = addCheck("chkWordWrap", "Wor&dWrap", {270, 3300, 1485, 315});
    m_chkShowFocusRect = addCheck("chkShowFocusRect", "Show&FocusRect", {1860, 3300, 1785, 315});
    m_chkEnabled = addCheck("chkEnabled", "&Enabled", {4020, 3300, 1485, 315});
}

// The page as it stands before a control's values are loaded into it.
void PGeneral::fillPage()
{
    m_loading = true;
    m_txtTabCount->setText(QStringLiteral("1"));
    m_txtIndex->setText(QStringLiteral("0"));
    m_txtTabCaption->clear();
    for (QComboBox *list : {m_cboOrientation, m_cboStyle, m_cboMousePointer, m_cboOLEDropMode})
        list->setCurrentIndex(1);
    m_cmdLeft->setEnabled(false);
    m_cmdRight->setEnabled(false);
    m_loading = false;
}

void PGeneral::SelectionChanged(const QList<Pagoline *> &selection)
{
    m_control = selection.isEmpty() ? nullptr : selection.first();
    fillPage();
    m_loading = true;
    LoadValues();
    m_loading = false;
    m_changed = false;
}

void PGeneral::LoadValues()
{
    if (!m_control)
        return;
    const Pagoline &c = *m_control;
    m_txtIndex->setText(QString::number(c.Tab()));
    m_txtTabCaption->setText(c.Caption());
    m_txtTabCount->setText(QString::number(c.Tabs()));
    m_txtTabsPerRow->setText(QString::number(c.TabsPerRow()));
    m_txtTabHeight->setText(QString::number(c.TabHeight()));
    m_txtTabMaxWidth->setText(QString::number(c.TabMaxWidth()));
    showValue(m_cboOrientation, c.TabOrientation());
    showValue(m_cboStyle, c.Style());
    showValue(m_cboMousePointer, c.MousePointer());
    showValue(m_cboOLEDropMode, c.OLEDropMode());
    m_chkWordWrap->setChecked(c.WordWrap());
    m_chkShowFocusRect->setChecked(c.ShowFocusRect());
    m_chkEnabled->setChecked(c.Enabled());
    const bool several = c.Tabs() > 1;
    m_cmdLeft->setEnabled(several);
    m_cmdRight->setEnabled(several);
}

void PGeneral::markChanged()
{
    if (!m_loading)
        m_changed = true;
}

bool PGeneral::ApplyChanges()
{
    if (!m_control)
        return false;
    Pagoline &c = *m_control;
    const auto perRow = toShort(m_txtTabsPerRow->text());
    if (!perRow)
        return false;
    c.setTabsPerRow(*perRow);
    c.setCaption(m_txtTabCaption->text());
    const auto height = toSingle(m_txtTabHeight->text());
    if (!height)
        return false;
    c.setTabHeight(*height);
    const auto maxWidth = toSingle(m_txtTabMaxWidth->text());
    if (!maxWidth)
        return false;
    c.setTabMaxWidth(*maxWidth);
    c.setTabOrientation(Pagoline::TabOrientationConstants(m_cboOrientation->currentData().toInt()));
    c.setStyle(Pagoline::StyleConstants(m_cboStyle->currentData().toInt()));
    c.setMousePointer(Pagoline::MousePointerConstants(m_cboMousePointer->currentData().toInt()));
    c.setOLEDropMode(Pagoline::OLEDropConstants(m_cboOLEDropMode->currentData().toInt()));
    c.setWordWrap(m_chkWordWrap->isChecked());
    c.setShowFocusRect(m_chkShowFocusRect->isChecked());
    c.setEnabled(m_chkEnabled->isChecked());
    const auto count = toShort(m_txtTabCount->text());
    if (!count)
        return false;
    c.setTabs(*count);
    // The fields show what the control took, a value beyond its bounds as the bound.
    m_loading = true;
    LoadValues();
    m_loading = false;
    m_changed = false;
    return true;
}

// "<" and ">": unapplied changes go to the tab they were made on before the page moves.
void PGeneral::step(int by)
{
    if (!m_control)
        return;
    const int target = m_control->Tab() + by;
    if (target < 0 || target >= m_control->Tabs())
        return;
    // A field that stopped the apply keeps the page on its tab, so that it can be mended.
    if (m_changed && !ApplyChanges())
        return;
    m_loading = true;
    m_control->setTab(short(target));
    LoadValues();
    m_loading = false;
}

void PGeneral::accept()
{
    if (m_changed && !ApplyChanges())
        return;
    QDialog::accept();
}
