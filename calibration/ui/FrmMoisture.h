#pragma once
// The moisture calculator: three weighings in, the sample's moisture out. It talks to no
// sensor and stores nothing.

#include <QWidget>

class QLabel;
class QLineEdit;

namespace dunmere {

class Messages;
class TextSource;

class FrmMoisture final : public QWidget {
    Q_OBJECT
public:
    FrmMoisture(const TextSource& texts, Messages& messages, QWidget* parent = nullptr);

private:
    void calculate();

    const TextSource& texts_;
    Messages& messages_;
    QLineEdit* TextA = nullptr;
    QLineEdit* TextB = nullptr;
    QLineEdit* TextC = nullptr;
    QLabel* LblMoisture = nullptr;
};

}  // namespace dunmere
