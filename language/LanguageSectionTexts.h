#pragma once
// The texts of one language read straight from its section of config.ini, key by key: for
// whatever was written in a language other than the one in use.

#include "link/Messages.h"

#include <QString>

namespace dunmere {

class LanguageSectionTexts final : public TextSource {
public:
    LanguageSectionTexts(int language, QString configPath);
    // Empty for a key or section the file lacks.
    [[nodiscard]] QString text(const QString& key) const override;

private:
    QString section_;
    QString path_;
};

}  // namespace dunmere
