#pragma once
// Progress of a long command on standard error, rewritten in place, while standard error is a
// terminal; nothing at all when it is a file or a pipe, so logs and scripts stay clean.

#include <QString>

namespace dunmere::cli {

class CliProgress {
public:
    CliProgress();
    ~CliProgress();
    CliProgress(const CliProgress&) = delete;
    CliProgress& operator=(const CliProgress&) = delete;

    [[nodiscard]] bool shown() const { return terminal_; }
    // Replaces the progress line with text.
    void show(const QString& text);
    // Takes the progress line away, before other output or at the end.
    void clear();

private:
    bool terminal_;
    bool showing_ = false;
};

}  // namespace dunmere::cli
