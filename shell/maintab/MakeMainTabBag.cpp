// Writes the saved state of the main window's tab control, the way a form keeps a control's
// properties: four pages, the Sensor page current, three tabs to a row, and the containers of
// pages 2-4 recorded as moved off to the side. The build runs this and ships the result as a
// resource; FrmMain places the page containers to match.
//
// Usage: dunmere-maintab-bag OUTPUT

#include "shell/maintab/MainTabLayout.h"

#include "pagoline/core/CTabs.h"
#include "pagoline/core/PropertyBag.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <cstdio>

namespace {

QByteArray mainTabContents()
{
    using namespace dunmere::maintab;
    CTabs tabs;
    for (int page = 0; page < PageCount; ++page) {
        CTab& tab = tabs.Add(-1, QString::fromLatin1(DesignCaptions[page]));
        // The form was saved with page 0 current: the other pages' containers are off-page.
        if (page != 0)
            tab.ContainedControls.append(CControl{QString::fromLatin1(PageContainerNames[page]), true, -1});
    }
    PropertyBag bag;
    // Names as the host form stores them, in lower case.
    bag.WriteProperty(QStringLiteral("tabsperrow"), TabsPerRow, 3);
    bag.WriteProperty(QStringLiteral("tabheight"), TabHeightPixels, 20);
    bag.WriteProperty(QStringLiteral("tabmaxwidth"), 0, 0);
    bag.WriteProperty(QStringLiteral("style"), 0, 0);
    bag.WriteProperty(QStringLiteral("orientation"), 0, 0);
    bag.WriteProperty(QStringLiteral("showfocusrect"), true, true);
    bag.WriteProperty(QStringLiteral("wordwrap"), true, true);
    bag.WriteProperty(QStringLiteral("selectedtab"), 1, 1);
    bag.WriteProperty(QStringLiteral("enabled"), true, true);
    bag.WriteProperty(QStringLiteral("tabs"), tabs.Serialise());
    return bag.toBytes();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    QSaveFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(mainTabContents()) < 0 || !out.commit()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
