// The start-up rules for the Settings keys: the edition type with its write-back, the serial
// port number (1-16 survive), the search speed and its default, the last transport, and the
// window captions of the two editions. Files are written by hand; the profile reader itself
// is tested with the link.

#include "shell/core/StartupSettings.h"

#include "link/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;

namespace {

QString writeConfig(const QTemporaryDir& dir, const QByteArray& settingsLines)
{
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write config");
    file.write("[Settings]\r\n" + settingsLines);
    return path;
}

}  // namespace

class TstStartupSettings : public QObject {
    Q_OBJECT
private slots:
    void editionType_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("stored");
        QTest::newRow("brix") << QByteArray("Type=1\r\n") << 1 << "1";
        QTest::newRow("standard") << QByteArray("Type=0\r\n") << 0 << "0";
        QTest::newRow("seven written back") << QByteArray("Type=7\r\n") << 0 << "0";
        QTest::newRow("text written back") << QByteArray("Type=brix\r\n") << 0 << "0";
        QTest::newRow("empty written back") << QByteArray("Type=\r\n") << 0 << "0";
        QTest::newRow("missing written") << QByteArray() << 0 << "0";
    }
    void editionType()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, type);
        QFETCH(QString, stored);
        QTemporaryDir dir;
        const QString path = writeConfig(dir, line);
        QCOMPARE(ReadEditionType(path), type);
        QCOMPARE(ReadSetting(QStringLiteral("Settings"), QStringLiteral("Type"), path), stored);
    }

    void captions()
    {
        QCOMPARE(MainWindowCaption(false), QStringLiteral("Dunmere (QX0068 v1.80)"));
        QCOMPARE(MainWindowCaption(true), QStringLiteral("Tolland Grey Limited - Dunmere (QX0068 v1.80)"));
    }

    void port_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("stored");
        QTest::newRow("4") << QByteArray("Port=4\r\n") << 4 << "4";
        QTest::newRow("16 kept") << QByteArray("Port=16\r\n") << 16 << "16";
        QTest::newRow("17") << QByteArray("Port=17\r\n") << 1 << "17";
        QTest::newRow("0") << QByteArray("Port=0\r\n") << 1 << "0";
        QTest::newRow("text") << QByteArray("Port=COM3\r\n") << 1 << "COM3";
        QTest::newRow("fraction") << QByteArray("Port=2.5\r\n") << 1 << "2.5";
        QTest::newRow("empty writes 1") << QByteArray("Port=\r\n") << 1 << "1";
    }
    void port()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, port);
        QFETCH(QString, stored);
        QTemporaryDir dir;
        const QString path = writeConfig(dir, line);
        QCOMPARE(ReadPortSetting(path), port);
        QCOMPARE(ReadSetting(QStringLiteral("Settings"), QStringLiteral("Port"), path), stored);
    }

    void searchSpeed_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("ms");
        QTest::newRow("slow") << QByteArray("SearchSpeed=2000\r\n") << 2000;
        QTest::newRow("700 as it stands") << QByteArray("SearchSpeed=700\r\n") << 700;
        QTest::newRow("missing") << QByteArray() << SearchSpeedMediumMs;
        QTest::newRow("text") << QByteArray("SearchSpeed=fast\r\n") << SearchSpeedMediumMs;
        QTest::newRow("zero") << QByteArray("SearchSpeed=0\r\n") << SearchSpeedMediumMs;
    }
    void searchSpeed()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, ms);
        QTemporaryDir dir;
        QCOMPARE(ReadSearchSpeed(writeConfig(dir, line)), ms);
    }

    void lastComms_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("transport");
        QTest::newRow("COM") << QByteArray("LastComms=COM\r\n") << int(LastTransport::Serial);
        QTest::newRow("IP") << QByteArray("LastComms=IP\r\n") << int(LastTransport::Tcp);
        QTest::newRow("other") << QByteArray("LastComms=USB\r\n") << int(LastTransport::None);
        QTest::newRow("missing") << QByteArray() << int(LastTransport::None);
    }
    void lastComms()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, transport);
        QTemporaryDir dir;
        QCOMPARE(int(ReadLastComms(writeConfig(dir, line))), transport);
    }

    void disableConfig_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("disabled");
        QTest::newRow("2") << QByteArray("DisableConfig=2\r\n") << true;
        QTest::newRow("0") << QByteArray("DisableConfig=0\r\n") << false;
        QTest::newRow("text") << QByteArray("DisableConfig=yes\r\n") << false;
    }
    void disableConfig()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, disabled);
        QTemporaryDir dir;
        QCOMPARE(ReadDisableConfig(writeConfig(dir, line)), disabled);
    }
};

QTEST_GUILESS_MAIN(TstStartupSettings)
#include "tst_startupsettings.moc"
