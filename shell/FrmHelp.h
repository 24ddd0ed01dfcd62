#pragma once
// The help window: one help file in the user's language, shown whole. The menu has chosen the
// file; a file that cannot be read leaves the window open and empty, without a message.

#include <QWidget>

class QPlainTextEdit;

namespace dunmere {

class FrmHelp final : public QWidget {
    Q_OBJECT
public:
    // Placed at the main window's left edge, 400 twips below its top.
    FrmHelp(const QString& helpFilePath, const QString& helpText, QWidget* mainWindow);
    FrmHelp(const FrmHelp&) = delete;
    FrmHelp& operator=(const FrmHelp&) = delete;

    // Shows the window (unless the program is closing) and then reads the file into it.
    void load(bool programClosing);

    // The text of a UTF-16 file (byte-order mark of either order, or none for little-endian);
    // a UTF-8 byte-order mark is honoured too. Empty when the file cannot be read.
    [[nodiscard]] static QString ReadUnicodeTextFile(const QString& path, bool* ok = nullptr);

private:
    QString path_;
    QPlainTextEdit* text_;
};

}  // namespace dunmere
