// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../support/testfiles.h"
#include "base/settings.h"
#include "content/catalogue.h"
#include "content/documentscrollbar.h"
#include "content/lessonpages.h"
#include "layout/panelayout.h"
#include "pageview/textbrowserview.h"
#include "widgets/activelink.h"

#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

// The pages, the document's scroll bar and the pane layout on a bare window of
// the main window's size, with a real page view and a skin of plain pictures.
// The examples panel is a recorder of what it was asked.
struct PageFixture
{
    QTemporaryDir dir;
    QWidget host;
    QWidget *RTFP = nullptr;
    TextBrowserView *RTF = nullptr;
    Settings settings;
    Catalogue catalogue;
    PaneControls pane;
    PageControls page;
    ScrollBarControls bar;
    std::unique_ptr<DocumentScrollBar> scrollBar;
    std::unique_ptr<PaneLayout> layout;
    std::unique_ptr<LessonPages> pages;
    QList<int> setups;
    int examplesLayouts = 0;

    explicit PageFixture(const QByteArray &contents = {})
    {
        host.resize(786, 632);
        RTFP = new QWidget(&host);
        RTF = new TextBrowserView(RTFP);
        const QString images = dir.filePath("Images/");
        QDir().mkpath(images);
        const auto save = [&](const char *name, int w, int h, const QColor &color) {
            QImage image(w, h, QImage::Format_RGB32);
            image.fill(color);
            image.save(images + name);
        };
        save("SamplesBar.jpg", 505, 30, Qt::darkGreen);
        save("scrollup.jpg", 20, 18, Qt::gray);
        save("scrolldown.jpg", 20, 18, Qt::gray);
        save("ScrollPosition.jpg", 14, 36, Qt::red);
        save("ScrollPositionActive.jpg", 14, 36, Qt::green);
        save("ScrollLine.jpg", 4, 600, Qt::yellow);
        // The index's background; its reader goes by the contents, not the name.
        QImage back(400, 300, QImage::Format_RGB32);
        back.fill(Qt::white);
        back.save(images + "back.gif", "PNG");
        write(dir.filePath("data/html/nofile.htm"), "<html><body>missing</body></html>");
        catalogue.LoadFromBytes(contents);

        pane = CreatePaneControls(&host);
        page = CreatePageControls(&host);
        bar = CreateScrollBarControls(&host);
        scrollBar = std::make_unique<DocumentScrollBar>(bar, RTF, RTFP, settings);
        PaneLayout::Callouts paneCallouts;
        paneCallouts.LayoutExamplesPanel = [this] { ++examplesLayouts; };
        layout = std::make_unique<PaneLayout>(pane, RTFP, RTF, page.BabFrame, *scrollBar, settings, paneCallouts);
        LessonPages::Callouts callouts;
        callouts.LayoutDocumentPane = [this] { layout->LayoutDocumentPane(); };
        callouts.SetupExampleButtons = [this](int n) { setups << n; };
        callouts.LayoutExamplesPanel = [this] { ++examplesLayouts; };
        pages = std::make_unique<LessonPages>(page, RTF, RTFP, pane.FrameBar, *scrollBar, catalogue, callouts);

        layout->LoadSkin(images, Qt::white);
        scrollBar->LoadSkin(images, Qt::white);
        pages->SetPaths(htmlDir(), images);
        pages->LoadSkin();
        layout->LayoutDocumentPane();
        host.show();
    }

    QString htmlDir() const { return dir.filePath("data/html/"); }

    // Opens a page in the view and waits until it has been laid out.
    bool show(const QString &path)
    {
        RTF->Navigate(path);
        return QTest::qWaitFor([this] { return !RTF->Busy(); }, 2000);
    }

    int scrollRange() const { return RTF->ScrollHeight() - RTF->Widget()->height(); }
    int thumb() const { return bar.scrollpos->y(); }
};

// A right-to-left page of numbered paragraphs, long enough to scroll.
inline QByteArray LongPage(int paragraphs = 200, const QByteArray &top = {}, const QByteArray &tail = {})
{
    QByteArray body = top;
    for (int i = 0; i < paragraphs; ++i)
        body += "<p>" + QStringLiteral("النون الساكنة والتنوين").toUtf8() + " " + QByteArray::number(i) + "</p>";
    return "<html dir=\"rtl\"><head><meta charset=\"utf-8\"></head><body>" + body + tail + "</body></html>";
}
