// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "mixer/mixercontrols.h"
#include "widgets/activelink.h"

#include <QDir>
#include <QImage>
#include <QMap>
#include <QPixmap>

// A skin for the sound controls in which every picture has a width of its own,
// so that a test can tell from a control's picture which file it shows.
inline const QMap<QString, int> &MixerSkinWidths()
{
    static const QMap<QString, int> widths {
        { "WaveVol.jpg", 20 },
        { "WaveVolOver.jpg", 21 },
        { "WaveMute.jpg", 22 },
        { "WaveMuteOver.jpg", 23 },
        { "MicVol.jpg", 24 },
        { "MicVolOver.jpg", 25 },
        { "MicMute.jpg", 26 },
        { "MicMuteOver.jpg", 27 },
        { "volume.jpg", 8 },
        { "volumeActive.jpg", 9 },
        { "volumeup.jpg", 11 },
        { "volumeupactive.jpg", 11 },
        { "volumedown.jpg", 11 },
        { "volumedownactive.jpg", 11 },
    };
    return widths;
}

constexpr int SkinBarHeight = 28;
constexpr int SkinStepHeight = 10;
constexpr int SkinIconHeight = 24;

inline void WriteMixerSkin(const QString &images)
{
    QDir().mkpath(images);
    const auto &widths = MixerSkinWidths();
    for (auto it = widths.begin(); it != widths.end(); ++it) {
        const bool bar = it.key().startsWith("volume.") || it.key().startsWith("volumeActive");
        const bool step = it.key().startsWith("volumeup") || it.key().startsWith("volumedown");
        QImage image(it.value(), bar ? SkinBarHeight : step ? SkinStepHeight : SkinIconHeight, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(images + it.key());
    }
}

// The file a picture came from, by its width; empty when none matches.
inline QString SkinFileOf(const QPixmap &pixmap)
{
    const auto &widths = MixerSkinWidths();
    for (auto it = widths.begin(); it != widths.end(); ++it) {
        if (it.value() == pixmap.width() && !it.key().startsWith("volumeup") && !it.key().startsWith("volumedown"))
            return it.key();
    }
    return {};
}

// Number of lit bars of a row, checking that they are lit from bar 1 on.
inline int LitBars(const std::array<ActiveLink *, MixerControls::Bars + 1> &bars)
{
    int lit = 0;
    for (int k = 1; k <= MixerControls::Bars; ++k) {
        if (SkinFileOf(bars[k]->picture()) == "volumeActive.jpg") {
            if (lit != k - 1)
                return -1;
            ++lit;
        }
    }
    return lit;
}
