// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/keyboardorder.h"

#include "content/pagecontrols.h"
#include "menu/menucontrols.h"
#include "mixer/mixercontrols.h"
#include "practice/practicecontrols.h"
#include "widgets/activelink.h"

#include <QLabel>
#include <QTimer>
#include <algorithm>

KeyboardOrder::KeyboardOrder(QWidget &window, Controls controls)
    : m_window(window)
    , m_c(std::move(controls))
{
}

QList<QWidget *> KeyboardOrder::Order(bool shownOnly) const
{
    QList<QWidget *> order = m_c.chrome;

    // The menu's titles and the open chapter's links, top to bottom as they stand.
    const MenuControls &menu = *m_c.menu;
    QList<QWidget *> menuItems;
    for (int i = 1; i < int(menu.ImenuL.size()); ++i)
        menuItems << menu.ImenuL[i];
    for (int k = 1; k < int(menu.Alink.size()); ++k)
        menuItems << menu.Alink[k];
    std::stable_sort(menuItems.begin(), menuItems.end(),
        [](const QWidget *a, const QWidget *b) { return a->mapToGlobal(QPoint()).y() < b->mapToGlobal(QPoint()).y(); });
    order << menuItems << menu.MenuScrollUp << menu.MenuScrollDown;

    order << m_c.pages->BabTitle;
    for (ActiveLink *link : m_c.pages->Lien)
        order << link;
    order << m_c.page << m_c.scrollBar->ScrollUp << m_c.scrollBar->ScrollDown;

    const PracticeControls &p = *m_c.practice;
    for (int i = 1; i < int(p.SampleN.size()); ++i)
        order << p.SampleN[i];
    order << p.ImSamplesUp << p.ImSamplesDown << p.Aspeed << p.Arepeat << p.Atakes
          << (m_c.takesList ? m_c.takesList() : nullptr) << p.Alisten << p.Arec << p.Astop << p.Aplay << p.Apause;
    // The verse, when its words can be chosen (the course gives their times).
    if (p.AyaText && p.AyaText->focusPolicy() != Qt::NoFocus)
        order << p.AyaText;

    const MixerControls &m = *m_c.mixer;
    order << m.WaveIcon;
    for (int i = 1; i < int(m.Imvol.size()); ++i)
        order << m.Imvol[i];
    order << m.volup << m.voldown << m.MicIcon;
    for (int i = 1; i < int(m.Immic.size()); ++i)
        order << m.Immic[i];
    order << m.micup << m.micdown;

    order.removeIf([shownOnly](const QWidget *w) { return !w || (shownOnly && (!w->isVisible() || !w->isEnabled())); });
    return order;
}

bool KeyboardOrder::Move(bool next)
{
    const QList<QWidget *> order = Order();
    if (order.isEmpty())
        return false;
    QWidget *current = m_window.focusWidget();
    const QList<QWidget *> all = Order(false);
    if (current && !current->isVisible() && all.contains(current)) {
        // The focused control is hiding itself (Record gives way to Stop): once
        // the press has shown what replaces it, the focus goes to the next
        // control shown after its place, not back to the start of the window.
        const qsizetype place = all.indexOf(current);
        QTimer::singleShot(0, &m_window, [this, place] {
            const QList<QWidget *> all = Order(false);
            for (qsizetype i = 1; i <= all.size(); ++i) {
                QWidget *candidate = all[(place + i) % all.size()];
                if (candidate->isVisible() && candidate->isEnabled()) {
                    candidate->setFocus(Qt::TabFocusReason);
                    return;
                }
            }
        });
        m_window.setFocus(Qt::OtherFocusReason);
        return true;
    }
    qsizetype at = order.indexOf(current);
    for (qsizetype i = 0; at < 0 && current && i < order.size(); ++i) {
        if (order[i]->isAncestorOf(current))
            at = i;
    }
    const qsizetype n = order.size();
    const qsizetype to = at < 0 ? (next ? 0 : n - 1) : (at + (next ? 1 : n - 1)) % n;
    order[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}
