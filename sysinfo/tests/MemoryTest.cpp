#include <gtest/gtest.h>

#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeMachine.h"
#include "sysinfo/SystemInfo.h"

namespace bs {
namespace {

TEST(SystemInfo, CreatingTheComponentQueriesNothing) {
    FakeMachine machine;
    FakeFileSystem files;
    TMSystemInfo info(machine, files);
    EXPECT_EQ(machine.cpuidCalls, 0);
    EXPECT_EQ(machine.geometryQueries, 0);
    EXPECT_TRUE(machine.prioritiesSet.empty());
    EXPECT_EQ(info.Memory().PhysicalTotal(), 0u);
    EXPECT_EQ(info.Disk().Drive(), "");
}

TEST(Memory, SixteenGibibytesReadInFullAndAFailedQueryReadsZero) {
    FakeMachine machine;
    machine.memoryStatus = MemoryStatus{37,          16ull << 30,  10ull << 30, 20ull << 30,
                                        12ull << 30, 128ull << 40, 127ull << 40};
    TMemory memory(machine);
    memory.QueryStatus();
    EXPECT_EQ(memory.MemoryLoad(), 37u);
    EXPECT_EQ(memory.PhysicalTotal(), 17'179'869'184u);
    EXPECT_EQ(memory.PhysicalFree(), 10ull << 30);
    EXPECT_EQ(memory.PageFileTotal(), 20ull << 30);
    EXPECT_EQ(memory.PageFileFree(), 12ull << 30);
    EXPECT_EQ(memory.VirtualTotal(), 128ull << 40);
    EXPECT_EQ(memory.VirtualFree(), 127ull << 40);
    EXPECT_EQ(memory.PageSize(), 4096u);
    EXPECT_EQ(memory.AllocGranularity(), 65536u);
    EXPECT_EQ(memory.MinAppAddress(), 0x10000u);
    EXPECT_EQ(memory.MaxAppAddress(), 0x7FFFFFFEFFFFu);
    EXPECT_EQ(memory.Win9x_SystemRes() + memory.Win9x_GDIRes() + memory.Win9x_UserRes(), 0);

    machine.memoryStatus.reset();
    memory.QueryStatus();
    EXPECT_EQ(memory.PhysicalTotal(), 0u);
    EXPECT_EQ(memory.MemoryLoad(), 0u);
}

} // namespace
} // namespace bs
