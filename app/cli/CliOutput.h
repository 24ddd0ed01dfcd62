#pragma once
// What a command prints, in the form the user chose: readable lines on standard output, or
// for scripts one JSON document (JSON Lines for a stream such as watch), failures included.
// Failures always go to standard error as one plain line too.

#include "CliOptions.h"
#include "CliProgress.h"

#include <QJsonArray>
#include <QJsonObject>

namespace dunmere::cli {

class CliOutput {
public:
    CliOutput(Options::Output style, const QString& command);
    CliOutput(const CliOutput&) = delete;
    CliOutput& operator=(const CliOutput&) = delete;

    [[nodiscard]] Options::Output style() const { return style_; }
    [[nodiscard]] bool json() const { return style_ == Options::Output::Json; }
    // The progress line; every other line takes it away first.
    [[nodiscard]] CliProgress& progress() const { return progress_; }

    // Readable output: one line on standard output at once. Nothing in JSON.
    void line(const QString& text) const;
    // A sensor's reply as it came, byte for byte. Nothing in JSON.
    void reply(const QString& reply) const;
    // JSON: a member of the document, or an entry appended to an array member.
    void set(const QString& key, const QJsonValue& value);
    [[nodiscard]] bool has(const QString& key) const { return document_.contains(key); }
    void append(const QString& key, const QJsonValue& value);
    // JSON Lines: one object on its own line at once.
    void record(const QJsonObject& object) const;
    // A failure in plain words on standard error; JSON also carries it ("error").
    void error(const QString& text);

    // A failure already told in plain words (a message): JSON carries it as "error".
    void noteError(const QString& text) { errors_.append(text); }
    [[nodiscard]] bool failed() const { return !errors_.isEmpty(); }
    [[nodiscard]] QString lastMessage() const;
    // A procedure's message: one line on standard error; JSON also keeps it ("messages").
    void message(const QString& text);

    // Prints the JSON document (or, for JSON Lines, a last line with the error); once.
    void finish(bool streamed);

private:
    Options::Output style_;
    mutable CliProgress progress_;
    QJsonObject document_;
    QStringList errors_;
    bool finished_ = false;
};

}  // namespace dunmere::cli
