// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// What opening a lesson page came to. The menu keeps the previous lesson
// selected unless the page opened, and tells the learner about a locked file.
enum class PageOpenResult { Opened, FileInUse, Failed };

inline const QString PageFileInUseMessage
    = QStringLiteral("لا يمكن فتح الملف الخاص بهذا الباب، تأكد أن هذا الملف ليس قيد الاستخدام من طرف برنامج آخر");
