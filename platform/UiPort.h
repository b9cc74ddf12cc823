// What a long engine command needs from the window it runs in: the status
// line, the progress bar, a way to keep the window alive, the stop flag and
// questions to the user. The main window implements it; tests use a recorder.
#pragma once

#include <string>

namespace bs {

// Buttons and icons of a message box (same values as MB_*).
enum MessageBoxStyle : unsigned {
    MbOk = 0x0,
    MbOkCancel = 0x1,
    MbYesNo = 0x4,
    MbIconError = 0x10,
    MbIconQuestion = 0x20,
    MbIconWarning = 0x30,
    MbIconInformation = 0x40,
};

// Answers of a message box (same values as ID*).
enum MessageBoxAnswer : int {
    AnswerOk = 1,
    AnswerCancel = 2,
    AnswerYes = 6,
    AnswerNo = 7,
};

class UiPort {
public:
    virtual ~UiPort() = default;

    // Sets the status line and repaints it at once.
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetProgressMax(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void StepProgress() = 0;
    // Processes pending window events once.
    virtual void PumpEvents() = 0;
    // True once the program is really ending; long loops leave early.
    virtual bool StopRequested() const = 0;
    // A modal message box; returns the answer.
    virtual int Ask(const std::string& text, const std::string& caption, unsigned style) = 0;
};

} // namespace bs
