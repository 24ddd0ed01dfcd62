#pragma once
// Replacing a sensor's firmware: choosing the image meant for it from a container file,
// sending the 512 blocks with their retries, restarting the sensor and reading the new
// firmware back. Nothing is sent unless the whole image is in the file. Reports through
// UpgradeReport, so the Diagnostics page and dunmere-cli show the same steps.

#include "KeptConfiguration.h"

#include <QString>
#include <QStringList>

class QIODevice;

namespace dunmere {

class FileDialogs;
class Link;
class TextSource;
struct SensorRecord;

class UpgradeReport {
public:
    virtual ~UpgradeReport() = default;
    // The status and progress text (LblUpgradeStatus).
    virtual void status(const QString& text) = 0;
    // After each accepted block: how many of the 512 are done.
    virtual void progress(int blocksDone) { Q_UNUSED(blocksDone); }
    // Blocks are being sent, or no longer: the cancel button shows while they are.
    virtual void sending(bool on) { Q_UNUSED(on); }
    // The configuration values the new firmware changed; true writes the old ones back.
    [[nodiscard]] virtual bool askRestore(const QList<ConfigurationChange>& changes)
    {
        Q_UNUSED(changes);
        return false;
    }
};

struct UpgradeResult {
    bool succeeded = false;
    bool sentAnything = false;  // some block went to the sensor
    QString resultText;         // the failure's status text; empty on success
    QString checksum;           // parameter 51 after a successful upgrade
    QList<ConfigurationChange> changes;
    bool configurationIncomplete = false;  // a snapshot read went unanswered
    bool restored = false;                 // the old values were written back
};

class FirmwareUpgrade {
public:
    FirmwareUpgrade(Link& link, const TextSource& texts, UpgradeReport& report);
    FirmwareUpgrade(const FirmwareUpgrade&) = delete;
    FirmwareUpgrade& operator=(const FirmwareUpgrade&) = delete;

    // Takes effect after the block being sent.
    void cancel() { cancelled_ = true; }
    // From the choice of a file until the upgrade has ended.
    [[nodiscard]] bool running() const { return running_; }

    // The open dialog of an upgrade, in the configuration folder; empty when cancelled.
    [[nodiscard]] QString ChooseFirmwareFile(FileDialogs& dialogs);
    // The upgrade of a chosen file (empty: none chosen) for the sensor whose record is given;
    // the record takes the new firmware text, type code and version when it succeeds.
    UpgradeResult SelectFirmwareImage(const QString& fileName, SensorRecord& record, int address, int editionType);
    // Sends the image from where the device stands, restarts the sensor and reads it back.
    UpgradeResult TransferFirmware(QIODevice& image, SensorRecord& record, int address);

    // The dialog's filter: the name alone would be read as a pattern matching no file.
    static inline const QString DialogFilter = QStringLiteral("Firmware upgrades|*");

private:
    // Sends the blocks; the result text, empty when all 512 were accepted.
    QString sendBlocks(QIODevice& image, int address, UpgradeResult& result);
    QString restartAndReadBack(SensorRecord& record, int address);
    void keepConfiguration(int address, UpgradeResult& result);
    // Waits ms with events running; ends early when the program closes.
    void wait(int ms);
    [[nodiscard]] bool closing() const;
    [[nodiscard]] QString tr(const char* key) const;
    [[nodiscard]] QString invalidFile() const;

    Link& link_;
    const TextSource& texts_;
    UpgradeReport& report_;
    KeptConfiguration kept_;
    bool cancelled_ = false;
    bool running_ = false;
};

// The record after the new firmware answered parameter 50: the text, and the type code and
// version taken from it (each 0 when not a number).
void TakeUpgradedFirmware(SensorRecord& record, const QString& firmwareText);

}  // namespace dunmere
