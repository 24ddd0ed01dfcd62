#include "ControlModel.h"

#include <QLoggingCategory>

namespace dunmere {

Q_LOGGING_CATEGORY(lcControls, "dunmere.pages.controls")

ControlModel::ControlModel(QObject* parent) : QObject(parent) {}

void ControlModel::add(const QString& name, const ControlState& initial)
{
    controls_[name] = initial;
}

bool ControlModel::has(const QString& name) const
{
    return controls_.count(name) != 0;
}

QStringList ControlModel::names() const
{
    QStringList all;
    for (const auto& entry : controls_)
        all << entry.first;
    return all;
}

const ControlState& ControlModel::state(const QString& name) const
{
    static const ControlState none;
    const auto it = controls_.find(name);
    if (it == controls_.end()) {
        qCWarning(lcControls) << "unknown control" << name;
        return none;
    }
    return it->second;
}

ControlState& ControlModel::edit(const QString& name)
{
    // A name outside the page design is a programming error; keep it visible in the log but
    // carry on, so a wrong name never takes the program down.
    if (!has(name))
        qCWarning(lcControls) << "unknown control" << name;
    return controls_[name];
}

void ControlModel::setVisible(const QString& name, bool on)
{
    ControlState& s = edit(name);
    if (s.visible == on)
        return;
    s.visible = on;
    emit changed(name);
}

void ControlModel::setEnabled(const QString& name, bool on)
{
    ControlState& s = edit(name);
    if (s.enabled == on)
        return;
    s.enabled = on;
    emit changed(name);
}

void ControlModel::setText(const QString& name, const QString& text)
{
    ControlState& s = edit(name);
    if (s.text == text)
        return;
    s.text = text;
    emit changed(name);
}

void ControlModel::setItems(const QString& name, const QStringList& items)
{
    ControlState& s = edit(name);
    s.items = items;
    s.index = -1;
    s.text.clear();
    emit itemsReplaced(name);
    emit changed(name);
}

void ControlModel::setIndex(const QString& name, int index)
{
    ControlState& s = edit(name);
    if (index < 0 || index >= s.items.size())
        index = -1;
    const QString text = index < 0 ? QString() : s.items.at(index);
    if (s.index == index && s.text == text)
        return;
    s.index = index;
    s.text = text;
    emit changed(name);
}

void ControlModel::setValue(const QString& name, int value)
{
    ControlState& s = edit(name);
    value = qBound(s.minimum, value, s.maximum);
    if (s.value == value)
        return;
    s.value = value;
    emit changed(name);
}

void ControlModel::setRange(const QString& name, int minimum, int maximum)
{
    ControlState& s = edit(name);
    s.minimum = minimum;
    s.maximum = maximum;
    s.value = qBound(minimum, s.value, maximum);
    emit changed(name);
}

void ControlModel::setChecked(const QString& name, bool on)
{
    ControlState& s = edit(name);
    if (s.checked == on)
        return;
    s.checked = on;
    emit changed(name);
}

void ControlModel::setColour(const QString& name, int colourEntry)
{
    ControlState& s = edit(name);
    if (s.colour == colourEntry)
        return;
    s.colour = colourEntry;
    emit changed(name);
}

void ControlModel::setVisible(std::initializer_list<const char*> names, bool on)
{
    for (const char* name : names)
        setVisible(QString::fromLatin1(name), on);
}

void ControlModel::setEnabled(std::initializer_list<const char*> names, bool on)
{
    for (const char* name : names)
        setEnabled(QString::fromLatin1(name), on);
}

}  // namespace dunmere
