// The UiPort of the command-line cleaner: progress on the error stream (one
// updating line on a console, a plain line every few seconds otherwise),
// Ctrl+C as the stop flag, and the engine's questions answered as a user who
// ticked every row would answer them.
#pragma once

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/UiPort.h"

namespace bs {

// The standard streams and the console's stop request.
class ConsoleSink {
public:
    virtual ~ConsoleSink() = default;
    virtual void Out(const std::string& text) = 0;
    virtual void Err(const std::string& text) = 0;
    // True when the error stream is a console window, not a file or pipe.
    virtual bool ErrIsConsole() const = 0;
    // Set by Ctrl+C (or Ctrl+Break, or the console closing).
    virtual bool StopRequested() const = 0;
};

class ConsoleProgress : public UiPort {
public:
    static constexpr uint64_t ConsoleIntervalMs = 100;
    static constexpr uint64_t PlainIntervalMs = 3000;

    ConsoleProgress(ConsoleSink& sink, Clock& clock) : sink_(sink), clock_(clock) {}

    void SetStatus(const std::string& text) override;
    void SetProgressMax(int maximum) override;
    void SetProgressPosition(int position) override;
    void StepProgress() override;
    void PumpEvents() override {}
    bool StopRequested() const override { return sink_.StopRequested(); }
    // Yes to the confirmation; error boxes become "brimclean: " lines on the
    // error stream and are remembered, notices are shown the same way.
    int Ask(const std::string& text, const std::string& caption, unsigned style) override;

    // No progress lines at all; messages and errors still go out.
    void SetQuiet(bool quiet) { quiet_ = quiet; }
    // A message on the error stream, after the progress line.
    void Message(const std::string& text);
    // Ends the progress line, so what follows starts on a line of its own.
    void Finish();
    const std::vector<std::string>& Errors() const { return errors_; }

private:
    void Show(bool statusChanged);
    std::string Line() const;

    ConsoleSink& sink_;
    Clock& clock_;
    std::string status_;
    int maximum_ = 0;
    int position_ = 0;
    uint64_t lastShown_ = 0;
    bool shownOnce_ = false;
    size_t consoleWidth_ = 0; // of the line now on the console
    bool quiet_ = false;
    std::vector<std::string> errors_;
};

} // namespace bs
