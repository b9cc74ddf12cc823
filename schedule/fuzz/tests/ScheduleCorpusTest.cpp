#include <gtest/gtest.h>

#include "platform/fuzz/CorpusReplay.h"
#include "schedule/fuzz/TaskXmlProperty.h"

namespace bs {
namespace {

TEST(FuzzCorpus, TaskXmlReadsBackTheTaskItWasWrittenFor) {
    auto result = fuzz::ReplayCorpus(BRIM_SOURCE_DIR, "schedule", "taskxml", fuzz::CheckTaskXml);
    EXPECT_GE(result.seeds, 3);
    EXPECT_TRUE(result.violations.empty()) << ::testing::PrintToString(result.violations);
}

} // namespace
} // namespace bs
