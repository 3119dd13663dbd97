// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Where the program's messages go. The window shows the learner's messages in its
// own skinned dialog and the few others in the standard message box; tests read
// them here instead of blocking on a modal window.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // The platform's standard message box with one OK button.
    virtual void ShowMessageBox(const QString &text) = 0;
    // The skinned message dialog, modal.
    virtual void ShowMsgForm(const QString &message) = 0;
    // A question with two answers, modal: true for yes (the first), false for
    // no, which is also what closing the question answers.
    virtual bool Confirm(const QString &question, const QString &yes, const QString &no) = 0;
};
