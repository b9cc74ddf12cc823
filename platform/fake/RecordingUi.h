// A UiPort for engine tests: records every status text and progress call,
// answers message boxes from a script, and can raise the stop flag after a
// given number of pumps.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/UiPort.h"

namespace bs {

class RecordingUi : public UiPort {
public:
    struct Question {
        std::string text;
        std::string caption;
        unsigned style = 0;
    };

    std::vector<std::string> statuses;
    std::vector<std::string> progressLog; // "max 6", "pos 1", "step"
    std::vector<Question> questions;
    std::deque<int> answers; // scripted; an empty script answers Yes/OK
    int pumps = 0;
    int progressMax = 100;
    int progressPosition = 0;
    bool stop = false;
    // Called at every pump; lets a test act "while the command runs".
    std::function<void(int pumpNumber)> onPump;

    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void SetProgressMax(int maximum) override {
        progressMax = maximum;
        progressLog.push_back("max " + std::to_string(maximum));
    }
    void SetProgressPosition(int position) override {
        progressPosition = position;
        progressLog.push_back("pos " + std::to_string(position));
    }
    void StepProgress() override {
        ++progressPosition;
        progressLog.push_back("step");
    }
    void PumpEvents() override {
        ++pumps;
        if (onPump)
            onPump(pumps);
    }
    bool StopRequested() const override { return stop; }
    int Ask(const std::string& text, const std::string& caption, unsigned style) override {
        questions.push_back({text, caption, style});
        if (answers.empty())
            return (style & 0xF) == MbYesNo ? AnswerYes : AnswerOk;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool SawStatus(const std::string& text) const {
        for (const auto& status : statuses)
            if (status == text)
                return true;
        return false;
    }
};

} // namespace bs
