#pragma once

#include "pagoline/core/CTab.h"
#include "pagoline/core/PagolineGlobal.h"

#include <memory>
#include <vector>

// The ordered tab list. Position in it (1-based) is each tab's FixedIndex.
class PAGOLINE_EXPORT CTabs
{
public:
    CTabs() = default;
    CTabs(const CTabs &) = delete;
    CTabs &operator=(const CTabs &) = delete;

    [[nodiscard]] int Count() const { return static_cast<int>(m_tabs.size()); }
    // position -1 (or anything outside 1..Count + 1) appends; an empty caption becomes
    // "Tab " + (position - 1).
    CTab &Add(int position = -1, const QString &caption = {});
    void Remove(int position);
    void Clear();
    // nullptr outside 1..Count.
    [[nodiscard]] CTab *Item(int position) const;

    [[nodiscard]] auto begin() const { return m_tabs.begin(); }
    [[nodiscard]] auto end() const { return m_tabs.end(); }

    [[nodiscard]] QByteArray Serialise() const;
    // Appends the tabs stored in contents.
    void Deserialise(const QByteArray &contents);

private:
    void renumber(int position);

    std::vector<std::unique_ptr<CTab>> m_tabs;
};
