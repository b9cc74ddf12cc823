// The cleaning lock between programs of different rights, on scratch lock
// names of this test run's own.
#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <string>
#include <thread>

#include "platform/win32/CleaningLock.h"

namespace bs {
namespace {

std::wstring ScratchLockName(const wchar_t* what) {
    return L"Global\\BrimTestLock_" + std::to_wstring(GetCurrentProcessId()) + L"_" + what;
}

// Whether another thread, with a lock of its own on `name`, gets it at once.
bool FreeForAnotherThread(const std::wstring& name) {
    bool free = false;
    std::thread probe([&] { free = CleaningLock(name.c_str()).Acquire(0); });
    probe.join();
    return free;
}

TEST(CleaningLock, ASecondLockOnTheNameWaitsUntilTheFirstIsReleased) {
    const std::wstring name = ScratchLockName(L"second");
    CleaningLock first(name.c_str());
    ASSERT_TRUE(first.Acquire(0));
    EXPECT_FALSE(FreeForAnotherThread(name));
    first.Release();
    EXPECT_TRUE(FreeForAnotherThread(name));
}

TEST(CleaningLock, EverySignedInUserMayWaitForTheLockAndReleaseIt) {
    const std::wstring name = ScratchLockName(L"dacl");
    CleaningLock lock(name.c_str());
    ScopedKernelHandle reader(OpenMutexW(READ_CONTROL, FALSE, name.c_str()));
    ASSERT_TRUE(reader.Valid()) << GetLastError();
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetSecurityInfo(reader.Get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(sid);
    ASSERT_TRUE(CreateWellKnownSid(WinAuthenticatedUserSid, nullptr, sid, &sidSize));
    ACCESS_MASK granted = 0;
    for (DWORD index = 0; dacl && index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, index, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(reinterpret_cast<PSID>(&allowed->SidStart), sid))
            granted |= allowed->Mask;
    }
    LocalFree(descriptor);
    EXPECT_EQ(granted & (SYNCHRONIZE | MUTEX_MODIFY_STATE),
              static_cast<ACCESS_MASK>(SYNCHRONIZE | MUTEX_MODIFY_STATE))
        << std::hex << granted;
}

TEST(CleaningLock, TheLockIsLabelledMediumSoThatAnElevatedMakerDoesNotShutOthersOut) {
    const std::wstring name = ScratchLockName(L"label");
    CleaningLock lock(name.c_str());
    ScopedKernelHandle reader(OpenMutexW(READ_CONTROL, FALSE, name.c_str()));
    ASSERT_TRUE(reader.Valid()) << GetLastError();
    PACL sacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetSecurityInfo(reader.Get(), SE_KERNEL_OBJECT, LABEL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, &sacl, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    BYTE medium[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(medium);
    ASSERT_TRUE(CreateWellKnownSid(WinMediumLabelSid, nullptr, medium, &sidSize));
    bool labelled = false;
    for (DWORD index = 0; sacl && index < sacl->AceCount; ++index) {
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(sacl, index, &ace));
        auto* label = static_cast<SYSTEM_MANDATORY_LABEL_ACE*>(ace);
        labelled = labelled || (label->Header.AceType == SYSTEM_MANDATORY_LABEL_ACE_TYPE &&
                                EqualSid(reinterpret_cast<PSID>(&label->SidStart), medium));
    }
    LocalFree(descriptor);
    EXPECT_TRUE(labelled);
}

TEST(CleaningLock, ALockMadeByAProgramWithMoreRightsIsSharedThroughWaitAndRelease) {
    // Made as an elevated program's lock looks to a medium one: all it may
    // do is wait for it and release it.
    const std::wstring name = ScratchLockName(L"elevated");
    PSECURITY_DESCRIPTOR made = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(A;;0x00100001;;;WD)", SDDL_REVISION_1, &made, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), made, FALSE};
    ScopedKernelHandle elevated(CreateMutexW(&attributes, FALSE, name.c_str()));
    LocalFree(made);
    ASSERT_TRUE(elevated.Valid()) << GetLastError();
    // Wine grants a second create all access whatever the DACL says; only
    // where the DACL is enforced does this show the open that follows.
    if (ScopedKernelHandle(CreateMutexW(nullptr, FALSE, name.c_str())).Valid())
        GTEST_SKIP() << "this system does not refuse the create";

    CleaningLock lock(name.c_str());
    ASSERT_TRUE(lock.Acquire(0));
    DWORD waited = WAIT_FAILED;
    std::thread other([&] { waited = WaitForSingleObject(elevated.Get(), 0); });
    other.join();
    EXPECT_EQ(waited, static_cast<DWORD>(WAIT_TIMEOUT)) << "the elevated program sees it held";
    lock.Release();
    std::thread again([&] {
        waited = WaitForSingleObject(elevated.Get(), 0);
        if (waited == WAIT_OBJECT_0)
            ReleaseMutex(elevated.Get());
    });
    again.join();
    EXPECT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0)) << "and free once released";
}

} // namespace
} // namespace bs
