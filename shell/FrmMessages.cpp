#include "FrmMessages.h"

#include "shell/core/Twips.h"

#include "link/Clock.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <limits>

namespace dunmere {

namespace {

constexpr int WidthTwips = 5355;
constexpr int HeightTwips = 1650;

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

FrmMessages::FrmMessages(const LinkState& link, const TextSource& texts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      link_(link),
      texts_(texts),
      label_(new QLabel(this)),
      okButton_(makeButton(QStringLiteral("messagebutton"), QStringLiteral("OK"), this)),
      firstButton_(makeButton(QStringLiteral("QuiButton1"), QStringLiteral("YES"), this)),
      secondButton_(makeButton(QStringLiteral("QuiButton2"), QStringLiteral("NO"), this))
{
    setObjectName(QStringLiteral("FrmMessages"));
    setWindowTitle(QStringLiteral("Dunmere"));
    setModal(true);
    label_->setObjectName(QStringLiteral("messagelabel"));
    label_->setAlignment(Qt::AlignCenter);
    label_->setWordWrap(true);
    fitToText();
    firstButton_->hide();
    secondButton_->hide();

    connect(okButton_, &QPushButton::clicked, this, &FrmMessages::onOk);
    connect(firstButton_, &QPushButton::clicked, this, &FrmMessages::onFirst);
    connect(secondButton_, &QPushButton::clicked, this, &FrmMessages::onSecond);
}

bool FrmMessages::show(const QString& text, MessageButtons buttons)
{
    const auto answer = ask(text, buttons);
    return answer == Answer::Ok || answer == Answer::Yes;
}

std::optional<FrmMessages::Answer> FrmMessages::ask(const QString& text, MessageButtons buttons)
{
    if (link_.ProgramClosing)
        return std::nullopt;
    prepare(text, buttons);
    runModal(text, buttons);
    std::optional<Answer> answer;
    if (buttons == MessageButtons::Ok)
        answer = Answer::Ok;
    else if (yes_)
        answer = Answer::Yes;
    else if (no_)
        answer = Answer::No;
    clearAnswers();
    return answer;
}

void FrmMessages::clearAnswers()
{
    yes_ = false;
    no_ = false;
}

QString FrmMessages::caption(const char* key, const char* designCaption) const
{
    // Before any language is loaded (the settings file is missing) a button still says what it does.
    const QString text = texts_.text(QString::fromLatin1(key));
    return text.isEmpty() ? QString::fromLatin1(designCaption) : text;
}

void FrmMessages::prepare(const QString& text, MessageButtons buttons)
{
    // A carriage return is the callers' line break.
    QString shownText = text;
    shownText.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    label_->setText(shownText);
    fitToText();
    shown_ << text;
    if (buttons == MessageButtons::Ok) {
        okButton_->setText(caption("LangOK", "OK"));
        backToOkForm();
        okButton_->setDefault(true);
        return;
    }
    const bool yesNo = buttons == MessageButtons::YesNo;
    firstButton_->setText(yesNo ? caption("LangYes", "YES") : caption("LangOK", "OK"));
    secondButton_->setText(yesNo ? caption("LangNo", "NO") : caption("LangCancel", "Cancel"));
    okButton_->hide();
    firstButton_->show();
    secondButton_->show();
}

void FrmMessages::fitToText()
{
    // The documented size, taller when the text needs more lines, so no line is cut off.
    constexpr int Margin = 14, ButtonWidth = 88, ButtonHeight = 28, MinimumLabelHeight = 40;
    const int w = Twips(WidthTwips);
    const int labelHeight = qMax(MinimumLabelHeight, label_->heightForWidth(w - 24));
    const int h = qMax(Twips(HeightTwips), Margin + labelHeight + Margin + ButtonHeight + Margin);
    setFixedSize(w, h);
    label_->setGeometry(12, Margin, w - 24, labelHeight);
    const int by = h - ButtonHeight - Margin;
    okButton_->setGeometry((w - ButtonWidth) / 2, by, ButtonWidth, ButtonHeight);
    firstButton_->setGeometry(w / 2 - ButtonWidth - 8, by, ButtonWidth, ButtonHeight);
    secondButton_->setGeometry(w / 2 + 8, by, ButtonWidth, ButtonHeight);
}

void FrmMessages::runModal(const QString& text, MessageButtons buttons)
{
    if (auto* owner = parentWidget(); owner && owner->isVisible()) {
        const QRect frame = owner->frameGeometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::show();
    raise();
    if (provider_) {
        switch (provider_(text, buttons)) {
        case Answer::Ok: (buttons == MessageButtons::Ok ? okButton_ : firstButton_)->click(); break;
        case Answer::Yes: firstButton_->click(); break;
        case Answer::No: secondButton_->click(); break;
        }
        return;
    }
    // The nested loop keeps the other windows' timers and events running while the user reads.
    // Closing the program ends the wait as if OK had been pressed.
    Clock::current().waitUntil([this] { return !isVisible() || link_.ProgramClosing; },
                               std::numeric_limits<qint64>::max() / 2);
    if (isVisible())
        hide();
}

void FrmMessages::closeEvent(QCloseEvent* event) { event->ignore(); }

void FrmMessages::onOk() { hide(); }

void FrmMessages::onFirst()
{
    yes_ = true;
    backToOkForm();
    hide();
}

void FrmMessages::onSecond()
{
    no_ = true;
    backToOkForm();
    hide();
}

void FrmMessages::backToOkForm()
{
    okButton_->show();
    firstButton_->hide();
    secondButton_->hide();
}

}  // namespace dunmere
