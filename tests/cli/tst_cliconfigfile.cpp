// dunmere-cli's save-config, restore-config and diff-config as a black box on its in-process
// simulated bus: the file a save leaves, the comparison's exit statuses and the values it
// names, and a file that is refused before anything is sent. The procedures behind them are
// tested on the virtual clock in tests/configfile.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

const QString Bus = QStringLiteral("1:89:Q8900017:Mixer 2,2:45:Q4500002");

QString fileText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    if (!bytes.startsWith("\xFF\xFE"))
        return {};
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
}

void writeText(const QString& path, const QString& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\xFF\xFE", 2);
    f.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

}  // namespace

class TestCliConfigFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(dataFolder_.isValid() && files_.isValid()); }

    void saveWritesTheSensorsFile()
    {
        const QString path = files_.filePath(QStringLiteral("mixer.txt"));
        const Run r = run({QStringLiteral("--simulate"), Bus, QStringLiteral("save-config"), QStringLiteral("1"), path});
        QCOMPARE(r.status, 0);
        const QString text = fileText(path);
        QVERIFY(text.contains(QStringLiteral(": Q8900017\r\n")));
        QVERIFY(text.contains(QStringLiteral("Mixer 2\r\n")));
        QVERIFY(text.endsWith(QStringLiteral("\x03\r\n")));
        // Second channel: eight lines after the version, the arm line last.
        QVERIFY(text.contains(QStringLiteral("Version QX0089")));
    }

    void diffNamesExactlyTheValuesThatDiffer()
    {
        const QString path = files_.filePath(QStringLiteral("mixer.txt"));
        QCOMPARE(run({QStringLiteral("--simulate"), Bus, QStringLiteral("save-config"), QStringLiteral("1"), path}).status, 0);
        const Run same = run({QStringLiteral("--simulate"), Bus, QStringLiteral("diff-config"), path, QStringLiteral("1")});
        QCOMPARE(same.status, 0);
        QCOMPARE(same.out, QStringLiteral("no values differ\n"));

        const QString edited = files_.filePath(QStringLiteral("edited.txt"));
        QString text = fileText(path);
        text.replace(QStringLiteral("High % = 20.00"), QStringLiteral("High % = 30.00"));
        text.replace(QStringLiteral("Slew Rate + = None"), QStringLiteral("Slew Rate + = Heavy"));
        writeText(edited, text);
        // Two files need no bus.
        const Run differ = run({QStringLiteral("diff-config"), edited, path});
        QCOMPARE(differ.status, 1);
        QCOMPARE(differ.out, QStringLiteral("2 values differ: High %, Slew Rate +\n"
                                            "8\tHigh %\t30.00\t20.00\n"
                                            "16\tSlew Rate +\t3\t0\n"));
    }

    void foreignFileIsRefusedBeforeAnythingIsSent()
    {
        const QString path = files_.filePath(QStringLiteral("notes.txt"));
        writeText(path, QStringLiteral("Shopping list\r\nmilk = 2\r\n"));
        const Run r = run({QStringLiteral("--simulate"), Bus, QStringLiteral("--trace"), QStringLiteral("restore-config"),
                           QStringLiteral("1"), path});
        QCOMPARE(r.status, 2);
        QVERIFY(!r.err.contains(QLatin1String(" > ")));  // no frame went out
        QVERIFY(r.err.contains(QLatin1String("no end mark")));
        QCOMPARE(run({QStringLiteral("diff-config"), path, path}).status, 2);
    }

private:
    Run run(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ALLUSERSPROFILE"), dataFolder_.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(DUNMERE_CLI), arguments);
        Run r;
        if (!process.waitForFinished(60000))
            return r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    QTemporaryDir dataFolder_;
    QTemporaryDir files_;
};

QTEST_GUILESS_MAIN(TestCliConfigFile)
#include "tst_cliconfigfile.moc"
