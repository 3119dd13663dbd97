// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/reciterspeed.h"

#include "base/numbers.h"
#include "widgets/activelink.h"

#include <algorithm>

ReciterSpeed::ReciterSpeed(ActiveLink *control, QObject *parent)
    : QObject(parent)
    , m_control(control)
{
    if (m_control) {
        m_control->setAccessibleFlag(ActiveLink::Adjustable, true);
        connect(m_control, &ActiveLink::Click, this, &ReciterSpeed::Next);
        // Up is faster, as a level goes up.
        connect(m_control, &ActiveLink::Adjust, this, [this](int step) { Step(-step); });
    }
    show();
}

QString ReciterSpeed::Spoken(int percent)
{
    return ArabicPercent(percent);
}

QString ReciterSpeed::Phrase(int percent)
{
    if (percent >= 100)
        return {};
    return QStringLiteral("، بسرعة ") + Spoken(percent);
}

void ReciterSpeed::Next()
{
    m_index = (m_index + 1) % int(Percents.size());
    show();
    emit Changed(Speed());
}

void ReciterSpeed::Step(int slower)
{
    const int index = std::clamp(m_index + (slower > 0 ? 1 : -1), 0, int(Percents.size()) - 1);
    if (index == m_index)
        return;
    m_index = index;
    show();
    emit Changed(Speed());
}

void ReciterSpeed::SetPercent(int percent)
{
    const auto found = std::find(Percents.begin(), Percents.end(), percent);
    if (found == Percents.end() || int(found - Percents.begin()) == m_index)
        return;
    m_index = int(found - Percents.begin());
    show();
    emit Changed(Speed());
}

void ReciterSpeed::show()
{
    if (!m_control)
        return;
    const QString value = Spoken(Percent());
    m_control->setCaption(value);
    m_control->setAccessibleValue(value);
    m_control->setAccessibleDescription(value + QStringLiteral("؛ اضغط لتبطئ القارئ، أو استعمل السهمين"));
    m_control->setToolTip(Name + QStringLiteral(": ") + value);
}
