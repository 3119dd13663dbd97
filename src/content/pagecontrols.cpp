// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagecontrols.h"

#include "skin/formdesign.h"
#include "widgets/activelink.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QWidget>

using namespace FormDesign;

namespace {

QLabel *picture(QWidget *parent, const QString &name, const QString &accessibleName, const QSize &size)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAccessibleName(accessibleName);
    label->resize(size);
    return label;
}

QFrame *rule(QWidget *parent, const QString &name)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setFixedHeight(1);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->hide();
    return line;
}

} // namespace

PageControls CreatePageControls(QWidget *main)
{
    PageControls c;
    c.BabFrame = new QWidget(main);
    c.BabFrame->setObjectName(QStringLiteral("BabFrame"));
    c.BabFrame->setGeometry(PaneLeft, PaneTop, PaneWidth, 0);
    c.BabFrame->setMouseTracking(true);
    // Presses on the frame are the page's, never a drag of the window.
    c.BabFrame->setAttribute(Qt::WA_NoMousePropagation);
    c.BabFrame->hide();

    c.BabBack = picture(c.BabFrame, QStringLiteral("BabBack"), QString(), QSize(0, 0));
    c.BabBack->setMouseTracking(true);

    c.BabTitle = new ActiveLink(c.BabFrame);
    c.BabTitle->setObjectName(QStringLiteral("BabTitle"));
    c.BabTitle->setAccessibleRole(QAccessible::Button);
    c.BabTitle->setAlignment(ActiveLink::AlignCenterCode);

    for (int i = 0; i < PageControls::EntryLinks; ++i) {
        auto *link = new ActiveLink(c.BabFrame);
        link->setObjectName(QStringLiteral("Lien%1").arg(i));
        link->setAccessibleRole(QAccessible::Link);
        link->resize(LinkSize);
        link->hide();
        c.Lien[i] = link;
    }

    c.Line2 = rule(main, QStringLiteral("Line2"));
    return c;
}

ScrollBarControls CreateScrollBarControls(QWidget *main)
{
    ScrollBarControls c;
    c.ScrollLine
        = picture(main, QStringLiteral("ScrollLine"), QStringLiteral("مسار التمرير"), QSize(TrackDesignWidth, 0));
    c.ScrollLine->setScaledContents(true);
    c.ScrollLine->setMouseTracking(true);

    c.scrollpos = picture(main, QStringLiteral("scrollpos"), QStringLiteral("موضع الصفحة"), ThumbDesign);

    c.ScrollUp = new ActiveLink(main);
    c.ScrollUp->setObjectName(QStringLiteral("ScrollUp"));
    c.ScrollUp->setAccessibleName(QStringLiteral("أعلى الصفحة"));
    c.ScrollUp->resize(ScrollArrowDesign);

    c.ScrollDown = new ActiveLink(main);
    c.ScrollDown->setObjectName(QStringLiteral("ScrollDown"));
    c.ScrollDown->setAccessibleName(QStringLiteral("آخر الصفحة"));
    c.ScrollDown->resize(ScrollArrowDesign);

    for (QWidget *w : std::initializer_list<QWidget *> { c.ScrollLine, c.scrollpos, c.ScrollUp, c.ScrollDown })
        w->setAttribute(Qt::WA_NoMousePropagation);

    c.TimerScroll = new QTimer(main);
    c.TimerScroll->setObjectName(QStringLiteral("TimerScroll"));
    c.TimerScroll->setInterval(100);
    return c;
}
