#include "platform/fake/FakeMachine.h"

#include <algorithm>
#include <cctype>

namespace bs {

CpuidRegisters FakeMachine::Cpuid(uint32_t leaf, uint32_t subleaf) {
    ++cpuidCalls;
    ++cpuidCallsByLeaf[leaf];
    auto found = cpuid.find({leaf, subleaf});
    return found == cpuid.end() ? CpuidRegisters{} : found->second;
}

int64_t FakeMachine::PerformanceCounter() {
    counter_ += countsPerRead;
    size_t trial = static_cast<size_t>(std::max(trialsStarted - 1, 0));
    int64_t mhz = trialMhz.empty() ? 0 : trialMhz[std::min(trial, trialMhz.size() - 1)];
    int64_t frequency = performanceFrequency.value_or(1'000'000);
    // Cycles per count are rarely whole: carry the remainder so that the
    // time-stamp counter keeps the exact rate over a trial.
    cycleRemainder_ += mhz * 1'000'000 * countsPerRead;
    timeStamp_ += static_cast<uint64_t>(cycleRemainder_ / frequency);
    cycleRemainder_ %= frequency;
    return counter_;
}

std::optional<int> FakeMachine::ThreadPriority() {
    if (!priorityRead_) {
        priority_ = initialPriority;
        priorityRead_ = true;
    }
    return priority_;
}

bool FakeMachine::SetThreadPriority(int priority) {
    prioritiesSet.push_back(priority);
    if (priority == kTimeCriticalPriority)
        ++trialsStarted;
    priority_ = priority;
    priorityRead_ = true;
    return true;
}

std::optional<DiskGeometry> FakeMachine::GetDiskGeometry(const std::string& root) {
    ++geometryQueries;
    if ((errorMode & kFailCriticalErrors) == 0)
        ++geometryQueriesThatCouldPrompt;
    if (root.size() < 2 || root[1] != ':')
        return std::nullopt;
    auto found =
        geometry.find(static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))));
    if (found == geometry.end())
        return std::nullopt;
    return found->second;
}

uint32_t FakeMachine::SetErrorMode(uint32_t mode) {
    errorModesSet.push_back(mode);
    return std::exchange(errorMode, mode);
}

} // namespace bs
