// Every shipped language on every page of the main window: no caption, value or list item on
// show is cut off. A text that cannot fit in its place must show whole another way (a label
// that wraps onto enough lines, or a tooltip holding the whole text).

#include "MainWindowFixture.h"

#include "shell/MainMenu.h"

#include "language/ShippedData.h"
#include "pagoline/core/Pagoline.h"
#include "shell/pages/core/PagesCore.h"
#include "link/Settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

QString withoutMnemonics(QString text)
{
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

bool shownUpTo(const QWidget* w, const QWidget* top)
{
    for (; w && w != top; w = w->parentWidget()) {
        if (w->isHidden())
            return false;
    }
    return true;
}

// The room a widget's style leaves for its text.
int roomForText(const QWidget* w)
{
    if (auto* b = qobject_cast<const QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(b);
        option.text = b->text();
        return w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b).width();
    }
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(b);
        option.text = b->text();
        const auto element = qobject_cast<const QRadioButton*>(w) ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents;
        return w->style()->subElementRect(element, &option, b).width();
    }
    if (qobject_cast<const QComboBox*>(w))
        return w->width() - 24;  // the arrow and the frame
    return w->contentsRect().width();
}

// What is cut off on one widget; empty when its text shows whole.
QString cutOff(const QWidget* w)
{
    QString text;
    if (auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->wordWrap() || l->textFormat() == Qt::RichText)
            return l->heightForWidth(l->contentsRect().width()) > l->contentsRect().height() + 2 ? l->text() : QString();
        text = l->text();
    } else if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
        text = withoutMnemonics(b->text());
    } else if (auto* c = qobject_cast<const QComboBox*>(w)) {
        text = c->currentText();
    } else if (auto* g = qobject_cast<const QGroupBox*>(w)) {
        text = g->title();
    }
    if (text.isEmpty() || text.contains(QLatin1Char('\n')))
        return {};
    if (w->fontMetrics().horizontalAdvance(text) <= roomForText(w) || w->toolTip() == text)
        return {};
    return text;
}

}  // namespace

class TstTextsFit : public QObject {
    Q_OBJECT
private slots:
    void everyLanguageFitsEveryPage()
    {
        MainWindowFixture f(QByteArray(), QStringLiteral("1:89,2:77,5:45"), false);
        QVERIFY(QFile::copy(QDir(ShippedDataFolder()).filePath(QStringLiteral("config.ini")), f.configPath()));
        QFile::setPermissions(f.configPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        f.main.load();
        f.main.show();
        // The full access level, so the Advanced page and the locks are on show too.
        f.main.mainTab().setTab(2);
        f.clock.clock.advance(3000);
        for (const int digit : {8, 2, 5, 1})
            QTest::mouseClick(f.find<QPushButton>(QStringLiteral("Key_%1").arg(digit == 0 ? 9 : digit - 1)), Qt::LeftButton);
        QVERIFY(f.main.pages().accessLevels().fullLevel());
        f.main.mainTab().setTab(3);
        f.clock.clock.advance(3000);
        const int highest = ReadSetting(QStringLiteral("Settings"), QStringLiteral("NumLangs"), f.configPath()).toInt();
        QStringList problems;
        for (int n = 0; n <= highest; ++n) {
            f.main.menu().item(QStringLiteral("mnuLanguage%1").arg(n + 1))->trigger();
            f.clock.clock.advance(2000);
            for (int page = 0; page < 4; ++page) {
                QWidget* container = f.main.pageContainer(page);
                // Laid out as when the page comes on show.
                container->show();
                for (QLayout* layout : container->findChildren<QLayout*>())
                    layout->activate();
                for (QWidget* w : container->findChildren<QWidget*>()) {
                    if (!shownUpTo(w, container))
                        continue;
                    if (const QString lost = cutOff(w); !lost.isEmpty())
                        problems << QStringLiteral("language %1, %2: \"%3\"").arg(n).arg(w->objectName(), lost);
                }
            }
        }
        for (const QString& problem : std::as_const(problems))
            qWarning("%s", qPrintable(problem));
        QVERIFY2(problems.isEmpty(), "texts cut off; each is listed above");
    }
};

QTEST_MAIN(TstTextsFit)
#include "tst_textsfit.moc"
