// ReadSetting and WriteSetting on real files in a temporary folder: the 149-character limit,
// case-insensitive names, blanks and quotes around values, missing files, sections and keys,
// Unicode values in UTF-16LE files, and writes that must change no byte but the ones of the
// setting (expected files are written out by hand, byte for byte), damaged files whose new
// section must still read back (a stray UTF-16 byte, a bare CR, a cut-off UTF-8 character),
// and a file that cannot be read, which must never be written. Not covered: files that
// cannot be written (a refused write is only logged), and other processes changing the file
// within the same millisecond as a read.

#include "link/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

using namespace dunmere;

namespace {

// The bytes of text in UTF-16LE, written out unit by unit so the test does not lean on an encoder.
QByteArray utf16le(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray bom16() { return QByteArrayLiteral("\xFF\xFE"); }

// A literal with embedded zero bytes, all of it but the terminator.
template <std::size_t N>
QByteArray bytesOf(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

// Runs fn as a user without privileges: root reads any file, whatever its permissions say.
// False when that user could not be taken on or fn failed.
bool runUnprivileged(const std::function<bool()>& fn)
{
    if (geteuid() != 0)
        return fn();
    const pid_t child = fork();
    if (child == 0) {
        const uid_t nobody = 65534;
        const bool ok = setgid(nobody) == 0 && setuid(nobody) == 0 && fn();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("config-%1.ini").arg(++fileNumber));
    }

    void readsValues_data();
    void readsValues();
    void longValueReadsAsFirst149Characters();
    void unicodeValueInUtf16FileReadsBackUnchanged();
    void keysBeforeAnySectionAndRepeatedSectionsAreOutOfReach();
    void missingFileReadsEmptyAndWriteCreatesUtf16File();
    void writeReplacesOnlyTheValueInUtf16File();
    void writeAddsKeyToExistingSection();
    void writeAddsSectionAtEnd();
    void writeKeepsUtf8FileUtf8();
    void writeAfterReadSeesTheNewValue();
    void writeWithLineBreakIsRefused();
    void newSectionReadsBackFromADamagedFile_data();
    void newSectionReadsBackFromADamagedFile();
    void unreadableFileIsNeverWritten();
    void eightBitFileKeepsReadingAsBefore();

private:
    void writeFile(const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray fileBytes() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString path;
    int fileNumber = 0;
};

void TestSettings::readsValues_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray file = "; shipped settings\r\n"
                            "[Settings]\r\n"
                            "Port=COM\r\n"
                            "  Host  =  10.0.0.5:10001  \r\n"
                            "Quoted=\"  two words  \"\r\n"
                            "Single='x'\r\n"
                            "Half=\"open\r\n"
                            "Empty=\r\n"
                            "Blank=   \r\n"
                            "Sum=a=b\r\n"
                            "Port=second\r\n"
                            "\r\n"
                            "[ Language1 ]\r\n"
                            "LangOK=OK\n";
    QTest::newRow("plain") << file << "Settings" << "Port" << "COM";
    QTest::newRow("first of two keys wins") << file << "Settings" << "PORT" << "COM";
    QTest::newRow("section in other case") << file << "SETTINGS" << "port" << "COM";
    QTest::newRow("blanks around key and value") << file << "Settings" << "host" << "10.0.0.5:10001";
    QTest::newRow("double quotes removed, inner blanks kept") << file << "Settings" << "Quoted" << "  two words  ";
    QTest::newRow("single quotes removed") << file << "Settings" << "Single" << "x";
    QTest::newRow("unmatched quote kept") << file << "Settings" << "Half" << "\"open";
    QTest::newRow("empty value") << file << "Settings" << "Empty" << "";
    QTest::newRow("blank value") << file << "Settings" << "Blank" << "";
    QTest::newRow("equals sign inside value") << file << "Settings" << "Sum" << "a=b";
    QTest::newRow("blanks inside brackets") << file << "language1" << "langok" << "OK";
    QTest::newRow("missing key") << file << "Settings" << "Nothing" << "";
    QTest::newRow("missing section") << file << "Other" << "Port" << "";
    QTest::newRow("comment is no key") << file << "Settings" << "; shipped settings" << "";
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF[A]\nK=Gr\xC3\xBC\xC3\x9F" "e\n") << "a" << "k"
                                    << QString::fromUtf8("Grüße");
    QTest::newRow("8-bit file that is not UTF-8") << QByteArray("[A]\r\nK=Gr\xFC\xDF" "e\r\n") << "A" << "K"
                                                  << QString::fromUtf8("Grüße");
    QTest::newRow("UTF-16LE, last line unterminated")
        << bom16() + utf16le(QStringLiteral("[a]\r\nk=v")) << "A" << "K" << "v";
}

void TestSettings::readsValues()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeFile(content);
    QCOMPARE(ReadSetting(section, key, path), expected);
}

void TestSettings::longValueReadsAsFirst149Characters()
{
    QString value;
    for (int i = 0; i < 200; ++i)
        value += QChar(u'a' + i % 26);
    writeFile(bom16() + utf16le(QStringLiteral("[Language1]\r\nLangLong=") + value + QStringLiteral("\r\n")));
    QCOMPARE(ReadSetting(QStringLiteral("Language1"), QStringLiteral("LangLong"), path), value.left(149));
}

void TestSettings::unicodeValueInUtf16FileReadsBackUnchanged()
{
    const QString japanese = QStringLiteral(u"接続できません");
    const QString cyrillic = QStringLiteral(u"Датчик не найден");
    const QString emoji = QStringLiteral(u"\U0001F600 ok");  // a surrogate pair
    writeFile(bom16()
              + utf16le(QStringLiteral(u"[Language2]\r\nLangA=") + japanese + QStringLiteral(u"\r\nLangB=")
                        + cyrillic + QStringLiteral(u"\r\nLangC=") + emoji + QStringLiteral(u"\r\n")));
    QCOMPARE(ReadSetting(QStringLiteral("language2"), QStringLiteral("LangA"), path), japanese);
    QCOMPARE(ReadSetting(QStringLiteral("LANGUAGE2"), QStringLiteral("langb"), path), cyrillic);
    QCOMPARE(ReadSetting(QStringLiteral("Language2"), QStringLiteral("LangC"), path), emoji);
}

void TestSettings::keysBeforeAnySectionAndRepeatedSectionsAreOutOfReach()
{
    writeFile("Stray=1\n[S]\nA=1\n[s]\nA=2\nB=2\n");
    QCOMPARE(ReadSetting(QStringLiteral("S"), QStringLiteral("Stray"), path), QString());
    QCOMPARE(ReadSetting(QStringLiteral("S"), QStringLiteral("A"), path), QStringLiteral("1"));
    QCOMPARE(ReadSetting(QStringLiteral("S"), QStringLiteral("B"), path), QString());

    // A write goes to the first section too, after its last key.
    WriteSetting(QStringLiteral("s"), QStringLiteral("B"), QStringLiteral("3"), path);
    QCOMPARE(fileBytes(), QByteArray("Stray=1\n[S]\nA=1\nB=3\n[s]\nA=2\nB=2\n"));
}

void TestSettings::missingFileReadsEmptyAndWriteCreatesUtf16File()
{
    QCOMPARE(ReadSetting(QStringLiteral("Settings"), QStringLiteral("Port"), path), QString());
    QVERIFY(!QFile::exists(path));

    WriteSetting(QStringLiteral("Settings"), QStringLiteral("Port"), QStringLiteral("COM"), path);
    QCOMPARE(fileBytes(), bytesOf("\xFF\xFE[\0S\0e\0t\0t\0i\0n\0g\0s\0]\0\r\0\n\0P\0o\0r\0t\0=\0C\0O\0M\0\r\0\n\0"));
    QCOMPARE(ReadSetting(QStringLiteral("settings"), QStringLiteral("port"), path), QStringLiteral("COM"));
}

void TestSettings::writeReplacesOnlyTheValueInUtf16File()
{
    // "[S]\r\nK = 12 \r\n; c\r\nL=\x0416\r\n" in UTF-16LE; the value 12 becomes 7.
    const QByteArray before = bytesOf("\xFF\xFE[\0S\0]\0\r\0\n\0K\0 \0=\0 \0" "1\0" "2\0 \0\r\0\n\0;\0 \0c\0\r\0\n\0L\0=\0\x16\x04\r\0\n\0");
    const QByteArray after = bytesOf("\xFF\xFE[\0S\0]\0\r\0\n\0K\0 \0=\0 \0" "7\0 \0\r\0\n\0;\0 \0c\0\r\0\n\0L\0=\0\x16\x04\r\0\n\0");
    writeFile(before);
    WriteSetting(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("7"), path);
    QCOMPARE(fileBytes(), after);
    QCOMPARE(ReadSetting(QStringLiteral("S"), QStringLiteral("L"), path), QStringLiteral(u"\u0416"));
}

void TestSettings::writeAddsKeyToExistingSection()
{
    // The new key follows the section's last key, before the blank line and the comment that
    // belong to the next section; LF stays LF.
    writeFile("[Settings]\nPort=COM\n\n; languages\n[Language1]\nLangOK=OK\n");
    WriteSetting(QStringLiteral("SETTINGS"), QStringLiteral("ComPort"), QStringLiteral("3"), path);
    QCOMPARE(fileBytes(), QByteArray("[Settings]\nPort=COM\nComPort=3\n\n; languages\n[Language1]\nLangOK=OK\n"));

    // An empty section takes its first key straight after the header.
    writeFile("[Settings]\r\n[Other]\r\nA=1");
    WriteSetting(QStringLiteral("Settings"), QStringLiteral("Port"), QStringLiteral("IP"), path);
    QCOMPARE(fileBytes(), QByteArray("[Settings]\r\nPort=IP\r\n[Other]\r\nA=1"));
}

void TestSettings::writeAddsSectionAtEnd()
{
    writeFile("[Settings]\r\nPort=COM");
    WriteSetting(QStringLiteral("Adapter"), QStringLiteral("Host"), QStringLiteral("10.0.0.5:10001"), path);
    QCOMPARE(fileBytes(), QByteArray("[Settings]\r\nPort=COM\r\n\r\n[Adapter]\r\nHost=10.0.0.5:10001\r\n"));

    writeFile("[Settings]\nPort=COM\n\n");
    WriteSetting(QStringLiteral("Adapter"), QStringLiteral("Host"), QStringLiteral("h"), path);
    QCOMPARE(fileBytes(), QByteArray("[Settings]\nPort=COM\n\n[Adapter]\nHost=h\n"));
}

void TestSettings::writeKeepsUtf8FileUtf8()
{
    writeFile("\xEF\xBB\xBF[Language3]\nLangA=\xD0\x94\xD0\xB0\n");
    WriteSetting(QStringLiteral("Language3"), QStringLiteral("LangA"), QStringLiteral(u"Нет"), path);
    QCOMPARE(fileBytes(), QByteArray("\xEF\xBB\xBF[Language3]\nLangA=\xD0\x9D\xD0\xB5\xD1\x82\n"));

    writeFile("[Settings]\nPort=COM\n");
    WriteSetting(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral(u"Мера"), path);
    QCOMPARE(fileBytes(), QByteArray("[Settings]\nPort=COM\nName=\xD0\x9C\xD0\xB5\xD1\x80\xD0\xB0\n"));
}

void TestSettings::writeAfterReadSeesTheNewValue()
{
    // Reads are served from a parsed copy; a write must not leave that copy stale.
    writeFile("[S]\r\nK=1\r\n");
    QCOMPARE(ReadSetting(QStringLiteral("S"), QStringLiteral("K"), path), QStringLiteral("1"));
    WriteSetting(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("22"), path);
    QCOMPARE(ReadSetting(QStringLiteral("S"), QStringLiteral("K"), path), QStringLiteral("22"));
    // Another program replacing the file is seen too.
    writeFile("[S]\r\nK=333\r\n");
    QCOMPARE(ReadSetting(QStringLiteral("S"), QStringLiteral("K"), path), QStringLiteral("333"));
}

void TestSettings::writeWithLineBreakIsRefused()
{
    // A line break would turn the value's tail into a key or section of its own.
    writeFile("[S]\nK=1\n");
    WriteSetting(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("2\n[T]"), path);
    WriteSetting(QStringLiteral("S"), QStringLiteral("A=B"), QStringLiteral("2"), path);
    WriteSetting(QString(), QStringLiteral("K"), QStringLiteral("2"), path);
    QCOMPARE(fileBytes(), QByteArray("[S]\nK=1\n"));
}

void TestSettings::newSectionReadsBackFromADamagedFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("oldValue");  // [S] K, read after the write

    // The reader drops the last byte of an odd-sized UTF-16 file; the section goes in before it.
    QTest::newRow("UTF-16 with a stray byte")
        << bom16() + utf16le(QStringLiteral("[S]\r\nK=1\r\n")) + QByteArray("\x41")
        << bom16() + utf16le(QStringLiteral("[S]\r\nK=1\r\n\r\n[New]\r\nA=\u00E9\r\n")) + QByteArray("\x41")
        << QStringLiteral("1");
    // A bare CR ends the last line for the reader; only LF is added to complete it.
    QTest::newRow("last line ends in a bare CR") << QByteArray("[S]\r\nK=1\r")
                                                 << QByteArray("[S]\r\nK=1\r\n\r\n[New]\r\nA=\xC3\xA9\r\n")
                                                 << QStringLiteral("1");
    QTest::newRow("bare CR in a file of LF lines") << QByteArray("[S]\nK=1\r")
                                                   << QByteArray("[S]\nK=1\r\n\n[New]\nA=\xC3\xA9\n")
                                                   << QStringLiteral("1");
    // A character cut off at the end stays where it is, after the new text, so the file
    // still reads as UTF-8.
    QTest::newRow("UTF-8 ending in half a character")
        << QByteArray("[S]\nK=\xD0\x94\xD0\xB0\n\xD0")
        << QByteArray("[S]\nK=\xD0\x94\xD0\xB0\n\n[New]\nA=\xC3\xA9\n\xD0") << QStringLiteral(u"\u0414\u0430");
    QTest::newRow("UTF-8 value cut off in its last character")
        << QByteArray("[S]\nK=\xD0\x94\xE2\x82")
        << QByteArray("[S]\nK=\xD0\x94\n\n[New]\nA=\xC3\xA9\n\xE2\x82") << QStringLiteral(u"\u0414");
}

// Found by fuzzing the read-write-read round trip: the writer appended after bytes the reader
// had not taken as text, so the new section read back shifted, or an old value changed.
void TestSettings::newSectionReadsBackFromADamagedFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, oldValue);
    writeFile(before);
    WriteSetting(QStringLiteral("New"), QStringLiteral("A"), QStringLiteral(u"\u00E9"), path);
    QCOMPARE(fileBytes(), after);
    QCOMPARE(ReadSetting(QStringLiteral("New"), QStringLiteral("A"), path), QStringLiteral(u"\u00E9"));
    QCOMPARE(ReadSetting(QStringLiteral("S"), QStringLiteral("K"), path), oldValue);
}

void TestSettings::unreadableFileIsNeverWritten()
{
    // What could be read of such a file is nothing; writing that back with one key would lose
    // every setting and language text it holds.
    const QByteArray before("[Settings]\r\nPort=COM\r\n\r\n[Language1]\r\nLangOK=OK\r\n");
    writeFile(before);
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    // Writable but not readable: the replacing write itself would be allowed.
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
    const bool ran = runUnprivileged([this] {
        WriteSetting(QStringLiteral("Adapter"), QStringLiteral("Host"), QStringLiteral("h"), path);
        return ReadSetting(QStringLiteral("Settings"), QStringLiteral("Port"), path).isEmpty();
    });
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QVERIFY(ran);
    QCOMPARE(fileBytes(), before);
}

void TestSettings::eightBitFileKeepsReadingAsBefore()
{
    // Read as 8-bit text (the E9 alone is no UTF-8): K is "\u00E9" and A is "\u00C3\u00A9".
    const QByteArray latin1("[S]\nK=\xE9\nA=\xC3\xA9\n");
    writeFile(latin1);
    // Replacing the E9 would make the file read as UTF-8, and A as "\u00E9".
    WriteSetting(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("x"), path);
    // A text that has no 8-bit form would be written as "?".
    WriteSetting(QStringLiteral("S"), QStringLiteral("B"), QStringLiteral(u"\u0416"), path);
    QCOMPARE(fileBytes(), latin1);
    QCOMPARE(ReadSetting(QStringLiteral("S"), QStringLiteral("A"), path), QStringLiteral(u"\u00C3\u00A9"));

    WriteSetting(QStringLiteral("S"), QStringLiteral("B"), QStringLiteral(u"\u00FC"), path);
    QCOMPARE(fileBytes(), QByteArray("[S]\nK=\xE9\nA=\xC3\xA9\nB=\xFC\n"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
