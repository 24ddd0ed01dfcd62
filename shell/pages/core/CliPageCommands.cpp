#include "CliPageCommands.h"

#include "ConfigurationProcedures.h"
#include "DiagnosticsProcedures.h"
#include "AccessLevels.h"
#include "OutputTest.h"
#include "PageCaptions.h"
#include "PageControls.h"
#include "PageTexts.h"
#include "SelectedSensor.h"
#include "SensorTypeAdaptation.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorRecord.h"

namespace dunmere {

namespace {

constexpr int Done = 0;
constexpr int NoAnswer = 1;
constexpr int WrongArguments = 2;
// The colour the Diagnostics page gives a status flag that is set.
constexpr int SetFlagColour = 0;

// The pages without windows, for one sensor identified afresh.
class Session {
public:
    Session(CliPageEnvironment& env, int address) : env_(env), ctx_(model_, env.link, env.texts, &env.messages)
    {
        AddPageControls(model_);
        ctx_.editionType = env.editionType;
        ctx_.sensor.address = address;
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Identification and firmware, then the page layout for the type.
    bool identify();
    void print(const char* name) { print(QString::fromLatin1(name)); }
    void print(const QString& name)
    {
        env_.values.append({name, CaptionOf(model_, name), GroupCaptionOf(model_, name), model_.text(name), {}});
    }
    void printFlag(const QString& name)
    {
        print(name);
        env_.values.last().set = model_.colour(name) == SetFlagColour;
    }
    void printVisible(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            if (model_.visible(QString::fromLatin1(name)))
                print(name);
        }
    }

    ControlModel& model() { return model_; }
    PagesContext& ctx() { return ctx_; }

private:
    CliPageEnvironment& env_;
    ControlModel model_;
    PagesContext ctx_;
};

bool Session::identify()
{
    const int address = ctx_.sensor.address;
    const QString id = env_.link.SendCommand(address, SensorBus::IdentificationCommand());
    if (id == FailureText) {
        env_.err << "no sensor answers at address " << address << Qt::endl;
        return false;
    }
    SensorRecord record;
    record.Identity = IdentityOf(id);
    record.Name = NameOf(id);
    record.FirmwareText = env_.link.ReadParameter(address, 50);
    ParseFirmwareText(record);
    ctx_.sensor = PageSensorOf(record, address, false);
    ApplyPageTexts(ctx_);
    AdaptPagesToSensorType(ctx_);
    return true;
}

bool parseAddress(const QString& text, int& address)
{
    bool ok = false;
    address = text.toInt(&ok);
    return ok && address >= FirstBusAddress && address <= LastBusAddress;
}

bool parseRaw(const QString& text, int& raw)
{
    bool ok = false;
    raw = text.toInt(&ok);
    return ok && raw >= 0 && raw <= 4095;
}

int usageError(CliPageEnvironment& env, const QString& why)
{
    env.err << why << Qt::endl;
    return WrongArguments;
}

}  // namespace

QStringList PageCommandUsage()
{
    return {QStringLiteral("config ADDR"), QStringLiteral("diag ADDR"), QStringLiteral("measure ADDR water|air"),
            QStringLiteral("autocal ADDR"), QStringLiteral("factory-reset ADDR"),
            QStringLiteral("output-test ADDR RAW1 [RAW2]")};
}

bool IsPageCommand(const QString& command)
{
    static const QStringList commands = {QStringLiteral("config"), QStringLiteral("diag"), QStringLiteral("measure"),
                                         QStringLiteral("autocal"), QStringLiteral("factory-reset"),
                                         QStringLiteral("output-test")};
    return commands.contains(command);
}

int RunPageCommand(CliPageEnvironment& env, const QStringList& args)
{
    const QString command = args.value(0);
    int address = 0;
    if (args.size() < 2 || !parseAddress(args.at(1), address))
        return usageError(env, QStringLiteral("%1: give a bus address 1-16").arg(command));
    if (command == QLatin1String("config") && args.size() == 2)
        return CliConfig(env, address);
    if (command == QLatin1String("diag") && args.size() == 2)
        return CliDiag(env, address);
    if (command == QLatin1String("autocal") && args.size() == 2)
        return CliAutoCal(env, address);
    if (command == QLatin1String("factory-reset") && args.size() == 2)
        return CliFactoryReset(env, address);
    if (command == QLatin1String("measure") && args.size() == 3)
        return CliMeasure(env, address, args.at(2));
    if (command == QLatin1String("output-test") && (args.size() == 3 || args.size() == 4)) {
        int raw1 = 0, raw2 = -1;
        if (!parseRaw(args.at(2), raw1) || (args.size() == 4 && !parseRaw(args.at(3), raw2)))
            return usageError(env, QStringLiteral("output-test: raw values are 0 to 4095"));
        return CliOutputTest(env, address, raw1, raw2);
    }
    return usageError(env, QStringLiteral("usage: ") + PageCommandUsage().join(QStringLiteral(" | ")));
}

int CliConfig(CliPageEnvironment& env, int address)
{
    Session s(env, address);
    if (!s.identify())
        return NoAnswer;
    const FillOutcome outcome = FillConfigurationPage(s.ctx());
    s.print("LblNameConfig");
    for (const PageControl& c : PageControls()) {
        if (c.page == 1 && (c.kind == ControlKind::Text || c.kind == ControlKind::List))
            s.printVisible({c.name});
    }
    if (!outcome.complete()) {
        env.err << env.texts.text(QStringLiteral("LangCommsError")) << Qt::endl;
        return NoAnswer;
    }
    return Done;
}

int CliDiag(CliPageEnvironment& env, int address)
{
    Session s(env, address);
    if (!s.identify())
        return NoAnswer;
    RefreshDiagnostics(s.ctx(), 2);
    s.printVisible({"LblNameDiag", "LblElecTemp", "LblResTemp", "LblMatTemp", "LblUncompFreq", "LblUncompAmp"});
    for (const char* status : {"LblStatus_0", "LblStatus_3", "LblStatus_6", "LblStatus_4", "LblStatus_5"})
        s.printFlag(QString::fromLatin1(status));
    s.printVisible({"LblMinTemp", "LblMaxTemp", "LblDiagLowFreq", "LblDiagLowAmp", "LblDiagHighFreq",
                    "LblDiagHighAmp", "lblSensorType", "LblElecFreqCoeff", "LblResFreqCoeff", "LblMatFreqCoeff",
                    "LblElecAmpCoeff", "LblResAmpCoeff", "LblMatAmpCoeff", "LblVersionNumber", "LblChecksum"});
    if (s.model().visible(QStringLiteral("FrameMeasurementMode")))
        s.printVisible({"cbAdvMeasurementMode", "cbAdvMeasurementMode2", "lblMeasurementWarning"});
    if (s.model().enabled(QStringLiteral("CBAveragingMode")))
        s.print("CBAveragingMode");
    if (s.model().visible(QStringLiteral("FrameCorraneArmType")))
        s.print("cbCorraneArmType");
    return Done;
}

int CliMeasure(CliPageEnvironment& env, int address, const QString& reference)
{
    const bool water = reference == QLatin1String("water");
    if (!water && reference != QLatin1String("air"))
        return usageError(env, QStringLiteral("measure: water or air"));
    Session s(env, address);
    if (!s.identify())
        return NoAnswer;
    MeasureReference(s.ctx(), water ? Reference::Water : Reference::Air);
    if (water)
        s.printVisible({"TextWaterFreq", "TextWaterAmp"});
    else
        s.printVisible({"TextAirFreq", "TextAirAmp"});
    return s.model().text(water ? QStringLiteral("TextWaterFreq") : QStringLiteral("TextAirFreq")).isEmpty() ? NoAnswer
                                                                                                              : Done;
}

int CliAutoCal(CliPageEnvironment& env, int address)
{
    Session s(env, address);
    if (!s.identify())
        return NoAnswer;
    RunAutoCalibration(s.ctx());
    s.print("TextAutoCal");
    return s.model().text(QStringLiteral("TextAutoCal")) == env.texts.text(QStringLiteral("LangACComplete")) ? Done
                                                                                                            : NoAnswer;
}

int CliFactoryReset(CliPageEnvironment& env, int address)
{
    Session s(env, address);
    if (!s.identify())
        return NoAnswer;
    if (s.ctx().sensor.typeCode != 89 || s.ctx().sensor.firmwareVersion <= 1.08)
        return usageError(env, QStringLiteral("factory-reset: only type 89 sensors above firmware 1.08 have it"));
    return RunFactoryReset(s.ctx()) ? Done : NoAnswer;
}

int CliOutputTest(CliPageEnvironment& env, int address, int raw1, int raw2)
{
    Session s(env, address);
    if (!s.identify())
        return NoAnswer;
    const bool second = raw2 >= 0 && HasSecondAnalogueOutput(s.ctx());
    if (raw2 >= 0 && !second)
        env.err << "this sensor has one analogue output; RAW2 is not sent" << Qt::endl;
    SendOutputValues(s.ctx(), raw1, raw2, second);
    s.print("LblCurrent_0");
    if (second)
        s.print("LblCurrent_1");
    return Done;
}

}  // namespace dunmere
