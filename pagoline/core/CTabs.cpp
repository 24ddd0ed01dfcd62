#include "pagoline/core/CTabs.h"

#include "pagoline/core/PropertyBag.h"
#include "pagoline/core/PropertyLimits.h"

CTab &CTabs::Add(int position, const QString &caption)
{
    if (position < 1 || position > Count() + 1)
        position = Count() + 1;
    auto tab = std::make_unique<CTab>();
    tab->setCaption(caption.isEmpty() ? QStringLiteral("Tab %1").arg(position - 1) : caption);
    tab->Index = position;
    CTab &added = *tab;
    m_tabs.insert(m_tabs.begin() + (position - 1), std::move(tab));
    renumber(position);
    return added;
}

void CTabs::Remove(int position)
{
    if (position < 1 || position > Count())
        return;
    m_tabs.erase(m_tabs.begin() + (position - 1));
    renumber(position);
}

void CTabs::Clear()
{
    m_tabs.clear();
}

CTab *CTabs::Item(int position) const
{
    if (position < 1 || position > Count())
        return nullptr;
    return m_tabs[position - 1].get();
}

// Only the tabs from position on moved, so appending stays cheap.
void CTabs::renumber(int position)
{
    for (int i = position - 1; i < Count(); ++i)
        m_tabs[i]->FixedIndex = i + 1;
}

QByteArray CTabs::Serialise() const
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("NumTabs"), Count());
    for (int i = 1; i <= Count(); ++i)
        bag.WriteProperty(QStringLiteral("Tab%1").arg(i), Item(i)->Serialise());
    return bag.toBytes();
}

void CTabs::Deserialise(const QByteArray &contents)
{
    const PropertyBag bag = PropertyBag::fromBytes(contents);
    const int stored = PropertyLimits::BoundTabs(bag.ReadProperty(QStringLiteral("NumTabs"), qlonglong(0)).toLongLong());
    for (int i = 1; i <= stored && Count() < PropertyLimits::MaxTabs; ++i) {
        const QString name = QStringLiteral("Tab%1").arg(i);
        // The count may claim more tabs than the bag holds; the first gap ends the list.
        if (!bag.contains(name))
            break;
        Add().Deserialise(bag.ReadProperty(name, QByteArray()).toByteArray());
    }
}
