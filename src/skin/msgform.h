// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPoint>
#include <QRegion>

class ActiveLink;
class QLabel;

// The program's own message box (`msgform`): a borderless card in the course's
// skin with one Arabic text and a single image button that closes it. It reads
// its text and pictures when it is built, so every showing is a fresh dialog with
// the current message; callers create it, exec() it and let it go.
class MsgForm final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int CardWidth = 235;
    static constexpr int CardHeight = 149;

    // imagesPath is the skin folder with its trailing separator. With an owner the
    // dialog opens centred over the owner's window.
    MsgForm(const QString &imagesPath, const QString &message, QWidget *owner = nullptr);

    // The text shown, line breaks as LF.
    QString message() const { return m_message; }
    QLabel *msgtext() const { return m_msgtext; }
    ActiveLink *OKb() const { return m_OKb; }
    QRegion outline() const { return m_outline; }

    // The dialog's background, drawn from its outline: it belongs to the dialog's
    // design, not to a course's skin.
    static QPixmap BackgroundCard();
    // The text colour: the desktop's accent, as title bars show it.
    static QColor TextColor(const QPalette &palette);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void LoadForm(const QString &imagesPath, const QString &message);

    QRegion m_outline;
    QString m_message;
    QPixmap m_card;
    QLabel *m_msgtext = nullptr;
    ActiveLink *m_OKb = nullptr;
    // Set while the dialog moves itself because no window manager would.
    bool m_dragging = false;
    QPoint m_dragOffset;
};
