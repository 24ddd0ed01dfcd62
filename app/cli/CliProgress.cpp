#include "CliProgress.h"

#include <cstdio>
#include <unistd.h>

namespace dunmere::cli {

CliProgress::CliProgress() : terminal_(isatty(STDERR_FILENO) == 1) {}

CliProgress::~CliProgress() { clear(); }

void CliProgress::show(const QString& text)
{
    if (!terminal_)
        return;
    // Carriage return, the text, and the rest of the old line erased.
    std::fprintf(stderr, "\r%s\033[K", text.toLocal8Bit().constData());
    std::fflush(stderr);
    showing_ = true;
}

void CliProgress::clear()
{
    if (!showing_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    showing_ = false;
}

}  // namespace dunmere::cli
