#include "FrmMoisture.h"

#include "WeighingPicture.h"
#include "calibration/MoistureCalculator.h"
#include "link/Messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dunmere {

namespace {

// 9830 x 4830 twips at 15 twips to a pixel.
constexpr QSize WindowSize(655, 322);

}  // namespace

FrmMoisture::FrmMoisture(const TextSource& texts, Messages& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), texts_(texts), messages_(messages)
{
    setObjectName(QStringLiteral("FrmMoisture"));
    const QString moisture = texts_.text(QStringLiteral("LangMoisture"));
    setWindowTitle(QStringLiteral("Dunmere - ") + moisture + u' ' + texts_.text(QStringLiteral("LangCalculator")));
    auto* v = new QVBoxLayout(this);
    v->addWidget(new WeighingPicture, 0, Qt::AlignHCenter);
    auto* g = new QGridLayout;
    auto row = [&](int r, const char* name, const char* letter) {
        auto* box = new QLineEdit;
        box->setObjectName(QString::fromLatin1(name));
        g->addWidget(new QLabel(QString::fromLatin1(letter)), r, 0);
        g->addWidget(box, r, 1);
        g->addWidget(new QLabel(QStringLiteral("Kg/lb")), r, 2);
        return box;
    };
    TextA = row(0, "TextA", "X");
    TextB = row(1, "TextB", "Y");
    TextC = row(2, "TextC", "Z");
    auto* label = new QLabel(moisture);
    label->setObjectName(QStringLiteral("LblMoistureLabel"));
    g->addWidget(label, 0, 3, 3, 1, Qt::AlignRight | Qt::AlignVCenter);
    auto* formula = new QLabel(QStringLiteral("( Y - Z )\n―――――\n( Z - X )"));
    formula->setAlignment(Qt::AlignCenter);
    g->addWidget(formula, 0, 4, 3, 1);
    g->addWidget(new QLabel(QStringLiteral("=")), 0, 5, 3, 1);
    LblMoisture = new QLabel;
    LblMoisture->setObjectName(QStringLiteral("LblMoisture"));
    LblMoisture->setMinimumWidth(60);
    LblMoisture->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblMoisture->setFrameShape(QFrame::Panel);
    LblMoisture->setFrameShadow(QFrame::Sunken);
    g->addWidget(LblMoisture, 0, 6, 3, 1, Qt::AlignVCenter);
    g->addWidget(new QLabel(QStringLiteral("%")), 0, 7, 3, 1);
    auto* calculate = new QPushButton(moisture);
    calculate->setObjectName(QStringLiteral("CmdCalculate"));
    g->addWidget(calculate, 3, 4, 1, 4);
    v->addLayout(g);
    connect(calculate, &QPushButton::clicked, this, &FrmMoisture::calculate);
    resize(WindowSize);
}

void FrmMoisture::calculate()
{
    const Weighings w = GetValues(TextA->text(), TextB->text(), TextC->text(), texts_);
    if (!w.usable) {
        messages_.show(w.message, MessageButtons::Ok);
        return;
    }
    LblMoisture->setText(MoistureText(CalculateMoisture(w.X, w.Y, w.Z)));
}

}  // namespace dunmere
