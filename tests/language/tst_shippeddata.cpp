// The texts shipped with the program and their first-run copy. The key table's shape; the
// shipped config.ini and help files as files (UTF-16LE with BOM, CR LF only) and their
// contents: every language section 0 to NumLangs holds every key once, non-empty, at most
// 149 characters and without surrounding blanks (the profile reader would drop them; a text
// that needs a closing blank is quoted), every Settings key present. Each language also
// loads through the profile reader with no empty text, and its Cyrillic or CJK texts
// survive an unrelated write to the file. Every language has a help file by the name rule,
// with the sections of the English help. Seeding copies into an empty data folder once and
// never replaces a file; the seeded folder offers every language and finds each help file.
// The wording itself is left to review.

#include "ConfigFixture.h"

#include "language/LanguageKeys.h"
#include "language/LanguageLoading.h"
#include "language/ShippedData.h"
#include "link/Settings.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QHash>
#include <QSet>
#include <QTest>

using namespace dunmere;

namespace {

const QString shippedDir = QStringLiteral(DUNMERE_SOURCE_DATA_DIR);

// The text of a UTF-16LE file with BOM, or a null string when it is not one.
QString readUtf16File(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || !bytes.startsWith("\xFF\xFE"))
        return {};
    QString text;
    for (qsizetype i = 2; i < bytes.size(); i += 2)
        text.append(QChar(char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8))));
    return text;
}

// Lines ending in CR LF, with no bare CR or LF anywhere.
bool hasOnlyCrLfLineEnds(const QString& text)
{
    return text.count(QLatin1Char('\n')) == text.count(QStringLiteral("\r\n"))
        && text.count(QLatin1Char('\r')) == text.count(QStringLiteral("\r\n")) && text.endsWith(QStringLiteral("\r\n"));
}

using Section = QList<std::pair<QString, QString>>;  // key, raw value, in file order

QHash<QString, Section> parseSections(const QString& text)
{
    QHash<QString, Section> sections;
    QString current;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            current = line.mid(1, line.size() - 2).toLower();
        else if (line.contains(QLatin1Char('=')) && !line.startsWith(QLatin1Char(';')))
            sections[current].append({line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1)});
    }
    return sections;
}

QSet<QString> distinctKeys()
{
    QSet<QString> keys;
    for (const char* key : LanguageKeySlots())
        keys.insert(QString::fromLatin1(key).toLower());
    return keys;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each language's own name as its speakers write it, by language number.
const QStringList shippedLanguageNames{
    QStringLiteral("English"),  QStringLiteral("Deutsch"),   QStringLiteral("Français"),
    QStringLiteral("Español"),  QStringLiteral("Italiano"),  QStringLiteral("Nederlands"),
    QStringLiteral("Português"), QStringLiteral("Polski"),   QStringLiteral("Русский"),
    QStringLiteral("日本語"),    QStringLiteral("中文"),      QStringLiteral("Tiếng Việt"),
    QStringLiteral("한국어")};

// NumLangs as shipped; every section up to it must be complete.
int shippedHighestLanguage()
{
    const auto sections = parseSections(readUtf16File(shippedDir + QStringLiteral("/config.ini")));
    for (const auto& [key, value] : sections.value(QStringLiteral("settings")))
        if (key == QLatin1String("NumLangs"))
            return value.toInt();
    return -1;
}

}  // namespace

class TestShippedData : public QObject {
    Q_OBJECT
private slots:
    void keyTableHoldsEveryKeyOnceAndLangNoTwice();
    void configFileIsAUnicodeProfile();
    void everyLanguageKeyIsShipped_data();
    void everyLanguageKeyIsShipped();
    void everyLanguageIsOffered();
    void everyLanguageLoadsWithoutEmptyTexts();
    void unicodeTextsSurviveAnUnrelatedWrite();
    void everySettingsKeyIsShipped();
    void helpFilesAreUnicodeTexts_data();
    void helpFilesAreUnicodeTexts();
    void seedingFillsAnEmptyFolderOnce();
    void seedingKeepsFilesTheUserHas();
    void seedingWithoutShippedDataCopiesNothing();
    void seedingFromTheShippedData();
    void aProgramInTheBuildTreeUsesTheSourceData();
};

void TestShippedData::keyTableHoldsEveryKeyOnceAndLangNoTwice()
{
    const auto& keys = LanguageKeySlots();
    QCOMPARE(int(keys.size()), 279);
    QCOMPARE(distinctKeys().size(), 278);
    QStringList langNo;
    for (int slot = 0; slot < int(keys.size()); ++slot) {
        QVERIFY(QString::fromLatin1(keys[slot]).startsWith(QLatin1String("Lang")));
        if (QLatin1String(keys[slot]) == QLatin1String("LangNo"))
            langNo << QString::number(slot);
    }
    QCOMPARE(langNo, (QStringList{QStringLiteral("34"), QStringLiteral("35")}));
    QCOMPARE(QLatin1String(keys.front()), QLatin1String("Lang"));
    QCOMPARE(QLatin1String(keys.back()), QLatin1String("LangConfirmation"));
    QVERIFY(std::any_of(keys.begin(), keys.end(), [](const char* k) { return QLatin1String(k) == QLatin1String("Langreset"); }));
}

void TestShippedData::configFileIsAUnicodeProfile()
{
    const QString text = readUtf16File(shippedDir + QStringLiteral("/config.ini"));
    QVERIFY2(!text.isNull(), "config.ini is not UTF-16LE with a byte order mark");
    QVERIFY(hasOnlyCrLfLineEnds(text));
}

void TestShippedData::everyLanguageKeyIsShipped_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("ownName");
    // Driven by the shipped NumLangs, so a language added there is checked as well.
    for (int n = 0; n <= shippedHighestLanguage(); ++n) {
        const QString section = QStringLiteral("language") + QString::number(n);
        QTest::newRow(qPrintable(section)) << section << shippedLanguageNames.value(n);
    }
}

void TestShippedData::everyLanguageKeyIsShipped()
{
    QFETCH(QString, section);
    QFETCH(QString, ownName);
    const auto sections = parseSections(readUtf16File(shippedDir + QStringLiteral("/config.ini")));
    QVERIFY(sections.contains(section));
    QHash<QString, QString> values;
    for (const auto& [key, value] : sections[section]) {
        QVERIFY2(!values.contains(key.toLower()), qPrintable(QStringLiteral("twice: ") + key));
        values.insert(key.toLower(), value);
        QVERIFY2(distinctKeys().contains(key.toLower()), qPrintable(QStringLiteral("unknown key: ") + key));
        QVERIFY2(!value.trimmed().isEmpty(), qPrintable(QStringLiteral("empty: ") + key));
        QVERIFY2(value.size() <= 149, qPrintable(QStringLiteral("longer than 149: ") + key));
        QVERIFY2(value == value.trimmed(), qPrintable(QStringLiteral("surrounding blanks: ") + key));
    }
    QCOMPARE(values.size(), 278);
    if (!ownName.isEmpty())
        QCOMPARE(values.value(QStringLiteral("lang")), ownName);
    // These parts are joined to file names and addresses and must survive the reader.
    QVERIFY(values.value(QStringLiteral("langreplace")).startsWith(QLatin1Char('"')));
    QVERIFY(values.value(QStringLiteral("langreplace")).endsWith(QStringLiteral(" \"")));
    // A saved sensor configuration is read back by "=" and by the first ":" of its
    // identity line, so those must not occur in the texts it is written with.
    for (const auto& [key, value] : sections[section])
        QVERIFY2(!value.contains(QLatin1Char('=')), qPrintable(QStringLiteral("\"=\" in ") + key));
    QVERIFY(!values.value(QStringLiteral("langsensor")).contains(QLatin1Char(':')));
}

void TestShippedData::everyLanguageIsOffered()
{
    QCOMPARE(shippedHighestLanguage(), int(shippedLanguageNames.size()) - 1);
}

void TestShippedData::everyLanguageLoadsWithoutEmptyTexts()
{
    ConfigFixture fixture;
    QVERIFY(!SeedDataFolder(shippedDir).isEmpty());
    LanguageTexts texts;
    for (int n = 0; n <= HighestLanguageNumber(); ++n) {
        QVERIFY(SetLanguage(n, texts));
        for (int slot = 0; slot < LanguageSlotCount; ++slot)
            QVERIFY2(!texts.slotText(slot).isEmpty(),
                     qPrintable(QStringLiteral("language %1: %2").arg(n).arg(QLatin1String(LanguageKeySlots()[slot]))));
        QCOMPARE(texts.text(QStringLiteral("Lang")), shippedLanguageNames.value(n));
        // The language's own value lists must tell their items apart, or a restored
        // configuration file would map two texts to one code.
        const QStringList slewItems{texts.text(QStringLiteral("LangNone")), texts.text(QStringLiteral("LangLight")),
                                    texts.text(QStringLiteral("LangMedium")), texts.text(QStringLiteral("LangHeavy"))};
        QCOMPARE(QSet<QString>(slewItems.begin(), slewItems.end()).size(), 4);
        const QStringList variableItems{texts.text(QStringLiteral("LangRaw")), texts.text(QStringLiteral("LangFiltered")),
                                        texts.text(QStringLiteral("LangAvg"))};
        QCOMPARE(QSet<QString>(variableItems.begin(), variableItems.end()).size(), 3);
    }
}

void TestShippedData::unicodeTextsSurviveAnUnrelatedWrite()
{
    ConfigFixture fixture;
    QVERIFY(!SeedDataFolder(shippedDir).isEmpty());
    const QByteArray before = fileBytes(ConfigFilePath());
    const QString russian = ReadSetting(QStringLiteral("Language8"), QStringLiteral("LangMoisture"), ConfigFilePath());
    const QString japanese = ReadSetting(QStringLiteral("Language9"), QStringLiteral("LangMoisture"), ConfigFilePath());
    QCOMPARE(russian, QStringLiteral("Влажность"));
    QCOMPARE(japanese, QStringLiteral("水分"));

    WriteSetting(QStringLiteral("Settings"), QStringLiteral("Language"), QStringLiteral("9"), ConfigFilePath());
    const QByteArray after = fileBytes(ConfigFilePath());
    // Everything from the first language section on is left byte for byte as it was.
    const QByteArray languages = ConfigFixture::utf16File({QStringLiteral("[Language0]")}).mid(2);
    QVERIFY(before.indexOf(languages) > 0);
    QCOMPARE(after.mid(after.indexOf(languages)), before.mid(before.indexOf(languages)));
    QCOMPARE(ReadSetting(QStringLiteral("Language8"), QStringLiteral("LangMoisture"), ConfigFilePath()), russian);
    QCOMPARE(ReadSetting(QStringLiteral("Language9"), QStringLiteral("LangMoisture"), ConfigFilePath()), japanese);
    QCOMPARE(ReadSetting(QStringLiteral("Settings"), QStringLiteral("Language"), ConfigFilePath()), QStringLiteral("9"));
}

void TestShippedData::everySettingsKeyIsShipped()
{
    const auto sections = parseSections(readUtf16File(shippedDir + QStringLiteral("/config.ini")));
    QHash<QString, QString> settings;
    for (const auto& [key, value] : sections.value(QStringLiteral("settings")))
        settings.insert(key, value);
    const QStringList keys{QStringLiteral("Type"), QStringLiteral("NumLangs"), QStringLiteral("Language"),
                           QStringLiteral("DisableConfig"), QStringLiteral("DisableCalib"), QStringLiteral("SearchSpeed"),
                           QStringLiteral("LastComms"), QStringLiteral("Port"), QStringLiteral("ListValue"),
                           QStringLiteral("ListTemp")};
    for (const QString& key : keys)
        QVERIFY2(settings.contains(key), qPrintable(key));
    QCOMPARE(settings.value(QStringLiteral("Type")), QStringLiteral("0"));
    QCOMPARE(settings.value(QStringLiteral("Language")), QStringLiteral("0"));
    QVERIFY(settings.value(QStringLiteral("NumLangs")).toInt() >= 1);
}

void TestShippedData::helpFilesAreUnicodeTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimumLength");
    for (int n = 0; n <= shippedHighestLanguage(); ++n) {
        const QString name = HelpFileName(n, shippedLanguageNames.value(n));
        // Chinese, Japanese and Korean say the same in fewer characters.
        const int minimumLength = n >= 9 && n != 11 ? 8000 : 10000;
        QTest::newRow(qPrintable(name)) << name << minimumLength;
    }
}

void TestShippedData::helpFilesAreUnicodeTexts()
{
    QFETCH(QString, name);
    QFETCH(int, minimumLength);
    QVERIFY2(!name.isEmpty(), "no help file name for this language");
    const QString text = readUtf16File(shippedDir + QStringLiteral("/help/") + name);
    QVERIFY2(!text.isNull(), "not UTF-16LE with a byte order mark");
    QVERIFY(hasOnlyCrLfLineEnds(text));
    QVERIFY2(text.size() > minimumLength, "a help text of several screens");
    // Every translation keeps the sections of the English help: each heading is underlined.
    const auto underlines = [](const QString& help) {
        return help.split(QStringLiteral("\r\n")).filter(QRegularExpression(QStringLiteral("^-{3,}$"))).size();
    };
    const QString english = readUtf16File(shippedDir + QStringLiteral("/help/English.txt"));
    QVERIFY(underlines(english) > 10);
    QCOMPARE(underlines(text), underlines(english));
}

void TestShippedData::seedingFillsAnEmptyFolderOnce()
{
    ConfigFixture fixture;
    QTemporaryDir shipped;
    writeFile(shipped.filePath(QStringLiteral("config.ini")), "shipped config");
    writeFile(shipped.filePath(QStringLiteral("help/English.txt")), "english help");
    writeFile(shipped.filePath(QStringLiteral("help/Deutsch.txt")), "german help");
    writeFile(shipped.filePath(QStringLiteral("help/README.md")), "not a help file");

    QStringList copied = SeedDataFolder(shipped.path());
    copied.sort();
    QCOMPARE(copied, (QStringList{QStringLiteral("Deutsch.txt"), QStringLiteral("English.txt"), QStringLiteral("config.ini")}));
    QCOMPARE(fileBytes(ConfigFilePath()), QByteArray("shipped config"));
    QCOMPARE(fileBytes(DataFolder() + QStringLiteral("English.txt")), QByteArray("english help"));
    QVERIFY(!QFileInfo::exists(DataFolder() + QStringLiteral("README.md")));

    writeFile(ConfigFilePath(), "user's settings");
    QFile::remove(DataFolder() + QStringLiteral("Deutsch.txt"));
    QCOMPARE(SeedDataFolder(shipped.path()), QStringList());
    QCOMPARE(fileBytes(ConfigFilePath()), QByteArray("user's settings"));
    QVERIFY(!QFileInfo::exists(DataFolder() + QStringLiteral("Deutsch.txt")));
}

void TestShippedData::seedingKeepsFilesTheUserHas()
{
    ConfigFixture fixture;
    QTemporaryDir shipped;
    writeFile(shipped.filePath(QStringLiteral("config.ini")), "shipped config");
    writeFile(shipped.filePath(QStringLiteral("help/English.txt")), "english help");
    writeFile(DataFolder() + QStringLiteral("English.txt"), "user's own help");

    QCOMPARE(SeedDataFolder(shipped.path()), QStringList{QStringLiteral("config.ini")});
    QCOMPARE(fileBytes(DataFolder() + QStringLiteral("English.txt")), QByteArray("user's own help"));
}

void TestShippedData::seedingWithoutShippedDataCopiesNothing()
{
    ConfigFixture fixture;
    QTemporaryDir shipped;
    QCOMPARE(SeedDataFolder(shipped.filePath(QStringLiteral("absent"))), QStringList());
    QVERIFY(QFileInfo(DataFolder()).isDir());
    QCOMPARE(QDir(DataFolder()).entryList(QDir::Files), QStringList());
}

void TestShippedData::seedingFromTheShippedData()
{
    ConfigFixture fixture;
    QStringList copied = SeedDataFolder(shippedDir);
    copied.sort();
    QStringList expected = QDir(shippedDir + QStringLiteral("/help")).entryList({QStringLiteral("*.txt")}, QDir::Files);
    expected << QStringLiteral("config.ini");
    expected.sort();
    QCOMPARE(copied, expected);
    QCOMPARE(fileBytes(ConfigFilePath()), fileBytes(shippedDir + QStringLiteral("/config.ini")));

    // The seeded folder starts the program in English and offers German.
    LanguageTexts texts;
    LoadLanguageSettings(texts);
    QCOMPARE(texts.text(QStringLiteral("Lang")), QStringLiteral("English"));
    QCOMPARE(LanguageNames(), shippedLanguageNames);
    // Every language finds its help file in the seeded folder, named by its own name or,
    // for 8 to 12, by the fixed name.
    for (int n = 0; n <= HighestLanguageNumber(); ++n) {
        QVERIFY(SetLanguage(n, texts));
        QVERIFY2(QFileInfo::exists(HelpFilePath(texts.language(), texts.text(QStringLiteral("Lang")))),
                 qPrintable(QStringLiteral("no help file for language %1").arg(n)));
    }
    QVERIFY(SetLanguage(1, texts));
    // The file name follows this text directly, so its closing blank must survive the reader.
    QVERIFY(texts.text(QStringLiteral("LangReplace")).endsWith(QLatin1Char(' ')));
}

void TestShippedData::aProgramInTheBuildTreeUsesTheSourceData()
{
    QCOMPARE(QDir(ShippedDataFolder()).canonicalPath(), QDir(shippedDir).canonicalPath());
}

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
