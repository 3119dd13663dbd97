// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QString>
#include <QVector>

// The demo course's examples (course/examples.tsv) joined with their verses
// (course/verses.tsv).
class ExampleList final
{
public:
    enum class Show { Tag, Gif, Jpg, Text };

    struct Example
    {
        QString base; // "2-1-3" or "1-3-2-1"
        QString reference; // "sura:aya"
        Show show = Show::Tag;
        QString sura; // the sura's name
        QString verse; // as in verses.tsv, Uthmani script
    };

    bool Load(const QString &examplesPath, const QString &versesPath, QString &error);
    const Example *Find(const QString &base) const;
    const QVector<Example> &Examples() const { return m_examples; }

    // The spoken label of an example, for example "المثال الثالث من الدرس
    // الثاني، الباب الأول". Empty for a malformed base name.
    static QString Label(const QString &base);

private:
    QVector<Example> m_examples;
};
