#include "FirmwareUpgrade.h"

#include "FirmwareContainer.h"

#include "link/Clock.h"
#include "link/DataFolder.h"
#include "link/DebugLog.h"
#include "link/FileDialogs.h"
#include "link/Link.h"
#include "link/NumberRules.h"
#include "sensor/SensorRecord.h"

#include <QCoreApplication>
#include <QFile>
#include <cmath>

namespace dunmere {

namespace {

constexpr int BlockReplyTimeoutMs = 4000;
constexpr int Sendings = 6;
constexpr int RetryPauseMs = 1000;
constexpr int RestartPauseMs = 2000;
constexpr int RestartReplyTimeoutMs = 1000;
constexpr int RestartTimeMs = 5000;
constexpr int WrittenShownMs = 2000;
constexpr int FirmwareTextParameter = 50;
constexpr int ChecksumParameter = 51;

QString restartCommand() { return QStringLiteral("P") + QChar(19) + QStringLiteral("HANG ON EVERYBODY"); }

// i / 512 with the pattern "#0%": whole percent, halves to even.
QString percentOf(int blocks)
{
    return QString::number(std::nearbyint(blocks * 100.0 / FirmwareBlockCount), 'f', 0) + QLatin1Char('%');
}

// Columns are 1-based as the firmware text is documented; 0 for what is not a number.
double numberAt(const QString& text, int first, int count)
{
    bool ok = false;
    const double value = ToNumber(text.mid(first - 1, count), &ok);
    return ok ? value : 0.0;
}

}  // namespace

void TakeUpgradedFirmware(SensorRecord& record, const QString& firmwareText)
{
    record.FirmwareText = firmwareText;
    record.TypeCode = int(numberAt(firmwareText, 5, 2));
    record.FirmwareVersion = numberAt(firmwareText, 9, 4);
}

FirmwareUpgrade::FirmwareUpgrade(Link& link, const TextSource& texts, UpgradeReport& report)
    : link_(link), texts_(texts), report_(report)
{
}

QString FirmwareUpgrade::tr(const char* key) const { return texts_.text(QString::fromLatin1(key)); }

QString FirmwareUpgrade::invalidFile() const { return tr("LangInvalid") + QLatin1Char(' ') + tr("LangFile"); }

bool FirmwareUpgrade::closing() const { return link_.state().ProgramClosing; }

void FirmwareUpgrade::wait(int ms)
{
    auto& clock = Clock::current();
    clock.waitUntil([this] { return closing(); }, clock.nowMs() + ms);
}

QString FirmwareUpgrade::ChooseFirmwareFile(FileDialogs& dialogs)
{
    report_.status(QString());
    return dialogs.openFile(DocumentsFolder(), DialogFilter);
}

UpgradeResult FirmwareUpgrade::SelectFirmwareImage(const QString& fileName, SensorRecord& record, int address,
                                                   int editionType)
{
    UpgradeResult result;
    auto refuse = [&](const QString& text) {
        result.resultText = text;
        report_.status(text);
        running_ = false;
        return result;
    };
    // From the file check on: the configuration is read before the first block.
    running_ = true;
    report_.status(QString());
    if (fileName.isEmpty())
        return refuse(invalidFile() + QStringLiteral(" - "));
    const QString named = invalidFile() + QStringLiteral(" - ") + fileName;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(named);
    const FirmwareImage image = LocateFirmwareImage(file, FirmwarePartNumber(record.FirmwareText, editionType));
    switch (image.outcome) {
    case FirmwareImage::Outcome::Found: break;
    case FirmwareImage::Outcome::NotAContainer:
    case FirmwareImage::Outcome::Incomplete: return refuse(named);
    case FirmwareImage::Outcome::NoImage: return refuse(tr("LangUpgradeError"));
    }
    DebugLog(QStringLiteral("Firmware image %1 of %2 for %3").arg(image.number).arg(fileName, record.FirmwareText), 15);
    report_.status(tr("LangWorking"));
    kept_.readBefore(link_, address);
    if (closing())
        return refuse(tr("LangUpgrade") + QLatin1Char(' ') + tr("LangCancelled"));
    return TransferFirmware(file, record, address);
}

UpgradeResult FirmwareUpgrade::TransferFirmware(QIODevice& image, SensorRecord& record, int address)
{
    UpgradeResult result;
    cancelled_ = false;
    running_ = true;
    report_.sending(true);
    QString text = sendBlocks(image, address, result);
    if (cancelled_ || closing())
        text = tr("LangUpgrade") + QLatin1Char(' ') + tr("LangCancelled");
    if (text.isEmpty())
        text = restartAndReadBack(record, address);
    result.resultText = text;
    if (!text.isEmpty()) {
        report_.status(text);
    } else {
        report_.status(QString());
        result.succeeded = true;
        result.checksum = link_.ReadParameter(address, ChecksumParameter);
        keepConfiguration(address, result);
    }
    running_ = false;
    report_.sending(false);
    return result;
}

QString FirmwareUpgrade::sendBlocks(QIODevice& image, int address, UpgradeResult& result)
{
    int block = 0;
    int retries = 0;
    QByteArray data;
    QString text;
    while (text.isEmpty() && block < FirmwareBlockCount && !cancelled_ && !closing()) {
        report_.status(tr("LangUpgrade") + QLatin1Char(' ') + tr("LangProgress") + QStringLiteral(": ") + percentOf(block));
        if (retries == 0) {
            data = image.read(FirmwareBlockSize);
            if (data.size() != FirmwareBlockSize)
                return invalidFile();
        }
        link_.Net_SendBytes(address, 1, FirmwareBlockCommand(block, data));
        result.sentAnything = true;
        int replyAddress = -1;
        int frameCode = -1;
        QString reply = FailureText;
        link_.Net_Receive(BlockReplyTimeoutMs, replyAddress, frameCode, reply);
        if (closing())
            break;
        // Only a reply that starts with the number 0 accepts a block: "?" or noise does not.
        const auto value = LeadingNumber(reply);
        if (value == 0.0) {
            ++block;
            retries = 0;
            report_.progress(block);
        } else if (value == 1.0) {
            text = tr("LangWrite") + QLatin1Char(' ') + tr("LangError") + QStringLiteral(" - ") + reply;
        } else if (value == 10.0) {
            text = tr("LangVerify") + QLatin1Char(' ') + tr("LangError") + QStringLiteral(" - ") + reply;
        } else if (value == 11.0) {
            text = tr("LangWrite") + QLatin1Char('/') + tr("LangVerify") + QLatin1Char(' ') + tr("LangError")
                   + QStringLiteral(" - ") + reply;
        } else if (retries >= Sendings - 1) {
            text = tr("LangError") + QStringLiteral(" - ") + reply;
        } else {
            DebugLog(QStringLiteral("Firmware block %1 answered %2, sent again").arg(block).arg(reply), 10);
            wait(RetryPauseMs);
            ++retries;
        }
        QCoreApplication::processEvents();
    }
    return text;
}

QString FirmwareUpgrade::restartAndReadBack(SensorRecord& record, int address)
{
    const QString failed = tr("LangError") + QLatin1Char(' ') + tr("LangUpgrade") + QLatin1Char(' ') + tr("LangFailed");
    const QString cancelled = tr("LangUpgrade") + QLatin1Char(' ') + tr("LangCancelled");
    report_.status(tr("LangUpgradeWait"));
    wait(RestartPauseMs);
    link_.Net_Send(address, 1, restartCommand());
    int replyAddress = -1;
    int frameCode = -1;
    QString reply = FailureText;
    link_.Net_Receive(RestartReplyTimeoutMs, replyAddress, frameCode, reply);
    if (closing())
        return cancelled;
    // A sensor that still answers did not restart into the new firmware.
    if (link_.state().CommsErrorCode != 1)
        return failed;
    report_.status(tr("LangRequestFirmware"));
    wait(RestartTimeMs);
    const QString firmwareText = link_.ReadParameter(address, FirmwareTextParameter);
    if (closing())
        return cancelled;
    if (firmwareText == FailureText || firmwareText == QLatin1String("?"))
        return failed;
    report_.status(tr("LangUpgrade") + QLatin1Char(' ') + tr("LangWritten"));
    wait(WrittenShownMs);
    TakeUpgradedFirmware(record, firmwareText);
    return {};
}

void FirmwareUpgrade::keepConfiguration(int address, UpgradeResult& result)
{
    report_.status(tr("LangWorking"));
    kept_.readAfter(link_, address);
    report_.status(QString());
    result.configurationIncomplete = kept_.incomplete();
    result.changes = kept_.changes();
    // An unanswered read makes empty values look like changes; nothing is written from it.
    if (result.configurationIncomplete || result.changes.isEmpty() || closing())
        return;
    if (report_.askRestore(result.changes))
        result.restored = kept_.restore(link_, address, result.changes);
}

}  // namespace dunmere
