// SPDX-License-Identifier: GPL-3.0-or-later

#include "menucontrols.h"

#include "skin/formdesign.h"
#include "widgets/activelink.h"

#include <QAccessible>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace {

// Design places. The chapter items and the link template get their real sizes
// from the skin's pictures; these sizes only stand when a picture is missing.
constexpr QRect FrameRect = FormDesign::MenuFrame;
constexpr QSize TitleDesignSize(177, 32);
constexpr QSize LinkDesignSize(177, 26);
// The line runs beside the document pane, from the pane's top down.
constexpr QRect VlineDesignRect(548, 63, 3, 502);
constexpr QSize ArrowDesignSize(36, 13);

QLabel *picture(QWidget *parent, const QString &name, const QSize &size)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->resize(size);
    label->setScaledContents(false);
    return label;
}

} // namespace

MenuControls CreateMenuControls(QWidget *main)
{
    MenuControls c;

    c.MenuFrame = new QWidget(main);
    c.MenuFrame->setObjectName(QStringLiteral("MenuFrame"));
    c.MenuFrame->setGeometry(FrameRect);

    c.MenuIn = new QWidget(c.MenuFrame);
    c.MenuIn->setObjectName(QStringLiteral("MenuIn"));
    c.MenuIn->setGeometry(0, 0, FrameRect.width(), FrameRect.height() - 1);
    c.MenuIn->setMouseTracking(true);

    for (int i = 1; i <= MenuControls::ChapterItems; ++i) {
        QLabel *image = picture(c.MenuIn, QStringLiteral("Imenu%1").arg(i), TitleDesignSize);
        image->setMouseTracking(true);
        c.Imenu[i] = image;

        auto *label = new ActiveLink(c.MenuIn);
        label->setObjectName(QStringLiteral("ImenuL%1").arg(i));
        label->setAccessibleRole(QAccessible::Button);
        label->resize(TitleDesignSize);
        c.ImenuL[i] = label;
    }

    for (int j = 1; j <= MenuControls::LessonLinks; ++j) {
        auto *link = new ActiveLink(c.MenuIn);
        link->setObjectName(QStringLiteral("Alink%1").arg(j));
        link->setAccessibleRole(QAccessible::Link);
        link->resize(LinkDesignSize);
        link->hide();
        c.Alink[j] = link;
    }

    c.ImageRef = picture(main, QStringLiteral("ImageRef"), LinkDesignSize);
    c.ImageRef->hide();

    c.ImVline = picture(main, QStringLiteral("ImVline"), VlineDesignRect.size());
    c.ImVline->move(VlineDesignRect.topLeft());

    c.ImSlide = picture(main, QStringLiteral("ImSlide"), QSize(12, 12));
    c.ImSlide->hide();

    c.MenuScrollUp = new ActiveLink(main);
    c.MenuScrollUp->setObjectName(QStringLiteral("MenuScrollUp"));
    c.MenuScrollUp->setAccessibleName(QStringLiteral("تمرير القائمة لأعلى"));
    c.MenuScrollUp->resize(ArrowDesignSize);
    c.MenuScrollUp->hide();

    c.MenuScrollDown = new ActiveLink(main);
    c.MenuScrollDown->setObjectName(QStringLiteral("MenuScrollDown"));
    c.MenuScrollDown->setAccessibleName(QStringLiteral("تمرير القائمة لأسفل"));
    c.MenuScrollDown->resize(ArrowDesignSize);
    c.MenuScrollDown->hide();

    c.MenuScrollTimer = new QTimer(main);
    c.MenuScrollTimer->setObjectName(QStringLiteral("MenuScrollTimer"));
    c.MenuScrollTimer->setInterval(100);

    return c;
}
