// Dialogs for window tests: records each question and answers from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/UiPort.h"

namespace bs {

class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        std::string text;
        std::string caption;
        unsigned style = 0;
    };
    std::vector<Shown> shown;
    std::deque<int> answers;                      // empty: Yes for Yes/No, else OK
    std::deque<std::optional<std::string>> picks; // empty: cancelled
    std::vector<std::string> filters;
    std::vector<std::string> initialFolders;
    std::deque<std::optional<std::string>> savePicks; // empty: cancelled
    std::vector<std::string> saveNames;

    int Message(uintptr_t, const std::string& text, const std::string& caption,
                unsigned style) override {
        shown.push_back({text, caption, style});
        if (answers.empty())
            return (style & 0xF) == MbYesNo ? AnswerYes : AnswerOk;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> OpenFile(uintptr_t, const std::string& filter,
                                        const std::string& initialFolder) override {
        filters.push_back(filter);
        initialFolders.push_back(initialFolder);
        if (picks.empty())
            return std::nullopt;
        auto pick = picks.front();
        picks.pop_front();
        return pick;
    }
    std::optional<std::string> SaveFile(uintptr_t, const std::string& filter,
                                        const std::string& initialName) override {
        filters.push_back(filter);
        saveNames.push_back(initialName);
        if (savePicks.empty())
            return std::nullopt;
        auto pick = savePicks.front();
        savePicks.pop_front();
        return pick;
    }
};

} // namespace bs
