#pragma once
// The program's one message window: a line of text and OK, or two answer buttons. The answer
// is left in the Yes and No flags, which the asker reads and clears. Nothing is shown while
// the program is closing; the asker then carries on as after OK, with both flags false.

#include "link/LinkState.h"
#include "link/Messages.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace dunmere {

class FrmMessages final : public QDialog, public Messages {
    Q_OBJECT
public:
    enum class Answer { Ok, Yes, No };
    // Answers in place of a user: given the text and the buttons on show, which one to press.
    using AnswerProvider = std::function<Answer(const QString& text, MessageButtons buttons)>;

    FrmMessages(const LinkState& link, const TextSource& texts, QWidget* parent = nullptr);
    FrmMessages(const FrmMessages&) = delete;
    FrmMessages& operator=(const FrmMessages&) = delete;

    // Messages: true for OK or the first answer; the flags are read and cleared.
    bool show(const QString& text, MessageButtons buttons) override;
    // The same, telling the second answer apart from a message that was never shown.
    [[nodiscard]] std::optional<Answer> ask(const QString& text, MessageButtons buttons);

    [[nodiscard]] bool yesFlag() const { return yes_; }
    [[nodiscard]] bool noFlag() const { return no_; }
    void clearAnswers();

    // Tests and --screenshot press the buttons through this instead of a user; the window is
    // filled and its buttons clicked exactly as a user would.
    void setAnswerProvider(AnswerProvider provider) { provider_ = std::move(provider); }
    // Every text shown, oldest first.
    [[nodiscard]] const QStringList& shownTexts() const { return shown_; }

protected:
    // Only its buttons leave the window: no Escape, no close box.
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;

private:
    [[nodiscard]] QString caption(const char* key, const char* designCaption) const;
    // Grows the window to the label's text.
    void fitToText();
    void prepare(const QString& text, MessageButtons buttons);
    void runModal(const QString& text, MessageButtons buttons);
    void onOk();
    void onFirst();
    void onSecond();
    void backToOkForm();

    const LinkState& link_;
    const TextSource& texts_;
    QLabel* label_;
    QPushButton* okButton_;
    QPushButton* firstButton_;
    QPushButton* secondButton_;
    bool yes_ = false;
    bool no_ = false;
    AnswerProvider provider_;
    QStringList shown_;
};

}  // namespace dunmere
