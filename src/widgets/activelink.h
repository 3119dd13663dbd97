// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessible>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QPainter;

// The image button and text link of the skin. It shows its rest picture, swaps in
// its hover picture while the pointer is over it, and reports press, release,
// movement and click (a click comes after the release, on the left button, when
// the release is still over the control). A screen reader sees it as a button or
// a link with a name and a press action.
class ActiveLink final : public QWidget
{
    Q_OBJECT
public:
    // Text alignment codes of course layouts: 0 left, 1 right, 2 centre.
    enum Alignment { AlignLeftCode = 0, AlignRightCode = 1, AlignCenterCode = 2 };

    explicit ActiveLink(QWidget *parent = nullptr);

    // A skinned push button with its object and screen-reader names, at a

    // design size until the skin's picture gives it its own.

    static ActiveLink *Button(QWidget *parent, const QString &objectName, const QString &accessibleName, QSize size);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);
    QPixmap activepicture() const { return m_activePicture; }
    void setActivepicture(const QPixmap &picture);

    QFont textFont() const { return m_font; }
    void setTextFont(const QFont &font);
    QFont activefont() const { return m_activeFont; }
    void setActivefont(const QFont &font);

    QColor forecolor() const { return m_foreColor; }
    void setForecolor(const QColor &color);
    QColor activeforecolor() const { return m_activeForeColor; }
    void setActiveforecolor(const QColor &color);
    QColor backcolor() const { return m_backColor; }
    void setBackcolor(const QColor &color);
    QColor activebackcolor() const { return m_activeBackColor; }
    void setActivebackcolor(const QColor &color);

    bool alwayshandcursor() const { return m_handCursor; }
    void setAlwayshandcursor(bool on);
    // A custom pointer (the skin's hand cursor) used while alwayshandcursor is on.
    void setHandCursor(const QCursor &cursor);

    int alignment() const { return m_alignment; }
    void setAlignment(int code);

    // 0 none, 1 a single line in the text's colour.
    int borderstyle() const { return m_borderStyle; }
    void setBorderstyle(int style);

    // Button for image buttons; link for lesson and entry links.
    QAccessible::Role accessibleRole() const { return m_role; }
    void setAccessibleRole(QAccessible::Role role) { m_role = role; }

    // What a screen reader is told beside the role: a chapter title that opens
    // and closes, the lesson or example that is the chosen one, a toggle that is
    // on. The look of the control is the skin's business; these only speak.
    enum AccessibleFlag {
        Expandable = 0x1,
        Expanded = 0x2,
        Selectable = 0x4,
        Selected = 0x8,
        Checkable = 0x10,
        Checked = 0x20,
        // What Enter does in its dialog.
        DefaultButton = 0x40,
        // A control with a choice (a speed, a count): the arrow keys and the
        // wheel step through it, and its value is spoken with its name.
        Adjustable = 0x80,
    };
    Q_DECLARE_FLAGS(AccessibleFlags, AccessibleFlag)
    AccessibleFlags accessibleFlags() const { return m_flags; }
    void setAccessibleFlag(AccessibleFlag flag, bool on);

    bool isHovered() const { return m_hovered; }

    // The choice an Adjustable control holds, as a screen reader says it.
    QString accessibleValue() const { return m_accessibleValue; }
    void setAccessibleValue(const QString &value);
    // The learner's own marks, drawn over the skin's picture, which stays as it
    // is: a small dot in the top corner (an example practised), and a short
    // note at the caption's end (how much of a lesson is practised).
    bool cornerMark() const { return m_cornerMark; }
    void setCornerMark(bool on);
    QString note() const { return m_note; }
    void setNote(const QString &note);

    // What the screen reader's press action and a click both do.
    void press();

signals:
    // Just before Click, so that what a press interrupts ends before the
    // press's own work begins.
    void Pressed();
    void Click();
    // Up or the wheel away: +1; down: -1. Only on Adjustable controls.
    void Adjust(int step);
    void MouseDown(Qt::MouseButton button, const QPoint &pos);
    void MouseUp(Qt::MouseButton button, const QPoint &pos);
    void MouseMove(Qt::MouseButtons buttons, const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setHovered(bool on);
    void updateCursor();
    QFont noteFont() const;
    void paintMarks(QPainter &p, const QColor &fore, bool noteShown);

    QString m_caption;
    QPixmap m_picture;
    QPixmap m_activePicture;
    QFont m_font;
    QFont m_activeFont;
    bool m_activeFontSet = false;
    QColor m_foreColor = Qt::black;
    QColor m_activeForeColor;
    QColor m_backColor;
    QColor m_activeBackColor;
    bool m_handCursor = false;
    QCursor m_customHand;
    bool m_customHandSet = false;
    int m_alignment = AlignLeftCode;
    int m_borderStyle = 0;
    QAccessible::Role m_role = QAccessible::Button;
    AccessibleFlags m_flags;
    QString m_accessibleValue;
    bool m_hovered = false;
    bool m_pressed = false;
    bool m_cornerMark = false;
    QString m_note;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ActiveLink::AccessibleFlags)
