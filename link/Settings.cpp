#include "Settings.h"

#include "DebugLog.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringView>

#include <algorithm>
#include <memory>
#include <optional>

namespace dunmere {

namespace {

// The reader's buffer holds 150 characters including its terminator.
constexpr qsizetype settingCapacity = 149;

enum class Encoding { Utf16Le, Utf8, Latin1 };

// Offsets count code units of the file's encoding from the end of its byte order mark.
struct KeyLine {
    QString value;
    qsizetype valueBegin = 0;
    qsizetype valueEnd = 0;
};

struct Section {
    qsizetype lastKeyLineEnd = 0;  // a new key goes in after this line
    QHash<QString, KeyLine> keys;  // by case-folded name; the first of a name wins
};

struct Profile {
    QByteArray raw;
    Encoding encoding = Encoding::Utf16Le;
    qsizetype bomBytes = 0;
    // Where the text ends: a stray byte of a UTF-16 file with an odd size, or a multi-byte
    // character cut off at the end of a UTF-8 file, lies beyond it and is kept as it is.
    qsizetype viewEnd = 0;
    QString eol = QStringLiteral("\r\n");
    bool empty = true;
    bool endsWithBlankLine = false;  // last line is blank and terminated
    bool endsWithNewline = false;
    bool endsWithBareCr = false;  // the last line ends in CR without LF: only LF completes it
    QHash<QString, Section> sections;  // by case-folded name; the first of a name wins
};

struct Span {
    qsizetype begin;
    qsizetype end;
};

char16_t unitAt(QStringView units, qsizetype i) { return units.at(i).unicode(); }
char16_t unitAt(QByteArrayView units, qsizetype i) { return static_cast<uchar>(units.at(i)); }

bool isBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }

template <typename Units>
Span trimBlanks(Units units, Span span)
{
    while (span.begin < span.end && isBlank(unitAt(units, span.begin)))
        ++span.begin;
    while (span.end > span.begin && isBlank(unitAt(units, span.end - 1)))
        --span.end;
    return span;
}

template <typename Units>
qsizetype find(Units units, char16_t unit, Span span)
{
    for (qsizetype i = span.begin; i < span.end; ++i)
        if (unitAt(units, i) == unit)
            return i;
    return -1;
}

template <typename Units>
qsizetype findLast(Units units, char16_t unit, Span span)
{
    for (qsizetype i = span.end - 1; i >= span.begin; --i)
        if (unitAt(units, i) == unit)
            return i;
    return -1;
}

QString decode(QStringView units, Span span) { return units.sliced(span.begin, span.end - span.begin).toString(); }

QString decode(QByteArrayView units, Span span, Encoding encoding)
{
    const QByteArrayView bytes = units.sliced(span.begin, span.end - span.begin);
    return encoding == Encoding::Latin1 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && value.front() == value.back()
        && (value.front() == u'"' || value.front() == u'\''))
        return value.sliced(1, value.size() - 2);
    return value;
}

// Walks the lines of one encoding's code units and records sections and keys.
template <typename Units, typename Decode>
class ProfileParser {
public:
    ProfileParser(Units units, Decode decode, Profile& profile) : units(units), decodeSpan(decode), profile(profile) {}

    void run()
    {
        profile.empty = units.empty();
        qsizetype pos = 0;
        while (pos < units.size()) {
            qsizetype end = find(units, u'\n', Span{pos, units.size()});
            if (end < 0)
                end = units.size();
            qsizetype contentEnd = end;
            if (contentEnd > pos && unitAt(units, contentEnd - 1) == u'\r')
                --contentEnd;
            if (pos == 0 && end < units.size())
                profile.eol = contentEnd < end ? QStringLiteral("\r\n") : QStringLiteral("\n");
            const Span content = trimBlanks(units, Span{pos, contentEnd});
            profile.endsWithNewline = end < units.size();
            profile.endsWithBareCr = !profile.endsWithNewline && contentEnd < end;
            profile.endsWithBlankLine = profile.endsWithNewline && content.begin == content.end;
            line(content, contentEnd);
            pos = end + 1;
        }
    }

private:
    void line(Span content, qsizetype lineEnd)
    {
        if (content.begin == content.end || unitAt(units, content.begin) == u';')
            return;
        if (unitAt(units, content.begin) == u'[' && header(content, lineEnd))
            return;
        keyLine(content, lineEnd);
    }

    bool header(Span content, qsizetype lineEnd)
    {
        const qsizetype close = findLast(units, u']', Span{content.begin + 1, content.end});
        if (close < 0)
            return false;
        const QString name = decodeSpan(trimBlanks(units, Span{content.begin + 1, close})).toCaseFolded();
        // Keys under a repeated header are out of reach, as they are for the system's reader.
        current = profile.sections.contains(name) ? nullptr : &profile.sections[name];
        if (current)
            current->lastKeyLineEnd = lineEnd;
        return true;
    }

    void keyLine(Span content, qsizetype lineEnd)
    {
        const qsizetype equals = find(units, u'=', content);
        if (!current || equals < 0)
            return;
        const Span name = trimBlanks(units, Span{content.begin, equals});
        if (name.begin == name.end)
            return;
        current->lastKeyLineEnd = lineEnd;
        const QString key = decodeSpan(name).toCaseFolded();
        if (current->keys.contains(key))
            return;
        const Span value = trimBlanks(units, Span{equals + 1, content.end});
        current->keys.insert(key, KeyLine{unquoted(decodeSpan(value)), value.begin, value.end});
    }

    Units units;
    Decode decodeSpan;
    Profile& profile;
    Section* current = nullptr;  // null before any header and under a repeated one
};

template <typename Units, typename Decode>
void parseUnits(Units units, Decode decode, Profile& profile)
{
    ProfileParser<Units, Decode>(units, decode, profile).run();
}

// UTF-16LE kept one unit per character, unpaired surrogates and all, so offsets map to bytes.
QString utf16Units(QByteArrayView bytes)
{
    QString units(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < units.size(); ++i)
        units[i] = QChar(static_cast<char16_t>(static_cast<uchar>(bytes[2 * i])
                                               | static_cast<uchar>(bytes[2 * i + 1]) << 8));
    return units;
}

// The length of bytes without a multi-byte character cut off at their end.
qsizetype withoutCutOffCharacter(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto b = static_cast<uchar>(bytes.at(bytes.size() - back));
        if ((b & 0xC0) == 0x80)
            continue;  // a continuation byte: its lead is further back
        const qsizetype length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return length > back ? bytes.size() - back : bytes.size();
    }
    return bytes.size();
}

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    (void)QString(decoder(bytes));
    // A character still open at the end is not valid either: the decoder only holds it back.
    (void)QString(decoder(QByteArrayView("\n")));
    return !decoder.hasError();
}

Profile parseProfile(QByteArray raw)
{
    Profile profile;
    profile.raw = std::move(raw);
    const QByteArrayView bytes(profile.raw);
    if (bytes.isEmpty() || bytes.startsWith("\xFF\xFE")) {
        // A new or empty file becomes UTF-16LE, the form the system uses for a Unicode profile.
        if (bytes.isEmpty())
            profile.raw = QByteArrayLiteral("\xFF\xFE");
        profile.encoding = Encoding::Utf16Le;
        profile.bomBytes = 2;
        const QString units = utf16Units(QByteArrayView(profile.raw).sliced(2));
        profile.viewEnd = profile.bomBytes + 2 * units.size();
        parseUnits(QStringView(units), [&units](Span span) { return decode(QStringView(units), span); }, profile);
        return profile;
    }
    profile.bomBytes = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const QByteArrayView text = bytes.sliced(profile.bomBytes);
    const QByteArrayView whole = text.first(withoutCutOffCharacter(text));
    // An 8-bit file written by an older program in the system's code page is not UTF-8.
    profile.encoding = isValidUtf8(whole) ? Encoding::Utf8 : Encoding::Latin1;
    const QByteArrayView units = profile.encoding == Encoding::Utf8 ? whole : text;
    profile.viewEnd = profile.bomBytes + units.size();
    const Encoding encoding = profile.encoding;
    parseUnits(units, [units, encoding](Span span) { return decode(units, span, encoding); }, profile);
    return profile;
}

QByteArray encode(const Profile& profile, const QString& text)
{
    switch (profile.encoding) {
    case Encoding::Utf16Le: {
        QStringEncoder encoder(QStringEncoder::Utf16LE);
        return encoder(text);
    }
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Latin1:
        return text.toLatin1();
    }
    return {};
}

qsizetype byteOffset(const Profile& profile, qsizetype unit)
{
    return profile.bomBytes + unit * (profile.encoding == Encoding::Utf16Le ? 2 : 1);
}

// The file's bytes with the one setting changed or added; everything else stays as it was.
QByteArray withSetting(const Profile& profile, const QString& section, const QString& key, const QString& value)
{
    QByteArray bytes = profile.raw;
    const auto found = profile.sections.constFind(section.trimmed().toCaseFolded());
    const QString keyLine = key.trimmed() + u'=' + value;
    if (found == profile.sections.cend()) {
        QString tail;
        if (!profile.empty && !profile.endsWithNewline)
            tail += profile.endsWithBareCr ? QStringLiteral("\n") : profile.eol;
        if (!profile.empty && !profile.endsWithBlankLine)
            tail += profile.eol;
        tail += u'[' + section.trimmed() + u']' + profile.eol + keyLine + profile.eol;
        return bytes.insert(profile.viewEnd, encode(profile, tail));
    }
    const auto line = found->keys.constFind(key.trimmed().toCaseFolded());
    if (line == found->keys.cend())
        return bytes.insert(byteOffset(profile, found->lastKeyLineEnd), encode(profile, profile.eol + keyLine));
    const qsizetype begin = byteOffset(profile, line->valueBegin);
    return bytes.replace(begin, byteOffset(profile, line->valueEnd) - begin, encode(profile, value));
}

bool fitsLatin1(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
}

// The encoding is inferred on every read: a write that replaces the only bytes of an 8-bit
// file that are not UTF-8 would have the rest read as UTF-8 from then on.
bool readsAsBefore(const Profile& profile, const QByteArray& bytes)
{
    if (parseProfile(bytes).encoding == profile.encoding)
        return true;
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char b) { return static_cast<uchar>(b) < 0x80; });
}

// Names and values that would read back as something else are not written.
bool isWritable(const QString& section, const QString& key, const QString& value)
{
    const auto hasLineBreak = [](const QString& text) {
        return text.contains(u'\n') || text.contains(u'\r');
    };
    return !section.trimmed().isEmpty() && !key.trimmed().isEmpty() && !section.contains(u']')
        && !key.contains(u'=') && !key.trimmed().startsWith(u';') && !key.trimmed().startsWith(u'[')
        && !hasLineBreak(section) && !hasLineBreak(key) && !hasLineBreak(value);
}

// The language loader reads hundreds of keys in a row: parse a file once until it changes.
struct CachedProfile {
    QString path;
    qint64 size = -1;
    QDateTime modified;
    std::shared_ptr<const Profile> profile;
};

std::optional<CachedProfile>& cache()
{
    static std::optional<CachedProfile> cached;
    return cached;
}

// Null when a file is there but cannot be read whole: a write must then leave it alone.
std::shared_ptr<const Profile> loadProfile(const QString& filePath)
{
    const QFileInfo info(filePath);
    if (!info.exists())
        return std::make_shared<const Profile>(parseProfile({}));
    if (!info.isFile())
        return nullptr;
    auto& cached = cache();
    if (cached && cached->path == filePath && cached->size == info.size()
        && cached->modified == info.lastModified())
        return cached->profile;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != info.size())
        return nullptr;
    auto profile = std::make_shared<const Profile>(parseProfile(std::move(bytes)));
    cached = CachedProfile{filePath, info.size(), info.lastModified(), profile};
    return profile;
}

bool save(const QString& filePath, const QByteArray& bytes)
{
    QSaveFile file(filePath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

QString ReadSetting(const QString& section, const QString& key, const QString& filePath)
{
    const auto profile = loadProfile(filePath);
    if (!profile)
        return {};
    const auto found = profile->sections.constFind(section.trimmed().toCaseFolded());
    if (found == profile->sections.cend())
        return {};
    const auto line = found->keys.constFind(key.trimmed().toCaseFolded());
    if (line == found->keys.cend())
        return {};
    QString value = line->value.left(settingCapacity);
    // Never hand back half of a surrogate pair cut off by the buffer.
    if (value.size() == settingCapacity && value.back().isHighSurrogate())
        value.chop(1);
    return value;
}

void WriteSetting(const QString& section, const QString& key, const QString& value, const QString& filePath)
{
    if (!isWritable(section, key, value)) {
        DebugLog(QStringLiteral("WriteSetting: refused [%1] %2").arg(section, key), 10);
        return;
    }
    const auto profile = loadProfile(filePath);
    if (!profile) {
        // Writing what could be read would replace every other setting with nothing.
        DebugLog(QStringLiteral("WriteSetting: cannot read %1, [%2] %3 not written").arg(filePath, section, key), 10);
        return;
    }
    if (profile->encoding == Encoding::Latin1 && !(fitsLatin1(section) && fitsLatin1(key) && fitsLatin1(value))) {
        DebugLog(QStringLiteral("WriteSetting: [%1] %2 does not fit the 8-bit file %3").arg(section, key, filePath), 10);
        return;
    }
    const QByteArray bytes = withSetting(*profile, section, key, value);
    if (!readsAsBefore(*profile, bytes)) {
        DebugLog(QStringLiteral("WriteSetting: [%1] %2 would change how %3 reads").arg(section, key, filePath), 10);
        return;
    }
    const bool saved = save(filePath, bytes);
    cache().reset();
    if (!saved)
        DebugLog(QStringLiteral("WriteSetting: cannot write %1").arg(filePath), 10);
}

}  // namespace dunmere
