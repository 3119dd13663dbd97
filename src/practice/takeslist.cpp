// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/takeslist.h"

#include "base/numbers.h"
#include "compare/takecomparison.h"
#include "practice/examplefiles.h"
#include "practice/takehistory.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>

TakesList::TakesList(std::function<double(const QString &take)> secondsOf,
    std::function<int(const QString &take)> percentOf, QWidget *parent)
    : QListWidget(parent)
    , m_secondsOf(std::move(secondsOf))
    , m_percentOf(std::move(percentOf))
{
    setObjectName(QStringLiteral("TakesList"));
    setAccessibleName(Name);
    setAccessibleDescription(QStringLiteral("اختر تسجيلًا واضغط Enter لسماعه ومقارنته، أو Escape للرجوع"));
    setLayoutDirection(Qt::RightToLeft);
    setFrameShape(QFrame::Box);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this,
        [this](QListWidgetItem *item) { emit Chosen(item->data(Qt::UserRole).toString()); });
    hide();
}

std::vector<TakesList::Take> TakesList::TakesOf(const QString &newestTake) const
{
    std::vector<Take> takes;
    const QFileInfo newest(newestTake);
    if (newest.isFile())
        takes.push_back({ newestTake, newest.lastModified(), m_secondsOf(newestTake), percentOf(newestTake) });
    const QStringList earlier = TakeHistory::Earlier(newestTake);
    for (auto it = earlier.crbegin(); it != earlier.crend(); ++it) {
        // The name is the time it was recorded; a name that is not one (a
        // copy made by hand) falls back on the file's own time.
        const auto name = ExampleFiles::ParseHistoryName(QFileInfo(*it).fileName());
        QDateTime when = name ? name->recorded : QDateTime();
        if (!when.isValid())
            when = QFileInfo(*it).lastModified();
        takes.push_back({ *it, when, m_secondsOf(*it), percentOf(*it) });
    }
    return takes;
}

int TakesList::percentOf(const QString &take) const
{
    return m_percentOf ? m_percentOf(take) : 100;
}

QString TakesList::Wording(const Take &take, const Known &known)
{
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    QStringList parts;
    parts << arabic.toString(take.recorded, QStringLiteral("d MMMM، HH:mm"));
    parts << ArabicSeconds(take.seconds) + QStringLiteral(" ثانية");
    if (take.percent < 100)
        parts << QStringLiteral("بعد القارئ بسرعة ") + ArabicPercent(take.percent);
    if (known.percentDifference)
        parts << TakeComparison::DifferenceFromReciter(*known.percentDifference);
    if (known.wordsOff)
        parts << QStringLiteral("الكلمات المخالفة ") + ArabicIndic(*known.wordsOff);
    if (known.rulesOff)
        parts << QStringLiteral("الأحكام المخالفة ") + ArabicIndic(*known.rulesOff);
    return parts.join(QStringLiteral("، "));
}

void TakesList::Fill(const QString &newestTake, const std::function<Known(const QString &)> &known)
{
    clear();
    const std::vector<Take> takes = TakesOf(newestTake);
    for (const Take &take : takes) {
        auto *item = new QListWidgetItem(Wording(take, known ? known(take.path) : Known {}), this);
        item->setData(Qt::UserRole, take.path);
    }
    if (count() > 0)
        setCurrentRow(0);
}

void TakesList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        emit GivenUp();
        return;
    }
    QListWidget::keyPressEvent(event);
}

// A list left by Tab or a click elsewhere goes, as a menu would.
void TakesList::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    if (isVisible() && event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit GivenUp();
}
