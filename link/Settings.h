#pragma once
// config.ini access with the profile semantics the program was built on: section and key
// names match without regard to case, a missing key reads as empty text, a value reads back
// as at most 149 characters, and a write replaces the value in place (or adds the section
// or key) leaving every other byte of the file as it was. Files in UTF-16LE with a BOM and
// in UTF-8 are read; a write keeps the file's own encoding.

#include <QString>

namespace dunmere {

[[nodiscard]] QString ReadSetting(const QString& section, const QString& key, const QString& filePath);
void WriteSetting(const QString& section, const QString& key, const QString& value, const QString& filePath);

}  // namespace dunmere
