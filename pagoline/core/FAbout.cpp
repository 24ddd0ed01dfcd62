#include "pagoline/core/FAbout.h"

#include "pagoline/core/Pagoline.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

// 5865 x 1290 twips at 15 twips to a pixel.
constexpr QSize kSize(391, 86);

// The logo: a small strip of three tabs over a page.
QPixmap logo()
{
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QColor(0, 0, 0));
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRect(2, 14, 43, 31);
    for (int i = 0; i < 3; ++i)
        painter.drawRect(2 + i * 14, 4 + (i == 0 ? 0 : 3), 14, i == 0 ? 10 : 7);
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(3, 15, 3, 43);
    return picture;
}

} // namespace

FAbout::FAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QStringLiteral("About Pagoline"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(kSize);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgLogo"));
    picture->setPixmap(logo());
    picture->setGeometry(12, 19, 48, 48);

    auto *text = new QLabel(VersionLine(), this);
    text->setObjectName(QStringLiteral("lblVersion"));
    text->setGeometry(72, 12, kSize.width() - 84, 30);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setGeometry(kSize.width() - 96, kSize.height() - 36, 84, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Centred on the screen rather than on the window that asked for it.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString FAbout::VersionLine()
{
    return QStringLiteral("Quillset Tabbed Dialog Control version ") + Pagoline::Version();
}
