// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QKeyEvent>
#include <QMenu>
#include <QString>
#include <functional>

// The window's right-click menu (also on the context-menu key and
// Shift+F10): the fixed pages, minimise and exit.
class PopupMenu final : public QMenu
{
    Q_OBJECT
public:
    // Command ids; the separator's is never chosen.
    enum Command { CmdStartPage = 1, CmdAbout, CmdReferences, CmdHelp, CmdMinimize, CmdExit, CmdSeparator };

    struct Callouts
    {
        // A fixed page replaces the lesson: the menu and the pages let go of it.
        std::function<void()> LeaveLesson;
        std::function<void(const QString &page)> Navigate;
        std::function<void()> Minimize;
        std::function<void()> Exit;
    };

    // htmlDir ends with a separator.
    PopupMenu(QString htmlDir, Callouts callouts, QWidget *parent);

    // The context-menu key, or Shift+F10, opens it from the keyboard anywhere.
    static bool OpensOn(const QKeyEvent &event)
    {
        return event.key() == Qt::Key_Menu || (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier);
    }
    // Shows the menu at a point of the screen and does what is chosen.
    void ChooseAt(const QPoint &globalPosition);
    // What a chosen command does; 0 (dismissed) does nothing.
    void Run(int id);

private:
    QString m_htmlDir;
    Callouts m_callouts;
};
