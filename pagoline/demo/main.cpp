// pagoline-demo: one form hosting a Pagoline control, with a page of ordinary widgets on
// each tab, for looking at the control by hand.
//
//   pagoline-demo [--screenshot FILE] [--tab N] [--orientation 0..3] [--tabs-per-row N]
//                 [--tab-style 0|1] [--property-page]
//
// The buttons under the control switch its style and open its property page and
// About box; --property-page opens the property page at start (and the screenshot
// then shows the page).
//
// With --screenshot the form is rendered without a display and saved as a PNG.
#include "pagoline/core/PGeneral.h"
#include "pagoline/core/Pagoline.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>

namespace {

QWidget *connectionPage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    auto *port = new QComboBox;
    port->addItems({QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3")});
    form->addRow(QStringLiteral("Serial &port:"), port);
    form->addRow(QStringLiteral("Address:"), new QSpinBox);
    form->addRow(QStringLiteral("Adapter:"), new QLineEdit(QStringLiteral("192.168.0.40")));
    form->addRow(new QCheckBox(QStringLiteral("Search the bus at start-up")));
    form->addRow(new QPushButton(QStringLiteral("Connect")));
    return page;
}

QWidget *settingsPage(Pagoline &tabs)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *outputs = new QCheckBox(QStringLiteral("Outputs tab enabled"));
    outputs->setChecked(true);
    QObject::connect(outputs, &QCheckBox::toggled, &tabs, [&tabs](bool on) { tabs.setTabEnabled(2, on); });
    layout->addWidget(outputs);
    auto *group = new QGroupBox(QStringLiteral("Averaging"));
    auto *form = new QFormLayout(group);
    form->addRow(QStringLiteral("Filter time (s):"), new QLineEdit(QStringLiteral("1.00")));
    form->addRow(QStringLiteral("Hold time (s):"), new QLineEdit(QStringLiteral("0.50")));
    layout->addWidget(group);
    layout->addWidget(new QCheckBox(QStringLiteral("Use temperature compensation")));
    layout->addStretch();
    return page;
}

QWidget *outputPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Analogue output 1")));
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setValue(40);
    layout->addWidget(slider);
    layout->addWidget(new QLabel(QStringLiteral("Analogue output 2")));
    layout->addWidget(new QSlider(Qt::Horizontal));
    layout->addStretch();
    return page;
}

QWidget *textPage(const QString &text)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    layout->addWidget(label);
    layout->addStretch();
    return page;
}

// Builds the pages the way a form designer would: each page's container is placed while
// its tab is current, and the control moves it away when another tab is chosen.
void addPages(Pagoline &tabs)
{
    const QStringList captions = {QStringLiteral("&Connection"), QStringLiteral("&Settings"),
                                  QStringLiteral("&Outputs"),    QStringLiteral("&Diagnostics"),
                                  QStringLiteral("Über &uns"),   QStringLiteral("Ｗｉｄｅ")};
    tabs.setTabs(short(captions.size()));
    const QList<QWidget *> pages = {connectionPage(), settingsPage(tabs), outputPage(),
                                    textPage(QStringLiteral("Temperatures, resonator frequency and status flags.")),
                                    textPage(QStringLiteral("Captions are Unicode: äöü, ＦＦ21, ελληνικά.")),
                                    textPage(QStringLiteral("A caption in full-width characters."))};
    for (int i = 0; i < captions.size(); ++i) {
        tabs.setTab(short(i));
        tabs.setTabCaption(short(i), captions[i]);
        QWidget *page = pages[i];
        page->setParent(&tabs);
        page->setObjectName(QStringLiteral("Page%1").arg(i));
        page->setGeometry(tabs.PageRect());
        page->show();
    }
    tabs.setTab(0);
}

QWidget *showPropertyPage(Pagoline &tabs, QWidget *owner)
{
    auto *page = new PGeneral(owner);
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->SelectionChanged({&tabs});
    page->show();
    return page;
}

// The style switch and the buttons for the property page and the About box.
void addControls(QWidget &form, Pagoline &tabs)
{
    auto *styles = new QComboBox(&form);
    styles->setObjectName(QStringLiteral("cboStyle"));
    styles->addItems({QStringLiteral("Tabbed dialog"), QStringLiteral("Property page")});
    styles->setCurrentIndex(tabs.Style() == Pagoline::ssStylePropertyPage ? 1 : 0);
    styles->setGeometry(12, 380, 160, 26);
    QObject::connect(styles, &QComboBox::currentIndexChanged, &tabs, [&tabs](int index) {
        tabs.setStyle(index == 1 ? Pagoline::ssStylePropertyPage : Pagoline::ssStyleTabbedDialog);
    });
    auto *properties = new QPushButton(QStringLiteral("&Properties..."), &form);
    properties->setGeometry(184, 380, 110, 26);
    QObject::connect(properties, &QPushButton::clicked, &tabs, [&tabs, &form] { showPropertyPage(tabs, &form); });
    auto *about = new QPushButton(QStringLiteral("&About..."), &form);
    about->setGeometry(306, 380, 90, 26);
    QObject::connect(about, &QPushButton::clicked, &tabs, &Pagoline::AboutBox);
}

} // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), QStringLiteral("Save the form to FILE."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption tab(QStringLiteral("tab"), QStringLiteral("Current tab."), QStringLiteral("N"),
                                 QStringLiteral("0"));
    const QCommandLineOption orientation(QStringLiteral("orientation"), QStringLiteral("0 top .. 3 right."),
                                         QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption perRow(QStringLiteral("tabs-per-row"), QStringLiteral("Tabs per row."),
                                    QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption style(QStringLiteral("tab-style"), QStringLiteral("0 tabbed dialog, 1 property page."),
                                   QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption propertyPage(QStringLiteral("property-page"), QStringLiteral("Open the property page."));
    parser.addOptions({screenshot, tab, orientation, perRow, style, propertyPage});
    parser.process(app);

    QWidget form;
    form.setWindowTitle(QStringLiteral("Pagoline"));
    form.resize(520, 416);
    auto *tabs = new Pagoline(&form);
    tabs->setObjectName(QStringLiteral("DemoTab"));
    tabs->setGeometry(12, 12, 496, 356);
    tabs->setStyle(parser.value(style).toInt() == 1 ? Pagoline::ssStylePropertyPage : Pagoline::ssStyleTabbedDialog);
    tabs->setTabsPerRow(short(parser.value(perRow).toInt()));
    tabs->setTabOrientation(Pagoline::TabOrientationConstants(parser.value(orientation).toInt() & 3));
    tabs->setTabHeight(24);
    addPages(*tabs);
    tabs->setTab(short(parser.value(tab).toInt()));

    addControls(form, *tabs);

    form.show();
    QWidget *shown = &form;
    if (parser.isSet(propertyPage))
        shown = showPropertyPage(*tabs, &form);
    if (!parser.isSet(screenshot))
        return app.exec();
    app.processEvents();
    // With the property page open, the screenshot shows the page.
    if (!shown->grab().save(parser.value(screenshot), "PNG")) {
        std::fprintf(stderr, "pagoline-demo: cannot write %s\n", qPrintable(parser.value(screenshot)));
        return 1;
    }
    return 0;
}
