// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/popupmenu.h"

PopupMenu::PopupMenu(QString htmlDir, Callouts callouts, QWidget *parent)
    : QMenu(parent)
    , m_htmlDir(std::move(htmlDir))
    , m_callouts(std::move(callouts))
{
    setObjectName(QStringLiteral("PopupMenuHandle"));
    setLayoutDirection(Qt::RightToLeft);
    const auto add = [this](int id, const QString &caption) { addAction(caption)->setData(id); };
    add(CmdStartPage, QStringLiteral("صفحة البداية"));
    add(CmdAbout, QStringLiteral("حول البرنامج"));
    add(CmdReferences, QStringLiteral("مراجع البرنامج"));
    add(CmdHelp, QStringLiteral("كيف تستخدم البرنامج"));
    addSeparator()->setData(int(CmdSeparator));
    add(CmdMinimize, QStringLiteral("تصغير إلى شريط المهام"));
    add(CmdExit, QStringLiteral("خروج من البرنامج"));
}

void PopupMenu::ChooseAt(const QPoint &globalPosition)
{
    QAction *chosen = exec(globalPosition);
    Run(chosen ? chosen->data().toInt() : 0);
}

void PopupMenu::Run(int id)
{
    const auto page = [this](const char *name) {
        if (m_callouts.LeaveLesson)
            m_callouts.LeaveLesson();
        if (m_callouts.Navigate)
            m_callouts.Navigate(m_htmlDir + QString::fromLatin1(name));
    };
    switch (id) {
    case CmdStartPage: page("first.htm"); break;
    case CmdAbout: page("about.htm"); break;
    case CmdReferences: page("ref.htm"); break;
    case CmdHelp: page("help.htm"); break;
    case CmdMinimize:
        if (m_callouts.Minimize)
            m_callouts.Minimize();
        break;
    case CmdExit:
        if (m_callouts.Exit)
            m_callouts.Exit();
        break;
    default: break;
    }
}
