#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// A set of named values, the way a host form keeps a control's saved state.
//
// Names are matched without regard to case. A value written with a default that
// equals it is not stored (and an earlier value under that name is dropped); a read of
// a missing name yields the default given. Values are booleans, integers (kept as
// 64-bit), text, byte arrays (a nested bag's contents), fonts, colours and pictures.
//
// The contents travel as bytes (toBytes/fromBytes), so one bag can be stored inside
// another. Byte layout, all numbers little-endian:
//
//   contents := "PLBG" version:u8(=1) count:u32 entry{count}
//   entry    := nameLength:u16 name:UTF-16LE[nameLength] type:u8 payloadLength:u32 payload
//   type 1 Boolean  payload 1 byte, 0 or 1
//   type 2 Integer  payload 8 bytes, two's complement
//   type 3 Text     payload UTF-16LE code units
//   type 4 Bytes    payload as is
//   type 5 Font     payload UTF-16LE text of QFont::toString()
//   type 6 Colour   payload 4 bytes, 0xAARRGGBB
//   type 7 Picture  payload a PNG image
//
// Entries keep the order in which they were written. Reading checks every length
// against what is left: an entry whose payload does not fit its type is skipped, a
// frame that runs past the end stops the read with the entries before it kept, and
// a type this version does not know is skipped by its length.
class PAGOLINE_EXPORT PropertyBag
{
public:
    // Stores value under name unless it equals defaultValue; with no default the value
    // is always stored. A value of a type the bag cannot hold is not stored.
    void WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue = {});
    // The stored value converted to the default's type, or the default when the name is
    // missing or the stored value does not convert.
    [[nodiscard]] QVariant ReadProperty(const QString &name, const QVariant &defaultValue = {}) const;

    [[nodiscard]] bool contains(const QString &name) const;
    [[nodiscard]] QStringList names() const;
    [[nodiscard]] int count() const { return static_cast<int>(m_entries.size()); }

    [[nodiscard]] QByteArray toBytes() const;
    // A fresh bag from contents taken out by toBytes. ok, when given, is false for a
    // damaged or truncated array; the bag then holds the entries read before the damage.
    [[nodiscard]] static PropertyBag fromBytes(const QByteArray &contents, bool *ok = nullptr);

private:
    struct Entry
    {
        QString name;
        QVariant value;
    };
    [[nodiscard]] qsizetype find(const QString &name) const;
    void append(const QString &name, const QVariant &value);
    void reindex();

    QList<Entry> m_entries;
    // Case-folded name -> position in m_entries, so that a bag of many entries reads in
    // linear time.
    QHash<QString, qsizetype> m_index;
};
