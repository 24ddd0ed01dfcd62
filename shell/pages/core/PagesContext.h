#pragma once
// What the page procedures share: the controls, the link, the language texts, the message
// window, the selected sensor as the pages see it, and the type-dependent page state.

#include "ControlModel.h"
#include "link/Link.h"
#include "link/Transport.h"
#include "link/Messages.h"

#include <QString>

namespace dunmere {

// The selected sensor: CurrentAddress and the fields of its record the pages use.
struct PageSensor {
    int address = 0;
    int typeCode = 0;
    double firmwareVersion = 0.0;
    QString identity;
    QString name;
    QString firmwareText;
    bool autoCalSeen = false;  // the search saw "0" to "A 4"
};

// Set by the sensor-type adaptation and the reading of the page.
struct SensorTypeState {
    bool BrixAvailable = false;
    bool SecondChannel = false;
    bool BrixSelected = false;
    bool ListRefill = false;
    int CurrentTypeCode = 0;
};

struct PagesContext {
    PagesContext(ControlModel& m, Link& l, const TextSource& t, Messages* msg) : model(m), link(l), texts(t), messages(msg) {}

    ControlModel& model;
    Link& link;
    const TextSource& texts;
    Messages* messages;  // may be null: nothing is shown
    PageSensor sensor;
    SensorTypeState type;
    int editionType = 0;         // Settings/Type: 1 is the Brix edition
    bool demonstration = false;  // NoSensorFound: the pages show demonstration values

    [[nodiscard]] QString tr(const char* key) const { return texts.text(QString::fromLatin1(key)); }
    [[nodiscard]] bool closing() const { return link.state().ProgramClosing; }
    // A message with the OK button; nothing while the program is closing.
    void message(const QString& text) const
    {
        if (messages && !closing())
            messages->show(text, MessageButtons::Ok);
    }
    // The header line of the pages: address, identity and name.
    [[nodiscard]] QString nameLine() const
    {
        return tr("LangAddress") + QLatin1Char(' ') + QString::number(sensor.address) + QStringLiteral("     ")
               + sensor.identity + QStringLiteral("     ") + sensor.name;
    }
};

}  // namespace dunmere
