// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakemixer.h"
#include "sound/program/latemixerdevice.h"

#include <QSignalSpy>
#include <QtTest>
#include <memory>

using Line = MixerDevice::Line;

class TestLateMixer final : public QObject
{
    Q_OBJECT
private slots:
    void standsForTheLibrarysMixer_data();
    void standsForTheLibrarysMixer();
};

// How the library's mixer arrives: handed in once the library has loaded after
// the first frame, brought by a question asked before that, or never (the
// library could not be loaded). The bars wait for it in any case.
void TestLateMixer::standsForTheLibrarysMixer_data()
{
    QTest::addColumn<QString>("arrival");
    QTest::addColumn<int>("speakers"); // what the speakers read, -1 for missing
    QTest::newRow("handed in after the first frame") << "loaded" << 40;
    QTest::newRow("brought by a question") << "asked" << 40;
    QTest::newRow("no library") << "none" << -1;
}

void TestLateMixer::standsForTheLibrarysMixer()
{
    QFETCH(QString, arrival);
    QFETCH(int, speakers);
    auto fake = std::make_unique<FakeMixerDevice>();
    fake->addLine(Line::Speakers, 0, 100, 40);
    int brought = 0;
    LateMixerDevice *late = nullptr;
    LateMixerDevice device([&] {
        ++brought;
        late->SetDevice(arrival == "none" ? nullptr : fake.get());
    });
    late = &device;
    // The skin step registers the bars; the first frame asks for the open.
    int settled = 0;
    device.WhenSettled([&] { ++settled; });
    device.StartOpening();
    if (arrival == "loaded")
        device.SetDevice(fake.get());

    QCOMPARE(device.Volume(Line::Speakers).value_or(-1), speakers);
    QCOMPARE(device.IsOpen(), speakers >= 0);
    QCOMPARE(brought, arrival == "loaded" ? 0 : 1);
    QTRY_COMPARE(settled, 1);
    // Asked again, it is not brought again.
    device.HasMute(Line::Speakers);
    QCOMPARE(brought, arrival == "loaded" ? 0 : 1);
    if (speakers >= 0) {
        // What another mixer program changes reaches the bars through it.
        QSignalSpy changed(&device, &MixerDevice::Changed);
        fake->changeOutside(Line::Speakers, 70, false);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(device.Volume(Line::Speakers).value_or(-1), 70);
        QVERIFY(device.SetVolume(Line::Speakers, 55));
        QCOMPARE(fake->line(Line::Speakers).value, 55);
    } else {
        QVERIFY(!device.SetVolume(Line::Speakers, 55));
    }
}

QTEST_MAIN(TestLateMixer)
#include "test_latemixer.moc"
