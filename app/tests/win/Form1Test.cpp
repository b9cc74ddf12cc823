#include <gtest/gtest.h>

#include "app/win/Form1.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/ScriptedDialogs.h"

namespace bs {
namespace {

TEST(Form1, HasTheProductCaption) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    FakeRegistry registry;
    FakeClock clock;
    FakeProcess process;
    ScriptedDialogs dialogs;
    TForm1 form(Services{files, registry, clock, process, dialogs});
    ASSERT_NE(form.Handle(), nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(form.Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Tarn Brimsweep Pro");
}

} // namespace
} // namespace bs
