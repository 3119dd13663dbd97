// SPDX-License-Identifier: GPL-3.0-or-later

// The sound reader from a path and from bytes must agree: the examples panel
// reads paths, the fuzzer and the course checker lean on the same parser.
#include "sound/api/soundinfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kApp = QStringLiteral(RATTIL_APP_DIR);

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSoundInfo final : public QObject
{
    Q_OBJECT

private slots:
    void pathAndBytesAgree_data();
    void pathAndBytesAgree();
};

void TestSoundInfo::pathAndBytesAgree_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("title");

    const QByteArray tagged = readAll(kApp + QStringLiteral("/data/examples/2-1-1.mp3"));
    const QByteArray untitled = readAll(kApp + QStringLiteral("/data/examples/4-1-1.mp3"));
    QVERIFY(!tagged.isEmpty() && !untitled.isEmpty());
    QTest::newRow("title tag") << tagged << true << QStringLiteral("*");
    QTest::newRow("no title tag") << untitled << true << QString();
    QTest::newRow("empty file") << QByteArray() << false << QString();
    QTest::newRow("text named .mp3") << QByteArray("not a sound at all\r\n") << false << QString();
    // The ID3v2 header gives the tag's length in 7-bit bytes; what follows is audio.
    const auto tagLength = [](const QByteArray &b) {
        return 10 + ((b[6] & 0x7f) << 21 | (b[7] & 0x7f) << 14 | (b[8] & 0x7f) << 7 | (b[9] & 0x7f));
    };
    QTest::newRow("tag without audio") << tagged.left(tagLength(tagged)) << false << QString();
    QTest::newRow("ID3 header claiming more than the file")
        << QByteArray("ID3\x04\x00\x00\x7f\x7f\x7f\x7f", 10) << false << QString();
}

void TestSoundInfo::pathAndBytesAgree()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(QString, title);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sound.mp3"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const SoundInfo fromPath = ReadSoundInfo(path);
    const SoundInfo fromBytes = ReadSoundInfo(bytes);
    QCOMPARE(fromPath.readable, readable);
    QCOMPARE(fromBytes.readable, readable);
    QCOMPARE(fromBytes.duration, fromPath.duration);
    QCOMPARE(fromBytes.title, fromPath.title);
    QCOMPARE(fromBytes.author, fromPath.author);
    if (title == QLatin1String("*"))
        QVERIFY(!fromPath.title.isEmpty());
    else
        QCOMPARE(fromPath.title, title);
    if (readable)
        QVERIFY(fromPath.duration > 0.5);
}

QTEST_GUILESS_MAIN(TestSoundInfo)
#include "test_soundinfo.moc"
