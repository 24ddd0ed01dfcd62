#include "PageWidget.h"

#include "core/PageLayouts.h"
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

QWidget* newControl(ControlKind kind, QWidget* parent)
{
    switch (kind) {
    case ControlKind::Frame: return new QGroupBox(parent);
    case ControlKind::Label: return new QLabel(parent);
    case ControlKind::Button: return new QPushButton(parent);
    case ControlKind::Text: return new QLineEdit(parent);
    case ControlKind::List: {
        // As wide as its longest item in the language on show.
        auto* list = new QComboBox(parent);
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        return list;
    }
    case ControlKind::Check: return new QCheckBox(parent);
    case ControlKind::Slider: return new QSlider(Qt::Horizontal, parent);
    case ControlKind::Progress: return new QProgressBar(parent);
    }
    return new QWidget(parent);
}

constexpr int PageFontPointSize = 8;
constexpr int KeyWidth = 34;

QGridLayout* newGrid(QWidget* container)
{
    auto* grid = new QGridLayout(container);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    return grid;
}

}  // namespace

PageWidget::PageWidget(PagesCore& core, int page, QWidget* parent) : QWidget(parent), core_(core)
{
    // The pages share MainTab's area of the 10785 x 8160 twip window.
    QFont small = font();
    small.setPointSize(PageFontPointSize);
    setFont(small);
    for (const PageControl& c : PageControls()) {
        if (c.page == page)
            create(c);
    }
    layOut(page);
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        connectControl(it.key(), it.value());
        apply(it.key());
    }
    connect(&core_.model(), &ControlModel::changed, this, &PageWidget::apply);
}

void PageWidget::create(const PageControl& c)
{
    const QString parentName = QString::fromLatin1(c.parent);
    QWidget* parent = parentName.isEmpty() ? this : controls_.value(parentName, this);
    QWidget* w = newControl(c.kind, parent);
    w->setObjectName(QString::fromLatin1(c.name));
    if (parentName == QLatin1String("FramePW") && c.kind == ControlKind::Button)
        w->setFixedWidth(KeyWidth);
    // Advice and status sentences: they wrap within their cell rather than run off its edge or
    // widen it.
    if (auto* note = qobject_cast<QLabel*>(w); note && IsNote(w->objectName())) {
        note->setWordWrap(true);
        note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    controls_.insert(w->objectName(), w);
}

void PageWidget::layOut(int page)
{
    const QString pageName = QStringLiteral("Page%1").arg(page);
    for (const GridLayoutRows& layout : PageLayouts()) {
        const QString containerName = QString::fromLatin1(layout.container);
        QWidget* container = containerName == pageName ? this : controls_.value(containerName);
        if (!container)
            continue;
        QGridLayout* grid = newGrid(container);
        // Spare height goes below the last row, so the rows keep their places.
        grid->setRowStretch(int(layout.rows.size()), 1);
        for (int r = 0; r < int(layout.rows.size()); ++r) {
            const auto& row = layout.rows.at(r);
            for (int c = 0; c < int(row.size()); ++c) {
                const QString cell = QString::fromLatin1(row.at(c));
                if (cell.isEmpty() || cell == QLatin1String("<") || cell == QLatin1String("^"))
                    continue;
                int span = 1;
                while (c + span < int(row.size()) && QByteArray(row.at(c + span)) == "<")
                    ++span;
                int rows = 1;
                while (r + rows < int(layout.rows.size()) && c < int(layout.rows.at(r + rows).size())
                       && QByteArray(layout.rows.at(r + rows).at(c)) == "^")
                    ++rows;
                for (const QString& name : cell.split(QLatin1Char('|'))) {
                    if (QWidget* w = controls_.value(name))
                        grid->addWidget(w, r, c, rows, span);
                }
            }
        }
    }
    // A group that covers the page stays outside the grids; resizeEvent sizes it.
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        if (CoversPage(it.key()))
            it.value()->raise();
    }
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        if (StaysAboveCover(it.key()))
            it.value()->raise();
    }
}

void PageWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        if (CoversPage(it.key()))
            it.value()->setGeometry(rect());
    }
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
    if (CoversPage(name) && s.visible)
        w->setGeometry(rect());
    w->setHidden(!s.visible);
    w->setEnabled(s.enabled);
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(s.text);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(s.text);
        QPalette p = l->palette();
        const bool coloured = s.colour >= 0 && s.colour < int(ColourTable().size());
        // The active colour, whatever state the page is in now: a value shown while MainTab
        // was disabled for an exchange must not keep the disabled grey afterwards.
        const QColor text = coloured ? ColourTable().at(s.colour) : palette().color(QPalette::Active, QPalette::WindowText);
        p.setColor(QPalette::Active, QPalette::WindowText, text);
        p.setColor(QPalette::Inactive, QPalette::WindowText, text);
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
