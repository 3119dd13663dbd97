// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QListWidget>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// The learner's takes of the example on show, newest first: when each was
// recorded, how long it is and, once the comparison has judged it this run,
// how much longer or shorter than the reciter it came out. Enter (or a
// double click) on one plays and compares it; Escape gives the list up.
// The takes are the files, as TakeHistory keeps them; the list writes nothing.
class TakesList final : public QListWidget
{
    Q_OBJECT
public:
    struct Take
    {
        QString path;
        QDateTime recorded;
        double seconds = 0;
        // The reciter's speed the take was recorded after.
        int percent = 100;
    };

    static inline const QString Name = QStringLiteral("تسجيلاتك");

    // secondsOf: how long a take lasts (the sound library reads it).
    // percentOf: the speed a take was recorded at (its file says).
    explicit TakesList(std::function<double(const QString &take)> secondsOf,
        std::function<int(const QString &take)> percentOf = {}, QWidget *parent = nullptr);

    // The newest take and the earlier ones kept beside it, newest first.
    std::vector<Take> TakesOf(const QString &newestTake) const;
    // What the comparison found of a take this run, when it was compared.
    struct Known
    {
        std::optional<int> percentDifference;
        // Judged word by word (the course gives the example's word times).
        std::optional<int> wordsOff;
        std::optional<int> rulesOff;
    };
    // "٨ ديسمبر، ١٠:١٥، ٣٫٢ ثانية، أطول من تلاوة القارئ بـ ١٢٪، الكلمات المخالفة ١، الأحكام المخالفة ٠"
    static QString Wording(const Take &take, const Known &known);

    // known: what the comparison found of a take.
    void Fill(const QString &newestTake, const std::function<Known(const QString &)> &known);
    int Count() const { return count(); }

signals:
    void Chosen(const QString &path);
    void GivenUp();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int percentOf(const QString &take) const;
    std::function<double(const QString &take)> m_secondsOf;
    std::function<int(const QString &take)> m_percentOf;
};
