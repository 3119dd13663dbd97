// SPDX-License-Identifier: GPL-3.0-or-later

#include "msgform.h"

#include "base/fonctions.h"
#include "skin/skinfiles.h"
#include "skin/windowshapes.h"
#include "widgets/activelink.h"

#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace {

const QRect kTextRect(16, 16, 193, 113);
const QRect kButtonRect(8, 112, 28, 27);

// Relative luminance of a colour on screen, for the contrast check of the text.
double luminance(const QColor &c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// Messages are written with CR LF line breaks; a lone CR would show as a box
// instead of breaking the line.
QString normalisedLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// The label was laid out for a face with about four lines in its 113 pixels;
// the substitute's taller line spacing would cut the last line of the longest
// message. Lines are set at 80 % of the face's spacing, which gives that pitch
// back without crowding unvocalised text. The message stays plain text.
QString labelMarkup(const QString &message)
{
    return QStringLiteral("<div style=\"line-height:80%; white-space:pre-wrap\">")
        + message.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")) + QStringLiteral("</div>");
}

// The message card is an alert to a screen reader, named by its message, so
// that opening it speaks the text as a message box would.
class AccessibleMsgForm final : public QAccessibleWidget
{
public:
    explicit AccessibleMsgForm(MsgForm *form)
        : QAccessibleWidget(form, QAccessible::AlertMessage)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<MsgForm *>(widget())->message();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *msgFormFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("MsgForm") && object && object->isWidgetType())
        return new AccessibleMsgForm(static_cast<MsgForm *>(object));
    return nullptr;
}

} // namespace

MsgForm::MsgForm(const QString &imagesPath, const QString &message, QWidget *owner)
    : QDialog(owner ? owner->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(msgFormFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setLayoutDirection(Qt::RightToLeft);
    setFixedSize(CardWidth, CardHeight);
    m_card = BackgroundCard();

    m_msgtext = new QLabel(this);
    m_msgtext->setObjectName(QStringLiteral("msgtext"));
    m_msgtext->setGeometry(kTextRect);
    m_msgtext->setFixedSize(kTextRect.size());
    m_msgtext->setLayoutDirection(Qt::RightToLeft);
    m_msgtext->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    m_msgtext->setWordWrap(true);
    m_msgtext->setTextFormat(Qt::RichText);
    QFont font(QStringLiteral("Traditional Arabic"));
    SetDesignPointSize(font, 14.25);
    font.setBold(true);
    m_msgtext->setFont(font);
    QPalette pal = m_msgtext->palette();
    pal.setColor(QPalette::WindowText, TextColor(pal));
    m_msgtext->setPalette(pal);

    m_OKb = new ActiveLink(this);
    m_OKb->setObjectName(QStringLiteral("OKb"));
    m_OKb->setGeometry(kButtonRect);
    m_OKb->setAlwayshandcursor(true);
    m_OKb->setAccessibleName(QStringLiteral("موافق"));
    connect(m_OKb, &ActiveLink::Click, this, &QDialog::accept);
    m_OKb->setAccessibleFlag(ActiveLink::DefaultButton, true);
    m_OKb->setFocus();

    LoadForm(imagesPath, message);

    if (owner) {
        const QRect over = owner->window()->geometry();
        QRect mine(QPoint(0, 0), size());
        mine.moveCenter(over.center());
        // A main window half off the screen must not take its message with it.
        if (const QScreen *screen = owner->window()->screen()) {
            const QRect avail = screen->availableGeometry();
            mine.moveLeft(qBound(avail.left(), mine.left(), qMax(avail.left(), avail.right() - width() + 1)));
            mine.moveTop(qBound(avail.top(), mine.top(), qMax(avail.top(), avail.bottom() - height() + 1)));
        }
        move(mine.topLeft());
    }
}

void MsgForm::LoadForm(const QString &imagesPath, const QString &message)
{
    // The card and its size are in the dialog's own pixels whatever the screen's
    // DPI, so the outline is too: converted at the screen's twips it would cut a
    // card of another size.
    m_outline = BuildOutline(MsgFormShapes(), 1, 1, 0, 0);
    ApplyOutline(this, m_outline);

    const QPixmap rest = LoadSkinPicture(imagesPath, QStringLiteral("msgok.jpg"));
    const QPixmap hover = LoadSkinPicture(imagesPath, QStringLiteral("msgokover.jpg"));
    m_OKb->setPicture(rest);
    m_OKb->setActivepicture(hover);
    if (rest.isNull()) {
        // Without its picture the button would be an invisible spot on the card
        // and the learner would have no visible way to close the message.
        QFont small(QStringLiteral("Traditional Arabic"));
        small.setPixelSize(11);
        small.setBold(true);
        m_OKb->setTextFont(small);
        m_OKb->setForecolor(TextColor(palette()));
        m_OKb->setAlignment(ActiveLink::AlignCenterCode);
        m_OKb->setCaption(QStringLiteral("موافق"));
    }

    m_message = normalisedLineBreaks(message);
    m_msgtext->setText(labelMarkup(m_message));
}

QPixmap MsgForm::BackgroundCard()
{
    constexpr int shadow = 6;
    const QRectF bounds(0, 0, CardWidth, CardHeight);
    const QPainterPath outline = OutlinePath(MsgFormShapes()).intersected([&] {
        QPainterPath p;
        p.addRect(bounds);
        return p;
    }());
    // The card keeps the outline's top and left edges and leaves a strip along
    // the right and bottom for its shadow, still inside the cut.
    QTransform shrink;
    shrink.scale((CardWidth - shadow) / double(CardWidth), (CardHeight - shadow) / double(CardHeight));
    const QPainterPath card = shrink.map(outline);

    QImage image(CardWidth, CardHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipPath(outline);
    p.setPen(Qt::NoPen);
    // Overlapping faint copies make a shadow that is darkest next to the card.
    for (int i = shadow; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawPath(card.translated(i, i));
    }
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0xd4, 0xd4, 0xd4), 1));
    p.drawPath(card);
    p.end();
    return QPixmap::fromImage(image);
}

QColor MsgForm::TextColor(const QPalette &palette)
{
    // The desktop's accent colour stands for the active title bar colour; when a
    // theme makes it too pale to read on the white card (contrast under 3:1, the
    // floor for large bold text), a title-bar navy takes its place.
    const QColor accent = palette.color(QPalette::Active, QPalette::Highlight);
    const double contrast = 1.05 / (luminance(accent) + 0.05);
    return contrast >= 3.0 ? accent : QColor(0x00, 0x00, 0x80);
}

void MsgForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_card);
}

void MsgForm::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    // The text lets its presses through to us; neither it nor the button drags.
    if (event->button() != Qt::LeftButton || childAt(event->position().toPoint()))
        return;
    m_dragOffset = event->globalPosition().toPoint() - pos();
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    // No window manager to move us (a bare X server): follow the pointer ourselves.
    m_dragging = true;
}

void MsgForm::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return QDialog::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton) {
        m_dragging = false;
        return;
    }
    move(event->globalPosition().toPoint() - m_dragOffset);
}

void MsgForm::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragging && event->buttons() == Qt::NoButton)
        m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

void MsgForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Screen readers speak an alert's text as it appears, as they would a message box's.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void MsgForm::keyPressEvent(QKeyEvent *event)
{
    // The picture button takes no keys itself; from the keyboard the dialog
    // closes as its OK would (Escape is the dialog's own).
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: accept(); return;
    default: QDialog::keyPressEvent(event);
    }
}
