// The Diagnostics page's firmware group as a user drives it in the main window, on the
// simulated bus and the virtual clock: the upgrade level typed on the keypad, CmdUpgrade, the
// file chosen through the file dialog seam, the progress text advancing, the version label
// showing the new firmware; a tab switch and cancel during the transfer; closing the window
// in the middle of it. The transfer's rules themselves are tested in the firmware tests.

#include "MainWindowFixture.h"
#include "../firmware/FirmwareFiles.h"

#include "link/FileDialogs.h"
#include "pagoline/core/Pagoline.h"
#include "shell/pages/core/PagesCore.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

class ChosenFile final : public FileDialogs {
public:
    QString openFile(const QString& folder, const QString& f) override
    {
        filter = f;
        startFolder = folder;
        return path;
    }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString path;
    QString filter;
    QString startFolder;
};

const QByteArray UpgradeTexts = "LangUpgrade=en-Upgrade\r\nLangProgress=en-Progress\r\nLangUpgradeWait=en-UpgradeWait\r\n"
                                "LangRequestFirmware=en-RequestFirmware\r\nLangWritten=en-Written\r\n"
                                "LangCancelled=en-Cancelled\r\nLangWorking=en-Working\r\nLangFile=en-File\r\n";

struct UpgradeWindow {
    MainWindowFixture f{"NumLangs=1\r\n", QStringLiteral("1:89")};
    QTemporaryDir files;
    ChosenFile dialogs;
    QStringList statusTexts;  // LblUpgradeStatus as it changed

    UpgradeWindow()
    {
        QFile config(f.configPath());
        config.open(QIODevice::ReadWrite);
        QByteArray text = config.readAll();
        text.replace("[Language1]", UpgradeTexts + "[Language1]");
        config.resize(0);
        config.write(text);
        config.close();
        dialogs.path = writeFile(files, QStringLiteral("sensors.fw"), firmwareContainer(ThreeImageIndex, threeImages()));
        f.main.pages().firmware().setFileDialogs(&dialogs);
        auto* status = f.find<QLabel>(QStringLiteral("LblUpgradeStatus"));
        QObject::connect(&f.main.pages().model(), &ControlModel::changed, &f.main, [this, status](const QString& name) {
            if (name == QLatin1String("LblUpgradeStatus") && (statusTexts.isEmpty() || statusTexts.last() != status->text()))
                statusTexts << status->text();
        });
        f.main.load();
        f.main.mainTab().setTab(2);
        f.clock.clock.advance(3000);  // the entered page's full refresh
        for (const char* key : {"Key_5", "Key_9", "Key_3", "Key_8"})  // 6, 0, 4, 9
            QTest::mouseClick(button(key), Qt::LeftButton);
    }

    QPushButton* button(const char* name) const { return f.find<QPushButton>(QString::fromLatin1(name)); }
    QString label(const char* name) const { return f.find<QLabel>(QString::fromLatin1(name))->text(); }

    [[nodiscard]] int blocksSent() const
    {
        int n = 0;
        for (const auto& frame : f.bus.received())
            n += frame.payload.startsWith("P\x12");
        return n;
    }
    [[nodiscard]] bool restartSent() const
    {
        for (const auto& frame : f.bus.received())
            if (frame.payload.startsWith("P\x13"))
                return true;
        return false;
    }
    // Runs fn once the progress text first shows percent.
    void at(const QString& percent, std::function<void()> fn)
    {
        auto done = std::make_shared<bool>(false);
        QObject::connect(&f.main.pages().model(), &ControlModel::changed, &f.main, [this, percent, fn, done](const QString& name) {
            if (*done || name != QLatin1String("LblUpgradeStatus") || !statusTexts.last().endsWith(QStringLiteral(": ") + percent))
                return;
            *done = true;
            auto& clock = Clock::current();
            clock.schedule(clock.nowMs() + 1, fn);
        });
    }
};

}  // namespace

class TstFirmwareGroup : public QObject {
    Q_OBJECT
    QTemporaryDir home;
private slots:
    void initTestCase()
    {
        // The configuration folder lies under the documents folder: this test's own.
        qputenv("HOME", home.path().toLocal8Bit());
    }

    void upgradeFromTheDiagnosticsPage()
    {
        UpgradeWindow w;
        QPushButton* upgrade = w.button("CmdUpgrade");
        QVERIFY(upgrade->isVisible());
        QVERIFY(upgrade->isEnabled());
        QTest::mouseClick(upgrade, Qt::LeftButton);
        QVERIFY(!w.button("CmdOutputTest")->isEnabled());
        QVERIFY(!w.button("cmdWater")->isEnabled());

        w.f.clock.clock.runUntil([&] { return w.label("LblVersionNumber") == QLatin1String("QX0089 v1.13 "); }, 600000);
        QCOMPARE(w.label("LblVersionNumber"), QStringLiteral("QX0089 v1.13 "));
        QCOMPARE(w.label("LblChecksum"), QString::fromLatin1(w.f.bus.sensorAt(1)->checksumText()));
        QCOMPARE(w.label("LblUpgradeStatus"), QString());
        QCOMPARE(w.f.main.sensorModel().SensorTable[1].FirmwareText, QStringLiteral("QX0089 v1.13"));
        QCOMPARE(w.blocksSent(), 512);

        QCOMPARE(w.dialogs.filter, QStringLiteral("Firmware upgrades|*"));
        QCOMPARE(w.dialogs.startFolder, home.path() + QStringLiteral("/Documents/Dunmere"));

        // The progress text advanced percent by percent, then the restart and read-back.
        QList<int> percents;
        static const QRegularExpression progress(QStringLiteral("^en-Upgrade en-Progress: (\\d+)%$"));
        for (const QString& text : std::as_const(w.statusTexts)) {
            const auto m = progress.match(text);
            if (m.hasMatch())
                percents << m.captured(1).toInt();
        }
        QCOMPARE(percents.size(), 101);
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        const qsizetype wait = w.statusTexts.indexOf(QStringLiteral("en-UpgradeWait"));
        QVERIFY(wait > 0);
        QCOMPARE(w.statusTexts.mid(wait, 3),
                 (QStringList{"en-UpgradeWait", "en-RequestFirmware", "en-Upgrade en-Written"}));

        QVERIFY(upgrade->isVisible() && upgrade->isEnabled());
        QVERIFY(!w.button("CmdUpgradeCancel")->isVisible());
        QVERIFY(w.button("CmdOutputTest")->isEnabled());
        QVERIFY(w.button("cmdWater")->isEnabled());
    }

    void restoreQuestionWritesTheOldValuesBack()
    {
        UpgradeWindow w;
        sim::VirtualSensor* sensor = w.f.bus.sensorAt(1);
        sensor->parameters().set(14, "4");
        sensor->parameters().store();
        sensor->setUpgradeResets({14});
        w.f.messages.clear();
        w.f.nextAnswer = FrmMessages::Answer::Yes;
        QTest::mouseClick(w.button("CmdUpgrade"), Qt::LeftButton);
        w.f.clock.clock.runUntil([&] { return !w.f.messages.isEmpty(); }, 600000);
        QCOMPARE(w.f.messages.size(), 1);
        const QStringList lines = w.f.messages.first().split(QLatin1Char('\n'));
        QVERIFY2(lines.contains(QStringLiteral("14 smoothing time: 4 -> 2")), qPrintable(w.f.messages.first()));
        w.f.clock.clock.advance(3000);
        QCOMPARE(sensor->parameters().value(14), QByteArray("4"));
        QCOMPARE(w.label("LblVersionNumber"), QStringLiteral("QX0089 v1.13 "));
    }

    void tabSwitchAndCancelDuringTheTransfer()
    {
        UpgradeWindow w;
        bool cancelShown = false;
        bool buttonsOff = false;
        w.at(QStringLiteral("30%"), [&] {
            cancelShown = w.button("CmdUpgradeCancel")->isVisible() && !w.button("CmdUpgrade")->isVisible();
            w.f.main.mainTab().setTab(0);
            w.f.main.mainTab().setTab(2);
            buttonsOff = !w.button("CmdOutputTest")->isEnabled() && !w.button("cmdWater")->isEnabled()
                         && !w.button("CmdDownload")->isEnabled() && !w.button("UploadButton")->isEnabled()
                         && !w.button("CmdLogOut_0")->isEnabled();
            QTest::mouseClick(w.button("CmdUpgradeCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(w.button("CmdUpgrade"), Qt::LeftButton);
        w.f.clock.clock.runUntil([&] { return w.label("LblUpgradeStatus") == QLatin1String("en-Upgrade en-Cancelled"); },
                                 600000);
        QVERIFY(cancelShown);
        QVERIFY(buttonsOff);
        QCOMPARE(w.label("LblUpgradeStatus"), QStringLiteral("en-Upgrade en-Cancelled"));
        QVERIFY(w.blocksSent() > 150 && w.blocksSent() < 160);
        QVERIFY(!w.restartSent());
        QCOMPARE(w.label("LblVersionNumber"), QStringLiteral("QX0089 v1.12 "));
        QVERIFY(!w.button("CmdUpgradeCancel")->isVisible());
        QVERIFY(w.button("CmdUpgrade")->isVisible());
        QVERIFY(w.f.main.taskTimer().isActive());
    }

    void closingDuringTheTransferStopsAndExits()
    {
        UpgradeWindow w;
        int blocksAtClose = -1;
        w.at(QStringLiteral("20%"), [&] {
            blocksAtClose = w.blocksSent();
            w.f.main.close();
        });
        QTest::mouseClick(w.button("CmdUpgrade"), Qt::LeftButton);
        w.f.clock.clock.runUntil([&] { return w.f.exits > 0; }, 600000);
        QCOMPARE(w.f.exits, 1);
        QVERIFY(w.f.main.exited());
        QCOMPARE(w.blocksSent(), blocksAtClose);
        QVERIFY(!w.restartSent());
    }
};

QTEST_MAIN(TstFirmwareGroup)
#include "tst_firmwaregroup.moc"
