#include "app/ConsoleProgress.h"

#include <algorithm>

namespace bs {

namespace {

// Longer lines would wrap on an 80-column console and "\r" would then only
// rewrite their last part.
constexpr size_t ConsoleLineWidth = 78;

// Cuts UTF-8 text to at most `width` bytes without splitting a character.
std::string CutUtf8(const std::string& text, size_t width) {
    if (text.size() <= width)
        return text;
    size_t cut = width;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut);
}

} // namespace

void ConsoleProgress::SetStatus(const std::string& text) {
    bool changed = text != status_;
    status_ = text;
    Show(changed);
}

void ConsoleProgress::SetProgressMax(int maximum) {
    maximum_ = maximum;
    Show(false);
}

void ConsoleProgress::SetProgressPosition(int position) {
    position_ = position;
    Show(false);
}

void ConsoleProgress::StepProgress() {
    ++position_;
    Show(false);
}

int ConsoleProgress::Ask(const std::string& text, const std::string&, unsigned style) {
    unsigned buttons = style & 0xF;
    if (buttons == MbYesNo)
        return AnswerYes;
    if ((style & 0xF0) == MbIconError)
        errors_.push_back(text);
    Message(text);
    return buttons == MbOkCancel ? AnswerCancel : AnswerOk;
}

void ConsoleProgress::Message(const std::string& text) {
    Finish();
    sink_.Err("brimclean: " + text + "\r\n");
}

void ConsoleProgress::Finish() {
    if (consoleWidth_ == 0)
        return;
    sink_.Err("\r" + std::string(consoleWidth_, ' ') + "\r");
    consoleWidth_ = 0;
}

std::string ConsoleProgress::Line() const {
    std::string line = status_;
    if (maximum_ > 0 && position_ > 0) {
        int percent = static_cast<int>(
            std::min<int64_t>(100, int64_t(position_) * 100 / std::max(1, maximum_)));
        line += " " + std::to_string(percent) + "%";
    }
    return line;
}

void ConsoleProgress::Show(bool statusChanged) {
    if (status_.empty() || quiet_)
        return;
    uint64_t now = clock_.TickMilliseconds();
    bool console = sink_.ErrIsConsole();
    uint64_t interval = console ? ConsoleIntervalMs : PlainIntervalMs;
    if (shownOnce_ && !statusChanged && now - lastShown_ < interval)
        return;
    shownOnce_ = true;
    lastShown_ = now;
    std::string line = Line();
    if (!console) {
        sink_.Err(line + "\r\n");
        return;
    }
    line = CutUtf8(line, ConsoleLineWidth);
    std::string padding(consoleWidth_ > line.size() ? consoleWidth_ - line.size() : 0, ' ');
    sink_.Err("\r" + line + padding);
    consoleWidth_ = line.size();
}

} // namespace bs
