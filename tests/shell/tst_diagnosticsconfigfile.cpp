// The Diagnostics page's Download Settings and Upload Settings buttons driven as a user does,
// on the shown main window against the simulated bus: the file the save leaves, the progress
// bar at its steps in place of the buttons, the comparison before a restore, and the restore's
// writes reaching the sensor. The procedures themselves are tested in tests/configfile.

#include "MainWindowFixture.h"

#include "link/FileDialogs.h"
#include "pagoline/core/Pagoline.h"
#include "shell/pages/core/PagesCore.h"

#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

// Answers the file dialogs with a path the test chose, and notes what they were asked.
class ChosenFiles final : public FileDialogs {
public:
    QString openFile(const QString& folder, const QString&) override
    {
        folders << folder;
        return path;
    }
    QString saveFile(const QString& folder, const QString& proposedName, const QString&) override
    {
        folders << folder;
        proposed << proposedName;
        return path;
    }
    QString path;
    QStringList folders;
    QStringList proposed;
};

}  // namespace

class TestDiagnosticsConfigFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void downloadThenUploadThroughTheButtons()
    {
        MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("1:89:Q8900017:Mixer 2"));
        ChosenFiles dialogs;
        QTemporaryDir files;
        dialogs.path = files.filePath(QStringLiteral("mixer.txt"));
        f.main.pages().setConfigurationFiles(&dialogs, [] { return 0; });
        f.main.load();
        f.main.show();
        f.main.mainTab().setTab(2);
        auto* download = f.find<QPushButton>("CmdDownload");
        auto* upload = f.find<QPushButton>("UploadButton");
        auto* saveBar = f.find<QProgressBar>("ProgressBar1");
        // Enabled by the first full refresh of the page.
        QVERIFY(f.clock.clock.runUntil([&] { return download->isEnabled() && download->isVisible(); }, 20000));
        QVERIFY(upload->isVisible() && upload->isEnabled());

        QList<int> steps;
        connect(saveBar, &QProgressBar::valueChanged, this, [&](int v) { steps << v; });
        QTest::mouseClick(download, Qt::LeftButton);
        QVERIFY(saveBar->isVisible());
        QVERIFY(!download->isVisible() && !upload->isVisible());
        QVERIFY(f.clock.clock.runUntil([&] { return download->isVisible(); }, 20000));
        QVERIFY(!saveBar->isVisible());
        QVERIFY(download->isEnabled());
        QCOMPARE(dialogs.proposed, QStringList{QStringLiteral("Q8900017.txt")});
        QVERIFY(dialogs.folders.first().endsWith(QStringLiteral("/Dunmere")));
        QCOMPARE(steps, (QList<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0}));
        QFile file(dialogs.path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xFF\xFE#"));
        QVERIFY(bytes.endsWith(QByteArray("\x03\0\r\0\n\0", 6)));
        QVERIFY(f.messages.isEmpty());

        // The sensor's high output limit changes; the restore names it, and puts it back.
        sim::VirtualSensor* sensor = f.bus.sensorAt(1);
        QVERIFY(sensor->parameters().write(8, "30") == sim::ParameterStore::WriteResult::Written);
        f.nextAnswer = FrmMessages::Answer::Yes;
        QTest::mouseClick(upload, Qt::LeftButton);
        QVERIFY(f.find<QProgressBar>("UploadProgress")->isVisible());
        QVERIFY(f.clock.clock.runUntil([&] { return upload->isVisible(); }, 60000));
        QVERIFY(!f.find<QProgressBar>("UploadProgress")->isVisible());
        QVERIFY(!f.messages.isEmpty());
        QVERIFY2(f.messages.first().startsWith(QStringLiteral("1 values differ: ")), qPrintable(f.messages.first()));
        QCOMPARE(sensor->parameters().value(8), QByteArray("20.00"));
        // The simulated sensor takes no writes of its measured temperatures.
        QCOMPARE(f.messages.last(), QStringLiteral("Upload Failed Please Retry"));
        QVERIFY(f.main.requests().FullRefreshRequest);
    }

    void cancelledDialogLeavesThePageAsItWas()
    {
        MainWindowFixture f("NumLangs=1\r\n", QStringLiteral("1:45"));
        ChosenFiles dialogs;  // an empty path: the user cancelled
        f.main.pages().setConfigurationFiles(&dialogs, [] { return 0; });
        f.main.load();
        f.main.show();
        f.main.mainTab().setTab(2);
        auto* upload = f.find<QPushButton>("UploadButton");
        QVERIFY(f.clock.clock.runUntil([&] { return upload->isEnabled() && upload->isVisible(); }, 20000));
        f.bus.clearReceived();
        QTest::mouseClick(upload, Qt::LeftButton);
        QVERIFY(f.clock.clock.runUntil([&] { return upload->isVisible(); }, 5000));
        QCOMPARE(dialogs.folders.size(), 1);
        for (const sim::ReceivedFrame& frame : f.bus.received())
            QVERIFY2(!frame.payload.startsWith("W "), frame.payload.constData());
        QVERIFY(f.messages.isEmpty());
        QVERIFY(f.find<QPushButton>("CmdDownload")->isVisible());
    }
};

QTEST_MAIN(TestDiagnosticsConfigFile)
#include "tst_diagnosticsconfigfile.moc"
