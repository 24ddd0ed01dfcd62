#pragma once
// The state of the page controls, kept apart from the widgets: the procedures that talk to a
// sensor set and read it here by the controls' names, and the page widgets only mirror it and
// report what the user typed or picked. Names are the widgets' objectNames (an indexed control
// such as LblStatus(0) is "LblStatus_0").

#include <QObject>
#include <QString>
#include <QStringList>
#include <map>

namespace dunmere {

struct ControlState {
    bool visible = true;
    bool enabled = true;
    QString text;       // caption, box text, or the selected item's text of a list
    QStringList items;  // lists
    int index = -1;     // lists: the selected item, -1 for none
    int value = 0;      // sliders and progress bars
    int minimum = 0;
    int maximum = 100;
    bool checked = false;  // check boxes
    int colour = -1;       // entry of the colour table, -1 for the default colour
};

class ControlModel final : public QObject {
    Q_OBJECT
public:
    explicit ControlModel(QObject* parent = nullptr);
    ControlModel(const ControlModel&) = delete;
    ControlModel& operator=(const ControlModel&) = delete;

    // Known controls, with the state the page design gives them.
    void add(const QString& name, const ControlState& initial = {});
    [[nodiscard]] bool has(const QString& name) const;
    [[nodiscard]] QStringList names() const;

    [[nodiscard]] const ControlState& state(const QString& name) const;
    [[nodiscard]] bool visible(const QString& name) const { return state(name).visible; }
    [[nodiscard]] bool enabled(const QString& name) const { return state(name).enabled; }
    [[nodiscard]] QString text(const QString& name) const { return state(name).text; }
    [[nodiscard]] int index(const QString& name) const { return state(name).index; }
    [[nodiscard]] int itemCount(const QString& name) const { return int(state(name).items.size()); }
    [[nodiscard]] int value(const QString& name) const { return state(name).value; }
    [[nodiscard]] bool checked(const QString& name) const { return state(name).checked; }
    [[nodiscard]] int colour(const QString& name) const { return state(name).colour; }

    void setVisible(const QString& name, bool on);
    void show(const QString& name) { setVisible(name, true); }
    void hide(const QString& name) { setVisible(name, false); }
    void setEnabled(const QString& name, bool on);
    void setText(const QString& name, const QString& text);
    // Replaces the items; nothing is selected afterwards.
    void setItems(const QString& name, const QStringList& items);
    // Selects an item (and takes its text); an index outside the items selects nothing.
    void setIndex(const QString& name, int index);
    void setValue(const QString& name, int value);
    void setRange(const QString& name, int minimum, int maximum);
    void setChecked(const QString& name, bool on);
    void setColour(const QString& name, int colourEntry);

    // Several controls at once.
    void setVisible(std::initializer_list<const char*> names, bool on);
    void setEnabled(std::initializer_list<const char*> names, bool on);

signals:
    void changed(const QString& name);
    // A list got new items (setItems); changed() follows as well.
    void itemsReplaced(const QString& name);

private:
    ControlState& edit(const QString& name);

    std::map<QString, ControlState> controls_;
};

}  // namespace dunmere
