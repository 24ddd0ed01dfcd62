#include "Resonator.h"

#include "link/Link.h"
#include "sensor/FixedPoint.h"

namespace dunmere {

namespace {

constexpr int FieldWidth = 10;
constexpr int ShortestValuesReply = 62;
constexpr int SweepTimeoutMs = 1500;
constexpr int MaterialTimeoutMs = 1000;
constexpr std::array<int, ResonatorValueCount> ValueDecimals{2, 2, 0, 0, 1, 1, 2};

// Reads a number as a typed value is read: blanks skipped, a sign, digits with one decimal
// separator, stopping at the first character that belongs to none of these.
double leadingNumber(const QString& field)
{
    QString number;
    bool separator = false;
    for (const QChar c : field) {
        if (c == u' ')
            continue;
        if ((c == u'-' || c == u'+') && number.isEmpty())
            number += c;
        else if (c.isDigit())
            number += c;
        else if ((c == u'.' || c == u',') && !separator) {
            separator = true;
            number += u'.';
        } else
            break;
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0.0;
}

}  // namespace

QByteArray SweepCommand(int mode)
{
    return QByteArray("P\x0A", 2) + QByteArray::number(mode).rightJustified(5, '0', true);
}

QString ResonatorValuesCommand() { return QStringLiteral("P") + QChar(0x0B); }

bool DecodeSweep(const QByteArray& reply, SweepPoints& points)
{
    if (reply.size() < SweepPointCount)
        return false;
    for (int i = 0; i < SweepPointCount; ++i)
        points[i] = SweepHeight - 4 * quint8(reply[i]);
    return true;
}

std::optional<std::array<double, ResonatorValueCount>> DecodeResonatorValues(const QString& reply)
{
    if (reply.size() < ShortestValuesReply)
        return std::nullopt;
    std::array<double, ResonatorValueCount> values{};
    for (int i = 0; i < ResonatorValueCount; ++i)
        values[i] = leadingNumber(reply.mid(i * FieldWidth, FieldWidth));
    return values;
}

std::array<QString, ResonatorValueCount> ResonatorValueTexts(const std::array<double, ResonatorValueCount>& values)
{
    std::array<QString, ResonatorValueCount> texts;
    for (int i = 0; i < ResonatorValueCount; ++i)
        texts[i] = FormatDecimals(values[i], ValueDecimals[i]);
    return texts;
}

void ReadResonator(Link& link, int address, ResonatorReading& reading)
{
    // The sweep and the material temperature go to the sensor under test by its own address,
    // so they reach it whatever else shares the line.
    link.Net_Send(address, 0, QString::fromLatin1(SweepCommand()));
    int replyAddress = -1, frameCode = -1;
    QByteArray sweep;
    link.Net_ReceiveBytes(SweepTimeoutMs, replyAddress, frameCode, sweep);
    reading.sweepRead = replyAddress >= 0 && DecodeSweep(sweep, reading.points);
    if (link.state().ProgramClosing)
        return;

    reading.values = DecodeResonatorValues(link.SendCommand(address, ResonatorValuesCommand()));
    if (link.state().ProgramClosing)
        return;

    link.Net_Send(address, 1, QStringLiteral("R75"));
    QString material = FailureText;
    link.Net_Receive(MaterialTimeoutMs, replyAddress, frameCode, material);
    reading.materialTemperature = material.isEmpty() ? FailureText : material;
}

}  // namespace dunmere
