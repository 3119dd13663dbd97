// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/processsetup.h"

#include "app/fonts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QThreadPool>

namespace {

// The screen reader's bridge is made on the window's thread at the first
// accessible name a control is given, and its first step is to connect to the
// session bus and wait for the answer: milliseconds before the first frame,
// more where the bus has to be started. Connecting from a worker as soon as
// the application exists lets the bridge find the connection made. The bridge
// lives in the desktop platforms only; elsewhere (the tests' offscreen
// platform) nothing would use the connection.
void ConnectSessionBusEarly()
{
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland")))
        return;
    QThreadPool::globalInstance()->start([] { QDBusConnection::sessionBus(); });
}

} // namespace

void SetUpApplication()
{
    ConnectSessionBusEarly();
    QApplication::setLayoutDirection(Qt::RightToLeft);
    RegisterFontSubstitutions();
}
