// SPDX-License-Identifier: GPL-3.0-or-later

// The real window on the demo course, with the real player and sound server:
// from a click on a lesson with examples to its first example reaching the
// sound server's output. The welcome chime has played first, as at every start.
// Run under the test services: eval "$(scripts/test-services start)".
#include "app/mainwindow.h"
#include "app/processsetup.h"
#include "leadin.h"
#include "menu/menucontrols.h"
#include "sound/api/mediaplayer.h"
#include "sound/program/mediabackend.h"
#include "soundprobe.h"
#include "widgets/activelink.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    ChooseMediaBackend();
    QApplication app(argc, argv);
    SetUpApplication();
    QTextStream out(stdout);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    const int chapter = argc > 2 ? atoi(argv[2]) : 2;
    const int lesson = argc > 3 ? atoi(argv[3]) : 1;
    if (chapter < 1 || chapter > MenuControls::ChapterItems || lesson < 1 || lesson > MenuControls::LessonLinks)
        return 2;
    QTemporaryDir learner;
    SinkProbe probe;
    // The sound library from the application folder, as the program finds it beside itself.
    Platform platform;
    platform.soundFolders = { QStringLiteral(RATTIL_APP_DIR) };
    MainWindow window(folder, platform);
    window.SetLearnerFolders(learner.path(), learner.path());
    window.Load();
    window.show();

    const bool heard = probe.AfterTheChime();

    window.menuControls.ImenuL[chapter]->press();
    WaitFor([] { return false; }, 300);
    probe.Drain();
    const double clicked = BenchNowMs();
    window.menuControls.Alink[lesson]->press();
    double sounded = -1;
    WaitFor([&] { return (sounded = probe.Loud(20)) >= 0; }, 4000);
    // The probe's threshold of 20 in 128 on the file's own scale.
    const double lead = LeadInMs(window.MP->FileName(), 20.0 / 128.0);
    out << "lesson_click_to_example_sound_ms=" << (sounded >= 0 ? sounded - clicked : -1.0)
        << " example_lead_in_ms=" << lead << " chime_heard=" << (heard ? "yes" : "no") << Qt::endl;
    window.close();
    return sounded >= 0 ? 0 : 1;
}
