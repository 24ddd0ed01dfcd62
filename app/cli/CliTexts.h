#pragma once
// The command line's texts and messages: language texts read from config.ini (the user's
// if there is one, else the shipped one), messages written to standard error.

#include "link/Messages.h"

namespace dunmere::cli {

class IniTexts final : public TextSource {
public:
    IniTexts();
    [[nodiscard]] QString text(const QString& key) const override;
    [[nodiscard]] const QString& path() const { return path_; }
    [[nodiscard]] int language() const { return language_; }

private:
    int language_ = 0;
    QString path_;
    QString section_;
};

// Every message is one line on standard error; questions are answered yes.
class StderrMessages final : public Messages {
public:
    bool show(const QString& text, MessageButtons buttons) override;
};

}  // namespace dunmere::cli
