// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "content/pageposition.h"
#include "practice/examplefiles.h"
#include "practice/practicecontrols.h"

#include <QObject>
#include <QString>
#include <functional>

class MediaPlayer;
class Recorder;
struct Settings;
class WordFollower;

// The examples panel of the open page: the numbered example buttons, choosing an
// example (its sound, text or picture, its reciter), and opening, closing and
// laying out the panel body below the bar.
class ExamplesPanel final : public QObject
{
    Q_OBJECT
public:
    struct Callouts
    {
        // The pane layout's stepwise slide of the bar: "V-" up, "V+" down.
        std::function<void(const QString &direction, qint32 distance, qint16 step)> SlidePanelBar;
        // Top of the bar while the panel is closed.
        std::function<int()> PanelClosedTop;
        // The document scroll bar's track follows the pane's new height.
        std::function<void()> RecomputeScrollTrack;
        std::function<void(bool shown)> ShowSplitter;
        std::function<PagePosition()> Position;
        // Sets the window's message and shows the message dialog.
        std::function<void(const QString &text)> ShowMessage;
        // The platform's standard message box.
        std::function<void(const QString &text)> ShowMessageBox;
        // The example on show changes, or the panel closes: what was said of
        // the last take (the comparison) no longer belongs here.
        std::function<void()> ExampleLeft;
        // How many takes the learner has of an example, by its files' name.
        std::function<int(const QString &baseName)> TakesOf;
    };

    // Folder paths end with a separator.
    struct Folders
    {
        QString ImagesPath;
        QString ExamplesDir;
        QString TextDir;
        QString DataImagesDir;
    };

    static inline const QString ExampleFileMissing = QStringLiteral("خطأ: أحد الملفات الخاصة بهذا المثال ناقص");
    // An example with no sound of its own, only its text, gives the learner
    // the take limit of an example of this many seconds.
    static constexpr qint32 TextOnlySeconds = 10;
    static inline const QString ChapterFileMissing = QStringLiteral("أحد الملفات الخاصة بهذا الباب ناقص");

    ExamplesPanel(const PracticeControls &controls, const Settings &settings, MediaPlayer &MP, Recorder &recorder,
        Folders folders, Callouts callouts, QObject *parent = nullptr);

    void SelectExample(int n);
    void OpenExamplesPanel();
    void CloseExamplesPanel();
    void LayoutExamplesPanel();
    void ShowExampleText(const QString &text);
    void FitTitleHeight();
    // The page logic's one call when a page opens: n example buttons, or none.
    void SetupExampleButtons(int n);
    // The reciter's speed changed: the player and the take's limit follow it.
    void SpeedChanged(double speed);

    // The example's files, without extension: c-l-n, or c-l-k-n on an entry sub-page.
    QString BaseName(int n) const;
    // Marks the buttons of the examples practised and tells a listener how
    // often; after a take is saved, as when a page opens.
    void ShowProgress();
    // The takes' pill of the example on show: how many, and whether any.
    void ShowTakesCount();

    // The words of the example on show, lit as the reciter reads them.
    const WordFollower &Follower() const { return *m_follower; }

    qint16 MarkedExample = 0;
    QString ReciterName;
    bool PanelOpen = false;

private:
    void MarkExample(int n);
    void CheckPlayer();
    int PanelClosedTop() const;

    PracticeControls m_c;
    const Settings &m_settings;
    MediaPlayer &m_MP;
    Recorder &m_recorder;
    Folders m_folders;
    ExampleFiles m_files;
    bool m_exampleHasSound = false;
    Callouts m_callouts;
    int m_examples = 0;
    WordFollower *m_follower = nullptr;
};
