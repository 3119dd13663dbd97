// SPDX-License-Identifier: GPL-3.0-or-later

#include "mixercontrols.h"

#include "base/numbers.h"
#include "skin/formdesign.h"
#include "widgets/activelink.h"
#include "widgets/levelslider.h"

#include <QLabel>
#include <QTimer>

namespace {

// Sizes that stand until the skin's pictures give the real ones.
constexpr QSize IconDesignSize(24, 24);
constexpr QSize BarDesignSize(8, 28);
constexpr QSize StepDesignSize(11, 10);

// A bar names the level a press moves to, in the digits an Arabic reader uses.
QString barName(const QString &line, int k)
{
    return line + QLatin1Char(' ') + ArabicPercent(k * 10);
}

void rowOfBars(QWidget *main, std::array<ActiveLink *, MixerControls::Bars + 1> &bars, const QString &name,
    const QString &line, QPoint icon)
{
    for (int k = 1; k <= MixerControls::Bars; ++k) {
        ActiveLink *bar = ActiveLink::Button(main, name + QString::number(k), barName(line, k), BarDesignSize);
        bar->move(icon.x() - k * BarDesignSize.width(), icon.y());
        bars[k] = bar;
    }
}

} // namespace

MixerControls CreateMixerControls(QWidget *main)
{
    MixerControls c;

    c.WaveIcon = ActiveLink::Button(main, QStringLiteral("WaveIcon"), QStringLiteral("كتم الصوت"), IconDesignSize);
    c.WaveIcon->move(FormDesign::WaveIcon);
    c.MicIcon = ActiveLink::Button(main, QStringLiteral("MicIcon"), QStringLiteral("كتم الميكروفون"), IconDesignSize);
    c.MicIcon->move(FormDesign::MicIcon);

    rowOfBars(main, c.Imvol, QStringLiteral("Imvol"), QStringLiteral("مستوى الصوت"), FormDesign::WaveIcon);
    rowOfBars(main, c.Immic, QStringLiteral("Immic"), QStringLiteral("مستوى الميكروفون"), FormDesign::MicIcon);
    c.WaveSlider = new LevelSlider(main);
    c.WaveSlider->setObjectName(QStringLiteral("WaveSlider"));
    c.WaveSlider->setAccessibleName(QStringLiteral("مستوى الصوت"));
    c.MicSlider = new LevelSlider(main);
    c.MicSlider->setObjectName(QStringLiteral("MicSlider"));
    c.MicSlider->setAccessibleName(QStringLiteral("مستوى الميكروفون"));

    c.volup = ActiveLink::Button(main, QStringLiteral("volup"), QStringLiteral("رفع الصوت"), StepDesignSize);
    c.voldown = ActiveLink::Button(main, QStringLiteral("voldown"), QStringLiteral("خفض الصوت"), StepDesignSize);
    c.micup = ActiveLink::Button(main, QStringLiteral("micup"), QStringLiteral("رفع صوت الميكروفون"), StepDesignSize);
    c.micdown
        = ActiveLink::Button(main, QStringLiteral("micdown"), QStringLiteral("خفض صوت الميكروفون"), StepDesignSize);

    c.voltmp = new QLabel(main);
    c.voltmp->setObjectName(QStringLiteral("voltmp"));
    c.voltmp->hide();
    c.avoltmp = new QLabel(main);
    c.avoltmp->setObjectName(QStringLiteral("avoltmp"));
    c.avoltmp->hide();

    c.VolTimer = new QTimer(main);
    c.VolTimer->setObjectName(QStringLiteral("VolTimer"));
    c.VolTimer->setInterval(100);

    return c;
}
