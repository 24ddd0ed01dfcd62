#pragma once
// One page of MainTab as a container widget: its controls, created from the page control
// table and named by their objectNames, laid out inside it by the page layout table. The
// widget mirrors the control model and reports clicks, picks, edits and slider moves to
// PagesCore; it decides nothing.

#include <QHash>
#include <QWidget>

namespace dunmere {

class PagesCore;
struct PageControl;

class PageWidget : public QWidget {
    Q_OBJECT
public:
    PageWidget(PagesCore& core, int page, QWidget* parent = nullptr);
    PageWidget(const PageWidget&) = delete;
    PageWidget& operator=(const PageWidget&) = delete;

    // The control by its name, nullptr for a name this page does not have.
    [[nodiscard]] QWidget* control(const QString& name) const { return controls_.value(name); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void create(const PageControl& c);
    void layOut(int page);
    void connectControl(const QString& name, QWidget* w);
    void apply(const QString& name);

    PagesCore& core_;
    QHash<QString, QWidget*> controls_;
    bool applying_ = false;
};

}  // namespace dunmere
