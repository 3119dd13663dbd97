// SPDX-License-Identifier: GPL-3.0-or-later

// Checks the assembled demo course in the application folder: everything the
// program will look for is there, in the form it reads it.
#include "content/catalogue.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include <algorithm>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace {

const QString kApp = QStringLiteral(RATTIL_APP_DIR);

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Empty when the bytes are Windows-1256 text with CR LF line ends; otherwise
// what is wrong with them.
QString CodePageFault(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QStringLiteral("empty or missing");
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return QStringLiteral("line feed without carriage return at byte %1").arg(i);
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return QStringLiteral("carriage return without line feed at byte %1").arg(i);
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QStringLiteral("starts with a UTF-8 byte order mark");
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError() && asUtf8.contains(QChar(0x0627)))
        return QStringLiteral("is UTF-8, not Windows-1256");
    QStringDecoder decoder("windows-1256");
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar::ReplacementCharacter))
        return QStringLiteral("does not decode as Windows-1256");
    QStringEncoder encoder("windows-1256");
    if (encoder.encode(text) != bytes)
        return QStringLiteral("does not survive a Windows-1256 round trip");
    return {};
}

struct Page
{
    QString file; // "Ch2-1.htm"
    QString base; // "2-1-" or "1-3-2-": examples are base + n
    int examples = 0;
};

} // namespace

class TestCourseFolder final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void textFilesAreArabicCodePage_data();
    void textFilesAreArabicCodePage();
    void catalogueFitsTheInterface();
    void pagesExist_data();
    void pagesExist();
    void examplesHaveWhatTheyShow_data();
    void examplesHaveWhatTheyShow();
    void skinIsComplete_data();
    void skinIsComplete();
    void skinSizesFitTheLayout_data();
    void skinSizesFitTheLayout();
    void handCursorIsAWindowsCursor();
    void soundsStartWithAudio_data();
    void soundsStartWithAudio();

private:
    Catalogue m_catalogue;
    QList<Page> m_pages;
};

void TestCourseFolder::initTestCase()
{
    const QByteArray contents = ReadAll(kApp + QStringLiteral("/contents.ini"));
    QVERIFY2(!contents.isEmpty(), "contents.ini is missing from the application folder");
    m_catalogue.LoadFromBytes(contents);
    for (int c = 1; c <= m_catalogue.ChapterCount(); ++c) {
        for (int l = 1; l <= m_catalogue.LessonCount(c); ++l) {
            const QString cl = QStringLiteral("%1-%2").arg(c).arg(l);
            if (m_catalogue.IsIndexLesson(c, l)) {
                for (int k = 1; k <= m_catalogue.EntryCount(c, l); ++k)
                    m_pages.append({ QStringLiteral("Ch%1-%2.htm").arg(cl).arg(k),
                        QStringLiteral("%1-%2-").arg(cl).arg(k), m_catalogue.PageExamples(c, l, k) });
            } else {
                m_pages.append(
                    { QStringLiteral("Ch%1.htm").arg(cl), cl + QLatin1Char('-'), m_catalogue.PageExamples(c, l, 0) });
            }
        }
    }
}

void TestCourseFolder::textFilesAreArabicCodePage_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("contents.ini") << QStringLiteral("contents.ini");
    QTest::newRow("config.ini") << QStringLiteral("config.ini");
    const QStringList texts = QDir(kApp + QStringLiteral("/data/text")).entryList({ QStringLiteral("*.txt") });
    QVERIFY(!texts.isEmpty());
    for (const QString &t : texts)
        QTest::newRow(qPrintable(t)) << QStringLiteral("data/text/") + t;
}

void TestCourseFolder::textFilesAreArabicCodePage()
{
    QFETCH(QString, path);
    const QString fault = CodePageFault(ReadAll(kApp + QLatin1Char('/') + path));
    QVERIFY2(fault.isEmpty(), qPrintable(path + QStringLiteral(": ") + fault));
    if (path == QLatin1String("config.ini"))
        QCOMPARE(ReadAll(kApp + QStringLiteral("/config.ini")).count("\r\n"), 21);
}

void TestCourseFolder::catalogueFitsTheInterface()
{
    // The window has 9 chapter items, 12 lesson links, 4 index links and 13
    // example buttons; the demo must show every part of itself, and every kind
    // of lesson once at least.
    const int chapters = m_catalogue.ChapterCount();
    QVERIFY2(chapters >= 5 && chapters <= 9, qPrintable(QString::number(chapters)));
    bool index = false, noExamples = false, allThirteen = false;
    for (int c = 1; c <= chapters; ++c) {
        QVERIFY2(!m_catalogue.ChapterTitle(c).trimmed().isEmpty(), qPrintable(QString::number(c)));
        QVERIFY(m_catalogue.LessonCount(c) >= 1 && m_catalogue.LessonCount(c) <= 12);
        for (int l = 1; l <= m_catalogue.LessonCount(c); ++l) {
            const QString where = QStringLiteral("chapter %1 lesson %2").arg(c).arg(l);
            QVERIFY2(!m_catalogue.LessonTitle(c, l).trimmed().isEmpty(), qPrintable(where));
            const int n = m_catalogue.PageExamples(c, l, 0);
            if (m_catalogue.IsIndexLesson(c, l)) {
                index = true;
                QVERIFY2(m_catalogue.EntryCount(c, l) >= 1 && m_catalogue.EntryCount(c, l) <= 4, qPrintable(where));
                for (int k = 1; k <= m_catalogue.EntryCount(c, l); ++k)
                    QVERIFY2(m_catalogue.PageExamples(c, l, k) <= 13, qPrintable(where));
            } else {
                QVERIFY2(n <= 13, qPrintable(where));
                noExamples = noExamples || n == 0;
                allThirteen = allThirteen || n == 13;
            }
        }
    }
    QVERIFY2(index, "no index lesson");
    QVERIFY2(noExamples, "no lesson without examples");
    QVERIFY2(allThirteen, "no lesson with all 13 examples");
}

void TestCourseFolder::pagesExist_data()
{
    QTest::addColumn<QString>("file");
    for (const char *fixed : { "first.htm", "about.htm", "ref.htm", "help.htm", "nofile.htm" })
        QTest::newRow(fixed) << QString::fromLatin1(fixed);
    for (const Page &p : std::as_const(m_pages))
        QTest::newRow(qPrintable(p.file)) << p.file;
}

void TestCourseFolder::pagesExist()
{
    QFETCH(QString, file);
    const QByteArray html = ReadAll(kApp + QStringLiteral("/data/html/") + file);
    QVERIFY2(!html.isEmpty(), qPrintable(file + QStringLiteral(" is missing")));
    // The view decodes by the declared charset: every page must declare one.
    const QByteArray head = html.left(600).toLower();
    QVERIFY2(
        head.contains("charset=utf-8") || head.contains("charset=\"utf-8\"") || head.contains("charset=windows-1256"),
        qPrintable(file + QStringLiteral(" declares no charset")));
    if (head.contains("windows-1256"))
        QVERIFY2(CodePageFault(html).isEmpty(), qPrintable(file));
    QVERIFY2(head.contains("dir=\"rtl\""), qPrintable(file + QStringLiteral(" is not right to left")));
}

void TestCourseFolder::examplesHaveWhatTheyShow_data()
{
    QTest::addColumn<QString>("base");
    for (const Page &p : std::as_const(m_pages)) {
        for (int n = 1; n <= p.examples; ++n)
            QTest::newRow(qPrintable(p.base + QString::number(n))) << p.base + QString::number(n);
    }
}

void TestCourseFolder::examplesHaveWhatTheyShow()
{
    // The examples panel shows the sound's title tag, or else a picture; with
    // no sound it shows the text file. Whichever way an example takes, what it
    // needs must be there.
    QFETCH(QString, base);
    const QString mp3 = kApp + QStringLiteral("/data/examples/") + base + QStringLiteral(".mp3");
    const QString txt = kApp + QStringLiteral("/data/text/") + base + QStringLiteral(".txt");
    const QString images = kApp + QStringLiteral("/data/images/") + base;
    if (!QFile::exists(mp3)) {
        QVERIFY2(QFile::exists(txt), qPrintable(base + QStringLiteral(": neither sound nor text")));
        QVERIFY(!ReadAll(txt).trimmed().isEmpty());
        return;
    }
    const QByteArray name = QFile::encodeName(mp3);
    TagLib::MPEG::File file(name.constData());
    QVERIFY2(file.isValid() && file.audioProperties(), qPrintable(base + QStringLiteral(": not an MP3")));
    QVERIFY(file.audioProperties()->lengthInMilliseconds() > 500);
    QVERIFY2(file.hasID3v2Tag(), qPrintable(base));
    const QString artist = QString::fromStdWString(file.ID3v2Tag()->artist().toWString());
    QCOMPARE(artist, QStringLiteral("قارئ تجريبي"));
    const QString title = QString::fromStdWString(file.ID3v2Tag()->title().toWString());
    if (title.isEmpty()) {
        const QString picture = QFile::exists(images + QStringLiteral(".gif")) ? images + QStringLiteral(".gif")
                                                                               : images + QStringLiteral(".jpg");
        QVERIFY2(QFile::exists(picture), qPrintable(base + QStringLiteral(": no title and no picture")));
        QImage image(picture);
        QVERIFY2(!image.isNull(), qPrintable(picture + QStringLiteral(" does not load")));
    } else {
        const bool arabic = std::any_of(
            title.cbegin(), title.cend(), [](QChar ch) { return ch.unicode() >= 0x0621 && ch.unicode() <= 0x064A; });
        QVERIFY2(arabic, qPrintable(base + QStringLiteral(": title is not Arabic")));
    }
}

void TestCourseFolder::skinIsComplete_data()
{
    QTest::addColumn<QString>("name");
    QStringList names = { "main.jpg", "Exit.jpg", "ExitMouseOver.jpg", "Minimize.jpg", "MinimizeMouseOver.jpg",
        "WaveVol.jpg", "WaveVolOver.jpg", "WaveMute.jpg", "WaveMuteOver.jpg", "MicVol.jpg", "MicVolOver.jpg",
        "MicMute.jpg", "MicMuteOver.jpg", "volume.jpg", "volumeActive.jpg", "volumeup.jpg", "volumeupactive.jpg",
        "volumedown.jpg", "volumedownactive.jpg", "SamplesBar.jpg", "SamplesBarUp.jpg", "SamplesBarUpActive.jpg",
        "SamplesBarDown.jpg", "SamplesBarDownActive.jpg", "scrollup.jpg", "scrollupActive.jpg", "scrolldown.jpg",
        "scrolldownActive.jpg", "ScrollPosition.jpg", "ScrollPositionActive.jpg", "ScrollLine.jpg", "Play.jpg",
        "PlayOver.jpg", "Rec.jpg", "recOver.jpg", "Pause.jpg", "PauseOver.jpg", "Stop.jpg", "StopOver.jpg",
        "Listen.jpg", "ListenOver.jpg", "RecBack.jpg", "back.gif", "HandCursor.cur", "Title.jpg", "TitleMouseOver.jpg",
        "TitleSelected.jpg", "SubtitleBack.jpg", "Subtitleback.jpg", "SubtitleMouseOver.jpg", "SubtitleActive.jpg",
        "slider.jpg", "VLine.jpg", "Menuscrollup.jpg", "MenuscrollupActive.jpg", "Menuscrolldown.jpg",
        "MenuscrolldownActive.jpg", "msgok.jpg", "msgokover.jpg" };
    for (int i = 1; i <= 13; ++i)
        names << QStringLiteral("N%1.jpg").arg(i) << QStringLiteral("N%1MouseOver.jpg").arg(i)
              << QStringLiteral("N%1Selected.jpg").arg(i);
    for (int i = 1; i <= 8; ++i)
        names << QStringLiteral("vm%1.jpg").arg(i);
    for (const QString &n : names)
        QTest::newRow(qPrintable(n)) << n;
}

void TestCourseFolder::skinIsComplete()
{
    QFETCH(QString, name);
    const QStringList files = QDir(kApp + QStringLiteral("/Images")).entryList(QDir::Files);
    QString found;
    for (const QString &f : files) {
        if (f.compare(name, Qt::CaseInsensitive) == 0)
            found = f;
    }
    QVERIFY2(!found.isEmpty(), qPrintable(name + QStringLiteral(" is missing")));
    if (!name.endsWith(QLatin1String(".cur")))
        QVERIFY2(!QImage(kApp + QStringLiteral("/Images/") + found).isNull(),
            qPrintable(name + QStringLiteral(" does not load")));
}

void TestCourseFolder::skinSizesFitTheLayout_data()
{
    // Sizes the window's layout is computed from, or that must fit a fixed place.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("window background") << "main.jpg" << QSize(786, 632);
    QTest::newRow("dialog button") << "msgok.jpg" << QSize(28, 27);
    QTest::newRow("dialog button hover") << "msgokover.jpg" << QSize(28, 27);
    QTest::newRow("menu title") << "Title.jpg" << QSize(177, 36);
    for (int i = 1; i <= 8; ++i)
        QTest::newRow(qPrintable(QStringLiteral("meter %1").arg(i)))
            << QStringLiteral("vm%1.jpg").arg(i) << QSize(9, 7);
}

void TestCourseFolder::skinSizesFitTheLayout()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QCOMPARE(QImage(kApp + QStringLiteral("/Images/") + name).size(), size);
}

void TestCourseFolder::handCursorIsAWindowsCursor()
{
    const QByteArray cur = ReadAll(kApp + QStringLiteral("/Images/HandCursor.cur"));
    QCOMPARE(cur.size(), 6 + 16 + 40 + 32 * 32 * 4 + 32 * 4);
    const auto u16 = [&](int at) { return quint8(cur[at]) | quint8(cur[at + 1]) << 8; };
    QCOMPARE(u16(0), 0);
    QCOMPARE(u16(2), 2); // a cursor, not an icon
    QCOMPARE(u16(4), 1);
    QCOMPARE(quint8(cur[6]), quint8(32));
    QCOMPARE(quint8(cur[7]), quint8(32));
    // The hot spot is the finger tip: near the top, on an opaque pixel.
    const int hotX = u16(10);
    const int hotY = u16(12);
    QVERIFY(hotY < 4);
    const int row = 31 - hotY; // bottom-up bitmap
    const int alpha = quint8(cur[22 + 40 + (row * 32 + hotX) * 4 + 3]);
    QCOMPARE(alpha, 255);
}

void TestCourseFolder::soundsStartWithAudio_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("start.mp3") << kApp + QStringLiteral("/start.mp3");
    const QDir examples(kApp + QStringLiteral("/data/examples"));
    for (const QString &name : examples.entryList({ QStringLiteral("*.mp3") }, QDir::Files))
        QTest::newRow(qPrintable(name)) << examples.filePath(name);
}

// An encoder info frame ("Xing"/"Info") first in the stream carries no sound;
// GStreamer's decoder makes an empty buffer of it and prints a critical
// assertion each time the file plays.
void TestCourseFolder::soundsStartWithAudio()
{
    QFETCH(QString, path);
    const QByteArray bytes = ReadAll(path);
    qsizetype pos = 0;
    if (bytes.startsWith("ID3") && bytes.size() > 10) {
        const auto b = [&](int i) { return qsizetype(static_cast<unsigned char>(bytes[i]) & 0x7f); };
        pos = 10 + (b(6) << 21 | b(7) << 14 | b(8) << 7 | b(9));
    }
    while (pos + 1 < bytes.size()
        && !(static_cast<unsigned char>(bytes[pos]) == 0xff
            && (static_cast<unsigned char>(bytes[pos + 1]) & 0xe0) == 0xe0))
        ++pos;
    QVERIFY2(pos + 1 < bytes.size(), "no MPEG frame");
    const QByteArray firstFrame = bytes.mid(pos, 64);
    QVERIFY2(!firstFrame.contains("Xing") && !firstFrame.contains("Info"), "the first frame is an encoder info frame");
}

QTEST_GUILESS_MAIN(TestCourseFolder)
#include "test_coursefolder.moc"
