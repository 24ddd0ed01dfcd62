#pragma once
// The sensor configuration file on disk: UTF-16LE with a byte-order mark, CR LF after every
// line, the end mark (character 3) as the last line. Reading it back takes the identity from
// line 7 and the values by their position among the value lines; the file's own structure says
// whether the coefficient section is there and which of the later lines it holds.

#include "ConfigurationValues.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace dunmere {

inline const QString ConfigurationRuleLine = QStringLiteral("#====================================================#");
inline constexpr char16_t EndMark = 3;

// The lines (without their line ends, the end mark not among them) as the file's bytes.
[[nodiscard]] QByteArray EncodeConfigurationFile(const QStringList& lines);

struct ConfigurationFileData {
    QString identity;     // line 7, after its first ":"
    int language = 0;     // value 31
    // Value texts by position (0-31, then the later lines), at most 43. A file without the
    // coefficient section has four empty texts in positions 0-3.
    QStringList values;
    // The id (ConfigurationValues) of the value at each position.
    QList<int> ids;
    bool coefficientSection = true;
    bool brixCoefficients = false;  // the section is headed "Brix ..."

    [[nodiscard]] int positionOf(int id) const { return int(ids.indexOf(id)); }
    [[nodiscard]] bool has(int id) const { return ids.contains(id); }
};

struct ReadOutcome {
    bool ok = false;
    bool unreadable = false;  // the file could not be opened or read at all
    QString problem;  // why the file is not a configuration file, in plain words
    ConfigurationFileData data;
};

// Refuses anything that is not a whole configuration file: no byte-order mark, no identity on
// line 7, no end mark, fewer than 32 values, a line without "=" where a value must stand, or
// later lines that fit no sensor type.
[[nodiscard]] ReadOutcome ReadConfigurationFile(const QByteArray& bytes);

// Replaces the coded texts by their codes, with the texts of the language the file was
// written in. Matching is exact; a text that matches nothing is kept.
[[nodiscard]] ConvertedValues ConvertConfigurationValues(const ConfigurationFileData& data, const TextSource& fileTexts);

}  // namespace dunmere
