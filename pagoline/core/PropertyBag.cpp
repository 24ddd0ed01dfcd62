#include "pagoline/core/PropertyBag.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

namespace {

const QByteArray kMagic = QByteArrayLiteral("PLBG");
constexpr quint8 kVersion = 1;

enum class ValueType : quint8 { Boolean = 1, Integer = 2, Text = 3, Bytes = 4, Font = 5, Colour = 6, Picture = 7 };

bool isIntegral(int typeId)
{
    switch (typeId) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// The one form in which each kind of value is kept, so that equality and the byte
// layout see a single type per kind. Invalid for a value the bag cannot hold.
QVariant canonical(const QVariant &value)
{
    const int id = value.metaType().id();
    if (id == QMetaType::Bool)
        return value;
    if (isIntegral(id))
        return QVariant(value.toLongLong());
    if (id == QMetaType::QString || id == QMetaType::QByteArray || id == QMetaType::QFont
        || id == QMetaType::QColor || id == QMetaType::QImage)
        return value;
    if (id == QMetaType::QPixmap)
        return QVariant(value.value<QPixmap>().toImage());
    return {};
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.metaType() != b.metaType())
        return false;
    if (a.metaType().id() == QMetaType::QFont)
        return a.value<QFont>().toString() == b.value<QFont>().toString();
    return a == b;
}

QByteArray utf16Bytes(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QString utf16Text(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(char16_t(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8))));
    return text;
}

template <typename T>
void appendLE(QByteArray &out, T value)
{
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    out.append(raw, sizeof(T));
}

void encodeValue(const QVariant &value, ValueType &type, QByteArray &payload)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        type = ValueType::Boolean;
        payload = QByteArray(1, value.toBool() ? 1 : 0);
        break;
    case QMetaType::LongLong:
        type = ValueType::Integer;
        appendLE<qint64>(payload, value.toLongLong());
        break;
    case QMetaType::QString:
        type = ValueType::Text;
        payload = utf16Bytes(value.toString());
        break;
    case QMetaType::QByteArray:
        type = ValueType::Bytes;
        payload = value.toByteArray();
        break;
    case QMetaType::QFont:
        type = ValueType::Font;
        payload = utf16Bytes(value.value<QFont>().toString());
        break;
    case QMetaType::QColor:
        type = ValueType::Colour;
        appendLE<quint32>(payload, value.value<QColor>().rgba());
        break;
    default: {
        type = ValueType::Picture;
        QBuffer buffer(&payload);
        buffer.open(QIODevice::WriteOnly);
        value.value<QImage>().save(&buffer, "PNG");
        break;
    }
    }
}

// Invalid when the payload does not hold a value of the type.
QVariant decodeValue(quint8 type, const QByteArray &payload)
{
    switch (ValueType(type)) {
    case ValueType::Boolean:
        return payload.size() == 1 ? QVariant(payload[0] != 0) : QVariant();
    case ValueType::Integer:
        return payload.size() == 8 ? QVariant(qlonglong(qFromLittleEndian<qint64>(payload.constData())))
                                   : QVariant();
    case ValueType::Text:
        return payload.size() % 2 == 0 ? QVariant(utf16Text(payload)) : QVariant();
    case ValueType::Bytes:
        return QVariant(payload);
    case ValueType::Font: {
        QFont font;
        if (payload.size() % 2 != 0 || !font.fromString(utf16Text(payload)))
            return {};
        return QVariant(font);
    }
    case ValueType::Colour:
        return payload.size() == 4 ? QVariant(QColor::fromRgba(qFromLittleEndian<quint32>(payload.constData())))
                                   : QVariant();
    case ValueType::Picture: {
        QImage image;
        if (!image.loadFromData(payload, "PNG"))
            return {};
        return QVariant(image);
    }
    }
    return {};
}

// Reads fixed-size fields off the front of a byte array, refusing to run past its end.
class Cursor
{
public:
    explicit Cursor(const QByteArray &data) : m_data(data) {}
    [[nodiscard]] bool take(qsizetype n, QByteArray &out)
    {
        if (n < 0 || n > m_data.size() - m_pos)
            return false;
        out = m_data.mid(m_pos, n);
        m_pos += n;
        return true;
    }
    template <typename T>
    [[nodiscard]] bool takeLE(T &value)
    {
        QByteArray raw;
        if (!take(sizeof(T), raw))
            return false;
        value = qFromLittleEndian<T>(raw.constData());
        return true;
    }

private:
    const QByteArray &m_data;
    qsizetype m_pos = 0;
};

} // namespace

qsizetype PropertyBag::find(const QString &name) const
{
    return m_index.value(name.toCaseFolded(), -1);
}

void PropertyBag::append(const QString &name, const QVariant &value)
{
    m_index.insert(name.toCaseFolded(), m_entries.size());
    m_entries.append({name, value});
}

void PropertyBag::reindex()
{
    m_index.clear();
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        m_index.insert(m_entries[i].name.toCaseFolded(), i);
}

void PropertyBag::WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    const QVariant stored = canonical(value);
    const qsizetype at = find(name);
    if (!stored.isValid() || (defaultValue.isValid() && sameValue(stored, canonical(defaultValue)))) {
        if (at >= 0) {
            m_entries.removeAt(at);
            reindex();
        }
        return;
    }
    if (at >= 0)
        m_entries[at].value = stored;
    else
        append(name, stored);
}

QVariant PropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    const qsizetype at = find(name);
    if (at < 0)
        return defaultValue;
    QVariant value = m_entries[at].value;
    if (!defaultValue.isValid() || value.metaType() == defaultValue.metaType())
        return value;
    if (defaultValue.metaType().id() == QMetaType::QPixmap && value.metaType().id() == QMetaType::QImage)
        return QVariant(QPixmap::fromImage(value.value<QImage>()));
    if (!value.convert(defaultValue.metaType()))
        return defaultValue;
    return value;
}

bool PropertyBag::contains(const QString &name) const
{
    return find(name) >= 0;
}

QStringList PropertyBag::names() const
{
    QStringList out;
    for (const Entry &entry : m_entries)
        out.append(entry.name);
    return out;
}

QByteArray PropertyBag::toBytes() const
{
    QByteArray out = kMagic;
    out.append(char(kVersion));
    appendLE<quint32>(out, quint32(m_entries.size()));
    for (const Entry &entry : m_entries) {
        const QString name = entry.name.left(0xFFFF);
        appendLE<quint16>(out, quint16(name.size()));
        out.append(utf16Bytes(name));
        ValueType type = ValueType::Bytes;
        QByteArray payload;
        encodeValue(entry.value, type, payload);
        out.append(char(type));
        appendLE<quint32>(out, quint32(payload.size()));
        out.append(payload);
    }
    return out;
}

PropertyBag PropertyBag::fromBytes(const QByteArray &contents, bool *ok)
{
    PropertyBag bag;
    bool whole = false;
    Cursor cursor(contents);
    QByteArray magic;
    quint8 version = 0;
    quint32 count = 0;
    if (cursor.take(kMagic.size(), magic) && magic == kMagic && cursor.takeLE(version) && version == kVersion
        && cursor.takeLE(count)) {
        whole = true;
        for (quint32 i = 0; i < count; ++i) {
            quint16 nameLength = 0;
            QByteArray nameBytes;
            quint8 type = 0;
            quint32 payloadLength = 0;
            QByteArray payload;
            if (!cursor.takeLE(nameLength) || !cursor.take(qsizetype(nameLength) * 2, nameBytes)
                || !cursor.takeLE(type) || !cursor.takeLE(payloadLength) || !cursor.take(payloadLength, payload)) {
                whole = false;
                break;
            }
            if (type < quint8(ValueType::Boolean) || type > quint8(ValueType::Picture))
                continue;
            const QVariant value = decodeValue(type, payload);
            const QString name = utf16Text(nameBytes);
            if (!value.isValid() || bag.contains(name)) {
                whole = false;
                continue;
            }
            bag.append(name, value);
        }
    }
    if (ok)
        *ok = whole;
    return bag;
}
