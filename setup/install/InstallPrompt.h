// The two small interfaces through which the installation talks to its window: progress
// (status, file name, bar, pending messages) and prompt (questions and error boxes), with
// the Abort/Retry/Ignore question that every step asks the same way.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/Exception.h"
#include "setup/MsgBox.h"

namespace pelorin {

class IInstallProgress {
public:
    virtual ~IInstallProgress() = default;

    // StatusLabel and FilenameLabel: the text is shown and repainted at once.
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetFilename(const std::string& text) = 0;

    // Jauge: minimum 0; every change of position repaints at once.
    virtual void SetMax(std::int64_t max) = 0;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;

    // Lets the pending window messages run; true when the user has confirmed cancelling.
    virtual bool ProcessMessagesAndCheckCancel() = 0;
};

class IInstallPrompt {
public:
    virtual ~IInstallPrompt() = default;

    // Asks with the application's message box; buttons are the platform's MB_ flags.
    // An empty caption takes the kind's caption. Returns the platform's button code (IDYES...).
    virtual int MsgBox(const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons) = 0;

    // The application's standard error box for an error without a handler of its own.
    virtual void ShowError(const std::string& message) = 0;
};

// Asks an Abort/Retry/Ignore question (Retry the default button unless another is given).
// Abort raises EAbort; true means Retry, false Ignore.
inline bool AskAbortRetryIgnore(IInstallPrompt& prompt, const std::string& text, const std::string& caption,
                                UINT defaultButton = MB_DEFBUTTON2) {
    const int answer = prompt.MsgBox(text, caption, mbWarning, MB_ABORTRETRYIGNORE | defaultButton);
    if (answer == IDABORT) throw EAbort();
    return answer == IDRETRY;
}

// Moves the bar by delta and repaints it.
inline void AdvanceProgress(IInstallProgress& progress, std::int64_t delta) {
    progress.SetPosition(progress.Position() + delta);
}

}  // namespace pelorin
