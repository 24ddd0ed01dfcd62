#pragma once
// A main window on the virtual clock with its own data folder, a config.ini written for the
// test, the simulated bus (or none) and the message window answered by the test.

#include "shell/FrmMain.h"
#include "shell/FrmMessages.h"

#include "VirtualClockFixture.h"
#include "language/LanguageTexts.h"
#include "link/Link.h"
#include "link/TcpTransport.h"
#include "link/TransportFactory.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QPointer>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace dunmere::test {

// Settings lines and two small language sections with marked texts.
inline QByteArray configText(const QByteArray& settingsLines)
{
    QByteArray text = "[Settings]\r\n" + settingsLines + "\r\n";
    const char* const keys[] = {"Sensor", "Search", "Language", "Help", "Update", "Trend", "Graph", "Logging",
                                "Configuration", "Diagnostics", "AdvancedConfig", "ConnectedVia", "ComPort", "OK",
                                "Yes", "No", "CommsError", "Invalid", "Filtered", "Unscaled", "Avg", "Moisture",
                                "Electronic", "Resonator", "Material", "Temperature", "Communications", "SearchSpeed",
                                "Fast", "Medium", "Slow", "TCPIP", "Address", "Occupied"};
    for (int lang = 0; lang < 2; ++lang) {
        const QByteArray tag = lang == 0 ? "en" : "de";
        text += "[Language" + QByteArray::number(lang) + "]\r\n";
        text += "Lang=" + QByteArray(lang == 0 ? "English" : "Deutsch") + "\r\n";
        for (const char* key : keys)
            text += "Lang" + QByteArray(key) + "=" + tag + "-" + key + "\r\n";
    }
    return text;
}

// A machine without serial ports; adapter connections never get through.
class NoDevices final : public TransportFactory {
public:
    QStringList serialDevices() const override { return {}; }
    std::unique_ptr<Transport> openSerial(const QString&) override { return nullptr; }
    std::unique_ptr<TcpClient> createTcpClient() override { return std::make_unique<TcpTransport>(); }
};

// Serial devices that lead to the simulated bus, for the port probe and the port switch.
class SimulatedPorts final : public TransportFactory {
public:
    SimulatedPorts(sim::SimBus& bus, QStringList devices) : bus_(bus), devices_(std::move(devices)) {}
    QStringList serialDevices() const override { return devices_; }
    std::unique_ptr<Transport> openSerial(const QString& path) override
    {
        if (!devices_.contains(path))
            return nullptr;
        opened << path;
        auto port = std::make_unique<sim::SimTransport>(bus_, Transport::Kind::Serial);
        lastOpened = port.get();
        return port;
    }
    std::unique_ptr<TcpClient> createTcpClient() override { return std::make_unique<TcpTransport>(); }
    // Devices unplugged and plugged back in.
    void setDevices(QStringList devices) { devices_ = std::move(devices); }
    QStringList opened;
    QPointer<sim::SimTransport> lastOpened;  // the port the program holds after a switch

private:
    sim::SimBus& bus_;
    QStringList devices_;
};

class MainWindowFixture {
public:
    // settingsLines: the [Settings] section's lines; sensors: a sensor list, "" for an
    // empty bus, or nothing for no transport at all.
    explicit MainWindowFixture(const QByteArray& settingsLines = "NumLangs=1\r\nLanguage=0\r\n",
                               std::optional<QString> sensors = QStringLiteral("1:89,2:77,5:45"), bool writeConfig = true)
    {
        QDir().mkpath(folder());
        if (writeConfig) {
            QFile file(configPath());
            if (file.open(QIODevice::WriteOnly))
                file.write(configText(settingsLines));
        }
        if (sensors) {
            if (!sensors->isEmpty()) {
                [[maybe_unused]] const bool added = sim::populate(bus, sim::parseSensorList(*sensors).sensors);
            }
            transport = std::make_unique<sim::SimTransport>(bus, Transport::Kind::Serial);
            main.setSimulatedTransport(transport.get());
        }
        main.messages().setAnswerProvider([this](const QString& text, MessageButtons buttons) {
            messages << text;
            return buttons == MessageButtons::Ok ? FrmMessages::Answer::Ok : nextAnswer;
        });
        QObject::connect(&main, &FrmMain::exitApp, [this] { ++exits; });
    }

    [[nodiscard]] QString folder() const { return home.path() + QStringLiteral("/Quelmar/Dunmere/"); }
    [[nodiscard]] QString configPath() const { return folder() + QStringLiteral("config.ini"); }

    template <class W>
    [[nodiscard]] W* find(const QString& name) const
    {
        return main.findChild<W*>(name);
    }

    // The address each shown sensor row names, top to bottom.
    [[nodiscard]] QStringList rowAddresses() const
    {
        QStringList shown;
        for (int r = 0; r < 6; ++r) {
            if (!find<QGroupBox>(QStringLiteral("FrameSensor_%1").arg(r))->isHidden())
                shown << find<QComboBox>(QStringLiteral("ListAddress_%1").arg(r))->currentText();
        }
        return shown;
    }

    VirtualClockScope clock;
    QTemporaryDir home;
    // The data folder is this test's own before the main window learns where it is.
    bool homeSet = qputenv("ALLUSERSPROFILE", home.path().toLocal8Bit());
    sim::SimBus bus;
    std::unique_ptr<sim::SimTransport> transport;
    Link link;
    LanguageTexts texts;
    NoDevices devices;
    FrmMain main{link, texts, devices};
    QStringList messages;
    FrmMessages::Answer nextAnswer = FrmMessages::Answer::Yes;
    int exits = 0;
};

}  // namespace dunmere::test
