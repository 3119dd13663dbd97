// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/takefiles.h"

#include "compare/speechfeatures.h"
#include "compare/takeanalysis.h"
#include "sound/qt/soundloader.h"

TakeComparison TakeFiles::CompareFiles(const QString &referencePath, const QString &takePath)
{
    QString error;
    const std::optional<MonoSound> reference
        = SoundLoader::DecodeCompressed(referencePath, SpeechFeatures::Rate, &error);
    if (!reference) {
        TakeComparison result;
        // An unreadable take is said first: it is the learner's to mend.
        if (!SoundLoader::ReadWave(takePath, SpeechFeatures::Rate, &result.error)) {
            result.status = TakeComparison::Status::TakeUnreadable;
            return result;
        }
        result.status = TakeComparison::Status::ReferenceUnreadable;
        result.error = error;
        return result;
    }
    return CompareWithTake(*reference, takePath);
}

TakeComparison TakeFiles::CompareWithTake(const MonoSound &reference, const QString &takePath)
{
    QString error;
    const std::optional<MonoSound> take = SoundLoader::ReadWave(takePath, SpeechFeatures::Rate, &error);
    if (!take) {
        TakeComparison result;
        result.status = TakeComparison::Status::TakeUnreadable;
        result.error = error;
        return result;
    }
    return TakeAnalysis::Compare(reference, *take);
}
