#include "PageWidget.h"

#include "core/PageControls.h"
#include "core/PagesCore.h"
#include "link/ValueFormat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

namespace dunmere {

namespace {

// Columns of the grid inside a group; label and control pairs take two.
int columnsOf(const QString& frame)
{
    static const QHash<QString, int> columns = {
        {QStringLiteral("FramePW"), 5},         {QStringLiteral("FrameStatus"), 1},
        {QStringLiteral("FrameInterface"), 4}, {QStringLiteral("FrameMatCal"), 4},
        {QStringLiteral("FrameFactory"), 3},    {QStringLiteral("FrameTempComp"), 3},
        {QStringLiteral("FrameAdvFactory"), 5}, {QStringLiteral("FrameAdvTempComp"), 5},
        {QStringLiteral("FrameMeasurementMode"), 3}, {QStringLiteral("FrameValidRange"), 3},
        {QStringLiteral("FrameSecuritySettings"), 1},
    };
    return columns.value(frame, 2);
}

int pageColumns(int page)
{
    return page == 2 ? 3 : 2;
}

}  // namespace

PageWidget::PageWidget(PagesCore& core, int page, QWidget* parent) : QWidget(parent), core_(core)
{
    build(page);
    connect(&core_.model(), &ControlModel::changed, this, &PageWidget::apply);
}

QGridLayout* PageWidget::gridOf(QWidget* container)
{
    auto* grid = qobject_cast<QGridLayout*>(container->layout());
    if (!grid) {
        grid = new QGridLayout(container);
        grid->setContentsMargins(4, 4, 4, 4);
        grid->setSpacing(3);
        nextCell_.insert(grid, 0);
    }
    return grid;
}

void PageWidget::place(QWidget* container, QWidget* w, int columns, bool wide)
{
    QGridLayout* grid = gridOf(container);
    int& next = nextCell_[grid];
    if (wide && next % columns != 0)
        next += columns - next % columns;
    grid->addWidget(w, next / columns, next % columns, 1, wide ? columns : 1);
    next += wide ? columns : 1;
}

void PageWidget::build(int page)
{
    for (const PageControl& c : PageControls()) {
        if (c.page != page)
            continue;
        const QString name = QString::fromLatin1(c.name);
        const QString parentName = QString::fromLatin1(c.parent);
        QWidget* container = parentName.isEmpty() ? this : controls_.value(parentName, this);
        QWidget* w = create(c, container);
        const bool onPage = container == this;
        const bool wide = onPage ? name.startsWith(QLatin1String("LblName"))
                                 : c.kind == ControlKind::Frame || c.kind == ControlKind::Progress;
        place(container, w, onPage ? pageColumns(page) : columnsOf(parentName), wide);
        controls_.insert(name, w);
        connectControl(name, w);
        apply(name);
    }
}

QWidget* PageWidget::create(const PageControl& c, QWidget* parent)
{
    QWidget* w = nullptr;
    switch (c.kind) {
    case ControlKind::Frame: w = new QGroupBox(parent); break;
    case ControlKind::Label: w = new QLabel(parent); break;
    case ControlKind::Button: w = new QPushButton(parent); break;
    case ControlKind::Text: w = new QLineEdit(parent); break;
    case ControlKind::List: w = new QComboBox(parent); break;
    case ControlKind::Check: w = new QCheckBox(parent); break;
    case ControlKind::Slider: w = new QSlider(Qt::Horizontal, parent); break;
    case ControlKind::Progress: w = new QProgressBar(parent); break;
    }
    w->setObjectName(QString::fromLatin1(c.name));
    return w;
}

void PageWidget::connectControl(const QString& name, QWidget* w)
{
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        connect(b, &QPushButton::clicked, this, [this, name] { core_.buttonClicked(name); });
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        connect(e, &QLineEdit::textEdited, this, [this, name](const QString& text) { core_.textEdited(name, text); });
    } else if (auto* l = qobject_cast<QComboBox*>(w)) {
        connect(l, &QComboBox::activated, this, [this, name](int index) { core_.listPicked(name, index); });
    } else if (auto* k = qobject_cast<QCheckBox*>(w)) {
        connect(k, &QCheckBox::clicked, this, [this, name](bool ticked) { core_.checkClicked(name, ticked); });
    } else if (auto* s = qobject_cast<QSlider*>(w)) {
        connect(s, &QSlider::valueChanged, this, [this, name](int value) {
            if (!applying_)
                core_.sliderMoved(name, value);
        });
    }
}

void PageWidget::apply(const QString& name)
{
    QWidget* w = controls_.value(name);
    if (!w)
        return;
    const ControlState& s = core_.model().state(name);
    applying_ = true;
    w->setHidden(!s.visible);
    w->setEnabled(s.enabled);
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(s.text);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(s.text);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, s.colour >= 0 && s.colour < int(ColourTable().size())
                                             ? ColourTable().at(s.colour)
                                             : palette().color(QPalette::WindowText));
        l->setPalette(p);
    } else if (auto* b = qobject_cast<QPushButton*>(w)) {
        b->setText(s.text);
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != s.text)
            e->setText(s.text);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        QStringList shown;
        for (int i = 0; i < c->count(); ++i)
            shown << c->itemText(i);
        if (shown != s.items) {
            c->clear();
            c->addItems(s.items);
        }
        c->setCurrentIndex(s.index);
    } else if (auto* k = qobject_cast<QCheckBox*>(w)) {
        k->setText(s.text);
        k->setChecked(s.checked);
    } else if (auto* sl = qobject_cast<QSlider*>(w)) {
        sl->setRange(s.minimum, s.maximum);
        sl->setValue(s.value);
    } else if (auto* pb = qobject_cast<QProgressBar*>(w)) {
        pb->setRange(s.minimum, s.maximum);
        pb->setValue(s.value);
    }
    applying_ = false;
}

}  // namespace dunmere
