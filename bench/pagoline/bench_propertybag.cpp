// Reading a saved tab: a property bag of many host-control entries taken from its bytes and
// every entry looked up, and the same for a list eight times as long. Prints the time per
// entry of both and their ratio, which stays near 1 while reading is linear (a lookup by
// scanning the entries would make it near 8). Prints; never judges.
#include "pagoline/core/PropertyBag.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

QByteArray bagOf(int entries)
{
    PropertyBag bag;
    for (int i = 1; i <= entries; ++i)
        bag.WriteProperty(QStringLiteral("n%1").arg(i), QStringLiteral("control%1").arg(i));
    return bag.toBytes();
}

// Nanoseconds per entry to read the bag and look every entry up, the best of five runs.
double nsPerEntry(int entries)
{
    const QByteArray bytes = bagOf(entries);
    double best = 1e30;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const PropertyBag bag = PropertyBag::fromBytes(bytes);
        qsizetype found = 0;
        for (int i = 1; i <= entries; ++i)
            found += bag.ReadProperty(QStringLiteral("N%1").arg(i), QString()).toString().size();
        const double ns = double(timer.nsecsElapsed()) / entries;
        if (found > 0 && ns < best)
            best = ns;
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int small = 4000;
    const double a = nsPerEntry(small);
    const double b = nsPerEntry(small * 8);
    std::printf("property bag, %d entries: %.0f ns per entry\n", small, a);
    std::printf("property bag, %d entries: %.0f ns per entry\n", small * 8, b);
    std::printf("ratio per entry (8x the entries): %.2f\n", b / a);
    return 0;
}
