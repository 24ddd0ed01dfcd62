// The data and resonator windows opened from the running main window as a user opens them,
// on the simulated bus and the virtual clock: CmdTrend through the task timer's trend
// request (main window hidden, its timer stopped, a log started and stopped, the main
// window and its timer back on closing) and cmdResonator at the full access level. The
// windows' own behaviour is tested in tests/datalog.

#include "MainWindowFixture.h"

#include "datalog/ui/FrmData.h"
#include "datalog/ui/FrmResonator.h"
#include "pagoline/core/Pagoline.h"
#include "shell/pages/core/PagesCore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

class TstDataWindows : public QObject {
    Q_OBJECT
private:
    QTemporaryDir home_;

private slots:
    // The log dialog's start folder is made under this test's own home.
    void initTestCase() { QVERIFY(home_.isValid() && qputenv("HOME", home_.path().toLocal8Bit())); }
    void trendButtonOpensTheDataWindowAndLogsEveryRow();
    void resonatorButtonAtTheFullLevel();
};

void TstDataWindows::trendButtonOpensTheDataWindowAndLogsEveryRow()
{
    MainWindowFixture f;
    f.main.load();
    f.clock.clock.advance(1000);
    auto* trend = f.find<QPushButton>("CmdTrend");
    QVERIFY(trend->isVisible() && trend->isEnabled());
    QTest::mouseClick(trend, Qt::LeftButton);
    QVERIFY(trend->isHidden());
    QVERIFY(f.clock.clock.runUntil([&] { return f.main.dataWindow() != nullptr; }, 2000));
    FrmData* data = f.main.dataWindow();
    QVERIFY(data->isVisible());
    QVERIFY(!f.main.isVisible());
    QVERIFY(!f.main.taskTimer().isActive());

    const QString log = f.home.filePath(QStringLiteral("trend-log.txt"));
    data->setSaveDialog([&](QWidget*, const QString&, const QString&, const QString&) { return log; });
    f.clock.clock.advance(3000);
    QTest::mouseClick(data->findChild<QPushButton*>(QStringLiteral("CmdLog")), Qt::LeftButton);
    f.clock.clock.advance(65000);
    QVERIFY(!f.main.taskTimer().isActive());
    QTest::mouseClick(data->findChild<QPushButton*>(QStringLiteral("CmdLog")), Qt::LeftButton);

    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(ushort(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8));
    const QStringList lines = text.remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"));
    // Three rows in use (addresses 1, 2 and 5): three groups in the header and in each line.
    QCOMPARE(lines[6].split(u'\t').size(), 3 * 4 + 1);
    QVERIFY(lines[6].contains(QLatin1String("\t5\t")));
    const QStringList samples = lines.mid(17, lines.size() - 18);
    QVERIFY2(samples.size() >= 30, qPrintable(QString::number(samples.size())));
    QCOMPARE(samples.last().split(u'\t').size(), 3 * 4 + 1);

    data->close();
    QVERIFY(f.clock.clock.runUntil([&] { return f.main.isVisible(); }, 2000));
    QVERIFY(f.main.taskTimer().isActive());
    QVERIFY(trend->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f.main.dataWindow());
    f.clock.clock.advance(1000);
}

void TstDataWindows::resonatorButtonAtTheFullLevel()
{
    MainWindowFixture f;
    f.main.load();
    f.main.mainTab().setTab(2);
    f.clock.clock.advance(1000);
    auto* resonator = f.find<QPushButton>("cmdResonator");
    QVERIFY(!resonator->isVisible());
    // The full level's code 8251; Key(i) enters the digit i + 1.
    for (int key : {7, 1, 4, 0})
        f.main.pages().buttonClicked(QStringLiteral("Key_%1").arg(key));
    f.clock.clock.advance(400);
    QVERIFY(resonator->isVisible() && resonator->isEnabled());
    QTest::mouseClick(resonator, Qt::LeftButton);
    FrmResonator* window = f.main.resonatorWindow();
    QVERIFY(window && window->isVisible());
    QVERIFY(!f.main.isVisible());
    f.clock.clock.advance(2000);
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("lblGraphFreq"))->text() != QLatin1String("0.00"));
    window->close();
    QVERIFY(f.main.isVisible());
    f.clock.clock.advance(1000);
    QVERIFY(f.main.taskTimer().isActive());
}

QTEST_MAIN(TstDataWindows)
#include "tst_datawindows.moc"
