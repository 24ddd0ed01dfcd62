#include "CliPages.h"

#include "CliSession.h"

#include "link/DataFolder.h"
#include "link/Settings.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>

namespace dunmere::cli {

namespace {

// Under the control names, every value as before, a set status flag marked.
void printNames(const CliOutput& out, const QList<PageValue>& values)
{
    for (const PageValue& v : values)
        out.line(v.name + QStringLiteral(" = ") + v.text + (v.set.value_or(false) ? QStringLiteral(" [set]") : QString()));
}

// As the page reads: a frame's caption over its values, each value under its caption; the
// status flags as one line naming the set ones.
void printLabels(const CliOutput& out, const TextSource& texts, const QList<PageValue>& values)
{
    QString group;
    QStringList setFlags;
    QString flagGroup;
    auto flushFlags = [&] {
        if (flagGroup.isEmpty())
            return;
        const QString none = texts.text(QStringLiteral("LangNone"));
        out.line(flagGroup + QStringLiteral(" = ")
                 + (setFlags.isEmpty() ? (none == QLatin1String("LangNone") ? QStringLiteral("none") : none)
                                       : setFlags.join(QStringLiteral(", "))));
        flagGroup.clear();
    };
    for (const PageValue& v : values) {
        if (v.set.has_value()) {
            flagGroup = v.group;
            if (*v.set)
                setFlags.append(v.text);
            continue;
        }
        flushFlags();
        if (v.label.isEmpty() && v.group != group) {
            // A value alone in its frame stands under the frame's caption.
            out.line(v.group.isEmpty() ? v.text : v.group + QStringLiteral(" = ") + v.text);
            group.clear();
            continue;
        }
        if (v.group != group && !v.group.isEmpty())
            out.line(v.group);
        group = v.group;
        const QString indent = group.isEmpty() ? QString() : QStringLiteral("  ");
        out.line(indent + (v.label.isEmpty() ? v.text : v.label + QStringLiteral(" = ") + v.text));
    }
    flushFlags();
}

void addJson(CliOutput& out, const QList<PageValue>& values)
{
    QJsonArray array;
    for (const PageValue& v : values) {
        QJsonObject o{{QStringLiteral("name"), v.name},
                      {QStringLiteral("label"), v.label},
                      {QStringLiteral("group"), v.group},
                      {QStringLiteral("text"), v.text}};
        if (v.set.has_value())
            o.insert(QStringLiteral("set"), *v.set);
        array.append(o);
    }
    out.set(QStringLiteral("values"), array);
}

}  // namespace

int runPageCommand(Session& s, const QString& command, const QStringList& args)
{
    if (args.isEmpty() || args[0] == QLatin1String("--help"))
        throw UsageError(QStringLiteral("%1: give a bus address 1-16").arg(command));
    int status = ExitOk;
    if (!s.open(status))
        return status;
    s.showRepliesAsProgress(command);
    QList<PageValue> values;
    QString complaints;
    QTextStream err(&complaints);
    const int edition = ReadSetting(QStringLiteral("Settings"), QStringLiteral("Type"), ConfigFilePath()) == QLatin1String("1");
    CliPageEnvironment env{s.link, s.texts, s.messages, values, err, edition};
    status = RunPageCommand(env, QStringList{command} + args);
    bool ok = false;
    const int address = args[0].toInt(&ok);
    if (ok)
        s.output.set(QStringLiteral("address"), address);
    switch (s.output.style()) {
    case Options::Output::Names: printNames(s.output, values); break;
    case Options::Output::Labels: printLabels(s.output, s.texts, values); break;
    case Options::Output::Json: addJson(s.output, values); break;
    }
    err.flush();
    for (const QString& line : complaints.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        s.output.error(line);
    return status;
}

}  // namespace dunmere::cli
