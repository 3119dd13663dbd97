// SPDX-License-Identifier: GPL-3.0-or-later

#include "examplespanel.h"

#include "base/codepage.h"
#include "base/colors.h"
#include "base/fonctions.h"
#include "base/numbers.h"
#include "base/settings.h"
#include "practice/authorstimes.h"
#include "practice/examplefiles.h"
#include "practice/practiceprogress.h"
#include "practice/recorder.h"
#include "practice/wordfollower.h"
#include "skin/skinfiles.h"
#include "sound/api/mediaplayer.h"
#include "widgets/activelink.h"

#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace {

// The first line of a course text file: Windows-1256, CR LF.
QString firstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return FromWindows1256(line);
}

} // namespace

ExamplesPanel::ExamplesPanel(const PracticeControls &controls, const Settings &settings, MediaPlayer &MP,
    Recorder &recorder, Folders folders, Callouts callouts, QObject *parent)
    : QObject(parent)
    , m_c(controls)
    , m_settings(settings)
    , m_MP(MP)
    , m_recorder(recorder)
    , m_folders(std::move(folders))
    , m_files({ m_folders.ExamplesDir, m_folders.TextDir, m_folders.DataImagesDir, QString() })
    , m_callouts(std::move(callouts))
    , m_follower(new WordFollower(*controls.AyaText, MP, this))
{
    m_follower->SetHighlight(ColorFromBgr(m_settings.LessonSelectedColor));
    for (int i = 1; i <= PracticeControls::ExampleButtons; ++i)
        connect(m_c.SampleN[i], &ActiveLink::Click, this, [this, i] { SelectExample(i); });
    connect(m_c.ImSamplesUp, &ActiveLink::Click, this, &ExamplesPanel::OpenExamplesPanel);
    connect(m_c.ImSamplesDown, &ActiveLink::Click, this, &ExamplesPanel::CloseExamplesPanel);
    // A file the player took but cannot play says so when the player finds out;
    // listening to it would otherwise never end. The welcome chime is no example.
    connect(&m_MP, &MediaPlayer::ErrorOccurred, this, [this] {
        if (!m_MP.FileName().startsWith(m_folders.ExamplesDir))
            return;
        if (m_recorder.Listening())
            m_recorder.Listen();
        CheckPlayer();
    });
}

int ExamplesPanel::PanelClosedTop() const
{
    return m_callouts.PanelClosedTop ? m_callouts.PanelClosedTop() : 0;
}

QString ExamplesPanel::BaseName(int n) const
{
    return ExampleFiles::BaseName(m_callouts.Position ? m_callouts.Position() : PagePosition {}, n);
}

void ExamplesPanel::ShowProgress()
{
    for (int i = 1; i <= PracticeControls::ExampleButtons; ++i) {
        ActiveLink *button = m_c.SampleN[i];
        const int takes = i <= m_examples && m_callouts.TakesOf ? m_callouts.TakesOf(BaseName(i)) : 0;
        button->setCornerMark(takes > 0);
        // The pictures show the count at a glance; a listener is told it.
        QString description = i <= m_examples ? ExampleCountDescription(i, m_examples) : QString();
        if (takes > 0)
            description += QStringLiteral("، ") + PracticeProgress::TakesWording(takes);
        button->setAccessibleDescription(description);
    }
    ShowTakesCount();
}

void ExamplesPanel::ShowTakesCount()
{
    const int n = m_recorder.CurExample();
    const int takes = n >= 1 && n <= m_examples && m_callouts.TakesOf ? m_callouts.TakesOf(BaseName(n)) : 0;
    // The caption counts them; with none, there is nothing to list.
    m_c.Atakes->setCaption(takes > 0 ? QStringLiteral("تسجيلاتك ") + ArabicIndic(takes) : QStringLiteral("تسجيلاتك"));
    m_c.Atakes->setAccessibleDescription(
        takes > 0 ? PracticeProgress::TakesWording(takes) : QStringLiteral("لا تسجيل بعد"));
    m_c.Atakes->setEnabled(takes > 0);
}

void ExamplesPanel::SelectExample(int n)
{
    // The take of the example being left is saved under its own name, before
    // CurExample moves on.
    m_recorder.StopAndSave();

    const QString base = BaseName(n);
    const QString soundPath = m_files.Sound(base);
    const QString textPath = m_files.Text(base);

    m_follower->Clear();
    m_c.SampleTitle->clear();
    m_recorder.SetCurExample(qint16(n));
    if (m_callouts.ExampleLeft)
        m_callouts.ExampleLeft();
    ShowTakesCount();
    if (m_c.TimerMeter->isActive() && m_recorder.Listening())
        m_recorder.Listen();

    bool mark = false;
    if (FileExists(soundPath)) {
        m_MP.SetFileName(soundPath);
        m_exampleHasSound = true;
        m_recorder.SetExampleDuration(qint32(RoundHalfEven(m_MP.Duration())));
        m_c.Alisten->setEnabled(true);
        const QString clipTitle = m_MP.GetMediaInfoString(MediaPlayer::ClipTitle);
        ReciterName = m_MP.GetMediaInfoString(MediaPlayer::ClipAuthor);
        if (!ReciterName.isEmpty())
            m_c.SampleTitle->setText(ReciterName);
        if (PanelOpen)
            m_c.FrameBar->resize(m_c.FrameBar->width(), m_c.SampleTitle->y() + m_c.SampleTitle->height());
        if (!clipTitle.isEmpty()) {
            ShowExampleText(clipTitle);
            m_follower->Follow(m_c.AyaText->text(), AuthorsTimes(soundPath).first);
            m_c.AyaSample->hide();
            m_c.AyaText->show();
            mark = true;
        } else {
            const QString picture = m_files.Picture(base);
            if (!picture.isEmpty()) {
                const QPixmap pixmap(picture);
                m_c.AyaSample->setPixmap(pixmap);
                if (!pixmap.isNull())
                    m_c.AyaSample->resize(pixmap.size());
                QLabel *sample = m_c.AyaSample;
                const QWidget *tools = m_c.SoundTools;
                const int samplesWidth = m_c.Samples->width();
                sample->move(RoundToInt(tools->x() + tools->width()
                                 + (samplesWidth - tools->x() - tools->width() - sample->width()) / 2.0),
                    RoundToInt((m_c.Samples->height() - sample->height()) / 2.0));
                sample->show();
                m_c.AyaText->hide();
                mark = true;
            } else if (m_callouts.ShowMessage) {
                m_callouts.ShowMessage(QStringLiteral("\r\n") + ExampleFileMissing);
            }
        }
    } else {
        m_c.Alisten->setEnabled(false);
        m_exampleHasSound = false;
        m_recorder.SetExampleDuration(TextOnlySeconds);
        if (FileExists(textPath)) {
            ShowExampleText(firstLine(textPath));
            m_c.AyaSample->hide();
            m_c.AyaText->show();
            mark = true;
        } else if (m_callouts.ShowMessage) {
            m_callouts.ShowMessage(QStringLiteral("\r\n") + ChapterFileMissing);
        }
    }
    if (mark)
        MarkExample(n);
    CheckPlayer();
}

void ExamplesPanel::MarkExample(int n)
{
    LayoutExamplesPanel();
    const QString &images = m_folders.ImagesPath;
    if (MarkedExample != 0)
        m_c.SampleN[MarkedExample]->setPicture(LoadSkinPicture(images, QStringLiteral("N%1.jpg").arg(MarkedExample)));
    m_c.SampleN[n]->setPicture(LoadSkinPicture(images, QStringLiteral("N%1Selected.jpg").arg(n)));
    MarkedExample = qint16(n);
    for (int i = 1; i <= PracticeControls::ExampleButtons; ++i)
        m_c.SampleN[i]->setAccessibleFlag(ActiveLink::Selected, i == n);
}

void ExamplesPanel::CheckPlayer()
{
    if (m_MP.ErrorCode() == 0 || !m_callouts.ShowMessageBox)
        return;
    m_callouts.ShowMessageBox(QStringLiteral("Error: ") + QString::number(m_MP.ErrorCode()) + QStringLiteral(": ")
        + m_MP.ErrorDescription() + QLatin1Char(' ') + m_MP.ErrorText());
}

void ExamplesPanel::OpenExamplesPanel()
{
    m_c.Samples->show();
    m_c.SampleTitle->show();
    m_c.Aspeed->show();
    m_c.Arepeat->show();
    m_c.Atakes->show();
    if (m_callouts.SlidePanelBar)
        m_callouts.SlidePanelBar(QStringLiteral("V-"),
            qint32(RoundHalfEven(m_c.FrameBar->y() - m_settings.SplitterTop)), m_settings.SlideStep);
    m_c.ImSamplesUp->hide();
    m_c.ImSamplesDown->show();
    m_c.FrameBar->resize(m_c.FrameBar->width(), m_c.SampleTitle->y() + m_c.SampleTitle->height());
    LayoutExamplesPanel();
    if (m_callouts.ShowSplitter)
        m_callouts.ShowSplitter(true);
    if (m_callouts.RecomputeScrollTrack)
        m_callouts.RecomputeScrollTrack();
    PanelOpen = true;
}

void ExamplesPanel::CloseExamplesPanel()
{
    // Closing the panel hides the recorder: a take in progress is kept, not lost.
    m_recorder.StopAndSave();
    m_follower->Clear();
    if (m_callouts.ExampleLeft)
        m_callouts.ExampleLeft();
    if (m_callouts.SlidePanelBar)
        m_callouts.SlidePanelBar(
            QStringLiteral("V+"), qint32(RoundHalfEven(PanelClosedTop() - m_c.FrameBar->y())), m_settings.SlideStep);
    m_c.ImSamplesUp->show();
    m_c.ImSamplesDown->hide();
    if (m_callouts.ShowSplitter)
        m_callouts.ShowSplitter(false);
    m_c.Samples->hide();
    m_c.SampleTitle->hide();
    m_c.Aspeed->hide();
    m_c.Arepeat->hide();
    m_c.Atakes->hide();
    m_c.FrameBar->resize(m_c.FrameBar->width(), m_c.SampleTitle->y());
    LayoutExamplesPanel();
    if (m_callouts.RecomputeScrollTrack)
        m_callouts.RecomputeScrollTrack();
    PanelOpen = false;
}

void ExamplesPanel::LayoutExamplesPanel()
{
    QWidget *samples = m_c.Samples;
    const int top = m_c.FrameBar->y() + m_c.FrameBar->height();
    const int height = qMax(0, PanelClosedTop() - top + m_c.SampleTitle->y());
    samples->setGeometry(samples->x(), top, samples->width(), height);
    m_c.SoundTools->move(m_c.SoundTools->x(), RoundToInt((height - m_c.SoundTools->height()) / 2.0));
    m_c.AyaText->move(m_c.AyaText->x(), RoundToInt((height - m_c.AyaText->height()) / 2.0));
    m_c.AyaSample->move(m_c.AyaSample->x(), RoundToInt((height - m_c.AyaSample->height()) / 2.0));
}

void ExamplesPanel::ShowExampleText(const QString &text)
{
    QLabel *aya = m_c.AyaText;
    const QFontMetrics metrics(aya->font());
    const QStringList words = text.split(QLatin1Char(' '));
    aya->setWordWrap(true);
    aya->resize(m_c.Samples->width() - m_c.SoundTools->width() - 5, aya->height());

    // Each word is measured with the line it would join; the word that opens a new
    // line is not counted in that line's width, so a line can end up one word wider.
    QString caption;
    QString line;
    int lines = 1;
    for (const QString &w : words) {
        line += QLatin1Char(' ') + w;
        if (metrics.horizontalAdvance(line) > aya->width()) {
            ++lines;
            caption += QStringLiteral("\r\n") + w;
            line.clear();
        } else {
            caption += QLatin1Char(' ') + w;
        }
    }
    aya->setText(caption);
    // A line that ends up one word wider than the label is wrapped again by the
    // label itself: counted lines alone would cut its last line off.
    aya->resize(aya->width(), qMax(lines * metrics.height(), aya->heightForWidth(aya->width())));

    QWidget *samples = m_c.Samples;
    const int top = m_c.FrameBar->y() + m_c.FrameBar->height();
    const int height = qMax(0, PanelClosedTop() - top + m_c.FrameBar->height());
    samples->setGeometry(samples->x(), top, samples->width(), height);
    m_c.SoundTools->move(m_c.SoundTools->x(), RoundToInt((height - m_c.SoundTools->height()) / 2.0));
    aya->move(aya->x(), RoundToInt((height - aya->height()) / 2.0));
}

void ExamplesPanel::FitTitleHeight()
{
    FitLabelHeight(m_c.SampleTitle);
}

void ExamplesPanel::SpeedChanged(double speed)
{
    m_MP.SetSpeed(speed);
    // The take's limit follows the length the learner now hears, of the
    // example on show: a text-only one keeps its own, whatever the player
    // still holds of the example before it.
    if (m_exampleHasSound && m_MP.ErrorCode() == 0 && m_MP.Duration() > 0)
        m_recorder.SetExampleDuration(qint32(RoundHalfEven(m_MP.Duration())));
}

void ExamplesPanel::SetupExampleButtons(int n)
{
    for (int i = 1; i <= PracticeControls::ExampleButtons; ++i) {
        ActiveLink *button = m_c.SampleN[i];
        button->setVisible(i <= n);
        button->setAccessibleFlag(ActiveLink::Selectable, i <= n);
        if (i > n)
            button->setAccessibleFlag(ActiveLink::Selected, false);
    }
    m_examples = qMax(0, n);
    ShowProgress();
    if (n != 0) {
        if (!PanelOpen)
            OpenExamplesPanel();
        m_c.ImSamplesDown->show();
        m_c.Samples->show();
        SelectExample(1);
    } else {
        if (PanelOpen)
            CloseExamplesPanel();
        m_c.ImSamplesUp->hide();
        m_c.Samples->hide();
    }
}
