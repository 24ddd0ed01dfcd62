// config.ini as a user's editor or a damaged disk may leave it: the file is read, one setting
// is written back, and the file is read again. The setting written reads back as written and
// every other setting keeps its value.
// Links: dunmere_link
//
// Input: one byte choosing the section, key and value to write, then the file's bytes.

#include "FuzzInput.h"
#include "link/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cstdlib>

using namespace dunmere;

namespace {

// The names the seed files use, so that a write lands on an existing section and key as often
// as on a new one.
const std::array<QString, 4> sections = {QStringLiteral("S"), QStringLiteral("Settings"),
                                         QStringLiteral("Language1"), QStringLiteral("New")};
const std::array<QString, 4> keys = {QStringLiteral("K"), QStringLiteral("Port"), QStringLiteral("LangOK"),
                                     QStringLiteral("A")};
const std::array<QString, 4> values = {QStringLiteral("x"), QStringLiteral("12.5"), QString(),
                                       QStringLiteral(u"\u00E9t\u00E9")};

QString readAt(const QString& path, size_t s, size_t k) { return ReadSetting(sections[s], keys[k], path); }

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::EnsureCoreApplication();
    static QTemporaryDir dir;
    static int fileNumber = 0;
    fuzz::FuzzInput in(data, size);
    const quint8 choice = in.byte();
    const size_t section = choice % 4, key = (choice / 4) % 4, value = (choice / 16) % 4;
    // A new name each run: the reader keeps a parsed copy per file.
    const QString path = dir.filePath(QStringLiteral("config-%1.ini").arg(++fileNumber));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(in.rest()) < 0)
            std::abort();
    }
    std::array<std::array<QString, 4>, 4> before;
    for (size_t s = 0; s < 4; ++s)
        for (size_t k = 0; k < 4; ++k)
            before[s][k] = readAt(path, s, k);

    const QByteArray bytesBefore = fileBytes(path);
    WriteSetting(sections[section], keys[key], values[value], path);
    // A write the writer refused (it would change how the file reads) leaves every byte.
    const bool refused = fileBytes(path) == bytesBefore;

    for (size_t s = 0; s < 4; ++s) {
        for (size_t k = 0; k < 4; ++k) {
            const QString now = readAt(path, s, k);
            const bool written = s == section && k == key && !refused;
            if (written ? now != values[value] : now != before[s][k])
                std::abort();
        }
    }
    QFile::remove(path);
    return 0;
}
