#pragma once
// The seams through which link-level and core procedures speak to the user without knowing
// about windows: the message window and the language texts.

#include <QString>

namespace dunmere {

enum class MessageButtons { Ok, YesNo, OkCancel };

class Messages {
public:
    virtual ~Messages() = default;
    // Shows one line of text and waits for the answer; true for OK or Yes. Implementations
    // show nothing while the program is closing.
    virtual bool show(const QString& text, MessageButtons buttons) = 0;
};

class TextSource {
public:
    virtual ~TextSource() = default;
    // The loaded text of a language key such as "LangInvalid".
    [[nodiscard]] virtual QString text(const QString& key) const = 0;
};

}  // namespace dunmere
