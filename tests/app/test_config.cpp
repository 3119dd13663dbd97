// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/config.h"
#include "base/fonctions.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return path;
}

// 21 lines with the given values and made-up keys, CR LF.
QByteArray configWith(const QStringList &values)
{
    QByteArray out;
    for (int i = 0; i < values.size(); ++i)
        out += "Key" + QByteArray::number(i) + "=" + values.at(i).toUtf8() + "\r\n";
    return out;
}

} // namespace

class TestConfig final : public QObject
{
    Q_OBJECT
private slots:
    void isInteger_data();
    void isInteger();
    void readsByPosition();
    void missingFileGivesDefaults();
    void shortFileKeepsDefaultsForMissingLines();
    void badValuesGiveZero_data();
    void badValuesGiveZero();
    void hugeAndBinaryInput();
    void loadOptions_data();
    void loadOptions();
    void saveOptionsExactBytes_data();
    void saveOptionsExactBytes();
    void saveOptionsRoundTripAndReadOnly();
    void fileExists();
};

void TestConfig::isInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("2") << "2" << true;
    QTest::newRow("2.0") << "2.0" << true;
    QTest::newRow("2.5") << "2.5" << false;
    QTest::newRow("40000") << "40000" << false;
    QTest::newRow("-32768") << "-32768" << true;
    QTest::newRow("32767") << "32767" << true;
    QTest::newRow("32768") << "32768" << false;
    QTest::newRow("text 7") << " 7 " << true;
    QTest::newRow("abc") << "abc" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("nan") << "nan" << false;
}

void TestConfig::isInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(IsInteger(text), expected);
    bool numeric = false;
    const double value = text.trimmed().toDouble(&numeric);
    if (numeric && qIsFinite(value))
        QCOMPARE(IsInteger(value), expected);
}

void TestConfig::readsByPosition()
{
    QTemporaryDir dir;
    const QStringList values = { "&H00FF00", "5", " 12 ", "40", " Amiri", "Noto Naskh Arabic", "16", "13", "8421504",
        "&HFF8080", "32768", "128", "255", "65280", "3", "6", "Amiri", "20", "Times", "14", "0x0000FF" };
    const QString path = writeFile(dir, "config.ini", configWith(values));
    Settings s;
    ReadConfig(path, s);
    QCOMPARE(s.MenuBackColor, 0x00FF00);
    QCOMPARE(s.SlideStep, qint16(5));
    QCOMPARE(s.ScrollStep, qint16(12)); // blanks around a number
    QCOMPARE(s.PageStep, qint16(40));
    QCOMPARE(s.ChapterFont, QStringLiteral(" Amiri")); // the blank is part of the name
    QCOMPARE(s.LessonFont, QStringLiteral("Noto Naskh Arabic"));
    QCOMPARE(s.ChapterFontSize, qint16(16));
    QCOMPARE(s.LessonFontSize, qint16(13));
    QCOMPARE(s.ChapterColor, 8421504);
    QCOMPARE(s.ChapterHoverColor, 0xFF8080);
    QCOMPARE(s.ChapterSelectedColor, 32768); // colours are 32-bit: 32768 fits
    QCOMPARE(s.LessonColor, 128);
    QCOMPARE(s.LessonHoverColor, 255);
    QCOMPARE(s.LessonSelectedColor, 65280);
    QCOMPARE(s.MenuSteps, qint16(3));
    QCOMPARE(s.TitleTextOffset, qint16(6));
    QCOMPARE(s.AyaFont, QStringLiteral("Amiri"));
    QCOMPARE(s.AyaFontSize, qint16(20));
    QCOMPARE(s.SampleTitleFont, QStringLiteral("Times"));
    QCOMPARE(s.SampleTitleFontSize, qint16(14));
    QCOMPARE(s.SampleTitleColor, 0xFF);
}

void TestConfig::missingFileGivesDefaults()
{
    QTemporaryDir dir;
    Settings s;
    s.SlideStep = 99;
    s.ChapterFont = QStringLiteral("changed");
    s.SplitterTop = 321;
    ReadConfig(dir.filePath("config.ini"), s);
    QCOMPARE(s.SlideStep, qint16(3));
    QCOMPARE(s.ChapterFont, QStringLiteral("Hesham AlSharq"));
    QCOMPARE(s.MenuSteps, qint16(2));
    QCOMPARE(s.LessonSelectedColor, 0x80);
    QCOMPARE(s.SplitterTop, qint16(321)); // not a config.ini setting
}

void TestConfig::shortFileKeepsDefaultsForMissingLines()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "config.ini", "a=1\r\nb=7\r\nno equals sign 9");
    Settings s;
    ReadConfig(path, s);
    QCOMPARE(s.MenuBackColor, 1);
    QCOMPARE(s.SlideStep, qint16(7));
    QCOMPARE(s.ScrollStep, qint16(0)); // a line without "=" is all value: not a number
    QCOMPARE(s.PageStep, qint16(30));
    QCOMPARE(s.SampleTitleColor, 0xFF8080);
}

void TestConfig::badValuesGiveZero_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("value");
    QTest::newRow("word for a step") << 2 << "fast";
    QTest::newRow("step out of 16 bits") << 3 << "70000";
    QTest::newRow("empty size") << 7 << "";
    QTest::newRow("bad colour") << 9 << "grey";
    QTest::newRow("hex too long") << 1 << "&H1FFFFFFFF";
}

void TestConfig::badValuesGiveZero()
{
    QFETCH(int, line);
    QFETCH(QString, value);
    QStringList values;
    for (int i = 1; i <= ConfigLines; ++i)
        values << (i == line ? value : QStringLiteral("11"));
    QTemporaryDir dir;
    Settings s;
    ReadConfig(writeFile(dir, "config.ini", configWith(values)), s);
    const qint64 got = line == 1 ? s.MenuBackColor
        : line == 2              ? s.SlideStep
        : line == 3              ? s.ScrollStep
        : line == 7              ? s.ChapterFontSize
                                 : s.ChapterColor;
    QCOMPARE(got, qint64(0));
    QCOMPARE(s.LessonFontSize, qint16(11)); // the next lines are read on
}

void TestConfig::hugeAndBinaryInput()
{
    QTemporaryDir dir;
    QByteArray bytes = "x=" + QByteArray(1 << 20, '7') + "\r\n";
    for (int i = 0; i < 256; ++i) {
        if (i != '\r' && i != '\n')
            bytes.append(char(i));
    }
    bytes += "\r\n";
    for (int i = 0; i < 100000; ++i)
        bytes += "k=1\r\n";
    Settings s;
    ReadConfig(writeFile(dir, "config.ini", bytes), s);
    QCOMPARE(s.MenuBackColor, 0); // a million digits is no 32-bit colour
    QCOMPARE(s.SlideStep, qint16(0)); // binary bytes are no number
    QCOMPARE(s.ScrollStep, qint16(1));
    QCOMPARE(s.SampleTitleColor, 1);
}

void TestConfig::loadOptions_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("expected");
    QTest::newRow("missing") << QByteArray() << false << 450;
    QTest::newRow("blanks around") << QByteArray(" 380 \r\n") << true << 380;
    QTest::newRow("negative") << QByteArray("-5 \r\n") << true << -5;
    QTest::newRow("not a number") << QByteArray("abc\r\n") << true << 0;
    QTest::newRow("empty file") << QByteArray() << true << 0;
    QTest::newRow("second line ignored") << QByteArray("300\r\n200\r\n") << true << 300;
    QTest::newRow("out of range") << QByteArray("99999\r\n") << true << 0;
    QTest::newRow("no line end") << QByteArray("412") << true << 412;
}

void TestConfig::loadOptions()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, present);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("savedoptions.ini");
    if (present)
        writeFile(dir, "savedoptions.ini", content);
    Settings s;
    s.SplitterTop = 123;
    LoadOptions(path, s);
    QCOMPARE(int(s.SplitterTop), expected);
}

void TestConfig::saveOptionsExactBytes_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("450") << 450 << QByteArray(" 450 \r\n");
    QTest::newRow("0") << 0 << QByteArray(" 0 \r\n");
    QTest::newRow("negative") << -7 << QByteArray("-7 \r\n");
}

void TestConfig::saveOptionsExactBytes()
{
    QFETCH(int, value);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    Settings s;
    s.SplitterTop = qint16(value);
    const QString path = dir.filePath("savedoptions.ini");
    QVERIFY(SaveOptions(path, s));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestConfig::saveOptionsRoundTripAndReadOnly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("savedoptions.ini");
    Settings s;
    s.SplitterTop = 377;
    QVERIFY(SaveOptions(path, s));
    Settings back;
    LoadOptions(path, back);
    QCOMPARE(back.SplitterTop, qint16(377));

    // A folder that cannot be written keeps the previous file whole.
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    s.SplitterTop = 100;
    const bool saved = SaveOptions(path, s);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (saved)
        QSKIP("running with rights that ignore folder permissions (root)");
    LoadOptions(path, back);
    QCOMPARE(back.SplitterTop, qint16(377));
}

void TestConfig::fileExists()
{
    QTemporaryDir dir;
    const QString file = writeFile(dir, "a.txt", "x");
    const QString hidden = writeFile(dir, ".hidden", "x");
    QVERIFY(FileExists(file));
    QVERIFY(!FileExists(dir.path()));
    QVERIFY(!FileExists(hidden));
    QVERIFY(!FileExists(dir.filePath("none")));
    QVERIFY(!FileExists(QString()));
    QCOMPARE(ShortPath(dir.path()), dir.path());
}

QTEST_GUILESS_MAIN(TestConfig)
#include "test_config.moc"
