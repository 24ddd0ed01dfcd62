#include "PseudoTerminal.h"

#include "WireLine.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace dunmere::sim {

PseudoTerminal::PseudoTerminal(SimBus& bus, QObject* parent)
    : QObject(parent), line_(new WireLine(bus, this))
{
    connect(line_, &WireLine::toMaster, this, &PseudoTerminal::writeMaster);
}

PseudoTerminal::~PseudoTerminal() { closeAll(); }

void PseudoTerminal::setBaud(int baud) { line_->setBaud(baud); }

bool PseudoTerminal::open(QString& error)
{
    closeAll();
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    char* name = master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0 ? ptsname(master_) : nullptr;
    if (name)
        slavePath_ = QString::fromLocal8Bit(name);
    if (name)
        slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        closeAll();
        return false;
    }
    // Raw from the start: no echo, no line editing, no character translation.
    termios settings{};
    tcgetattr(slave_, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave_, TCSANOW, &settings);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &PseudoTerminal::readMaster);
    return true;
}

void PseudoTerminal::readMaster()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        line_->fromMaster(QByteArray(buffer, n));
    }
}

void PseudoTerminal::writeMaster(const QByteArray& bytes)
{
    if (master_ < 0)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            break;  // nobody reads and the buffer is full: the bytes are lost, as on a line
        done += n;
    }
}

void PseudoTerminal::closeAll()
{
    delete notifier_;
    notifier_ = nullptr;
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

}  // namespace dunmere::sim
