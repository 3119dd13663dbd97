// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QtGlobal>

// Appearance settings read from config.ini, by line, and the one remembered
// value of savedoptions.ini. Colours are 0x00BBGGRR. The defaults are what a
// course without a config.ini gets.
struct Settings
{
    qint32 MenuBackColor = 0xFFFFFF;
    qint16 SlideStep = 3;
    qint16 ScrollStep = 10;
    qint16 PageStep = 30;
    QString ChapterFont = QStringLiteral("Hesham AlSharq");
    QString LessonFont = QStringLiteral("Al-Mothnna");
    qint16 ChapterFontSize = 14;
    qint16 LessonFontSize = 12;
    qint32 ChapterColor = 0x808080;
    qint32 ChapterHoverColor = 0xFF8080;
    qint32 ChapterSelectedColor = 0x008000;
    qint32 LessonColor = 0x808080;
    qint32 LessonHoverColor = 0xFF8080;
    qint32 LessonSelectedColor = 0x000080;
    qint16 MenuSteps = 2;
    qint16 TitleTextOffset = 4;
    QString AyaFont = QStringLiteral("Tahoma");
    qint16 AyaFontSize = 12;
    QString SampleTitleFont = QStringLiteral("Times");
    qint16 SampleTitleFontSize = 13;
    qint32 SampleTitleColor = 0xFF8080;

    // savedoptions.ini
    qint16 SplitterTop = 450;
};
