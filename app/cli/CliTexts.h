#pragma once
// The command line's texts and messages: language texts read from config.ini (the user's
// if there is one, else the shipped one) in its language or the one asked for, messages
// written to standard error.

#include "link/Messages.h"

namespace dunmere::cli {

class IniTexts final : public TextSource {
public:
    // language -1: the one config.ini names, as the window takes it.
    explicit IniTexts(int language = -1);
    [[nodiscard]] QString text(const QString& key) const override;
    // config.ini has a section for the language.
    [[nodiscard]] bool languageKnown() const;
    [[nodiscard]] const QString& path() const { return path_; }
    [[nodiscard]] int language() const { return language_; }

private:
    int language_ = 0;
    QString path_;
    QString section_;
};

class CliOutput;

// Every message is one line on standard error (and in the JSON document's "messages");
// questions are answered yes.
class StderrMessages final : public Messages {
public:
    explicit StderrMessages(CliOutput& output) : output_(output) {}
    bool show(const QString& text, MessageButtons buttons) override;

private:
    CliOutput& output_;
};

}  // namespace dunmere::cli
