// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../support/fakes.h"
#include "../support/fakewave.h"
#include "../support/testfiles.h"
#include "base/settings.h"
#include "practice/examplespanel.h"
#include "practice/practicecontrols.h"
#include "practice/recorder.h"
#include "practice/soundmeter.h"
#include "sound/api/waveaudio.h"
#include "sound/api/waveinput.h"
#include "widgets/activelink.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <memory>

// Plain coloured pictures, so a test can tell which one a control shows.
inline const QColor RestRed(220, 0, 0);
inline const QColor HoverGreen(0, 200, 0);
inline const QColor SelectedBlue(0, 0, 220);

inline char LookOf(const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return '?';
    const QColor c = pixmap.toImage().pixelColor(2, 2);
    if (c.red() > 150 && c.green() < 80 && c.blue() < 80)
        return 'R';
    if (c.green() > 150 && c.red() < 80 && c.blue() < 80)
        return 'H';
    if (c.blue() > 150 && c.red() < 80 && c.green() < 80)
        return 'S';
    return '?';
}

inline void WritePracticeSkin(const QString &images)
{
    QDir().mkpath(images);
    const auto save = [&](const QString &name, int w, int h, const QColor &color) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(color);
        QVERIFY(image.save(images + name));
    };
    save("SamplesBar.jpg", 775, 30, Qt::gray);
    save("SamplesBarUp.jpg", 30, 20, RestRed);
    save("SamplesBarUpActive.jpg", 30, 20, HoverGreen);
    save("SamplesBarDown.jpg", 30, 20, RestRed);
    save("SamplesBarDownActive.jpg", 30, 20, HoverGreen);
    for (int i = 1; i <= 13; ++i) {
        save(QStringLiteral("N%1.jpg").arg(i), 24, 24, RestRed);
        save(QStringLiteral("N%1MouseOver.jpg").arg(i), 24, 24, HoverGreen);
        save(QStringLiteral("N%1Selected.jpg").arg(i), 24, 24, SelectedBlue);
    }
    for (const char *name : { "Play", "Rec", "Pause", "Stop", "Listen" })
        save(QString::fromLatin1(name) + ".jpg", 40, 40, RestRed);
    for (const char *name : { "PlayOver", "recOver", "PauseOver", "StopOver", "ListenOver" })
        save(QString::fromLatin1(name) + ".jpg", 40, 40, HoverGreen);
    save("RecBack.jpg", 150, 70, Qt::gray);
    for (int k = 1; k <= 8; ++k)
        save(QStringLiteral("vm%1.jpg").arg(k), 9, 7, Qt::yellow);
}

// The practice classes on a bare window with the pane layout faked.
struct PracticeFixture
{
    QTemporaryDir dir;
    QString app;
    QWidget host;
    QWidget *FrameBar = nullptr;
    QWidget *Samples = nullptr;
    Settings settings;
    PracticeControls c;
    FakeWaveAudio audio;
    FakeWaveInput input;
    FakeMediaPlayer MP;
    PagePosition position { 3, 2, 0, false };
    QStringList dialogs;
    QStringList boxes;
    QStringList slides;
    QList<bool> splitter;
    int panelClosedTop = 0;
    int silenced = 0;
    QStringList announced;
    std::unique_ptr<SoundMeter> meter;
    std::unique_ptr<Recorder> recorder;
    std::unique_ptr<ExamplesPanel> panel;

    // The fakes stand in for the sound devices unless real ones are given.
    explicit PracticeFixture(WaveAudio *realAudio = nullptr, WaveInput *realInput = nullptr)
    {
        app = dir.path();
        WritePracticeSkin(app + "/Images/");
        host.resize(786, 632);
        FrameBar = new QWidget(&host);
        FrameBar->setGeometry(0, 535, 775, 40);
        Samples = new QWidget(&host);
        Samples->setGeometry(0, 575, 775, 0);
        c = CreatePracticeControls(FrameBar, Samples);
        LoadPracticeSkin(c, app + "/Images/", settings, QRect(0, 0, 775, 30));
        panelClosedTop = 575 - FrameBar->height();
        FrameBar->move(0, panelClosedTop);

        meter = std::make_unique<SoundMeter>(
            realInput ? *realInput : input, c.vm, [this](const QString &t) { boxes << t; });
        Recorder::Callouts rc;
        rc.Position = [this] { return position; };
        rc.ShowMessage = [this](const QString &t) { dialogs << t; };
        rc.SilenceOthers = [this] { ++silenced; };
        rc.Announce = [this](const QString &t) { announced << t; };
        recorder = std::make_unique<Recorder>(c, realAudio ? *realAudio : audio, MP, *meter, app + "/rec/", rc);

        ExamplesPanel::Callouts pc;
        pc.SlidePanelBar = [this](const QString &direction, qint32 distance, qint16 step) {
            slides << QStringLiteral("%1 %2 %3").arg(direction).arg(distance).arg(step);
            FrameBar->move(0, direction == "V-" ? FrameBar->y() - distance : FrameBar->y() + distance);
        };
        pc.PanelClosedTop = [this] { return panelClosedTop; };
        pc.RecomputeScrollTrack = [] {};
        pc.ShowSplitter = [this](bool shown) { splitter << shown; };
        pc.Position = [this] { return position; };
        pc.ShowMessage = [this](const QString &t) { dialogs << t; };
        pc.ShowMessageBox = [this](const QString &t) { boxes << t; };
        ExamplesPanel::Folders folders { app + "/Images/", app + "/data/examples/", app + "/data/text/",
            app + "/data/images/" };
        panel = std::make_unique<ExamplesPanel>(c, settings, MP, *recorder, folders, pc);
    }

    QString recording(const QString &name) const { return app + "/rec/" + name; }
};
