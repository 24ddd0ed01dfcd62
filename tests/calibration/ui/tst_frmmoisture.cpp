// The moisture calculator as a user drives it, opened from the moisture calibration window:
// the four documented cases (25.0, the two "X >" messages before any division, a negative
// result with its sign), an empty box, the result kept after a refused entry, a decimal comma,
// and the picture of the four steps drawn across the top. Not covered: the picture's details.

#include "CalibrationFixture.h"
#include "PagesFixture.h"
#include "calibration/ui/FrmCalM.h"
#include "link/NumberRules.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

class TestFrmMoisture : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void calculates_data();
    void calculates();
    void refusedEntryKeepsTheResult();

private:
    void enter(const QString& x, const QString& y, const QString& z);
    QString result() const { return calculator_->findChild<QLabel*>(QStringLiteral("LblMoisture"))->text(); }

    std::unique_ptr<VirtualClockScope> clock_;
    std::unique_ptr<QTemporaryDir> dir_;
    Link link_;
    KeyTexts texts_;
    RecordingMessages messages_;
    std::unique_ptr<FrmCalM> window_;
    QWidget* calculator_ = nullptr;
};

void TestFrmMoisture::init()
{
    messages_.shown.clear();
    clock_ = std::make_unique<VirtualClockScope>();
    dir_ = std::make_unique<QTemporaryDir>();
    FrmCalM::Setup setup;
    setup.noSensor = true;
    setup.storePath = dir_->filePath(QStringLiteral("calibdb.mdb"));
    window_ = std::make_unique<FrmCalM>(link_, texts_, messages_, setup);
    QVERIFY(window_->open());
    QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("CmdMoistureCalc")), Qt::LeftButton);
    calculator_ = window_->findChild<QWidget*>(QStringLiteral("FrmMoisture"));
    QVERIFY(calculator_);
    QVERIFY(QTest::qWaitForWindowExposed(calculator_));
    QCOMPARE(calculator_->windowTitle(), QStringLiteral("Dunmere - LangMoisture LangCalculator"));
    QWidget* picture = calculator_->findChild<QWidget*>(QStringLiteral("PictureWeighing"));
    QVERIFY(picture);
    QCOMPARE(picture->size(), QSize(628, 159));
    const QImage image = picture->grab().toImage();
    QVERIFY(image.pixelColor(5, 5) == QColor(Qt::white));
    bool red = false;
    for (int x = 0; x < image.width() && !red; ++x)
        for (int y = 0; y < image.height() && !red; ++y)
            red = image.pixelColor(x, y) == QColor(Qt::red);
    QVERIFY2(red, "the red arrows at the scales' displays");
}

void TestFrmMoisture::cleanup()
{
    window_.reset();
    SetDecimalComma(false);
}

void TestFrmMoisture::enter(const QString& x, const QString& y, const QString& z)
{
    for (auto [name, text] : {std::pair{"TextA", x}, std::pair{"TextB", y}, std::pair{"TextC", z}}) {
        auto* box = calculator_->findChild<QLineEdit*>(QString::fromLatin1(name));
        box->clear();
        QTest::keyClicks(box, text);
    }
    QTest::mouseClick(calculator_->findChild<QPushButton*>(QStringLiteral("CmdCalculate")), Qt::LeftButton);
}

void TestFrmMoisture::calculates_data()
{
    QTest::addColumn<bool>("comma");
    QTest::addColumn<QStringList>("weights");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("25.0") << false << QStringList{"10", "20", "18"} << "25.0" << "";
    QTest::newRow("Y not above X") << false << QStringList{"10", "10", "12"} << "" << "LangError: X > Y";
    QTest::newRow("Z not above X: no division") << false << QStringList{"10", "20", "10"} << "" << "LangError: X > Z";
    QTest::newRow("dried heavier than wet: negative") << false << QStringList{"10", "18", "19"} << "-11.1" << "";
    QTest::newRow("empty X") << false << QStringList{"", "20", "18"} << "" << "LangInvalid X";
    QTest::newRow("not a number in Z") << false << QStringList{"10", "20", "z"} << "" << "LangInvalid Z";
    QTest::newRow("decimal comma") << true << QStringList{"0,5", "1,5", "1,25"} << "33,3" << "";
}

void TestFrmMoisture::calculates()
{
    QFETCH(bool, comma);
    QFETCH(QStringList, weights);
    QFETCH(QString, result);
    QFETCH(QString, message);
    SetDecimalComma(comma);
    enter(weights[0], weights[1], weights[2]);
    QCOMPARE(this->result(), result);
    QCOMPARE(messages_.shown.isEmpty() ? QString() : messages_.shown.last(), message);
}

void TestFrmMoisture::refusedEntryKeepsTheResult()
{
    enter("10", "20", "18");
    QCOMPARE(result(), QStringLiteral("25.0"));
    enter("10", "9", "18");
    QCOMPARE(messages_.shown.last(), QStringLiteral("LangError: X > Y"));
    QCOMPARE(result(), QStringLiteral("25.0"));
    // The calculator goes with its calibration window.
    QPointer<QWidget> calculator = calculator_;
    window_.reset();
    QVERIFY(!calculator);
}

QTEST_MAIN(TestFrmMoisture)
#include "tst_frmmoisture.moc"
