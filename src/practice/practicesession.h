// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "content/pageposition.h"
#include "practice/examplefiles.h"
#include "practice/practicecontrols.h"
#include "practice/recorder.h"

#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>

class CompareController;
class CompareView;
class ExamplesPanel;
class MediaPlayer;
class PracticeProgress;
class ReciterSpeed;
class RepeatRound;
class SlowedSounds;
class SoftwareVolume;
class SoundMeter;
class SoundModule;
class StretchPlayer;
class TakesList;
class WaveAudio;
class WaveInput;
struct Settings;

// The practice loop of the examples panel: the examples, the recorder and its
// meter, the reciter's speed, "repeat after me", the takes' list and the
// comparison of each take with the reciter. It owns them and wires them to
// one another; the window gives it the controls, the sound devices and a few
// callouts to the rest of itself, and tells it when a page opens.
//
// The reciter's speed is held here once (ReciterSpeed) and passed down: to
// the player, to the recorder, which writes it into each take's file, and so
// to the comparison, which judges every take at the speed it was made at.
class PracticeSession final : public QObject
{
    Q_OBJECT
public:
    struct Devices
    {
        WaveAudio *audio = nullptr;
        WaveInput *input = nullptr;
        // The reciter's player.
        MediaPlayer *reciter = nullptr;
        SoundModule *sound = nullptr;
        SoftwareVolume *volume = nullptr;
        SlowedSounds *slowed = nullptr;
        // Made by the sound module unless one is given.
        StretchPlayer *stretch = nullptr;
    };

    struct Folders
    {
        QString images;
        ExampleFiles::Folders files;
        // Where journals go when rec/ cannot be written; may be empty.
        QString journalFallback;
    };

    struct Callouts
    {
        std::function<PagePosition()> Position;
        // The window's modal message card and the plain message box.
        std::function<void(const QString &text)> ShowMessage;
        std::function<void(const QString &text)> ShowMessageBox;
        // A sentence for the status line (a screen reader hears it).
        std::function<void(const QString &text, bool urgent)> Announce;
        // The pane layout's part in opening and closing the panel.
        std::function<void(const QString &direction, qint32 distance, qint16 step)> SlidePanelBar;
        std::function<int()> PanelClosedTop;
        std::function<void()> RecomputeScrollTrack;
        std::function<void(bool shown)> ShowSplitter;
        // The takes on disk changed: the menu's marks follow.
        std::function<void()> ProgressChanged;
    };

    // What a learner is told at start when a take cut off by a crash came
    // back; the examples follow.
    static inline const QString RecoveredMessage = QStringLiteral("انقطع البرنامج أثناء تسجيلك، فاستُعيد ما سُجّل منه: ");
    // After a take's length, when a full disk had cut its journal short.
    static inline const QString PartialMessage = QStringLiteral("، وهو جزء منه فقط، من ");
    // The take a recovered one replaced is among the earlier takes.
    static inline const QString EarlierKeptMessage
        = QStringLiteral("؛ وما كان قبله محفوظ في تسجيلاتك السابقة، فلم يُحذف شيء");
    // Journals that could not become their takes this time; the examples follow.
    static inline const QString NotRecoveredMessage
        = QStringLiteral("لم يُستعد بعدُ تسجيلك، وهو باقٍ كما هو حتى التشغيل التالي: ");
    // Takes a crash left in their journals become takes again (before any
    // part of the session is made); returns what the learner is to be told,
    // empty when nothing came back.
    static QString RecoverTakes(const QString &recDir, const QString &journalFallback);

    PracticeSession(const PracticeControls &controls, Devices devices, const Settings &settings,
        PracticeProgress &progress, Folders folders, Callouts callouts, QObject *parent = nullptr);
    ~PracticeSession() override;

    // The page logic's one call when a page opens: n examples, or none.
    // Nothing said of the last page's take stays, and no round goes on.
    void PageOpened(int n);
    // The menu leaves the page: the panel closes, a take in progress saved.
    void ClosePanel();
    bool PanelOpen() const;
    // The panel's own layout, then the comparison in the room it leaves.
    void Layout();
    // The panel's pictures; bar: the examples bar's picture and place.
    void ApplySkin(const QPixmap &bar, const QRect &barGeometry);
    // The window is about to close: a take still running is saved, or kept
    // where the next start recovers it. False when nothing could take it.
    bool SecureTakes();
    // The window is closing: a take still running is saved, nothing more starts.
    void Shutdown();

    void OpenTakesList();
    void CloseTakesList();

    // The parts, for the window's keyboard order and for tests.
    ExamplesPanel &Examples() const { return *m_examples; }
    Recorder &TheRecorder() const { return *m_recorder; }
    RepeatRound &Round() const { return *m_round; }
    ReciterSpeed &Speed() const { return *m_speed; }
    CompareController &Comparison() const { return *m_comparison; }
    CompareView &View() const { return *m_view; }
    TakesList &Takes() const { return *m_takesList; }
    StretchPlayer &Stretch() const { return *m_stretch; }

    // The speed a take was recorded at, as its file says; 1.0 when it says nothing.
    double SpeedOfTake(const QString &take) const;

signals:
    // A take is being judged against this reciter's sound, at this speed.
    void Judging(const QString &reference, const QString &take, double speed);

private:
    void createRecorder();
    void createExamples();
    void createComparison();
    void createRound();
    void createTakesList();
    void takeSaved(const QString &take);
    void takeChosen(const QString &path);
    void speedChanged(double speed);
    void judge(const QString &take);
    void fillTakesList();
    // A modal message holds the round for as long as it is in the way.
    void showMessage(const QString &text);
    void showMessageBox(const QString &text);
    void announce(const QString &text, bool urgent = false);

    PracticeControls m_c;
    Devices m_devices;
    const Settings &m_settings;
    PracticeProgress &m_progress;
    Folders m_folders;
    ExampleFiles m_files;
    Callouts m_callouts;

    std::unique_ptr<SoundMeter> m_meter;
    Recorder *m_recorder = nullptr;
    ExamplesPanel *m_examples = nullptr;
    CompareView *m_view = nullptr;
    CompareController *m_comparison = nullptr;
    StretchPlayer *m_stretch = nullptr;
    ReciterSpeed *m_speed = nullptr;
    RepeatRound *m_round = nullptr;
    TakesList *m_takesList = nullptr;

    // A take chosen from the list: its comparison is said when it comes.
    bool m_speakComparison = false;
    // Why the last take was not saved, in the recorder's words.
    QString m_notSaved;
};
