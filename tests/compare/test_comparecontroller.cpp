// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/comparecontroller.h"
#include "compare/compareview.h"
#include "compare/speechfeatures.h"
#include "sound/program/mediabackend.h"
#include "sound/qt/qtsoundmodule.h"
#include "synthspeech.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The controller the examples panel drives: analysis off the window's thread,
// the cache per take, the view's room, and playing a marked stretch.
class TestCompareController final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ChooseMediaBackend(); } // the program's own decoder, wherever it has one
    void init();
    void cachedUntilAFileChanges_data();
    void cachedUntilAFileChanges();
    void theNewestTakeWins();
    void clickOnAStretchPlaysReciterThenTake();
    void showsOnlyWhereThereIsRoom_data();
    void showsOnlyWhereThereIsRoom();

private:
    struct Played
    {
        QString path;
        double from;
        double to;
    };
    CompareController::Callouts callouts();
    bool write(const QString &path, double stretch, bool silent = false);
    void setModified(const QString &path, int secondsLater);

    QTemporaryDir m_dir;
    QString m_reference;
    QList<Played> m_played;
    QStringList m_announced;
};

bool TestCompareController::write(const QString &path, double stretch, bool silent)
{
    const std::vector<SynthPart> parts = silent ? std::vector<SynthPart> {} : syntheticWord(stretch);
    return writeTakeFile(path, synthesize(parts, SpeechFeatures::Rate, 0.3, 0.3, 0.003f));
}

void TestCompareController::setModified(const QString &path, int secondsLater)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(secondsLater), QFileDevice::FileModificationTime));
}

CompareController::Callouts TestCompareController::callouts()
{
    CompareController::Callouts c;
    c.PlayStretch = [this](const QString &path, double from, double to, double) {
        m_played.append({ path, from, to });
    };
    c.Announce = [this](const QString &sentence) { m_announced << sentence; };
    return c;
}

void TestCompareController::init()
{
    m_played.clear();
    m_announced.clear();
    // The reciter's file goes through the multimedia decoder as the MP3 would.
    m_reference = m_dir.filePath(QStringLiteral("reference.wav"));
    QVERIFY(write(m_reference, 1.0));
}

void TestCompareController::cachedUntilAFileChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("analysedAgain");
    QTest::addColumn<int>("longAfter");
    QTest::newRow("nothing changed") << "none" << false << 1;
    QTest::newRow("a new take saved") << "retake" << true << 0;
    QTest::newRow("same take, saved later") << "touch take" << true << 1;
    QTest::newRow("reciter's file replaced") << "touch reference" << true << 1;
}

void TestCompareController::cachedUntilAFileChanges()
{
    QFETCH(QString, change);
    QFETCH(bool, analysedAgain);
    QFETCH(int, longAfter);
    const QString take = m_dir.filePath(QStringLiteral("1-2-1.wav"));
    QVERIFY(write(take, 2.0));
    CompareView view;
    QtSoundModule sound;
    CompareController controller(view, callouts(), sound);
    QSignalSpy compared(&controller, &CompareController::Compared);

    controller.CompareAfterSave(m_reference, take);
    QVERIFY(controller.IsBusy()); // the window goes on while the worker reads
    QTRY_COMPARE_WITH_TIMEOUT(compared.count(), 1, 10000);
    QVERIFY(!controller.IsBusy());
    QVERIFY2(controller.Current().CountOf(TakeComparison::HeldSegment::Kind::Long) == 1,
        qPrintable(controller.Current().Sentence()));

    if (change == "retake")
        QVERIFY(write(take, 1.0));
    else if (change == "touch take")
        setModified(take, 5);
    else if (change == "touch reference")
        setModified(m_reference, 5);

    controller.CompareAfterSave(m_reference, take);
    QCOMPARE(controller.IsBusy(), analysedAgain);
    QTRY_COMPARE_WITH_TIMEOUT(compared.count(), 2, 10000);
    QCOMPARE(controller.Current().CountOf(TakeComparison::HeldSegment::Kind::Long), longAfter);
    QCOMPARE(m_announced.size(), 2);
    QCOMPARE(m_announced.last(), controller.Current().Sentence());
}

void TestCompareController::theNewestTakeWins()
{
    const QString first = m_dir.filePath(QStringLiteral("first.wav"));
    const QString second = m_dir.filePath(QStringLiteral("second.wav"));
    QVERIFY(write(first, 2.0));
    QVERIFY(write(second, 1.0));
    CompareView view;
    QtSoundModule sound;
    CompareController controller(view, callouts(), sound);
    QSignalSpy compared(&controller, &CompareController::Compared);

    controller.CompareAfterSave(m_reference, first);
    controller.CompareAfterSave(m_reference, second);
    QTRY_COMPARE_WITH_TIMEOUT(compared.count(), 1, 10000);
    // The first take's analysis ends too; it must not replace the newer one.
    QTest::qWait(500);
    QCOMPARE(compared.count(), 1);
    QVERIFY(controller.Current().segments.empty());
    QCOMPARE(view.Comparison().Sentence(), controller.Current().Sentence());

    // ...but it was kept: going back to the first take needs no new analysis.
    controller.CompareAfterSave(m_reference, first);
    QVERIFY(!controller.IsBusy());
    QCOMPARE(controller.Current().segments.size(), size_t(1));
}

void TestCompareController::clickOnAStretchPlaysReciterThenTake()
{
    const QString take = m_dir.filePath(QStringLiteral("long.wav"));
    QVERIFY(write(take, 2.0));
    QWidget panel;
    panel.resize(400, 200);
    CompareView view;
    view.setParent(&panel);
    QtSoundModule sound;
    CompareController controller(view, callouts(), sound);
    QSignalSpy compared(&controller, &CompareController::Compared);
    controller.FitInto(QRect(10, 100, 380, 90));
    controller.CompareAfterSave(m_reference, take);
    QTRY_COMPARE_WITH_TIMEOUT(compared.count(), 1, 10000);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QVERIFY(view.isVisible());

    // Off the marked stretch nothing plays.
    const QRectF marked = view.SegmentRect(0);
    QVERIFY(!marked.isEmpty());
    const QPoint outside = marked.right() + 20 < view.width() ? QPoint(int(marked.right()) + 20, view.height() / 2)
                                                              : QPoint(int(marked.left()) - 20, view.height() / 2);
    QTest::mouseClick(&view, Qt::LeftButton, {}, outside);
    QTest::qWait(50);
    QVERIFY(m_played.isEmpty());

    QTest::mouseClick(&view, Qt::LeftButton, {}, marked.center().toPoint());
    QCOMPARE(m_played.size(), 1);
    const auto &segment = controller.Current().segments.front();
    QCOMPARE(m_played[0].path, m_reference);
    QVERIFY(m_played[0].from <= segment.referenceStart && m_played[0].to >= segment.referenceEnd);
    // The take follows once the reciter's stretch has had its time, not before.
    QTest::qWait(int((m_played[0].to - m_played[0].from) * 1000) / 2);
    QCOMPARE(m_played.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_played.size(), 2, 5000);
    QCOMPARE(m_played[1].path, take);
    QVERIFY(m_played[1].from <= segment.takeStart && m_played[1].to >= segment.takeEnd);
    // The stretch played is the held vowel of the take: 0.3 s lead, then the word.
    const double vowelStart = partStart(syntheticWord(2.0), 2, 0.3);
    const double vowelEnd = partStart(syntheticWord(2.0), 3, 0.3);
    QVERIFY(m_played[1].from < vowelEnd && m_played[1].to > vowelStart);

    // On repeat (Shift and Enter): reciter, learner, reciter, learner, until
    // Escape, after which nothing more comes.
    m_played.clear();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(controller.Repeating(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(m_played.size(), 4, 10000);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(m_played[i].path, i % 2 ? take : m_reference);
    QTest::keyClick(&view, Qt::Key_Escape);
    QCOMPARE(controller.Repeating(), -1);
    const qsizetype heard = m_played.size();
    QTest::qWait(int((m_played[0].to - m_played[0].from + m_played[1].to - m_played[1].from) * 1000)
        + 2 * CompareController::GapMs + 200);
    QCOMPARE(m_played.size(), heard);

    // Another example chosen: the second half of a pending pair is not played.
    m_played.clear();
    QTest::mouseClick(&view, Qt::LeftButton, {}, marked.center().toPoint());
    controller.Clear();
    QTest::qWait(int((m_played[0].to - m_played[0].from) * 1000) + CompareController::GapMs + 200);
    QCOMPARE(m_played.size(), 1);
    QVERIFY(!view.isVisible());
}

void TestCompareController::showsOnlyWhereThereIsRoom_data()
{
    QTest::addColumn<QRect>("room");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("visible");
    QTest::newRow("tall enough") << QRect(0, 120, 300, 80) << false << true;
    QTest::newRow("too low") << QRect(0, 170, 300, 30) << false << false;
    QTest::newRow("too narrow") << QRect(0, 120, 60, 80) << false << false;
    QTest::newRow("nothing heard, room") << QRect(0, 120, 300, 80) << true << true;
    QTest::newRow("nothing heard, no room") << QRect(0, 190, 300, 10) << true << false;
}

void TestCompareController::showsOnlyWhereThereIsRoom()
{
    QFETCH(QRect, room);
    QFETCH(bool, silent);
    QFETCH(bool, visible);
    const QString take = m_dir.filePath(QStringLiteral("room.wav"));
    QVERIFY(write(take, 2.0, silent));
    QWidget panel;
    panel.resize(300, 200);
    CompareView view;
    view.setParent(&panel);
    panel.show();
    QtSoundModule sound;
    CompareController controller(view, callouts(), sound);
    QSignalSpy compared(&controller, &CompareController::Compared);
    controller.FitInto(room);
    controller.CompareAfterSave(m_reference, take);
    QTRY_COMPARE_WITH_TIMEOUT(compared.count(), 1, 10000);

    QCOMPARE(view.isVisible(), visible);
    if (visible)
        QCOMPARE(view.geometry(), room);
    // Whether drawn or not, a screen reader has the sentence.
    QCOMPARE(m_announced.size(), 1);
    QCOMPARE(view.accessibleName(), m_announced.first());
    QVERIFY(m_announced.first().contains(silent ? QStringLiteral("لم يُسمع صوت") : QStringLiteral("أطول")));

    // The learner drags the splitter: the drawing follows the room it is given.
    controller.FitInto(QRect(0, 40, 300, 160));
    QVERIFY(view.isVisible());
    controller.FitInto(QRect(0, 195, 300, 5));
    QVERIFY(!view.isVisible());
}

QTEST_MAIN(TestCompareController)
#include "test_comparecontroller.moc"
