// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/platform.h"
#include "app/popupmenu.h"
#include "base/settings.h"
#include "content/catalogue.h"
#include "content/pagecontrols.h"
#include "layout/panecontrols.h"
#include "menu/lessonmenu.h"
#include "mixer/mixercontrols.h"
#include "practice/practicecontrols.h"
#include "skin/formdesign.h"
#include "skin/windowdrag.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <memory>

class ActiveLink;
class DocumentScrollBar;
class FirstFrame;
class KeyboardOrder;
class LessonPages;
class MediaPlayer;
class MixerDevice;
class MVolume;
class PaneLayout;
class PopupMenu;
class PracticeProgress;
class PracticeSession;
class SkinnedMessages;
class SlowedSounds;
class SoftwareVolume;
class SoundParts;
class SoundModule;
class StatusLine;
class VolumeControls;
class WaveAudio;
class WaveInput;

// The main window `main`: it owns every control and wires the subsystems
// together in start-up order; the practice loop of the examples panel is the
// PracticeSession's. It draws nothing of its own: the background and every
// button are pictures of the course's skin folder.
class MainWindow final : public QWidget
{
    Q_OBJECT
public:
    // Design size of the window; its outline is cut to the skin.
    static constexpr int DesignWidth = FormDesign::WindowWidth;
    static constexpr int DesignHeight = FormDesign::WindowHeight;

    explicit MainWindow(const QString &appFolder, Platform platform = {}, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: every step runs even when an earlier one failed.
    void Load();

    // The text the message dialog shows; set right before showing it.
    QString message;
    void ShowMessage();
    // Sets the message and shows it.
    void Tell(const QString &text);

    // Where the learner's recordings (rec/) and savedoptions.ini go: the course
    // folder itself unless the course cannot be written (see coursefolders.h).
    // Set before Load.
    // journalFolder: where takes are journalled when rec/ cannot be written.
    void SetLearnerFolders(
        const QString &dataFolder, const QString &configFolder, const QString &journalFolder = QString());
    QString JournalFolder;
    QString DataFolder;
    QString ConfigFolder;

    // Paths, each with its trailing separator.
    QString AppFolder;
    QString ImagesPath;
    QString HtmlDir;
    QString ExamplesDir;
    QString DataImagesDir;
    QString RecDir;
    QString TextDir;
    QString StartPage;
    QString NoFilePage;

    Settings settings;
    Catalogue catalogue;

    PopupMenu *PopupMenuHandle = nullptr;
    DocumentView *RTF = nullptr;
    // Made by EnsureSound, unless handed in.
    MediaPlayer *MP = nullptr;
    QWidget *RTFP = nullptr;
    ActiveLink *ImExit = nullptr;
    ActiveLink *Immin = nullptr;

    // The lesson menu: its controls and its behaviour (open chapter, selected lesson).
    MenuControls menuControls;
    LessonMenu *menu = nullptr;

    // The lesson pages and index lessons, the document's scroll bar and the
    // split between the document pane and the examples panel.
    PageControls pageControls;
    ScrollBarControls scrollBarControls;
    PaneControls paneControls;
    DocumentScrollBar *scrollBar = nullptr;
    PaneLayout *paneLayout = nullptr;
    LessonPages *pages = nullptr;
    // The sound controls: the mixer, the program's own output line that every
    // player follows, and the wave and microphone bars, steps and mute toggles.
    SoftwareVolume *programVolume = nullptr;
    MixerDevice *mixer = nullptr;
    MixerControls mixerControls;
    VolumeControls *volume = nullptr;

    // What makes every part that sounds, records or reads a sound file: the
    // sound library's, or the silent one when it could not be loaded. Null
    // until EnsureSound, and so are the reciter's player and the recorder's
    // devices unless they were handed in.
    SoundModule *sound = nullptr;
    void EnsureSound();

    // The examples panel's controls and the practice loop on them, made by
    // EnsurePracticeParts: until then the controls are null and so is practice.
    PracticeControls practiceControls;
    WaveAudio *waveAudio = nullptr;
    WaveInput *waveInput = nullptr;
    // The reciter slowed with its pitch kept, made in memory for the players.
    SlowedSounds *slowedSounds = nullptr;
    PracticeSession *practice = nullptr;
    // What the learner has practised, as the takes in rec/ tell it.
    std::unique_ptr<PracticeProgress> progress;
    // Spoken news for a listener who cannot see the buttons change.
    StatusLine *m_statusLine = nullptr;

    // The controls Tab visits (see keyboardorder.h).
    QList<QWidget *> KeyboardOrder(bool shownOnly = true) const;

    // Makes the examples panel's controls and parts if they are not made yet;
    // after Load only (they need the course's folders and skin).
    void EnsurePracticeParts();

    // What a chosen popup command does; 0 (dismissed) does nothing.
    void RunPopupCommand(int id);

    // Asked before the window closes when a take could be kept nowhere.
    static inline const QString TakeAtRiskQuestion
        = QStringLiteral("تعذر حفظ تسجيلك الأخير في أي مكان، وسيضيع إن أغلقت البرنامج الآن.") + QStringLiteral("\r\n")
        + QStringLiteral("أفرغ مساحة على القرص ثم سجّل مرة أخرى ليُحفظ، أو اخرج دونه.");
    static inline const QString LoseTakeAnswer = QStringLiteral("الخروج دون التسجيل");
    static inline const QString StayAnswer = QStringLiteral("البقاء في البرنامج");

    // The end asked for by the system (a logout's signal): nothing is asked,
    // whatever is at risk.
    void CloseNow();

signals:
    // Shutdown has saved the options and the window is going away.
    void unloaded();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void CreateControls();
    void SetPaths();
    void CreatePopupMenu();
    void ApplySkin();
    void CreatePageParts();
    void CreatePracticeParts();
    void Unload();

    std::unique_ptr<SkinnedMessages> m_ownMessages;
    std::unique_ptr<::KeyboardOrder> m_keyboard;
    std::unique_ptr<SoundParts> m_sound;
    std::unique_ptr<MVolume> m_mvolume;
    MessageSink *m_messages = nullptr;
    QPixmap m_background;
    QString m_pendingChime;
    bool m_unloaded = false;
    bool m_closingNow = false;
    bool m_loaded = false;
    FirstFrame *m_firstFrame = nullptr;
    WindowDrag m_drag { *this };
};
