// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/statusline.h"

#include <QAccessibleWidget>

namespace {

class AccessibleStatusLine final : public QAccessibleWidget
{
public:
    explicit AccessibleStatusLine(StatusLine *line)
        : QAccessibleWidget(line, QAccessible::StatusBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return line()->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = false;
        return s;
    }

private:
    StatusLine *line() const { return static_cast<StatusLine *>(widget()); }
};

const QString AlertName = QStringLiteral("StatusAlert");

QAccessibleInterface *statusLineFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("StatusLine"))
        return new AccessibleStatusLine(static_cast<StatusLine *>(object));
    if (className == QLatin1String("QWidget") && object->objectName() == AlertName)
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

StatusLine::StatusLine(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(statusLineFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("StatusLine"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // Showing is what puts it on the screen reader's tree; one pixel under the
    // skin is all the room it needs.
    resize(1, 1);
    m_alert = new QWidget(this);
    m_alert->setObjectName(AlertName);
    m_alert->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_alert->resize(1, 1);
    m_alert->hide();
}

void StatusLine::Announce(const QString &text, bool urgent)
{
    m_text = text;
    m_urgent = urgent;
    // The same news twice (two takes saved in a row) must be spoken twice, and a
    // screen reader speaks a name only when it changes: clear it first.
    const QString spoken = m_text;
    m_text.clear();
    QAccessibleEvent cleared(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&cleared);
    m_text = spoken;
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.8 passes announcements on: the screen reader speaks the news whatever
    // has the focus, an urgent one at once, interrupting what it was saying.
    QAccessibleAnnouncementEvent announcement(this, m_text);
    announcement.setPoliteness(
        urgent ? QAccessible::AnnouncementPoliteness::Assertive : QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&announcement);
#else
    // Qt's bridge passes no alert event on; a notification that appears is what
    // a screen reader speaks at once, whatever has the focus.
    m_alert->hide();
    if (urgent) {
        m_alert->setAccessibleName(m_text);
        m_alert->show();
    }
#endif
    emit Announced(m_text, m_urgent);
}
