// The message window and the help window. Messages: button forms and captions, the two
// answer flags and how an answer never survives into the next question, nothing shown while
// closing. Answers come through the answer seam, which clicks the real buttons. Help: the
// UTF-16 file read whole in any script, a vanished file giving an empty window, placement.
// The nested modal loop with a real user is left to manual use.

#include "shell/FrmHelp.h"
#include "shell/FrmMessages.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <map>

using namespace dunmere;
using Answer = FrmMessages::Answer;

namespace {

class FixedTexts final : public TextSource {
public:
    QString text(const QString& key) const override
    {
        static const std::map<QString, QString> texts = {
            {QStringLiteral("LangOK"), QStringLiteral("OK!")},   {QStringLiteral("LangYes"), QStringLiteral("Ja")},
            {QStringLiteral("LangNo"), QStringLiteral("Nein")},  {QStringLiteral("LangCancel"), QStringLiteral("Abbruch")}};
        const auto it = texts.find(key);
        return it == texts.end() ? QString() : it->second;
    }
};

struct Fixture {
    LinkState link;
    FixedTexts texts;
    FrmMessages window{link, texts};
    QStringList visibleButtons;  // at the moment of the answer

    void answerWith(Answer answer)
    {
        window.setAnswerProvider([this, answer](const QString&, MessageButtons) {
            visibleButtons.clear();
            for (const char* name : {"messagebutton", "QuiButton1", "QuiButton2"}) {
                auto* b = window.findChild<QPushButton*>(QString::fromLatin1(name));
                if (b->isVisible())
                    visibleButtons << b->objectName() + QLatin1Char('=') + b->text();
            }
            return answer;
        });
    }
};

}  // namespace

class TstMessages : public QObject {
    Q_OBJECT
private slots:
    void windowGrowsToItsText()
    {
        Fixture f;
        const QString longText = QStringLiteral("FATAL COMMUNICATIONS ERROR: the serial port or network connection failed.\r"
                                                "The program will close now. Check the port or adapter, then start the "
                                                "program again.\rCheck the RS-485 wiring: A and B lines, screen and termination.");
        int labelBottom = 0, labelHeight = 0, labelNeeds = 0, buttonTop = 0;
        f.window.setAnswerProvider([&](const QString&, MessageButtons) {
            auto* label = f.window.findChild<QLabel*>(QStringLiteral("messagelabel"));
            labelBottom = label->geometry().bottom();
            labelHeight = label->height();
            labelNeeds = label->heightForWidth(label->width());
            buttonTop = f.window.findChild<QPushButton*>(QStringLiteral("messagebutton"))->geometry().top();
            return Answer::Ok;
        });
        f.window.show(longText, MessageButtons::Ok);
        QVERIFY(labelNeeds > 40);
        QVERIFY(labelHeight >= labelNeeds);
        QVERIFY(buttonTop > labelBottom);
        QVERIFY(f.window.height() > buttonTop);
    }

    void buttonForms_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("ok") << int(MessageButtons::Ok) << QStringList{"messagebutton=OK!"};
        QTest::newRow("yes/no") << int(MessageButtons::YesNo) << QStringList{"QuiButton1=Ja", "QuiButton2=Nein"};
        QTest::newRow("ok/cancel") << int(MessageButtons::OkCancel) << QStringList{"QuiButton1=OK!", "QuiButton2=Abbruch"};
    }
    void buttonForms()
    {
        QFETCH(int, buttons);
        QFETCH(QStringList, shown);
        Fixture f;
        f.answerWith(Answer::Ok);
        QVERIFY(f.window.show(QStringLiteral("Text"), MessageButtons(buttons)));
        QCOMPARE(f.visibleButtons, shown);
        QCOMPARE(f.window.findChild<QLabel*>(QStringLiteral("messagelabel"))->text(), QStringLiteral("Text"));
        QVERIFY(!f.window.isVisible());
    }

    void yesThenPlainMessageShowsOnlyOk()
    {
        Fixture f;
        f.answerWith(Answer::Yes);
        QCOMPARE(f.window.ask(QStringLiteral("Delete?"), MessageButtons::YesNo), Answer::Yes);
        QVERIFY(!f.window.yesFlag() && !f.window.noFlag());
        f.answerWith(Answer::Ok);
        QVERIFY(f.window.show(QStringLiteral("Done"), MessageButtons::Ok));
        QCOMPARE(f.visibleButtons, QStringList{"messagebutton=OK!"});
    }

    void noAnswerIsFalseAndLeavesNoFlagBehind()
    {
        Fixture f;
        f.answerWith(Answer::No);
        QVERIFY(!f.window.show(QStringLiteral("Reset?"), MessageButtons::YesNo));
        QVERIFY(!f.window.yesFlag() && !f.window.noFlag());
        f.answerWith(Answer::Yes);
        QCOMPARE(f.window.ask(QStringLiteral("Again?"), MessageButtons::YesNo), Answer::Yes);
    }

    void closingShowsNothing()
    {
        Fixture f;
        bool asked = false;
        f.window.setAnswerProvider([&](const QString&, MessageButtons) { asked = true; return Answer::Yes; });
        f.link.ProgramClosing = true;
        QCOMPARE(f.window.ask(QStringLiteral("Reset?"), MessageButtons::YesNo), std::nullopt);
        QVERIFY(!f.window.show(QStringLiteral("Reset?"), MessageButtons::YesNo));
        QVERIFY(!asked);
        QVERIFY(f.window.shownTexts().isEmpty());
    }

    void carriageReturnBreaksTheLine()
    {
        Fixture f;
        f.answerWith(Answer::Ok);
        QVERIFY(f.window.show(QStringLiteral("one\rtwo"), MessageButtons::Ok));
        QCOMPARE(f.window.findChild<QLabel*>(QStringLiteral("messagelabel"))->text(), QStringLiteral("one\ntwo"));
    }

    void buttonsKeepTheirDesignCaptionsWithoutTexts()
    {
        struct NoTexts final : TextSource {
            QString text(const QString&) const override { return {}; }
        } none;
        LinkState link;
        FrmMessages window(link, none);
        QStringList captions;
        window.setAnswerProvider([&](const QString&, MessageButtons) {
            for (auto* b : window.findChildren<QPushButton*>())
                if (b->isVisible())
                    captions << b->text();
            return Answer::No;
        });
        window.show(QStringLiteral("The settings file is missing"), MessageButtons::Ok);
        window.show(QStringLiteral("Go on?"), MessageButtons::YesNo);
        QCOMPARE(captions, (QStringList{"OK", "YES", "NO"}));
    }

    void windowSize() { Fixture f; QCOMPARE(f.window.size(), QSize(357, 110)); }

    void helpFileReadInAnyScript_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        // "日本" and "Ω" written out by hand as UTF-16 code units.
        QTest::newRow("LE with BOM") << QByteArray("\xFF\xFE\xE5\x65\x2C\x67\xA9\x03", 8) << QStringLiteral(u"日本Ω");
        QTest::newRow("BE with BOM") << QByteArray("\xFE\xFF\x65\xE5\x67\x2C\x03\xA9", 8) << QStringLiteral(u"日本Ω");
        QTest::newRow("LE without BOM") << QByteArray("H\0i\0\r\0\n\0", 8) << QStringLiteral("Hi\r\n");
    }
    void helpFileReadInAnyScript()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Japanese.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        FrmHelp help(path, QStringLiteral("Hilfe"), nullptr);
        help.load(false);
        QCOMPARE(help.findChild<QPlainTextEdit*>(QStringLiteral("TextHelp"))->toPlainText(),
                 QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(help.windowTitle(), QStringLiteral("Dunmere - Hilfe"));
        QVERIFY(help.isVisible());
    }

    void vanishedHelpFileGivesEmptyWindow()
    {
        QTemporaryDir dir;
        FrmHelp help(dir.filePath(QStringLiteral("gone.txt")), QStringLiteral("Help"), nullptr);
        help.load(false);
        QVERIFY(help.isVisible());
        QVERIFY(help.findChild<QPlainTextEdit*>(QStringLiteral("TextHelp"))->toPlainText().isEmpty());
        QCOMPARE(help.size(), QSize(717, 517));
    }
};

QTEST_MAIN(TstMessages)
#include "tst_messages.moc"
