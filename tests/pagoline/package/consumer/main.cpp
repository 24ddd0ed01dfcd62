// Creates a control from the installed library, saves it to a property bag and reads it
// into a second control; exits 0 when the second holds what the first saved.
#include "pagoline/core/Pagoline.h"
#include "pagoline/core/PropertyBag.h"

#include <QApplication>

#include <cstdio>

// Only the public headers are on the include path, not the library's inside.
#if __has_include("pagoline/core/TabLayout.h") || __has_include("pagoline/styles/CTemplate.h")
#error "a private header of Pagoline is on the include path"
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Pagoline first;
    first.setTabs(5);
    first.setTabsPerRow(2);
    first.setTabCaption(4, QStringLiteral("Fünf"));
    first.setTab(4);
    PropertyBag bag;
    if (!first.WriteProperties(bag))
        return 1;

    Pagoline second;
    if (!second.ReadProperties(PropertyBag::fromBytes(bag.toBytes())))
        return 2;
    if (second.Tabs() != 5 || second.TabsPerRow() != 2 || second.Tab() != 4
        || second.TabCaption(4) != QStringLiteral("Fünf"))
        return 3;
    std::printf("Pagoline %s\n", qPrintable(Pagoline::Version()));
    return 0;
}
