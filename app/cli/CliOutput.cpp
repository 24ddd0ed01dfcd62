#include "CliOutput.h"

#include <QJsonDocument>
#include <cstdio>

namespace dunmere::cli {

namespace {

void writeLine(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

CliOutput::CliOutput(Options::Output style, const QString& command) : style_(style)
{
    document_.insert(QStringLiteral("command"), command);
}

void CliOutput::line(const QString& text) const
{
    progress_.clear();
    if (!json())
        writeLine(text.toLocal8Bit());
}

// Replies are bytes; they go out as they came.
void CliOutput::reply(const QString& reply) const
{
    progress_.clear();
    if (!json())
        writeLine(reply.toLatin1());
}

void CliOutput::set(const QString& key, const QJsonValue& value) { document_.insert(key, value); }

void CliOutput::append(const QString& key, const QJsonValue& value)
{
    QJsonArray array = document_.value(key).toArray();
    array.append(value);
    document_.insert(key, array);
}

void CliOutput::record(const QJsonObject& object) const
{
    progress_.clear();
    writeLine(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

void CliOutput::error(const QString& text)
{
    progress_.clear();
    std::fprintf(stderr, "dunmere-cli: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    errors_.append(text);
}

void CliOutput::message(const QString& text)
{
    progress_.clear();
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    if (json())
        append(QStringLiteral("messages"), text);
}

QString CliOutput::lastMessage() const
{
    const QJsonArray messages = document_.value(QStringLiteral("messages")).toArray();
    return messages.isEmpty() ? QString() : messages.last().toString();
}

void CliOutput::finish(bool streamed)
{
    progress_.clear();
    if (!json() || finished_)
        return;
    finished_ = true;
    const QJsonValue error = errors_.isEmpty() ? QJsonValue() : QJsonValue(errors_.join(QStringLiteral("; ")));
    if (streamed) {
        if (!errors_.isEmpty())
            record(QJsonObject{{QStringLiteral("command"), document_.value(QStringLiteral("command"))},
                               {QStringLiteral("error"), error}});
        return;
    }
    if (!errors_.isEmpty())
        document_.insert(QStringLiteral("error"), error);
    writeLine(QJsonDocument(document_).toJson(QJsonDocument::Indented).trimmed());
}

}  // namespace dunmere::cli
