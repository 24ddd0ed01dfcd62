#include "SensorBus.h"

#include "SensorModel.h"

#include "link/Link.h"
#include "link/Transport.h"
#include "link/Messages.h"

namespace dunmere {

namespace {

// Replies from other masters on the bus carry FrameCode 0 or 1.
constexpr int LowestSensorFrameCode = 2;

}  // namespace

SensorBus::SensorBus(Link& link, SensorModel& model, Messages* messages, const TextSource* texts)
    : link_(link), model_(model), messages_(messages), texts_(texts)
{
}

void SensorBus::setProbeTimeout(int ms) { probeTimeoutMs_ = ms > 0 ? ms : DefaultProbeTimeoutMs; }

QString SensorBus::IdentificationCommand() { return QStringLiteral("P") + QChar(0x01); }

QString SensorBus::AddressChangeCommand(const QString& identity, int address, const QString& name)
{
    return QStringLiteral("P") + QChar(0x11) + identity + QStringLiteral(" ")
        + QStringLiteral("%1").arg(address, 2, 10, QLatin1Char('0')) + QStringLiteral("    ") + name;
}

QString SensorBus::text(const char* key) const
{
    const QString k = QString::fromLatin1(key);
    return texts_ ? texts_->text(k) : k;
}

void SensorBus::tell(const QString& message)
{
    if (messages_ && !closing())
        messages_->show(message, MessageButtons::Ok);
}

bool SensorBus::closing() const { return link_.state().ProgramClosing; }

bool SensorBus::overtaken()
{
    if (model_.TransportChanged && model_.SearchComplete && !closing()) {
        model_.TransportChanged = false;
        model_.SearchComplete = false;
        return true;
    }
    return false;
}

int SensorBus::identify(int address, int timeoutMs, int& frameCode, QString& reply)
{
    link_.Net_Send(address, 1, IdentificationCommand());
    int replyAddress = -1;
    frameCode = -1;
    reply = FailureText;
    link_.Net_Receive(timeoutMs, replyAddress, frameCode, reply);
    return replyAddress;
}

void SensorBus::identifyFound(int a)
{
    SensorRecord& record = model_.SensorTable[a];
    int frameCode = -1;
    QString reply;
    for (int attempt = 0; attempt < 2; ++attempt) {
        record.FoundAddress = identify(a, ExchangeTimeoutMs, frameCode, reply);
        record.Identity = IdentityOf(reply);
        record.Name = NameOf(reply);
        if (reply != FailureText)
            break;
    }
    record.FirmwareText = link_.ReadParameter(a, 50);
    ParseFirmwareText(record);
}

void SensorBus::tickFoundSensors()
{
    for (int a = FirstBusAddress; a <= LastBusAddress; ++a) {
        if (model_.SensorTable[a].FoundAddress == 0)
            continue;
        model_.setBox(a - 1, true, model_.box(a - 1).enabled);
        model_.CheckBoxClicked(a - 1, true);
    }
}

SensorBus::SearchOutcome SensorBus::SensorSearch()
{
    SensorPageReport* report = model_.report();
    auto finish = [&](SearchOutcome outcome) {
        if (report)
            report->searchFinished();
        return outcome;
    };
    if (report)
        report->searchStarted();
    model_.SearchComplete = false;
    model_.AutoCalSeen = false;
    model_.RemoveSensorInfo();
    model_.NoSensorFound = false;
    if (link_.state().IPMode && reconnect_)
        reconnect_();

    bool found = false;
    for (int a = FirstBusAddress; a <= LastBusAddress; ++a) {
        if (overtaken())
            return finish(SearchOutcome::Overtaken);
        if (report)
            report->searchProbing(a);
        int frameCode = -1;
        QString reply;
        const int replyAddress = identify(a, probeTimeoutMs_, frameCode, reply);
        if (replyAddress == -1 || frameCode < LowestSensorFrameCode || replyAddress != a) {
            if (overtaken())
                return finish(SearchOutcome::Overtaken);
            model_.setBox(a - 1, false, false);
            continue;
        }
        // Asked of the sensor selected before the search, as the page set-up expects.
        link_.Net_Send(model_.CurrentAddress, 1, QStringLiteral("A 4"));
        int ignoredAddress = -1, ignoredCode = -1;
        QString autoCal = FailureText;
        link_.Net_Receive(ExchangeTimeoutMs, ignoredAddress, ignoredCode, autoCal);
        model_.AutoCalSeen = autoCal == QStringLiteral("0");
        identifyFound(a);
        found = true;
        if (closing())
            return finish(SearchOutcome::Closing);
    }

    if (found) {
        if (report)
            report->sensorsFound();
        tickFoundSensors();
        model_.drawSelection(0);
        if (report)
            report->adaptPages();
        if (link_.state().IPMode)
            link_.state().NetTimeouts = 0;
    } else {
        tell(text("LangCommsError"));
        model_.NoSensorFound = true;
        model_.ShowDemonstrationRow();
        if (report)
            report->demonstrationMode();
    }
    model_.SearchComplete = true;
    return finish(found ? SearchOutcome::Found : SearchOutcome::NoneFound);
}

SensorBus::AddressChangeResult SensorBus::UpdateSensorAddr(int r)
{
    AddressChangeResult result;
    const int oldAddress = model_.SensorRows(r);
    if (oldAddress < FirstBusAddress || oldAddress > LastBusAddress)
        return result;
    const QString identity = model_.SensorTable[oldAddress].Identity;
    const int newAddress = model_.row(r).listItem + 1;
    const QString name = model_.row(r).name;

    if (newAddress == oldAddress) {
        const QString reply = link_.SendCommand(oldAddress, AddressChangeCommand(identity, oldAddress, name));
        const QString stored = link_.SendAction(oldAddress, QStringLiteral("1"));
        model_.SensorTable[oldAddress].Name = name;
        result.outcome = AddressChange::Renamed;
        result.failureReply = reply == FailureText || stored == FailureText;
        return result;
    }
    for (int a = FirstBusAddress; a <= LastBusAddress; ++a) {
        if (model_.SensorTable[a].FoundAddress == newAddress) {
            tell(text("LangAddress") + QStringLiteral(" ") + QString::number(newAddress) + QStringLiteral(" ")
                 + text("LangOccupied"));
            model_.setRowListItem(r, oldAddress - 1);
            result.outcome = AddressChange::Occupied;
            return result;
        }
    }
    const QString reply = link_.SendCommand(oldAddress, AddressChangeCommand(identity, newAddress, name));
    const QString stored = link_.SendAction(newAddress, QStringLiteral("1"));
    model_.moveRecord(r, oldAddress, newAddress, name);

    // The replies above say little; whether the sensor now answers at its new address is
    // what the user needs to know. The table keeps the move either way, so the rows show
    // where the program now expects the sensor.
    int frameCode = -1;
    QString identification;
    bool answered = false;
    for (int attempt = 0; attempt < 2 && !answered; ++attempt)
        answered = identify(newAddress, ExchangeTimeoutMs, frameCode, identification) == newAddress;
    result.outcome = answered ? AddressChange::Moved : AddressChange::MovedNoAnswer;
    result.failureReply = reply == FailureText || stored == FailureText || !answered;
    if (!answered)
        tell(text("LangCommsError"));
    return result;
}

}  // namespace dunmere
