#pragma once
// One page of MainTab as a container widget: its controls, created from the page control
// table and named by their objectNames, laid out inside it. The widget mirrors the control
// model and reports clicks, picks, edits and slider moves to PagesCore; it decides nothing.

#include <QHash>
#include <QWidget>

class QGridLayout;

namespace dunmere {

class PagesCore;

class PageWidget : public QWidget {
    Q_OBJECT
public:
    PageWidget(PagesCore& core, int page, QWidget* parent = nullptr);
    PageWidget(const PageWidget&) = delete;
    PageWidget& operator=(const PageWidget&) = delete;

    // The control by its name, nullptr for a name this page does not have.
    [[nodiscard]] QWidget* control(const QString& name) const { return controls_.value(name); }

private:
    void build(int page);
    QGridLayout* gridOf(QWidget* container);
    // Puts w into the next free cell of its container's grid; wide spans a whole row.
    void place(QWidget* container, QWidget* w, int columns, bool wide);
    QWidget* create(const struct PageControl& c, QWidget* parent);
    void connectControl(const QString& name, QWidget* w);
    void apply(const QString& name);

    PagesCore& core_;
    QHash<QString, QWidget*> controls_;
    QHash<QGridLayout*, int> nextCell_;
    bool applying_ = false;
};

}  // namespace dunmere
