// The property bag on its own: names without regard to case, defaults on write and
// read, every kind of value through its bytes and back, the byte layout checked against
// arrays written by hand, and damaged or cut-off arrays read without harm.
// The control's own use of the bag is in tst_persistence.
#include "pagoline/core/PropertyBag.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QtTest>

class PropertyBagTest : public QObject
{
    Q_OBJECT

private slots:
    void namesMatchWithoutRegardToCase()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("TabsPerRow"), 4, 3);
        QCOMPARE(bag.ReadProperty(QStringLiteral("tabsperrow"), 3).toInt(), 4);
        bag.WriteProperty(QStringLiteral("TABSPERROW"), 5, 3);
        QCOMPARE(bag.count(), 1);
        QCOMPARE(bag.ReadProperty(QStringLiteral("TabsPerRow"), 3).toInt(), 5);
    }

    void valueEqualToDefaultIsNotStored()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Enabled"), true, true);
        bag.WriteProperty(QStringLiteral("TabHeight"), 20, 20);
        QCOMPARE(bag.count(), 0);
        bag.WriteProperty(QStringLiteral("Caption"), QString());
        QVERIFY(bag.contains(QStringLiteral("caption"))); // no default: always stored
        // Writing the default over a stored value drops it.
        bag.WriteProperty(QStringLiteral("TabHeight"), 30, 20);
        bag.WriteProperty(QStringLiteral("TabHeight"), 20, 20);
        QVERIFY(!bag.contains(QStringLiteral("TabHeight")));
    }

    void missingOrUnconvertibleReadsAsDefault()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Text"), QStringLiteral("abc"));
        QCOMPARE(bag.ReadProperty(QStringLiteral("Missing"), 7).toInt(), 7);
        QCOMPARE(bag.ReadProperty(QStringLiteral("Text"), 7).toInt(), 7);
    }

    void everyKindSurvivesItsBytes()
    {
        QFont font(QStringLiteral("DejaVu Sans"), 11);
        font.setBold(true);
        font.setItalic(true);
        QImage image(3, 2, QImage::Format_ARGB32);
        image.fill(QColor(10, 20, 30));
        PropertyBag inner;
        inner.WriteProperty(QStringLiteral("Depth"), 2);

        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Flag"), false);
        bag.WriteProperty(QStringLiteral("Big"), qlonglong(0x80000012u));
        bag.WriteProperty(QStringLiteral("Negative"), -1);
        bag.WriteProperty(QStringLiteral("Text"), QStringLiteral("A\uFF21\u00E4"));
        bag.WriteProperty(QStringLiteral("Font"), font);
        bag.WriteProperty(QStringLiteral("Colour"), QColor(1, 2, 3, 4));
        bag.WriteProperty(QStringLiteral("Picture"), QPixmap::fromImage(image));
        bag.WriteProperty(QStringLiteral("Nested"), inner.toBytes());

        bool ok = false;
        const PropertyBag back = PropertyBag::fromBytes(bag.toBytes(), &ok);
        QVERIFY(ok);
        QCOMPARE(back.names(), bag.names());
        QCOMPARE(back.ReadProperty(QStringLiteral("Flag"), true).toBool(), false);
        QCOMPARE(back.ReadProperty(QStringLiteral("Big"), 0u).toUInt(), 0x80000012u);
        QCOMPARE(back.ReadProperty(QStringLiteral("Negative"), 0).toInt(), -1);
        QCOMPARE(back.ReadProperty(QStringLiteral("Text"), QString()).toString(), QStringLiteral("A\uFF21\u00E4"));
        const QFont font2 = back.ReadProperty(QStringLiteral("Font"), QFont()).value<QFont>();
        QCOMPARE(font2.family(), font.family());
        QCOMPARE(font2.pointSize(), 11);
        QVERIFY(font2.bold() && font2.italic());
        QCOMPARE(back.ReadProperty(QStringLiteral("Colour"), QColor()).value<QColor>(), QColor(1, 2, 3, 4));
        const QImage image2 = back.ReadProperty(QStringLiteral("Picture"), QPixmap()).value<QPixmap>().toImage();
        QCOMPARE(image2.size(), QSize(3, 2));
        QCOMPARE(image2.pixelColor(1, 1), QColor(10, 20, 30));
        const PropertyBag nested =
            PropertyBag::fromBytes(back.ReadProperty(QStringLiteral("Nested"), QByteArray()).toByteArray());
        QCOMPARE(nested.ReadProperty(QStringLiteral("Depth"), 0).toInt(), 2);
    }

    void bytesFollowTheDocumentedLayout()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Ab"), true);
        bag.WriteProperty(QStringLiteral("N"), 258);
        const QByteArray expected = QByteArray::fromHex("504C4247" "01" "02000000"
                                                        "0200" "41006200" "01" "01000000" "01"
                                                        "0100" "4E00" "02" "08000000" "0201000000000000");
        QCOMPARE(bag.toBytes().toHex(), expected.toHex());
    }

    void handWrittenBytesRead()
    {
        // One text entry "Caption" = "Tab 0" and an entry of an unknown type 9 that is skipped.
        const QByteArray bytes = QByteArray::fromHex("504C4247" "01" "02000000"
                                                     "0700" "430061007000740069006F006E00" "03" "0A000000"
                                                     "54006100620020003000"
                                                     "0100" "5800" "09" "02000000" "FFFF");
        bool ok = false;
        const PropertyBag bag = PropertyBag::fromBytes(bytes, &ok);
        QVERIFY(ok);
        QCOMPARE(bag.names(), QStringList{QStringLiteral("Caption")});
        QCOMPARE(bag.ReadProperty(QStringLiteral("CAPTION"), QString()).toString(), QStringLiteral("Tab 0"));
    }

    void cutOffArraysKeepWhatWasReadBefore()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("First"), 1);
        bag.WriteProperty(QStringLiteral("Second"), QStringLiteral("two"));
        const QByteArray whole = bag.toBytes();
        for (int length = 0; length < whole.size(); ++length) {
            bool ok = true;
            const PropertyBag cut = PropertyBag::fromBytes(whole.left(length), &ok);
            QVERIFY2(!ok, qPrintable(QString::number(length)));
            QVERIFY(!cut.contains(QStringLiteral("Second")));
            QCOMPARE(cut.ReadProperty(QStringLiteral("Second"), QStringLiteral("none")).toString(),
                     QStringLiteral("none"));
        }
        const PropertyBag firstOnly = PropertyBag::fromBytes(whole.left(whole.size() - 1));
        QCOMPARE(firstOnly.ReadProperty(QStringLiteral("First"), 0).toInt(), 1);
    }

    void damagedArraysReadWithoutHarm_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("wrong magic") << QByteArray::fromHex("58584247010000000000");
        QTest::newRow("huge count") << QByteArray::fromHex("504C424701FFFFFFFF");
        QTest::newRow("name past end") << QByteArray::fromHex("504C42470101000000FFFF4100");
        QTest::newRow("payload past end") << QByteArray::fromHex("504C4247010100000001004100" "02" "FFFFFFFF00");
        QTest::newRow("boolean of two bytes") << QByteArray::fromHex("504C4247010100000001004100" "01" "020000000101");
        QTest::newRow("odd text") << QByteArray::fromHex("504C4247010100000001004100" "03" "03000000414243");
        QTest::newRow("bad picture") << QByteArray::fromHex("504C4247010100000001004100" "07" "0200000000FF");
    }

    void damagedArraysReadWithoutHarm()
    {
        QFETCH(QByteArray, bytes);
        bool ok = true;
        const PropertyBag bag = PropertyBag::fromBytes(bytes, &ok);
        QVERIFY(!ok);
        QCOMPARE(bag.ReadProperty(QStringLiteral("A"), 5).toInt(), 5);
    }
};

QTEST_MAIN(PropertyBagTest)
#include "tst_propertybag.moc"
