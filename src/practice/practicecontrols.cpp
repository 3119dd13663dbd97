// SPDX-License-Identifier: GPL-3.0-or-later

#include "practicecontrols.h"

#include "base/colors.h"
#include "base/fonctions.h"
#include "base/numbers.h"
#include "base/settings.h"
#include "skin/skinfiles.h"
#include "widgets/activelink.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace {

// Design sizes; the skin's pictures replace them.
constexpr QSize ExampleButtonSize(40, 26);
constexpr QSize ArrowSize(40, 26);
constexpr QSize RecorderButtonSize(40, 40);
constexpr QSize RecBackSize(120, 60);
// The meter segments' design width decides where the recorder background starts.
constexpr QSize SegmentSize(9, 6);
constexpr QSize PillSize(54, 20);
constexpr QSize WidePillSize(92, 20);

// Light words on the pills' dark face, in any skin's colours.
const QColor PillInk(0xFB, 0xF7, 0xEC);

QLabel *picture(QWidget *parent, const QString &objectName, const QSize &size)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->resize(size);
    return label;
}

// Rest and hover pictures; the button takes the rest picture's size. A missing
// picture leaves the button as it was, so the rest of the skin still loads.
void setPictures(ActiveLink *link, const QString &images, const QString &rest, const QString &hover)
{
    const QPixmap restPicture = LoadSkinPicture(images, rest);
    if (!restPicture.isNull()) {
        link->setPicture(restPicture);
        link->resize(restPicture.size());
    }
    const QPixmap hoverPicture = LoadSkinPicture(images, hover);
    if (!hoverPicture.isNull())
        link->setActivepicture(hoverPicture);
}

void setPicture(QLabel *label, const QString &images, const QString &name)
{
    const QPixmap pixmap = LoadSkinPicture(images, name);
    if (!pixmap.isNull()) {
        label->setPixmap(pixmap);
        label->resize(pixmap.size());
    }
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

QString ExampleButtonName(int n)
{
    return QStringLiteral("المثال ") + ArabicIndic(n);
}

QString ExampleCountDescription(int n, int count)
{
    return ExampleButtonName(n) + QStringLiteral(" من ") + ArabicIndic(count);
}

void FitLabelHeight(QLabel *label)
{
    label->resize(label->width(), QFontMetrics(label->font()).height());
}

PracticeControls CreatePracticeControls(QWidget *FrameBar, QWidget *Samples)
{
    PracticeControls c;
    c.FrameBar = FrameBar;
    c.Samples = Samples;

    for (int i = 1; i <= PracticeControls::ExampleButtons; ++i) {
        c.SampleN[i]
            = ActiveLink::Button(FrameBar, QStringLiteral("SampleN%1").arg(i), ExampleButtonName(i), ExampleButtonSize);
        c.SampleN[i]->hide();
    }
    c.ImSamplesUp
        = ActiveLink::Button(FrameBar, QStringLiteral("ImSamplesUp"), QStringLiteral("فتح لوحة الأمثلة"), ArrowSize);
    c.ImSamplesUp->hide();
    c.ImSamplesDown = ActiveLink::Button(
        FrameBar, QStringLiteral("ImSamplesDown"), QStringLiteral("إغلاق لوحة الأمثلة"), ArrowSize);
    c.ImSamplesDown->hide();
    c.SampleTitle = new QLabel(FrameBar);
    c.SampleTitle->setObjectName(QStringLiteral("SampleTitle"));
    // After the title, so that they lie over its empty left end.
    c.Aspeed = ActiveLink::Button(FrameBar, QStringLiteral("Aspeed"), QStringLiteral("سرعة القارئ"), PillSize);
    c.Arepeat = ActiveLink::Button(FrameBar, QStringLiteral("Arepeat"), QStringLiteral("كرر بعدي"), WidePillSize);
    c.Arepeat->setToolTip(QStringLiteral("يقرأ القارئ ثم تقرأ أنت، مرة بعد مرة، دون لمس الفأرة"));
    c.Atakes = ActiveLink::Button(FrameBar, QStringLiteral("Atakes"), QStringLiteral("تسجيلاتك"), WidePillSize);
    c.Atakes->setToolTip(QStringLiteral("تسجيلاتك السابقة لهذا المثال: استمع إلى أي منها وقارنه"));

    c.SoundTools = new QWidget(Samples);
    c.SoundTools->setObjectName(QStringLiteral("SoundTools"));
    c.RecBack = picture(c.SoundTools, QStringLiteral("RecBack"), RecBackSize);
    c.Aplay = ActiveLink::Button(c.SoundTools, QStringLiteral("Aplay"), QStringLiteral("تشغيل"), RecorderButtonSize);
    c.Aplay->setToolTip(QStringLiteral("استمع إلى تسجيلك الخاص بهذا المثال"));
    c.Arec = ActiveLink::Button(c.SoundTools, QStringLiteral("Arec"), QStringLiteral("تسجيل"), RecorderButtonSize);
    c.Arec->setToolTip(QStringLiteral("قم بالتمرن على المثال عن طريق تسجيل صوتك"));
    c.Apause
        = ActiveLink::Button(c.SoundTools, QStringLiteral("Apause"), QStringLiteral("إيقاف مؤقت"), RecorderButtonSize);
    c.Astop = ActiveLink::Button(c.SoundTools, QStringLiteral("Astop"), QStringLiteral("إيقاف"), RecorderButtonSize);
    c.Alisten
        = ActiveLink::Button(c.SoundTools, QStringLiteral("Alisten"), QStringLiteral("استماع"), RecorderButtonSize);
    c.Alisten->setToolTip(QStringLiteral("الإستماع إلى المثال بصوت أحد المقرئين"));
    c.Apause->hide();
    c.Astop->hide();
    for (int k = 1; k <= PracticeControls::MeterSegments; ++k) {
        c.vm[k] = picture(c.SoundTools, QStringLiteral("vm%1").arg(k), SegmentSize);
        c.vm[k]->hide();
    }

    c.AyaText = new QLabel(Samples);
    c.AyaText->setObjectName(QStringLiteral("AyaText"));
    c.AyaText->setAlignment(Qt::AlignCenter);
    c.AyaText->setWordWrap(true);
    c.AyaSample = new QLabel(Samples);
    c.AyaSample->setObjectName(QStringLiteral("AyaSample"));
    c.AyaSample->setAccessibleName(QStringLiteral("صورة المثال"));
    c.AyaSample->setAccessibleDescription(QStringLiteral("صورة نص المثال المختار"));
    c.AyaSample->hide();

    c.TimerMeter = new QTimer(Samples);
    c.TimerMeter->setObjectName(QStringLiteral("TimerMeter"));
    c.TimerMeter->setInterval(PracticeControls::MeterInterval);
    return c;
}

int TitleLineTop(const QRect &samplesBar)
{
    return samplesBar.top() + samplesBar.height() + 3;
}

void LoadPracticeSkin(PracticeControls &c, const QString &images, const Settings &settings, const QRect &samplesBar)
{
    const QColor back = ColorFromBgr(settings.MenuBackColor);
    const QCursor hand = SkinHandCursor(images);
    const auto handButton = [&](ActiveLink *link) {
        link->setHandCursor(hand);
        link->setAlwayshandcursor(true);
    };

    // The bar's arrows open the strip at the bar's right end, where the example
    // buttons never reach; the rest of that strip carries the bar's name.
    setPictures(c.ImSamplesUp, images, QStringLiteral("SamplesBarUp.jpg"), QStringLiteral("SamplesBarUpActive.jpg"));
    setPictures(
        c.ImSamplesDown, images, QStringLiteral("SamplesBarDown.jpg"), QStringLiteral("SamplesBarDownActive.jpg"));
    for (ActiveLink *arrow : { c.ImSamplesUp, c.ImSamplesDown }) {
        handButton(arrow);
        arrow->move(samplesBar.right() + 1 - 75 + 2,
            RoundToInt(samplesBar.top() + (samplesBar.height() - arrow->height()) / 2.0));
        arrow->hide();
    }

    const double X = samplesBar.left() + samplesBar.width() - 75;
    for (int i = 1; i <= PracticeControls::ExampleButtons; ++i) {
        ActiveLink *b = c.SampleN[i];
        setPictures(b, images, QStringLiteral("N%1.jpg").arg(i), QStringLiteral("N%1MouseOver.jpg").arg(i));
        b->move(RoundToInt(X - X * i / (PracticeControls::ExampleButtons + 1)), 2);
        b->setBackcolor(back);
        b->setActivebackcolor(back);
        handButton(b);
        b->hide();
    }

    QLabel *title = c.SampleTitle;
    title->setGeometry(0, TitleLineTop(samplesBar), c.FrameBar->width(), title->height());
    setBackground(title, back);
    title->setAlignment(Qt::AlignCenter);
    QFont titleFont(settings.SampleTitleFont);
    SetDesignPointSize(titleFont, settings.SampleTitleFontSize);
    titleFont.setBold(true);
    title->setFont(titleFont);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::WindowText, ColorFromBgr(settings.SampleTitleColor));
    title->setPalette(titlePalette);
    FitLabelHeight(title);
    c.FrameBar->resize(c.FrameBar->width(), title->y());

    // The words and numbers are the program's, over the skin's pill.
    QFont pillFont(settings.SampleTitleFont);
    SetDesignPointSize(pillFont, qMax(7, settings.SampleTitleFontSize - 2));
    int left = 4;
    for (ActiveLink *pill : { c.Aspeed, c.Arepeat, c.Atakes }) {
        // The takes' pill is the same plain pill as the round's.
        const QString name = pill == c.Aspeed ? QStringLiteral("Speed") : QStringLiteral("Repeat");
        setPictures(pill, images, name + QStringLiteral(".jpg"), name + QStringLiteral("Over.jpg"));
        handButton(pill);
        pill->setTextFont(pillFont);
        pill->setForecolor(PillInk);
        pill->setActiveforecolor(PillInk);
        pill->setAlignment(ActiveLink::AlignCenterCode);
        const int x = pill == c.Atakes ? c.FrameBar->width() - 4 - pill->width() : left;
        pill->move(x, title->y() + (title->height() - pill->height()) / 2);
        left += pill->width() + 4;
    }

    for (ActiveLink *b : { c.Aplay, c.Astop, c.Apause, c.Alisten, c.Arec })
        handButton(b);
    setPictures(c.Aplay, images, QStringLiteral("Play.jpg"), QStringLiteral("PlayOver.jpg"));
    setPictures(c.Arec, images, QStringLiteral("Rec.jpg"), QStringLiteral("recOver.jpg"));
    setPictures(c.Apause, images, QStringLiteral("Pause.jpg"), QStringLiteral("PauseOver.jpg"));
    setPictures(c.Astop, images, QStringLiteral("Stop.jpg"), QStringLiteral("StopOver.jpg"));
    setPictures(c.Alisten, images, QStringLiteral("Listen.jpg"), QStringLiteral("ListenOver.jpg"));

    setPicture(c.RecBack, images, QStringLiteral("RecBack.jpg"));
    c.RecBack->move(SegmentSize.width() + 2, 0);
    for (int k = 1; k <= PracticeControls::MeterSegments; ++k) {
        QLabel *segment = c.vm[k];
        setPicture(segment, images, QStringLiteral("vm%1.jpg").arg(k));
        const int top = k == 1 ? c.RecBack->y() + c.RecBack->height() - segment->height() - 3
                               : c.vm[k - 1]->y() - segment->height();
        segment->move(0, top);
        segment->hide();
    }

    const QRect rb = c.RecBack->geometry();
    const auto centreOn = [&](ActiveLink *b, double centre) {
        b->move(RoundToInt(centre - b->width() / 2.0), RoundToInt((rb.height() - b->height()) / 2.0));
    };
    centreOn(c.Aplay, rb.left() + rb.width() / 3.0);
    centreOn(c.Apause, rb.left() + rb.width() / 3.0);
    centreOn(c.Arec, rb.left() + 2.0 * rb.width() / 3.0);
    centreOn(c.Astop, rb.left() + 2.0 * rb.width() / 3.0);

    QWidget *tools = c.SoundTools;
    setBackground(tools, back);
    tools->setGeometry(0, RoundToInt((c.Samples->height() - rb.height()) / 2.0),
        rb.left() + rb.width() + c.Alisten->width(), rb.height());
    c.Alisten->move(
        RoundToInt((tools->width() - rb.width() - rb.left() - c.Alisten->width()) / 2.0 + rb.left() + rb.width()),
        RoundToInt((tools->height() - c.Alisten->height()) / 2.0));

    const int sampleWidth = c.Samples->width() - tools->width() - 5 - rb.left();
    c.AyaSample->setGeometry(c.Samples->width() - sampleWidth - 3, 0, sampleWidth, c.Samples->height());
    c.AyaText->setGeometry(c.AyaSample->geometry());
    QFont ayaFont(settings.AyaFont);
    SetDesignPointSize(ayaFont, settings.AyaFontSize);
    c.AyaText->setFont(ayaFont);

    c.AyaSample->hide();
    c.Astop->hide();
    c.Apause->hide();
}
