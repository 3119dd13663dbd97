// SPDX-License-Identifier: GPL-3.0-or-later

#include "practicefixture.h"

#include "base/numbers.h"

#include <QAccessible>
#include <QtTest>

Q_DECLARE_METATYPE(PagePosition)

class TestExamplesPanel final : public QObject
{
    Q_OBJECT
private slots:
    void sources_data();
    void sources();
    void fileNames_data();
    void fileNames();
    void duration_data();
    void duration();
    void reciterInTitle();
    void selectedLookMoves();
    void playerErrorBox();
    void latePlayerErrorEndsListening();
    void exampleText_data();
    void exampleText();
    void openAndClose();
    void setupExampleButtons();
    void choosingAnotherExampleSavesTheTake();
    void closingThePanelSavesTheTake();
    void accessibleNames();
    void screenReaderHearsTheChosenExampleAndTheCount_data();
    void screenReaderHearsTheChosenExampleAndTheCount();
};

namespace {

const QString Base = "3-2-4";

// Qt reads GIFs but cannot write them: a one-colour GIF of the given size, its
// pixels coded as clear code, 0, 0 over and over so the codes stay 3 bits wide.
QByteArray gif(int w, int h)
{
    QByteArray out("GIF89a");
    const auto word = [&](int v) {
        out.append(char(v & 0xff));
        out.append(char(v >> 8));
    };
    word(w);
    word(h);
    out.append(char(0x80)).append(char(0)).append(char(0));
    out.append("\xff\xff\xff\x00\x00\x00", 6);
    out.append(char(0x2c));
    word(0);
    word(0);
    word(w);
    word(h);
    out.append(char(0)).append(char(2));
    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    const auto code = [&](int c) {
        bits |= quint32(c) << count;
        count += 3;
        while (count >= 8) {
            data.append(char(bits & 0xff));
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < w * h; i += 2) {
        code(4);
        code(0);
        if (i + 1 < w * h)
            code(0);
    }
    code(5);
    if (count > 0)
        data.append(char(bits & 0xff));
    for (int pos = 0; pos < data.size(); pos += 255) {
        const QByteArray block = data.mid(pos, 255);
        out.append(char(block.size())).append(block);
    }
    out.append(char(0)).append(char(0x3b));
    return out;
}

} // namespace

void TestExamplesPanel::sources_data()
{
    QTest::addColumn<bool>("mp3");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("txt");
    QTest::addColumn<bool>("gif");
    QTest::addColumn<bool>("jpg");
    QTest::addColumn<QString>("shown"); // "text:..." | "picture:WxH" | "" (what was there stays)
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("marked");

    const QString exampleMissing = "\r\n" + ExamplesPanel::ExampleFileMissing;
    const QString chapterMissing = "\r\n" + ExamplesPanel::ChapterFileMissing;
    QTest::newRow("title wins over text and picture") << true << "بسم الله" << true << true << true << "text: بسم الله"
                                                      << "" << true;
    QTest::newRow("gif wins over jpg") << true << "" << true << true << true << "picture:31x17"
                                       << "" << true;
    QTest::newRow("jpg alone") << true << "" << false << false << true << "picture:29x13"
                               << "" << true;
    QTest::newRow("sound without title or picture")
        << true << "" << true << false << false << "" << exampleMissing << false;
    QTest::newRow("text file only without sound") << false << "" << true << true << true << "text: من ملف النص"
                                                  << "" << true;
    QTest::newRow("nothing at all") << false << "" << false << true << false << "" << chapterMissing << false;
}

void TestExamplesPanel::sources()
{
    QFETCH(bool, mp3);
    QFETCH(QString, title);
    QFETCH(bool, txt);
    QFETCH(bool, gif);
    QFETCH(bool, jpg);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    QFETCH(bool, marked);

    PracticeFixture f;
    f.panel->OpenExamplesPanel();
    f.c.AyaText->setText("before");
    if (mp3)
        write(f.app + "/data/examples/" + Base + ".mp3", "ID3");
    f.MP.title = title;
    f.MP.duration = 4.4;
    if (txt) {
        QStringEncoder encoder("windows-1256");
        write(f.app + "/data/text/" + Base + ".txt", encoder.encode(QStringLiteral("من ملف النص\r\nسطر ثان\r\n")));
    }
    if (gif)
        write(f.app + "/data/images/" + Base + ".gif", ::gif(31, 17));
    if (jpg) {
        QDir().mkpath(f.app + "/data/images");
        QImage image(29, 13, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(f.app + "/data/images/" + Base + ".jpg"));
    }

    f.panel->SelectExample(4);

    QCOMPARE(f.recorder->CurExample(), qint16(4));
    QCOMPARE(f.MP.fileNames.size(), mp3 ? 1 : 0);
    QCOMPARE(f.c.Alisten->isEnabled(), mp3);
    if (shown.startsWith("text:")) {
        QVERIFY(f.c.AyaText->isVisibleTo(&f.host));
        QVERIFY(!f.c.AyaSample->isVisibleTo(&f.host));
        QCOMPARE(f.c.AyaText->text(), shown.mid(5));
    } else if (shown.startsWith("picture:")) {
        QVERIFY(f.c.AyaSample->isVisibleTo(&f.host));
        QVERIFY(!f.c.AyaText->isVisibleTo(&f.host));
        const QSize size = f.c.AyaSample->pixmap().size();
        QCOMPARE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), shown.mid(8));
    } else {
        QCOMPARE(f.c.AyaText->text(), QStringLiteral("before"));
    }
    QCOMPARE(f.dialogs, message.isEmpty() ? QStringList() : QStringList { message });
    QCOMPARE(f.panel->MarkedExample, qint16(marked ? 4 : 0));
    QCOMPARE(LookOf(f.c.SampleN[4]->picture()), marked ? 'S' : 'R');
    QCOMPARE(f.recorder->ExampleDuration(), mp3 ? 4 : 10);
}

void TestExamplesPanel::fileNames_data()
{
    QTest::addColumn<PagePosition>("position");
    QTest::addColumn<QString>("base");
    QTest::newRow("ordinary lesson") << PagePosition { 3, 2, 0, false } << "3-2-4";
    QTest::newRow("entry sub-page") << PagePosition { 3, 2, 1, true } << "3-2-1-4";
}

void TestExamplesPanel::fileNames()
{
    QFETCH(PagePosition, position);
    QFETCH(QString, base);
    PracticeFixture f;
    f.position = position;
    write(f.app + "/data/examples/" + base + ".mp3", "ID3");
    f.MP.title = "x";
    f.panel->SelectExample(4);
    QCOMPARE(f.MP.fileNames, QStringList { f.app + "/data/examples/" + base + ".mp3" });
    QCOMPARE(f.panel->BaseName(4), base);
}

void TestExamplesPanel::duration_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("whole");
    QTest::newRow("2.5 to even") << 2.5 << 2;
    QTest::newRow("3.5 to even") << 3.5 << 4;
    QTest::newRow("4.4") << 4.4 << 4;
    QTest::newRow("4.6") << 4.6 << 5;
}

void TestExamplesPanel::duration()
{
    QFETCH(double, seconds);
    PracticeFixture f;
    write(f.app + "/data/examples/3-2-1.mp3", "ID3");
    f.MP.duration = seconds;
    f.MP.title = "x";
    f.panel->SelectExample(1);
    QTEST(int(f.recorder->ExampleDuration()), "whole");
}

void TestExamplesPanel::reciterInTitle()
{
    PracticeFixture f;
    f.panel->OpenExamplesPanel();
    write(f.app + "/data/examples/3-2-1.mp3", "ID3");
    write(f.app + "/data/examples/3-2-2.mp3", "ID3");
    f.MP.author = "القارئ";
    f.MP.title = "x";
    f.panel->SelectExample(1);
    QCOMPARE(f.c.SampleTitle->text(), QStringLiteral("القارئ"));
    QCOMPARE(f.panel->ReciterName, QStringLiteral("القارئ"));
    QCOMPARE(f.FrameBar->height(), f.c.SampleTitle->y() + f.c.SampleTitle->height());
    f.MP.author.clear();
    f.panel->SelectExample(2);
    QCOMPARE(f.c.SampleTitle->text(), QString());
}

void TestExamplesPanel::selectedLookMoves()
{
    PracticeFixture f;
    for (int n : { 1, 2 })
        write(f.app + "/data/examples/3-2-" + QString::number(n) + ".mp3", "ID3");
    f.MP.title = "x";
    f.panel->SelectExample(1);
    f.panel->SelectExample(1);
    QCOMPARE(LookOf(f.c.SampleN[1]->picture()), 'S');
    f.panel->SelectExample(2);
    QCOMPARE(LookOf(f.c.SampleN[1]->picture()), 'R');
    QCOMPARE(LookOf(f.c.SampleN[2]->picture()), 'S');
    QCOMPARE(LookOf(f.c.SampleN[2]->activepicture()), 'H');
    QCOMPARE(f.panel->MarkedExample, qint16(2));
}

void TestExamplesPanel::playerErrorBox()
{
    PracticeFixture f;
    write(f.app + "/data/examples/3-2-1.mp3", "ID3");
    f.MP.title = "x";
    f.MP.errorCode = 3;
    f.panel->SelectExample(1);
    QCOMPARE(f.boxes, QStringList { "Error: 3:  " });
}

// The player finds out only while playing that it cannot: the learner is told,
// and Listen, which would wait for an end that never comes, ends. A failing
// welcome chime is no example's business.
void TestExamplesPanel::latePlayerErrorEndsListening()
{
    PracticeFixture f;
    write(f.app + "/data/examples/3-2-1.mp3", "ID3");
    f.MP.title = "x";
    f.MP.duration = 3;
    f.panel->SelectExample(1);
    f.c.Alisten->press();
    QVERIFY(f.recorder->Listening());
    f.MP.errorCode = 7;
    emit f.MP.ErrorOccurred();
    QVERIFY(!f.recorder->Listening());
    QVERIFY(!f.c.TimerMeter->isActive());
    QCOMPARE(f.boxes, QStringList { "Error: 7:  " });

    f.MP.SetFileName(f.app + "/start.mp3");
    emit f.MP.ErrorOccurred();
    QCOMPARE(f.boxes.size(), 1);
}

void TestExamplesPanel::exampleText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("lines");
    const QString wide = QString(400, QChar(0x0645));
    QTest::newRow("one word wider than the label") << wide << "\r\n" + wide << 2;
    QTest::newRow("all words fit") << "قال الله تعالى"
                                   << " قال الله تعالى" << 1;
    QTest::newRow("two blanks give an empty word") << "a  b"
                                                   << " a  b" << 1;
    QTest::newRow("second word wraps") << "a " + wide << " a\r\n" + wide << 2;
    // The word that opens a line is not counted in its width, so a line may come
    // out one word wider than the label, which wraps it once more.
    QStringList words;
    for (int i = 0; i < 24; ++i)
        words << QStringLiteral("وَالْمُسْتَغْفِرِينَ");
    QTest::newRow("a line wider than the label") << words.join(' ') << QString() << 0;
}

void TestExamplesPanel::exampleText()
{
    QFETCH(QString, text);
    PracticeFixture f;
    f.panel->OpenExamplesPanel();
    f.panel->ShowExampleText(text);
    QFETCH(QString, caption);
    if (!caption.isEmpty())
        QCOMPARE(f.c.AyaText->text(), caption);
    QFETCH(int, lines);
    const int lineHeight = QFontMetrics(f.c.AyaText->font()).height();
    // Room for the caption's lines and no more, unless the fonts that draw the
    // words (a fallback for the Arabic, where the label's own has none) need
    // taller lines, as they do where Debian 13's fonts are installed.
    if (lines > 0)
        QCOMPARE(f.c.AyaText->height(), qMax(lines * lineHeight, f.c.AyaText->heightForWidth(f.c.AyaText->width())));
    // Every line the label draws has room.
    QVERIFY2(f.c.AyaText->height() >= f.c.AyaText->heightForWidth(f.c.AyaText->width()),
        qPrintable(QStringLiteral("%1 < %2")
                       .arg(f.c.AyaText->height())
                       .arg(f.c.AyaText->heightForWidth(f.c.AyaText->width()))));
    QVERIFY(f.c.AyaText->height() >= f.c.AyaText->text().count('\n') * lineHeight);
    QCOMPARE(f.c.AyaText->width(), f.Samples->width() - f.c.SoundTools->width() - 5);
}

void TestExamplesPanel::openAndClose()
{
    PracticeFixture f;
    f.settings.SplitterTop = 400;
    const int closedTop = f.FrameBar->y();
    f.panel->OpenExamplesPanel();
    QCOMPARE(f.slides, QStringList { QStringLiteral("V- %1 3").arg(closedTop - 400) });
    QVERIFY(f.panel->PanelOpen);
    QCOMPARE(f.splitter, QList<bool> { true });
    QVERIFY(f.c.ImSamplesDown->isVisibleTo(&f.host));
    QVERIFY(!f.c.ImSamplesUp->isVisibleTo(&f.host));
    QCOMPARE(f.FrameBar->height(), f.c.SampleTitle->y() + f.c.SampleTitle->height());
    // The body fills the space between the bar and the closed bar's bottom.
    QCOMPARE(f.Samples->y(), f.FrameBar->y() + f.FrameBar->height());
    QCOMPARE(f.Samples->height(), f.panelClosedTop - f.Samples->y() + f.c.SampleTitle->y());
    QCOMPARE(f.c.SoundTools->y(), int(RoundHalfEven((f.Samples->height() - f.c.SoundTools->height()) / 2.0)));

    f.panel->CloseExamplesPanel();
    QCOMPARE(f.slides.last(), QStringLiteral("V+ %1 3").arg(closedTop - 400));
    QCOMPARE(f.FrameBar->y(), closedTop);
    QVERIFY(!f.panel->PanelOpen);
    QCOMPARE(f.splitter.last(), false);
    QVERIFY(f.c.ImSamplesUp->isVisibleTo(&f.host));
    QVERIFY(!f.Samples->isVisibleTo(&f.host));
    QCOMPARE(f.FrameBar->height(), f.c.SampleTitle->y());
}

void TestExamplesPanel::setupExampleButtons()
{
    PracticeFixture f;
    write(f.app + "/data/examples/3-2-1.mp3", "ID3");
    f.MP.title = "x";
    f.panel->SetupExampleButtons(5);
    for (int i = 1; i <= 13; ++i)
        QCOMPARE(f.c.SampleN[i]->isVisibleTo(&f.host), i <= 5);
    QVERIFY(f.panel->PanelOpen);
    QVERIFY(f.c.ImSamplesDown->isVisibleTo(&f.host));
    QCOMPARE(f.panel->MarkedExample, qint16(1));
    QCOMPARE(f.MP.fileNames.size(), 1);

    f.panel->SetupExampleButtons(0);
    for (int i = 1; i <= 13; ++i)
        QVERIFY(!f.c.SampleN[i]->isVisibleTo(&f.host));
    QVERIFY(!f.panel->PanelOpen);
    QVERIFY(!f.c.ImSamplesUp->isVisibleTo(&f.host));
    QVERIFY(!f.Samples->isVisibleTo(&f.host));
}

void TestExamplesPanel::choosingAnotherExampleSavesTheTake()
{
    PracticeFixture f;
    write(f.app + "/data/examples/3-2-1.mp3", "ID3");
    write(f.app + "/data/examples/3-2-2.mp3", "ID3");
    f.MP.title = "x";
    f.MP.duration = 5;
    f.panel->SelectExample(1);
    f.c.Arec->press();
    f.panel->SelectExample(2);
    // Saved under the example it was recorded for, not the one chosen now.
    QVERIFY(QFile::exists(f.recording("3-2-1.wav")));
    QVERIFY(!QFile::exists(f.recording("3-2-2.wav")));
    QVERIFY(!f.c.TimerMeter->isActive());
    QVERIFY(f.c.Arec->isVisibleTo(&f.host));
}

void TestExamplesPanel::closingThePanelSavesTheTake()
{
    PracticeFixture f;
    f.panel->OpenExamplesPanel();
    f.recorder->SetCurExample(2);
    f.c.Arec->press();
    f.c.ImSamplesDown->press();
    QVERIFY(QFile::exists(f.recording("3-2-2.wav")));
    QVERIFY(!f.c.TimerMeter->isActive());
}

void TestExamplesPanel::screenReaderHearsTheChosenExampleAndTheCount_data()
{
    QTest::addColumn<QList<int>>("pages");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("description");
    QTest::newRow("the first on opening") << QList<int> { 7 } << 0 << 1 << "المثال ١ من ٧";
    QTest::newRow("the second chosen") << QList<int> { 7 } << 2 << 2 << "المثال ٢ من ٧";
    QTest::newRow("double digits") << QList<int> { 12 } << 11 << 11 << "المثال ١١ من ١٢";
    // A shorter page after a longer one: the count is the new page's.
    QTest::newRow("a shorter page follows") << QList<int> { 7, 3 } << 3 << 3 << "المثال ٣ من ٣";
}

void TestExamplesPanel::screenReaderHearsTheChosenExampleAndTheCount()
{
    QFETCH(QList<int>, pages);
    QFETCH(int, chosen);
    QFETCH(int, selected);
    QFETCH(QString, description);
    PracticeFixture f;
    for (int n = 1; n <= 13; ++n)
        write(f.app + "/data/examples/3-2-" + QString::number(n) + ".mp3", "ID3");
    f.MP.title = "x";
    for (int n : pages)
        f.panel->SetupExampleButtons(n);
    if (chosen != 0)
        f.c.SampleN[chosen]->press();
    const int shown = pages.last();
    for (int i = 1; i <= 13; ++i) {
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(f.c.SampleN[i]);
        QCOMPARE(bool(button->state().selected), i == selected);
        QCOMPARE(bool(button->state().selectable), i <= shown);
        if (i > shown)
            QVERIFY(button->text(QAccessible::Description).isEmpty());
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(f.c.SampleN[selected])->text(QAccessible::Description), description);
}

void TestExamplesPanel::accessibleNames()
{
    PracticeFixture f;
    QCOMPARE(f.c.SampleN[1]->accessibleName(), QStringLiteral("المثال ١"));
    QCOMPARE(f.c.SampleN[13]->accessibleName(), QStringLiteral("المثال ١٣"));
    QCOMPARE(f.c.Apause->accessibleName(), QStringLiteral("إيقاف مؤقت"));
    // The press action does what a click does.
    write(f.app + "/data/examples/3-2-7.mp3", "ID3");
    f.MP.title = "x";
    f.c.SampleN[7]->show();
    f.c.SampleN[7]->press();
    QCOMPARE(f.panel->MarkedExample, qint16(7));
}

QTEST_MAIN(TestExamplesPanel)
#include "test_examplespanel.moc"
