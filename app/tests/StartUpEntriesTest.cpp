#include "app/StartUpEntries.h"

#include <gtest/gtest.h>

#include "platform/fake/FakeRegistry.h"

namespace bs {
namespace {

const std::string Dir = "C:\\Program Files\\Brimsweep\\";

std::string Read(FakeRegistry& registry, RegRoot root, const std::string& path,
                 const std::string& name) {
    auto value = registry.GetValue(root, path, name);
    return value ? value->data : "(none)";
}

TEST(StartUpEntries, PathClassKeyAndAQuotedRunValueAreWrittenAtEveryStart) {
    FakeRegistry registry;
    WriteStartUpEntries(registry, Dir + "brimsweep.exe", Dir);
    EXPECT_EQ(Read(registry, RegRoot::CurrentUser, ProgramPathKey, "Path"), Dir + "brimsweep.exe");
    EXPECT_EQ(Read(registry, RegRoot::ClassesRoot, ContextMenuClassKey, ""),
              "Brimsweep Context Menu");
    EXPECT_TRUE(registry.KeyExists(RegRoot::ClassesRoot,
                                   std::string(ContextMenuClassKey) + "\\InProcServer32"));
    EXPECT_EQ(Read(registry, RegRoot::LocalMachine, RunKey, RunValueName),
              "\"" + Dir + "brimsweep.exe\"");
    EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, RunKey))
        << "the user's Run key only stands in for the machine's";
}

TEST(StartUpEntries, AStandardUserGetsTheRunValueUnderItsOwnKeyAndNothingStops) {
    FakeRegistry registry;
    registry.CreateKey(RegRoot::LocalMachine, "Software");
    registry.SetWriteProtected(RegRoot::LocalMachine, "Software", true);
    registry.CreateKey(RegRoot::ClassesRoot, "CLSID");
    registry.SetWriteProtected(RegRoot::ClassesRoot, "CLSID", true);
    WriteStartUpEntries(registry, Dir + "brimsweep.exe", Dir);
    EXPECT_EQ(Read(registry, RegRoot::CurrentUser, RunKey, RunValueName),
              "\"" + Dir + "brimsweep.exe\"");
    EXPECT_EQ(Read(registry, RegRoot::CurrentUser, ProgramPathKey, "Path"), Dir + "brimsweep.exe");
    EXPECT_FALSE(registry.KeyExists(RegRoot::ClassesRoot, ContextMenuClassKey));
}

} // namespace
} // namespace bs
