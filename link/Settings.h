#pragma once
// config.ini access with the profile semantics the program was built on: section and key
// names match without regard to case, a missing key reads as empty text, a value reads back
// as at most 149 characters, and a write replaces the value in place (or adds the section
// or key) leaving every other byte of the file as it was. Files in UTF-16LE with a BOM and
// in UTF-8 are read; a write keeps the file's own encoding and line ends, and goes through a
// temporary file so that a failed write leaves the old file whole. A new file is UTF-16LE
// with a BOM and CR LF, as the system writes a Unicode profile. Values read back without
// surrounding blanks and without one pair of enclosing quotes. Keys before the first section
// and under a repeated section header are out of reach. A failed write is ignored (and
// logged); a file that is there but cannot be read whole is never written, since what could
// be read of it would replace all it holds. A stray last byte of a UTF-16 file, or a
// character cut off at the end of a UTF-8 file, is not part of the text: it is neither read
// nor written over, and a new section goes in before it.

#include <QString>

namespace dunmere {

[[nodiscard]] QString ReadSetting(const QString& section, const QString& key, const QString& filePath);
void WriteSetting(const QString& section, const QString& key, const QString& value, const QString& filePath);

}  // namespace dunmere
