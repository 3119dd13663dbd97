// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakemixer.h"
#include "../support/fakes.h"
#include "../support/fakesoundmodule.h"
#include "../support/fakewave.h"
#include "../support/testfiles.h"

#include "app/mainwindow.h"
#include "pageview/documentview.h"
#include "widgets/activelink.h"

#include <QStringEncoder>
#include <QtTest>

namespace {

// One chapter with a lesson of two examples whose page links to a second page.
struct KeyboardCourse
{
    QTemporaryDir dir;
    KeyboardCourse()
    {
        QStringEncoder encoder("windows-1256");
        write(dir.filePath("contents.ini"), encoder.encode(QStringLiteral("@ الأول\r\n# أ*2\r\n# ب*0\r\n")));
        write(dir.filePath("data/html/first.htm"), "<html><body>first</body></html>");
        write(dir.filePath("data/html/nofile.htm"), "<html><body>missing</body></html>");
        write(dir.filePath("data/html/Ch1-1.htm"), "<html><body><p>lesson</p></body></html>");
        write(dir.filePath("data/examples/1-1-1.mp3"), "x");
        write(dir.filePath("data/examples/1-1-2.mp3"), "x");
    }
};

QString nameOf(const QWidget *w)
{
    return w ? w->objectName() : QStringLiteral("(none)");
}

} // namespace

class TestKeyboard final : public QObject
{
    Q_OBJECT
private slots:
    void lessonRoadByKeys();
    void tabVisitsEveryControlInOrderBothWays();
};

// The road of a lesson without the mouse, step by step; each step starts where
// the last left off. Space steps first put the focus on their control, as the
// Tab steps before them show the keyboard can.
void TestKeyboard::lessonRoadByKeys()
{
    struct Step
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *focusAfter;
        const char *effect;
    };
    const Step steps[] = {
        { Qt::Key_Tab, {}, "Immin", "" },
        { Qt::Key_Tab, {}, "ImenuL1", "" },
        { Qt::Key_Return, {}, "ImenuL1", "chapter open" },
        { Qt::Key_Tab, {}, "Alink1", "" },
        { Qt::Key_Return, {}, "Alink1", "lesson open" },
        { Qt::Key_Backtab, Qt::ShiftModifier, "ImenuL1", "" },
        { Qt::Key_Space, {}, "SampleN2", "example 2" },
        // Record gives way to Stop, and the focus goes with it; Stop gives way to
        // Play, which comes next after it.
        { Qt::Key_Space, {}, "Astop", "recording" },
        { Qt::Key_Return, {}, "Aplay", "saved" },
    };

    KeyboardCourse course;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakeWaveAudio audio;
    FakeWaveInput input;
    FakePlatform platformFakes(&player, &messages, &mixer, &audio, &input);
    MainWindow w(course.dir.path(), platformFakes);
    w.Load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ImExit->setFocus(Qt::TabFocusReason);

    for (const Step &step : steps) {
        const QString focusAfter = QString::fromLatin1(step.focusAfter);
        const QString effect = QString::fromLatin1(step.effect);
        if (step.key == Qt::Key_Space) {
            const char *control = effect == "recording" ? "Arec" : step.focusAfter;
            auto *target = w.findChild<ActiveLink *>(QString::fromLatin1(control));
            QVERIFY2(target && target->isVisible(), control);
            target->setFocus(Qt::TabFocusReason);
        }
        QTest::keyClick(QApplication::focusWidget(), step.key, step.modifiers);
        // A control that hides itself on its press hands the focus on once the
        // press is over.
        QTRY_COMPARE(nameOf(QApplication::focusWidget()), focusAfter);

        if (effect == "chapter open") {
            QCOMPARE(w.menu->CurChapter, qint16(1));
        } else if (effect == "lesson open") {
            QCOMPARE(w.menu->CurLesson, qint16(1));
            QTRY_COMPARE(w.RTF->LocationURL(), w.HtmlDir + "Ch1-1.htm");
            QVERIFY(w.practiceControls.SampleN[2]->isVisible());
            QVERIFY(!w.practiceControls.SampleN[3]->isVisible());
        } else if (effect == "example 2") {
            QCOMPARE(player.FileName(), w.ExamplesDir + "1-1-2.mp3");
        } else if (effect == "recording") {
            QVERIFY(audio.commands.contains("record capture"));
            QVERIFY(w.practiceControls.Astop->isVisible());
        } else if (effect == "saved") {
            QVERIFY(audio.commands.contains("save capture " + w.RecDir + "1-1-2.wav"));
        }
    }
}

void TestKeyboard::tabVisitsEveryControlInOrderBothWays()
{
    KeyboardCourse course;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    mixer.addLine(MixerDevice::Line::Speakers, 0, 100, 50);
    mixer.addLine(MixerDevice::Line::Microphone, 0, 100, 50);
    FakeWaveAudio audio;
    FakeWaveInput input;
    FakePlatform platformFakes(&player, &messages, &mixer, &audio, &input);
    MainWindow w(course.dir.path(), platformFakes);
    w.Load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.menu->ChapterClick(1);
    w.menu->LessonClick(1);
    QTRY_VERIFY(!w.RTF->Busy());

    const QList<QWidget *> order = w.KeyboardOrder();
    const auto at = [&order](const QWidget *c) { return order.indexOf(const_cast<QWidget *>(c)); };
    const PracticeControls &p = w.practiceControls;
    // Right to left and top to bottom: the menu, the page, the examples from
    // the first, the recorder, the sound controls; hidden ones are not stops.
    QVERIFY(at(w.menuControls.ImenuL[1]) < at(w.menuControls.Alink[1]));
    QVERIFY(at(w.menuControls.Alink[2]) < at(w.RTF->Widget()));
    QVERIFY(at(w.RTF->Widget()) < at(p.SampleN[1]));
    QCOMPARE(at(p.SampleN[2]), at(p.SampleN[1]) + 1);
    QVERIFY(at(p.SampleN[2]) < at(p.Arec));
    QVERIFY(at(p.Arec) < at(w.mixerControls.WaveIcon));
    QCOMPARE(at(p.SampleN[3]), -1);
    QCOMPARE(at(p.Astop), -1);

    // Tab walks the list and comes round; Shift+Tab walks it back.
    order.first()->setFocus(Qt::TabFocusReason);
    for (int i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        QWidget *expected = order[i % order.size()];
        QVERIFY2(focused == expected || expected->isAncestorOf(focused),
            qPrintable(QStringLiteral("step %1: %2, not %3").arg(i).arg(nameOf(focused), nameOf(expected))));
    }
    for (int i = order.size() - 1; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QWidget *focused = QApplication::focusWidget();
        QVERIFY2(focused == order[i] || order[i]->isAncestorOf(focused),
            qPrintable(QStringLiteral("back %1: %2, not %3").arg(i).arg(nameOf(focused), nameOf(order[i]))));
    }
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
