#pragma once
// What every fuzz target needs: the fuzzer's bytes taken apart into choices and texts, and the
// one Qt application object the readers under test expect.

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace dunmere::fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : bytes_(reinterpret_cast<const char*>(data), qsizetype(size)) {}

    [[nodiscard]] bool atEnd() const { return pos_ >= bytes_.size(); }
    // The next byte, 0 once the input is used up.
    quint8 byte() { return atEnd() ? 0 : static_cast<quint8>(bytes_.at(pos_++)); }
    // A number from 0 to count - 1.
    int choice(int count) { return count <= 1 ? 0 : byte() % count; }
    bool flag() { return byte() & 1; }
    QByteArray take(qsizetype n)
    {
        const QByteArray out = bytes_.mid(pos_, n);
        pos_ += out.size();
        return out;
    }
    QByteArray rest() { return take(bytes_.size() - pos_); }
    // The rest cut at every separator: a seed file holds one piece per line.
    QList<QByteArray> pieces(char separator = '\n') { return rest().split(separator); }

private:
    QByteArray bytes_;
    qsizetype pos_ = 0;
};

// The application object for the whole run, made on the first call. Readers that wait use
// the event loop of the virtual clock, which needs one. A target with widgets makes its own
// QApplication on the offscreen platform instead.
inline void EnsureCoreApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

}  // namespace dunmere::fuzz
