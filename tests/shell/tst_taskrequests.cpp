// The task requests: which ones a new search clears, the fixed order in which the Diagnostics
// and Advanced pages' requests are served one per tick whatever order they were raised in,
// the factory reset's type check, and how DiagnosticsTick spaces the heavier refreshes.
// The work each request does belongs to the pages and is not exercised here.

#include "shell/core/TaskRequests.h"

#include <QTest>

using namespace dunmere;
using Kind = DiagnosticsStep::Kind;

class TstTaskRequests : public QObject {
    Q_OBJECT
private slots:
    void pressedOutOfOrderServedInListOrder()
    {
        TaskRequests r;
        r.DiagnosticsTick = 1;
        // Pressed in this order: arm type, water, upgrade, mode 2.
        r.ArmTypeRequest = true;
        r.WaterReferenceRequest = true;
        r.UpgradeRequest = true;
        r.Mode2WriteRequest = true;
        const QList<DiagnosticsRequest> expected = {DiagnosticsRequest::Upgrade, DiagnosticsRequest::WaterReference,
                                                    DiagnosticsRequest::Mode2Write, DiagnosticsRequest::ArmType};
        for (DiagnosticsRequest want : expected) {
            const auto step = r.takeDiagnosticsStep(77);
            QCOMPARE(step.kind, Kind::Request);
            QCOMPARE(step.request, want);
            QVERIFY(!r.pending(want));
        }
        QCOMPARE(r.takeDiagnosticsStep(77).kind, Kind::Refresh);
        QCOMPARE(r.DiagnosticsTick, 2);  // the request ticks did not count as refreshes
    }

    void factoryResetOnlyForType89AndStaysPendingOtherwise()
    {
        TaskRequests r;
        r.FactoryResetRequest = true;
        r.OutputTestRequest = true;
        QCOMPARE(r.takeDiagnosticsStep(77).kind, Kind::OutputTest);
        QVERIFY(r.FactoryResetRequest);
        QCOMPARE(r.takeDiagnosticsStep(89).kind, Kind::FactoryReset);
        r.FactoryResetRequest = false;
        QCOMPARE(r.takeDiagnosticsStep(89).kind, Kind::OutputTest);
    }

    void refreshLevelsFollowDiagnosticsTick()
    {
        TaskRequests r;
        QList<int> levels;
        for (int i = 0; i < 6; ++i)
            levels << r.takeDiagnosticsStep(0).refreshLevel;
        QCOMPARE(levels, (QList<int>{0, 0, 0, 0, 0, 1}));
        QCOMPARE(r.DiagnosticsTick, 1);
        r.FullRefreshRequest = true;
        for (int i = 0; i < 4; ++i)
            QCOMPARE(r.takeDiagnosticsStep(0).refreshLevel, 0);
        QCOMPARE(r.takeDiagnosticsStep(0).refreshLevel, 2);
        QVERIFY(!r.FullRefreshRequest);
    }

    void initTasksClearsEverySensorBoundRequest()
    {
        TaskRequests r;
        for (int i = int(DiagnosticsRequest::Upgrade); i <= int(DiagnosticsRequest::ArmType); ++i)
            r.setPending(DiagnosticsRequest(i), true);
        r.FactoryResetRequest = r.OutputTestRequest = r.FullRefreshRequest = true;
        r.FillConfigRequest = r.WriteConfigRequest = r.CalibrationWindowRequest = true;
        r.AddressChangeRow = 2;
        r.TrendRequest = true;
        r.ComPortRequest = 3;
        r.clearForInitTasks();
        for (int i = int(DiagnosticsRequest::Upgrade); i <= int(DiagnosticsRequest::ArmType); ++i)
            QVERIFY2(!r.pending(DiagnosticsRequest(i)), qPrintable(QString::number(i)));
        QVERIFY(!r.FactoryResetRequest && !r.OutputTestRequest && !r.FullRefreshRequest);
        QVERIFY(!r.FillConfigRequest && !r.WriteConfigRequest && !r.CalibrationWindowRequest);
        QCOMPARE(r.AddressChangeRow, TaskRequests::NoRow);
        // Window and transport requests are not about a sensor and survive.
        QVERIFY(r.TrendRequest);
        QCOMPARE(r.ComPortRequest, 3);
    }

    void selectionChangeDropsOnlyTheSelectedSensorsWrites()
    {
        TaskRequests r;
        r.ModeWriteRequest = r.Mode2WriteRequest = r.AveragingModeRequest = r.ArmTypeRequest = true;
        r.FactoryResetRequest = true;
        r.UpgradeRequest = true;
        r.clearSelectedSensorRequests();
        QVERIFY(!r.ModeWriteRequest && !r.Mode2WriteRequest && !r.AveragingModeRequest && !r.ArmTypeRequest);
        QVERIFY(!r.FactoryResetRequest);
        QVERIFY(r.UpgradeRequest);
    }
};

QTEST_GUILESS_MAIN(TstTaskRequests)
#include "tst_taskrequests.moc"
