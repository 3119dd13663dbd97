// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/settings.h"
#include "content/catalogue.h"
#include "menu/lessonmenu.h"
#include "menu/menucontrols.h"
#include "widgets/activelink.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <memory>

// Solid colours of the test skin, so that a test can tell which picture a control shows.
inline const QColor RestRed(220, 0, 0);
inline const QColor HoverGreen(0, 200, 0);
inline const QColor OpenBlue(0, 0, 220);

// A skin folder of plain pictures with the sizes a test asks for.
inline void WriteMenuSkin(const QString &images, int titleHeight, int linkHeight, int sliderHeight = 20)
{
    QDir().mkpath(images);
    const auto save = [&](const QString &name, int w, int h, const QColor &color) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(color);
        image.save(images + name);
    };
    save("Title.jpg", 177, titleHeight, RestRed);
    save("TitleMouseOver.jpg", 177, titleHeight, HoverGreen);
    save("TitleSelected.jpg", 177, titleHeight, OpenBlue);
    save("SubtitleBack.jpg", 177, linkHeight, RestRed);
    save("SubtitleMouseOver.jpg", 177, linkHeight, HoverGreen);
    save("SubtitleActive.jpg", 177, linkHeight, OpenBlue);
    save("slider.jpg", 9, sliderHeight, Qt::darkYellow);
    save("VLine.jpg", 3, 500, Qt::darkGray);
    save("Menuscrollup.jpg", 36, 13, Qt::gray);
    save("Menuscrolldown.jpg", 36, 13, Qt::gray);
    save("MenuscrollupActive.jpg", 36, 13, Qt::lightGray);
    save("MenuscrolldownActive.jpg", 36, 13, Qt::lightGray);
}

// 'R', 'H' or 'O' for the rest, hover and open pictures; '?' for anything else.
inline char LookOf(const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return '?';
    const QColor c = pixmap.toImage().pixelColor(4, 4);
    if (c.red() > 150 && c.green() < 80 && c.blue() < 80)
        return 'R';
    if (c.green() > 150 && c.red() < 80 && c.blue() < 80)
        return 'H';
    if (c.blue() > 150 && c.red() < 80 && c.green() < 80)
        return 'O';
    return '?';
}

// A lesson menu on a bare window of the main window's size, with a recording opener.
struct MenuFixture
{
    QTemporaryDir dir;
    QWidget host;
    QWidget *RTFP = nullptr;
    Settings settings;
    Catalogue catalogue;
    MenuControls controls;
    std::unique_ptr<LessonMenu> menu;

    QList<QPair<int, int>> opened;
    LessonMenu::OpenResult nextResult = LessonMenu::OpenResult::Opened;
    QStringList messages;
    int panelCloses = 0;

    explicit MenuFixture(const QByteArray &contents, int titleHeight = 30, int linkHeight = 25, int menuSteps = 2)
    {
        host.resize(786, 632);
        RTFP = new QWidget(&host);
        RTFP->setGeometry(32, 63, 505, 472);
        WriteMenuSkin(dir.filePath("Images/"), titleHeight, linkHeight);
        catalogue.LoadFromBytes(contents);
        settings.MenuSteps = qint16(menuSteps);
        controls = CreateMenuControls(&host);
        LessonMenu::Callouts callouts;
        callouts.OpenLesson = [this](int c, int l) {
            if (nextResult == LessonMenu::OpenResult::Opened)
                opened.append({ c, l });
            return nextResult;
        };
        callouts.ShowMessage = [this](const QString &text) { messages << text; };
        callouts.CloseExamplesPanel = [this] { ++panelCloses; };
        menu = std::make_unique<LessonMenu>(controls, settings, catalogue, RTFP, callouts);
    }

    void build() { menu->BuildMenu(dir.filePath("Images/")); }

    QString looks() const
    {
        QString s;
        for (int i = 1; i <= catalogue.ChapterCount() && i <= MenuControls::ChapterItems; ++i)
            s += QLatin1Char(LookOf(controls.Imenu[i]->pixmap()));
        return s;
    }

    QList<int> visibleLinks() const
    {
        QList<int> shown;
        for (int k = 1; k <= MenuControls::LessonLinks; ++k) {
            if (!controls.Alink[k]->isHidden())
                shown << k;
        }
        return shown;
    }

    int menuInTop() const { return controls.MenuIn->y(); }
};

// A catalogue line by line, lessons given by their count.
inline QByteArray CourseWith(const QList<int> &lessonCounts)
{
    QByteArray bytes;
    for (int c = 0; c < lessonCounts.size(); ++c) {
        bytes += "@ Chapter " + QByteArray::number(c + 1) + "\r\n";
        for (int l = 1; l <= lessonCounts.at(c); ++l)
            bytes += "# Lesson " + QByteArray::number(c + 1) + "." + QByteArray::number(l) + "*1\r\n";
    }
    return bytes;
}
