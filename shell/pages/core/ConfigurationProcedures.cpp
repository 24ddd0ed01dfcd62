#include "ConfigurationProcedures.h"

#include "ConfigurationSnapshotCheck.h"
#include "DiagnosticsProcedures.h"
#include "OutputVariables.h"
#include "PageControls.h"
#include "SensorTypeAdaptation.h"
#include "link/NumberRules.h"
#include "link/ValueFormat.h"

namespace dunmere {

namespace {

const QString none;

// Notes whether any exchange of a sequence got no answer at all.
struct Tally {
    bool silent = false;
    QString note(QString reply)
    {
        if (reply == FailureText)
            silent = true;
        return reply;
    }
};

bool inSet(int value, std::initializer_list<int> set)
{
    return std::find(set.begin(), set.end(), value) != set.end();
}

class PageReader {
public:
    explicit PageReader(PagesContext& ctx) : ctx_(ctx), m_(ctx.model) {}

    QString read(int number) { return tally.note(ctx_.link.ReadParameter(ctx_.sensor.address, number)); }
    void text(int number, const char* box) { m_.setText(QString::fromLatin1(box), FormatNumber(read(number))); }
    void list(int number, int limit, const char* list) { m_.setIndex(QString::fromLatin1(list), ParseIndex(read(number), limit)); }
    void outputVariable(int number, int output, const char* list);
    void smoothing();
    void brixCoefficients();

    Tally tally;

private:
    PagesContext& ctx_;
    ControlModel& m_;
};

void PageReader::outputVariable(int number, int output, const char* listName)
{
    const QString list = QString::fromLatin1(listName);
    const QString reply = read(number);
    if (reply == FailureText) {
        m_.setIndex(list, -1);
        return;
    }
    const OutputVariableReading reading = ReadOutputVariable(ParseIndex(reply, 12), output, ctx_.texts);
    if (!reading.messageLines.isEmpty())
        ctx_.message(reading.messageLines.join(QLatin1Char('\r')));
    if (reading.selectsBrix)
        ctx_.type.BrixSelected = true;
    // A code this list does not offer must not leave the previous sensor's choice in place,
    // or the write would send it back; nothing selected makes the write name the field.
    if (!SelectListItemByText(m_, list, reading.itemText))
        m_.setIndex(list, -1);
}

void PageReader::smoothing()
{
    const QString list = QStringLiteral("ListSmoothTime");
    const bool anyOffered = m_.itemCount(list) == 7;
    const int value = ParseIndex(read(14), anyOffered ? 101 : 6);
    if (anyOffered && value > 5) {
        m_.setIndex(list, 6);
        m_.show(QStringLiteral("TextSmooth"));
        m_.setText(QStringLiteral("TextSmooth"), QString::number(value));
        return;
    }
    m_.setIndex(list, value);
    m_.hide(QStringLiteral("TextSmooth"));
    m_.setText(QStringLiteral("TextSmooth"), none);
}

void PageReader::brixCoefficients()
{
    const QString a = read(25);
    if (a == QStringLiteral("?"))
        return;
    m_.setText(QStringLiteral("TextBrixA"), FormatNumber(a));
    text(26, "TextBrixB");
    text(27, "TextBrixC");
    text(28, "TextBrixD");
}

class PageWriter {
public:
    explicit PageWriter(PagesContext& ctx) : ctx_(ctx), m_(ctx.model) {}

    void write(const char* prefix, const QString& value, const QString& label)
    {
        tally.note(ctx_.link.WriteParameter(ctx_.sensor.address, QString::fromLatin1(prefix), value, label));
    }
    void text(const char* prefix, const char* box, const QString& label)
    {
        write(prefix, FormatNumber(m_.text(QString::fromLatin1(box))), label);
    }
    void index(const char* prefix, const char* list, const QString& label)
    {
        write(prefix, QString::number(m_.index(QString::fromLatin1(list))), label);
    }
    void outputVariable(const char* prefix, const char* list, const QString& label)
    {
        write(prefix, OutputVariableValue(ctx_, m_.text(QString::fromLatin1(list))), label);
    }
    [[nodiscard]] QString smoothingValue() const;

    Tally tally;

private:
    PagesContext& ctx_;
    ControlModel& m_;
};

QString PageWriter::smoothingValue() const
{
    const QString list = QStringLiteral("ListSmoothTime");
    if (m_.text(list) != AnySmoothingItem)
        return QString::number(m_.index(list));
    const QString value = FormatNumber(m_.text(QStringLiteral("TextSmooth")));
    const double seconds = ToNumber(value);
    return value.isEmpty() || seconds > 100 || seconds < 7.5 ? QString() : value;
}

void rangeFields(ControlModel& m, bool on)
{
    m.setVisible({"LblOutHigh", "LblOutLow", "TextIOHigh", "TextIOLow"}, on);
}

int listIndex(const PagesContext& ctx, const char* list)
{
    return ctx.model.index(QString::fromLatin1(list));
}

void confirmAndRefresh(PagesContext& ctx, bool answered)
{
    ConfirmConfigurationWrite(ctx, answered);
    RefreshDiagnostics(ctx, 2);
}

}  // namespace

bool SelectListItemByText(ControlModel& model, const QString& list, const QString& text)
{
    const QStringList items = model.state(list).items;
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).compare(text, Qt::CaseInsensitive) == 0) {
            model.setIndex(list, i);
            return true;
        }
    }
    return false;
}

QString OutputVariableValue(const PagesContext& ctx, const QString& itemText)
{
    const int code = OutputVariableCode(itemText, ctx.texts);
    return code < 0 ? QString() : QString::number(code);
}

FillOutcome FillConfigurationPage(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    m.setText(QStringLiteral("LblNameConfig"), ctx.nameLine());
    PageReader r(ctx);
    r.text(2, "TextMB");
    r.text(3, "TextMC");
    FillOutcome outcome;
    outcome.coefficientsRead = !m.text(QStringLiteral("TextMB")).isEmpty() && !m.text(QStringLiteral("TextMC")).isEmpty();
    if (outcome.coefficientsRead) {
        r.text(1, "TextMA");
        r.text(4, "TextMSSD");
        r.list(5, 3, "ListOPType");
        ctx.type.BrixSelected = false;
        r.outputVariable(6, 1, "ListOPVar1");
        // The type decides (enabled); compatibility mode only hides the list, and a list left
        // unread would be written back with what it held before.
        if (m.enabled(QStringLiteral("ListOPVar2")))
            r.outputVariable(29, 2, "ListOPVar2");
        OutputTypeClicked(ctx);
        OutputVariable1Clicked(ctx);
        r.text(8, "TextIOHigh");
        r.text(7, "TextIOLow");
        OutputVariable1Clicked(ctx);
        r.list(9, 4, "ListIP1");
        if (m.visible(QStringLiteral("ListIP2")))
            r.list(24, 5, "ListIP2");
        r.text(20, "TextLowPercent");
        r.text(21, "TextHighPercent");
        r.text(22, "TextLowUS");
        r.text(23, "TextHighUS");
        r.smoothing();
        r.list(13, 6, "ListAvgHold");
        if (m.visible(QStringLiteral("ListDSP")))
            r.list(77, 6, "ListDSP");
        r.list(16, 4, "ListSlewPlus");
        r.list(17, 4, "ListSlewMinus");
    }
    ShowCoefficientRow(ctx);
    if (m.visible(QStringLiteral("LblBrix")))
        r.brixCoefficients();
    outcome.allAnswered = !r.tally.silent;
    return outcome;
}

bool WriteConfigurationPage(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    PageWriter w(ctx);
    const QString moisture = ctx.tr("LangMoisture");
    const QString high = ctx.tr("LangHigh");
    const QString low = ctx.tr("LangLow");
    const QString limit = ctx.tr("LangLimit");
    if (!m.text(QStringLiteral("TextMA")).isEmpty())
        w.text("W1", "TextMA", moisture + QStringLiteral(" A"));
    w.text("W2", "TextMB", moisture + QStringLiteral(" B"));
    w.text("W3", "TextMC", moisture + QStringLiteral(" C"));
    w.text("W4", "TextMSSD", moisture + QStringLiteral(" SSD"));
    if (m.visible(QStringLiteral("LblBrix"))) {
        w.text("W25", "TextBrixA", QStringLiteral("Brix A"));
        w.text("W26", "TextBrixB", QStringLiteral("Brix B"));
        w.text("W27", "TextBrixC", QStringLiteral("Brix C"));
        w.text("W28", "TextBrixD", QStringLiteral("Brix D"));
    }
    w.index("W5", "ListOPType", ctx.tr("LangOPType"));
    w.outputVariable("W6", "ListOPVar1", ctx.tr("LangOPVar") + QStringLiteral(" 1"));
    if (m.visible(QStringLiteral("ListOPVar2")))
        w.outputVariable("W29", "ListOPVar2", ctx.tr("LangOPVar") + QStringLiteral(" 2"));
    const QString output = ctx.tr("LangOutput") + QLatin1Char(' ');
    w.text("W8", "TextIOHigh", output + high + QStringLiteral(" %"));
    w.text("W7", "TextIOLow", output + low + QStringLiteral(" %"));
    w.index("W9", "ListIP1", ctx.tr("LangIP1"));
    if (m.visible(QStringLiteral("ListIP2")))
        w.index("W24", "ListIP2", ctx.tr("LangIP2"));
    w.text("W21", "TextHighPercent", moisture + QStringLiteral(" % - ") + high + QLatin1Char(' ') + limit);
    w.text("W20", "TextLowPercent", moisture + QStringLiteral(" % - ") + low + QLatin1Char(' ') + limit);
    const QString unscaled = ctx.tr("LangUnscaled") + QStringLiteral(" - ");
    w.text("W23", "TextHighUS", unscaled + high + QLatin1Char(' ') + limit);
    w.text("W22", "TextLowUS", unscaled + low + QLatin1Char(' ') + limit);
    w.write("W14", w.smoothingValue(),
            ctx.tr("LangSmoothTime") + QStringLiteral(" - ") + ctx.tr("LangValidRange") + QStringLiteral(" 7 - 100 "));
    w.index("W13", "ListAvgHold", ctx.tr("LangAvgHold") + QLatin1Char(' ') + ctx.tr("LangDelay"));
    // Like W24 and W29: a hidden list has nothing to write.
    if (m.visible(QStringLiteral("ListDSP")))
        w.index("W77", "ListDSP", ctx.tr("LangDigitalSignalProcessing"));
    w.index("W16", "ListSlewPlus", ctx.tr("LangSlew") + QStringLiteral(" +"));
    w.index("W17", "ListSlewMinus", ctx.tr("LangSlew") + QStringLiteral(" -"));
    if (ctx.sensor.typeCode != 89)
        w.tally.note(ctx.link.SendAction(ctx.sensor.address, QStringLiteral("1")));
    return !w.tally.silent;
}

void ConfirmConfigurationWrite(PagesContext& ctx, bool writesAnswered)
{
    bool confirmed = writesAnswered;
    if (ctx.sensor.typeCode == 89)
        confirmed = StoreAndVerifyConfiguration(ctx, writesAnswered);
    if (!confirmed) {
        ctx.message(ctx.tr("LangCommsError"));
        return;
    }
    ctx.message(ctx.tr("LangSensor") + QLatin1Char(' ') + ctx.tr("LangConfiguration") + QLatin1Char(' ')
                + ctx.tr("LangWritten"));
}

void OutputTypeClicked(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    const int type = listIndex(ctx, "ListOPType");
    if (type != 0 && type != 1) {
        m.setVisible({"LblOutHigh", "LblOutLow", "TextIOHigh", "TextIOLow", "LblOPVar1", "ListOPVar1", "LblOPVar2",
                      "ListOPVar2"},
                     false);
    } else {
        m.setVisible({"LblOutHigh", "LblOutLow", "TextIOHigh", "TextIOLow", "LblOPVar1", "ListOPVar1"}, true);
        if (ctx.sensor.address > 0)
            m.setVisible({"LblOPVar2", "ListOPVar2"}, HasSecondOutput(ctx.sensor.typeCode));
    }
    OutputVariable1Clicked(ctx);
    OutputVariable2Clicked(ctx);
}

void OutputVariable1Clicked(PagesContext& ctx)
{
    if (listIndex(ctx, "ListOPType") == 2) {
        rangeFields(ctx.model, false);
        return;
    }
    const bool sc = ctx.type.SecondChannel;
    const bool ba = ctx.type.BrixAvailable;
    auto moistureLike = [&](const char* list) {
        if (!ctx.model.visible(QString::fromLatin1(list)))
            return false;
        const int i = listIndex(ctx, list);
        return i == 0 || i == 1 || (i == 4 && !sc && ba) || (i == 5 && sc && ba);
    };
    rangeFields(ctx.model, moistureLike("ListOPVar1") || moistureLike("ListOPVar2"));
}

void OutputVariable2Clicked(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    if (listIndex(ctx, "ListOPType") == 2) {
        rangeFields(m, false);
        return;
    }
    const int v1 = listIndex(ctx, "ListOPVar1");
    const int v2 = listIndex(ctx, "ListOPVar2");
    if (!m.visible(QStringLiteral("ListOPVar2")))
        rangeFields(m, inSet(v1, {0, 1, 5}));
    const auto moisture = {0, 1, 4};
    const auto other = {2, 3, 5, 6};
    if (inSet(v1, moisture) && inSet(v2, moisture))
        rangeFields(m, true);
    if (inSet(v2, {2, 3, 5}) && inSet(v1, moisture))
        rangeFields(m, true);
    if (inSet(v1, other) && inSet(v2, moisture))
        rangeFields(m, true);
    if (inSet(v1, other) && inSet(v2, other))
        rangeFields(m, false);
}

void SmoothingTimeClicked(PagesContext& ctx)
{
    if (ctx.type.ListRefill)
        return;
    ControlModel& m = ctx.model;
    const bool any = m.text(QStringLiteral("ListSmoothTime")) == AnySmoothingItem;
    const bool boxShown = m.visible(QStringLiteral("TextSmooth"));
    if (!any && boxShown) {
        m.setText(QStringLiteral("TextSmooth"), none);
        m.hide(QStringLiteral("TextSmooth"));
    } else if (any && !boxShown) {
        m.show(QStringLiteral("TextSmooth"));
    }
}

bool OpensBrixCalibration(const PagesContext& ctx) { return ctx.editionType == 1 || ctx.type.BrixSelected; }

bool EnterConfigurationPage(PagesContext& ctx, bool configLocked, bool calibrationLocked)
{
    ControlModel& m = ctx.model;
    // The Brix calibration window is not part of the program yet: only the moisture one opens.
    EnableControls(m, {"CmdCalibrate"}, !calibrationLocked && !OpensBrixCalibration(ctx));
    const bool editable = !configLocked;
    m.setEnabled({"FrameInput", "FrameOutput", "FrameSigProc", "FrameValidRange", "LblM", "LblACal", "QuiLabel1",
                  "LblBCal", "QuiLabel2", "LblCCal", "LblSSDCal", "TextMA", "TextMB", "TextMC", "TextMSSD",
                  "TextBrixA", "TextBrixB", "TextBrixC", "TextBrixD"},
                 editable);
    m.setVisible(QStringLiteral("CmdConfigWrite"), editable);
    return !ctx.demonstration;
}

void WriteMeasurementMode(PagesContext& ctx, int channel)
{
    const char* list = channel == 1 ? "cbAdvMeasurementMode" : "cbAdvMeasurementMode2";
    const int code = MeasurementModeCode(listIndex(ctx, list));
    bool answered = true;
    if (code >= 0) {
        const QString label = ctx.tr("LangMeasurementMode") + (channel == 1 ? QString() : QStringLiteral(" 2"));
        answered = ctx.link.WriteParameter(ctx.sensor.address, channel == 1 ? QStringLiteral("W38") : QStringLiteral("W47"),
                                           QString::number(code), label)
                   != FailureText;
    }
    confirmAndRefresh(ctx, answered);
}

void WriteAveragingMode(PagesContext& ctx)
{
    // Nothing selected writes nothing, as with the other three: -1 is no averaging mode.
    const int item = listIndex(ctx, "CBAveragingMode");
    bool answered = true;
    if (item >= 0)
        answered = ctx.link.WriteParameter(ctx.sensor.address, QStringLiteral("W49"), QString::number(item),
                                           ctx.tr("LangAveraging"))
                   != FailureText;
    confirmAndRefresh(ctx, answered);
}

void WriteArmType(PagesContext& ctx)
{
    const int item = listIndex(ctx, "cbCorraneArmType");
    bool answered = true;
    if (item >= 0) {
        const QString label = item == 0 ? ctx.tr("LangUnused") : ctx.model.text(QStringLiteral("cbCorraneArmType"));
        answered = ctx.link.WriteParameter(ctx.sensor.address, QStringLiteral("W79"), QString::number(ArmTypeCode(item)), label)
                   != FailureText;
    }
    confirmAndRefresh(ctx, answered);
}

}  // namespace dunmere
