#pragma once
// A data folder of its own for each test: ALLUSERSPROFILE points into a temporary directory,
// and config.ini is written as Windows writes a Unicode profile (UTF-16LE, BOM, CR LF).

#include "link/DataFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

class ConfigFixture {
public:
    ConfigFixture()
        : previous_(qgetenv("ALLUSERSPROFILE"))
    {
        QVERIFY(dir_.isValid());
        qputenv("ALLUSERSPROFILE", dir_.path().toLocal8Bit());
    }
    ~ConfigFixture() { qputenv("ALLUSERSPROFILE", previous_); }
    ConfigFixture(const ConfigFixture&) = delete;
    ConfigFixture& operator=(const ConfigFixture&) = delete;

    static QByteArray utf16File(const QStringList& lines)
    {
        QByteArray bytes("\xFF\xFE", 2);
        for (const QString& line : lines) {
            const QString withEnd = line + QStringLiteral("\r\n");
            for (QChar c : withEnd) {
                bytes.append(char(c.unicode() & 0xFF));
                bytes.append(char(c.unicode() >> 8));
            }
        }
        return bytes;
    }

    void writeConfig(const QStringList& lines) const
    {
        QVERIFY(QDir().mkpath(dunmere::DataFolder()));
        QFile file(dunmere::ConfigFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(utf16File(lines));
    }

private:
    QByteArray previous_;
    QTemporaryDir dir_;
};
