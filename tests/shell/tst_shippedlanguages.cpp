// Every language shipped in config.ini on the live main window: choosing it from the language
// menu puts its own texts on the buttons, tabs, menus and value lists at once, with no
// restart. The texts themselves are checked key by key in the language data tests.

#include "MainWindowFixture.h"

#include "shell/MainMenu.h"

#include "language/ShippedData.h"
#include "link/Settings.h"
#include "pagoline/core/Pagoline.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

class TstShippedLanguages : public QObject {
    Q_OBJECT
private slots:
    void everyShippedLanguageReachesTheWindowLive()
    {
        MainWindowFixture f(QByteArray(), QStringLiteral("1:89,2:77,5:45"), false);
        QVERIFY(QFile::copy(QDir(ShippedDataFolder()).filePath(QStringLiteral("config.ini")), f.configPath()));
        QFile::setPermissions(f.configPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        f.main.load();
        const QString path = f.configPath();
        const int highest = ReadSetting(QStringLiteral("Settings"), QStringLiteral("NumLangs"), path).toInt();
        QVERIFY(highest >= 1);
        QString previousSearch;
        for (int n = 0; n <= highest; ++n) {
            const QString section = QStringLiteral("Language%1").arg(n);
            auto text = [&](const char* key) { return ReadSetting(section, QString::fromLatin1(key), path); };
            QAction* item = f.main.menu().item(QStringLiteral("mnuLanguage%1").arg(n + 1));
            QVERIFY2(item, qPrintable(section));
            QCOMPARE(item->text(), text("Lang"));
            item->trigger();
            QCOMPARE(ReadSetting(QStringLiteral("Settings"), QStringLiteral("Language"), path), QString::number(n));
            QCOMPARE(f.find<QPushButton>(QStringLiteral("CmdSearch"))->text(), text("LangSearch"));
            QCOMPARE(f.main.mainTab().TabCaption(0), text("LangSensor"));
            QCOMPARE(f.main.mainTab().TabCaption(1), text("LangConfiguration"));
            QCOMPARE(f.main.menu().item(QStringLiteral("mnuSearchSpeedSlow"))->text(), text("LangSlow"));
            QCOMPARE(f.find<QComboBox>(QStringLiteral("ListValue"))->itemText(0),
                     text("LangFiltered") + QLatin1Char(' ') + text("LangUnscaled"));
            // The menus are rebuilt with the texts, so the item is looked up afresh.
            QVERIFY(f.main.menu().item(QStringLiteral("mnuLanguage%1").arg(n + 1))->isChecked());
            // A language that showed the previous one's texts would not have been applied.
            QVERIFY2(text("LangSearch") != previousSearch || n == 0, qPrintable(section));
            previousSearch = text("LangSearch");
        }
    }
};

QTEST_MAIN(TstShippedLanguages)
#include "tst_shippedlanguages.moc"
