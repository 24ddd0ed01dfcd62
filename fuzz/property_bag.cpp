// Pagoline's saved state as a host form may hold it after damage: the property bag's contents
// read from bytes, every name read back, the bag written out and read again to the same names,
// and the control's ReadProperties on it, drawn once, saved and read again.
// Links: pagoline Qt6::Widgets
//
// Input: the bag's contents as toBytes lays them out.

#include "FuzzInput.h"
#include "pagoline/core/Pagoline.h"
#include "pagoline/core/PropertyBag.h"

#include <QApplication>
#include <QImage>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
    dunmere::fuzz::FuzzInput in(data, size);
    bool ok = false;
    const PropertyBag bag = PropertyBag::fromBytes(in.rest(), &ok);
    for (const QString& name : bag.names())
        (void)bag.ReadProperty(name, 0);
    const PropertyBag again = PropertyBag::fromBytes(bag.toBytes(), &ok);
    if (!ok || again.names() != bag.names())
        std::abort();

    Pagoline control;
    control.resize(240, 160);
    (void)control.ReadProperties(bag);
    QImage image(control.size(), QImage::Format_ARGB32_Premultiplied);
    control.render(&image);
    PropertyBag saved;
    if (control.WriteProperties(saved)) {
        Pagoline copy;
        if (!copy.ReadProperties(saved))
            std::abort();
    }
    return 0;
}
