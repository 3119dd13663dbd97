// SPDX-License-Identifier: GPL-3.0-or-later

#include "panecontrols.h"

#include "skin/formdesign.h"

#include <QFrame>
#include <QLabel>
#include <QWidget>

using namespace FormDesign;

PaneControls CreatePaneControls(QWidget *main)
{
    PaneControls c;
    c.FrameBar = new QWidget(main);
    c.FrameBar->setObjectName(QStringLiteral("FrameBar"));
    c.FrameBar->setGeometry(PaneLeft, BarBottom, PaneWidth, 0);
    c.FrameBar->setAttribute(Qt::WA_NoMousePropagation);

    c.ImSamplesBar = new QLabel(c.FrameBar);
    c.ImSamplesBar->setObjectName(QStringLiteral("ImSamplesBar"));

    // Over the bar's picture and under the buttons that the panel adds later.
    c.Splitter = new QLabel(c.FrameBar);
    c.Splitter->setObjectName(QStringLiteral("Splitter"));
    c.Splitter->setAccessibleName(QStringLiteral("فاصل الصفحة والأمثلة"));
    c.Splitter->setCursor(Qt::SizeVerCursor);
    c.Splitter->hide();

    c.Samples = new QWidget(main);
    c.Samples->setObjectName(QStringLiteral("Samples"));
    c.Samples->setGeometry(PaneLeft, BarBottom, PaneWidth, 0);
    c.Samples->setAttribute(Qt::WA_NoMousePropagation);
    c.Samples->hide();

    c.Line1 = new QFrame(main);
    c.Line1->setObjectName(QStringLiteral("Line1"));
    c.Line1->setFrameShape(QFrame::HLine);
    c.Line1->setFrameShadow(QFrame::Plain);
    c.Line1->setFixedHeight(1);
    c.Line1->setAttribute(Qt::WA_TransparentForMouseEvents);
    c.Line1->hide();
    return c;
}
