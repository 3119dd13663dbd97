#include "components/qtmediaplayer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

// Real MP3s made here with sox and lame, tagged with TagLib, played through the
// sound server's null sink.
class TestMediaPlayer final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void tagsAndDurationAreKnownAtOnce_data();
    void tagsAndDurationAreKnownAtOnce();
    void badFilesReportAnError_data();
    void badFilesReportAnError();
    void playsToTheEndAndAgain();

private:
    QString makeMp3(const QString &name, double seconds, const QString &title, const QString &author);
    QTemporaryDir m_dir;
};

QString TestMediaPlayer::makeMp3(const QString &name, double seconds, const QString &title, const QString &author)
{
    const QString wav = m_dir.filePath(name + ".wav");
    const QString mp3 = m_dir.filePath(name + ".mp3");
    if (QProcess::execute("sox", {"-n", "-r", "22050", "-c", "1", wav, "synth", QString::number(seconds), "sine", "440"}) != 0)
        return {};
    if (QProcess::execute("lame", {"--quiet", "-b", "64", wav, mp3}) != 0)
        return {};
    TagLib::MPEG::File file(QFile::encodeName(mp3).constData());
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
    tag->setTitle(TagLib::String(title.toStdWString()));
    tag->setArtist(TagLib::String(author.toStdWString()));
    file.save();
    return mp3;
}

void TestMediaPlayer::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable("sox").isEmpty(), "sox is needed: run scripts/install-deps");
    QVERIFY2(!QStandardPaths::findExecutable("lame").isEmpty(), "lame is needed: run scripts/install-deps");
}

void TestMediaPlayer::tagsAndDurationAreKnownAtOnce_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("author");
    QTest::newRow("arabic tags") << 2.0 << QStringLiteral("إِنَّ ٱللَّهَ غَفُورٌ رَّحِيمٌ") << QStringLiteral("قارئ تجريبي");
    QTest::newRow("no title") << 1.0 << QString() << QStringLiteral("قارئ تجريبي");
}

void TestMediaPlayer::tagsAndDurationAreKnownAtOnce()
{
    QFETCH(double, seconds);
    QFETCH(QString, title);
    QFETCH(QString, author);
    const QString mp3 = makeMp3(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'), seconds, title, author);
    QVERIFY(!mp3.isEmpty());
    QtMediaPlayer player;
    player.SetFileName(mp3);
    QCOMPARE(player.ErrorCode(), 0);
    QVERIFY2(qAbs(player.Duration() - seconds) < 0.15, qPrintable(QString::number(player.Duration())));
    QCOMPARE(player.GetMediaInfoString(MediaPlayer::ClipTitle), title);
    QCOMPARE(player.GetMediaInfoString(MediaPlayer::ClipAuthor), author);
    QCOMPARE(player.GetMediaInfoString(3), QString());
    QCOMPARE(player.FileName(), mp3);
    // Choosing an example gives the player a name and nothing else: it must sound.
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0, 5000);
}

void TestMediaPlayer::badFilesReportAnError_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("create");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("garbage") << QByteArray(20000, '\x5a') << true;
}

void TestMediaPlayer::badFilesReportAnError()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, create);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".mp3");
    if (create) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QtMediaPlayer player;
    player.SetFileName(path);
    QVERIFY(player.ErrorCode() != 0);
    QVERIFY(!player.ErrorDescription().isEmpty());
    QCOMPARE(player.Duration(), 0.0);
    player.Play(); // nothing to play: no crash, no sound
    QTest::qWait(200);
    QCOMPARE(player.CurrentPosition(), 0.0);
}

void TestMediaPlayer::playsToTheEndAndAgain()
{
    const QString mp3 = makeMp3("play", 1.0, QStringLiteral("عنوان"), QStringLiteral("قارئ"));
    QVERIFY(!mp3.isEmpty());
    QtMediaPlayer player;
    player.SetFileName(mp3); // starts by itself
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.2, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() >= player.Duration(), 8000);
    QCOMPARE(player.ErrorCode(), 0);
    // Play after the end starts again from the top.
    player.Play();
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.1 && player.CurrentPosition() < player.Duration(), 5000);
    player.Stop();
    player.SetCurrentPosition(0);
    QVERIFY(player.CurrentPosition() < 0.1);
}

QTEST_MAIN(TestMediaPlayer)
#include "test_mediaplayer.moc"
