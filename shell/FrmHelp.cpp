#include "FrmHelp.h"

#include "shell/core/Twips.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QStringDecoder>

namespace dunmere {

namespace {

constexpr int WidthTwips = 10760;
constexpr int HeightTwips = 7760;
constexpr int BelowMainTopTwips = 400;

}  // namespace

FrmHelp::FrmHelp(const QString& helpFilePath, const QString& helpText, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                              | Qt::MSWindowsFixedSizeDialogHint),
      path_(helpFilePath),
      text_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("FrmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The caption bar shows the title; any script the language uses shows there as well.
    setWindowTitle(QStringLiteral("Dunmere - ") + helpText);
    setFixedSize(Twips(WidthTwips), Twips(HeightTwips));
    if (mainWindow) {
        const QPoint corner = mainWindow->frameGeometry().topLeft();
        move(corner.x(), corner.y() + Twips(BelowMainTopTwips));
    }
    text_->setObjectName(QStringLiteral("TextHelp"));
    text_->setGeometry(Twips(120), Twips(120), Twips(10455), Twips(7095));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void FrmHelp::load(bool programClosing)
{
    if (!programClosing) {
        show();
        QCoreApplication::processEvents();
    }
    text_->setPlainText(ReadUnicodeTextFile(path_));
}

QString FrmHelp::ReadUnicodeTextFile(const QString& path, bool* ok)
{
    if (ok)
        *ok = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    auto encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf16LE), QStringDecoder::Flag::Default);
    QString text = decoder(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (ok)
        *ok = true;
    return text;
}

}  // namespace dunmere
