// SPDX-License-Identifier: GPL-3.0-or-later

// The words following the reciter, in the real window on the demo course with
// the real player and sound server: how long after a word reaches the sound
// server's output it is lit. The example's file starts at the sink when its
// first loud sample is heard less its own lead-in; each word then sounds at its
// author's time after that. Run under the test services:
// eval "$(scripts/test-services start)"; build/bench/bench_words build/app
#include "app/mainwindow.h"
#include "app/processsetup.h"
#include "leadin.h"
#include "menu/menucontrols.h"
#include "practice/authorstimes.h"
#include "practice/examplespanel.h"
#include "practice/practicesession.h"
#include "practice/wordfollower.h"
#include "sound/api/mediaplayer.h"
#include "sound/program/mediabackend.h"
#include "soundprobe.h"
#include "widgets/activelink.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

int main(int argc, char *argv[])
{
    ChooseMediaBackend();
    QApplication app(argc, argv);
    SetUpApplication();
    QTextStream out(stdout);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    // The madd lesson's example 1, which carries its word times.
    const int chapter = 5, lesson = 2;
    QTemporaryDir learner;
    SinkProbe probe;
    Platform platform;
    platform.soundFolders = { QStringLiteral(RATTIL_APP_DIR) };
    MainWindow window(folder, platform);
    window.SetLearnerFolders(learner.path(), learner.path());
    window.Load();
    window.show();

    probe.AfterTheChime();

    window.menuControls.ImenuL[chapter]->press();
    WaitFor([] { return false; }, 300);
    probe.Drain();
    window.menuControls.Alink[lesson]->press();
    double sounded = -1;
    std::vector<std::pair<int, double>> lit; // word, clock ms
    const auto watch = [&] {
        if (!window.practice)
            return;
        const int current = window.practice->Examples().Follower().Current();
        if (current >= 0 && (lit.empty() || lit.back().first != current))
            lit.emplace_back(current, BenchNowMs());
    };
    WaitFor(
        [&] {
            watch();
            return (sounded = probe.Loud(20)) >= 0;
        },
        4000);
    const QString file = window.MP->FileName();
    const auto words = AuthorsTimes(file).first;
    const double last = words.empty() ? 0 : words.back().end * 1000;
    WaitFor(
        [&] {
            watch();
            return BenchNowMs() - sounded > last + 500;
        },
        30000);
    const double lead = LeadInMs(file, 20.0 / 128.0);
    const double fileStart = sounded - lead;
    std::vector<double> delays;
    for (const auto &[word, at] : lit) {
        if (word < int(words.size()))
            delays.push_back(at - (fileStart + words[size_t(word)].start * 1000));
    }
    std::sort(delays.begin(), delays.end());
    out << "words=" << words.size() << " lit=" << lit.size();
    if (!delays.empty())
        out << " highlight_delay_median_ms=" << delays[delays.size() / 2] << " highlight_delay_max_ms=" << delays.back()
            << " highlight_delay_min_ms=" << delays.front();
    out << " (target under 50 ms behind the sound)" << Qt::endl;
    window.close();
    return lit.empty() ? 1 : 0;
}
