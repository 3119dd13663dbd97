// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/activelink.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QWheelEvent>

namespace {

constexpr int TextInset = 24;
// The learner's marks: a dot of the skin's gold, ringed in dark green so
// that it reads on the examples bar and on a light picture alike.
const QColor MarkDone(0xE6, 0xC2, 0x5C);
const QColor MarkRing(0x12, 0x38, 0x24);
// Clear of the frame that a selected link's picture draws round it.
constexpr int NoteInset = 9;
constexpr int NoteGap = 4;
// The keyboard's focus mark.
const QColor FocusLight(0xFF, 0xD5, 0x4A);
const QColor FocusDark(0x10, 0x20, 0x18);

class AccessibleActiveLink final : public QAccessibleWidget
{
public:
    explicit AccessibleActiveLink(ActiveLink *link)
        : QAccessibleWidget(link, link->accessibleRole())
    {
        addControllingSignal(QStringLiteral("Click()"));
    }

    QAccessible::Role role() const override { return link()->accessibleRole(); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            if (!link()->accessibleName().isEmpty())
                return link()->accessibleName();
            return link()->caption();
        }
        if (t == QAccessible::Value)
            return link()->accessibleValue();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        s.hotTracked = link()->isHovered();
        const ActiveLink::AccessibleFlags flags = link()->accessibleFlags();
        s.expandable = flags.testFlag(ActiveLink::Expandable);
        s.expanded = flags.testFlag(ActiveLink::Expanded);
        s.collapsed = s.expandable && !s.expanded;
        s.selectable = flags.testFlag(ActiveLink::Selectable);
        s.selected = flags.testFlag(ActiveLink::Selected);
        s.checkable = flags.testFlag(ActiveLink::Checkable);
        s.checked = flags.testFlag(ActiveLink::Checked);
        // A toggle button is announced as pressed as well as checked.
        s.pressed = s.checkable && s.checked;
        s.defaultButton = flags.testFlag(ActiveLink::DefaultButton);
        return s;
    }

    QStringList actionNames() const override
    {
        if (!link()->isEnabled())
            return {};
        return { QAccessibleActionInterface::pressAction() };
    }

    void doAction(const QString &name) override
    {
        if (name != QAccessibleActionInterface::pressAction() || !link()->isEnabled())
            return;
        // Pressed once the screen reader's call has been answered: a press that
        // opens a message runs the message's own loop, and the screen reader
        // would hang, unanswered, until the learner closed it.
        ActiveLink *target = link();
        QMetaObject::invokeMethod(
            target,
            [target] {
                if (target->isEnabled())
                    target->press();
            },
            Qt::QueuedConnection);
    }

private:
    ActiveLink *link() const { return static_cast<ActiveLink *>(widget()); }
};

QAccessibleInterface *activeLinkFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ActiveLink") && object && object->isWidgetType())
        return new AccessibleActiveLink(static_cast<ActiveLink *>(object));
    return nullptr;
}

} // namespace

ActiveLink::ActiveLink(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(activeLinkFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    setFocusPolicy(Qt::TabFocus);
    m_font = font();
}

ActiveLink *ActiveLink::Button(QWidget *parent, const QString &objectName, const QString &accessibleName, QSize size)
{
    auto *link = new ActiveLink(parent);
    link->setObjectName(objectName);
    link->setAccessibleName(accessibleName);
    link->setAccessibleRole(QAccessible::Button);
    link->resize(size);
    return link;
}

void ActiveLink::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    update();
    QAccessibleEvent ev(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&ev);
}

void ActiveLink::setAccessibleFlag(AccessibleFlag flag, bool on)
{
    if (m_flags.testFlag(flag) == on)
        return;
    m_flags.setFlag(flag, on);
    QAccessible::State changed;
    switch (flag) {
    case Expandable:
        changed.expandable = true;
        changed.collapsed = true;
        break;
    case Expanded:
        changed.expanded = true;
        changed.collapsed = true;
        break;
    case Selectable: changed.selectable = true; break;
    case Selected: changed.selected = true; break;
    case Checkable: changed.checkable = true; break;
    case Checked:
        changed.checked = true;
        changed.pressed = true;
        break;
    case DefaultButton: changed.defaultButton = true; break;
    case Adjustable: return; // no state of its own: the keys and the value speak
    }
    QAccessibleStateChangeEvent ev(this, changed);
    QAccessible::updateAccessibility(&ev);
    // Qt's bridge forwards no selected state from a state change, but does from
    // a selection event.
    if (flag == Selected) {
        QAccessibleEvent selection(this, on ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
        QAccessible::updateAccessibility(&selection);
    }
}

void ActiveLink::setCornerMark(bool on)
{
    if (m_cornerMark == on)
        return;
    m_cornerMark = on;
    update();
}

void ActiveLink::setNote(const QString &note)
{
    if (m_note == note)
        return;
    m_note = note;
    update();
}

void ActiveLink::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void ActiveLink::setActivepicture(const QPixmap &picture)
{
    m_activePicture = picture;
    update();
}

void ActiveLink::setTextFont(const QFont &font)
{
    m_font = font;
    update();
}

void ActiveLink::setActivefont(const QFont &font)
{
    m_activeFont = font;
    m_activeFontSet = true;
    update();
}

void ActiveLink::setForecolor(const QColor &color)
{
    m_foreColor = color;
    update();
}

void ActiveLink::setActiveforecolor(const QColor &color)
{
    m_activeForeColor = color;
    update();
}

void ActiveLink::setBackcolor(const QColor &color)
{
    m_backColor = color;
    update();
}

void ActiveLink::setActivebackcolor(const QColor &color)
{
    m_activeBackColor = color;
    update();
}

void ActiveLink::setAlwayshandcursor(bool on)
{
    m_handCursor = on;
    updateCursor();
}

void ActiveLink::setHandCursor(const QCursor &cursor)
{
    m_customHand = cursor;
    m_customHandSet = true;
    updateCursor();
}

void ActiveLink::setAlignment(int code)
{
    m_alignment = code;
    update();
}

void ActiveLink::setBorderstyle(int style)
{
    m_borderStyle = style;
    update();
}

void ActiveLink::press()
{
    if (!isEnabled())
        return;
    emit Pressed();
    emit Click();
}

void ActiveLink::setAccessibleValue(const QString &value)
{
    if (value == m_accessibleValue)
        return;
    m_accessibleValue = value;
    // The value is read with the name: a change of it is a change of what the
    // control is called, which every screen reader follows.
    QAccessibleEvent ev(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&ev);
}

void ActiveLink::wheelEvent(QWheelEvent *event)
{
    if (!m_flags.testFlag(Adjustable) || !isEnabled() || event->angleDelta().y() == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    emit Adjust(event->angleDelta().y() > 0 ? 1 : -1);
    event->accept();
}

void ActiveLink::updateCursor()
{
    if (m_handCursor)
        setCursor(m_customHandSet ? m_customHand : QCursor(Qt::PointingHandCursor));
    else
        unsetCursor();
}

void ActiveLink::setHovered(bool on)
{
    if (m_hovered == on)
        return;
    m_hovered = on;
    update();
}

void ActiveLink::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool active = m_hovered && isEnabled();
    const QColor back = active && m_activeBackColor.isValid() ? m_activeBackColor : m_backColor;
    if (back.isValid())
        p.fillRect(rect(), back);

    const QPixmap &pic = active && !m_activePicture.isNull() ? m_activePicture : m_picture;
    if (!pic.isNull())
        p.drawPixmap(0, 0, pic);
    if (m_borderStyle == 1) {
        p.setPen(m_foreColor);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    QColor fore = active && m_activeForeColor.isValid() ? m_activeForeColor : m_foreColor;
    if (!isEnabled())
        fore.setAlpha(110);
    // The caption keeps clear of the note, a centred one staying in the middle.
    // A caption too long for that keeps the whole width, as the skin laid it
    // out, and the note gives way: the screen reader's description still says it.
    int noteRoom = 0;
    if (!m_note.isEmpty())
        noteRoom = NoteInset + QFontMetrics(noteFont()).horizontalAdvance(m_note) + NoteGap;
    bool noteShown = false;
    if (!m_caption.isEmpty()) {
        p.setFont(active && m_activeFontSet ? m_activeFont : m_font);
        p.setPen(fore);
        // Left and right follow the reading direction, as in a right-to-left window;
        // a small inset keeps text that is not centred off the picture's edge.
        QRect box = rect();
        Qt::Alignment h = Qt::AlignHCenter;
        if (m_alignment != AlignCenterCode) {
            h = m_alignment == AlignRightCode ? Qt::AlignRight : Qt::AlignLeft;
            box.adjust(TextInset, 0, -TextInset, 0);
        }
        if (noteRoom > 0) {
            const int captionWidth = p.fontMetrics().horizontalAdvance(m_caption);
            const bool noteOnLeft = layoutDirection() == Qt::RightToLeft;
            // The inset on the note's side already keeps some of the room.
            const int more = m_alignment != AlignCenterCode ? qMax(0, noteRoom - TextInset) : noteRoom;
            if (m_alignment == AlignCenterCode && captionWidth <= box.width() - 2 * more) {
                // Still in the middle.
                box.adjust(more, 0, -more, 0);
                noteShown = true;
            } else if (m_alignment != AlignCenterCode && captionWidth <= box.width() - more) {
                box.adjust(noteOnLeft ? more : 0, 0, noteOnLeft ? 0 : -more, 0);
                noteShown = true;
            }
        }
        p.drawText(box, int(h | Qt::AlignVCenter | Qt::TextWordWrap), m_caption);
    } else {
        noteShown = noteRoom > 0;
    }
    paintMarks(p, fore, noteShown);

    if (hasFocus()) {
        // Over the picture, whatever its colours: a light ring with a dark one
        // inside reads on a dark frame and on parchment alike.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(FocusLight, 2));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
        p.setPen(QPen(FocusDark, 1));
        p.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

QFont ActiveLink::noteFont() const
{
    QFont small = m_font;
    if (small.pixelSize() > 0)
        small.setPixelSize(qMax(10, small.pixelSize() * 17 / 20));
    else
        small.setPointSizeF(qMax(8.0, small.pointSizeF() * 0.85));
    small.setBold(false);
    return small;
}

void ActiveLink::paintMarks(QPainter &p, const QColor &fore, bool noteShown)
{
    if (noteShown) {
        // At the end of the line as it is read, quieter than the caption.
        QColor quiet = fore;
        quiet.setAlphaF(fore.alphaF() * 0.75);
        p.setFont(noteFont());
        p.setPen(quiet);
        const Qt::Alignment end = layoutDirection() == Qt::RightToLeft ? Qt::AlignLeft : Qt::AlignRight;
        p.drawText(
            rect().adjusted(NoteInset, 0, -NoteInset, 0), int(end | Qt::AlignVCenter | Qt::AlignAbsolute), m_note);
    }
    if (m_cornerMark) {
        // In the top corner where a line of the caption would end, clear of
        // the number the picture shows in its middle.
        const qreal d = qBound(6.0, qMin(width(), height()) / 3.5, 10.0);
        const qreal x = layoutDirection() == Qt::RightToLeft ? 2.0 : width() - d - 2.0;
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(MarkRing, 1.5));
        p.setBrush(MarkDone);
        p.drawEllipse(QRectF(x, 1.5, d, d));
        p.restore();
    }
}

void ActiveLink::keyPressEvent(QKeyEvent *event)
{
    // From the keyboard a control is pressed as a button is.
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && !event->isAutoRepeat()
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        press();
        return;
    }
    if (m_flags.testFlag(Adjustable) && (key == Qt::Key_Up || key == Qt::Key_Down)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        emit Adjust(key == Qt::Key_Up ? 1 : -1);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ActiveLink::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void ActiveLink::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void ActiveLink::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QWidget::enterEvent(event);
}

void ActiveLink::leaveEvent(QEvent *event)
{
    setHovered(false);
    QWidget::leaveEvent(event);
}

void ActiveLink::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    emit MouseDown(event->button(), event->position().toPoint());
}

void ActiveLink::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    emit MouseUp(event->button(), pos);
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        if (rect().contains(pos))
            press();
    }
}

void ActiveLink::mouseMoveEvent(QMouseEvent *event)
{
    // Some pointer paths never send an enter event (a press that started elsewhere).
    if (!m_hovered && rect().contains(event->position().toPoint()))
        setHovered(true);
    emit MouseMove(event->buttons(), event->position().toPoint());
}

void ActiveLink::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            m_pressed = false;
        update();
    }
    QWidget::changeEvent(event);
}
