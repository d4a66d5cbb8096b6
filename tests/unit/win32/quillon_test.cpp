// The helper library as the service program binds it: by its plain export names (run under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include <string>

#include "win32/handles.h"

namespace mrf::win32 {
namespace {

class Quillon : public testing::Test {
protected:
    void SetUp() override {
        library.reset(::LoadLibraryA("quillon.dll"));
        ASSERT_TRUE(library) << "quillon.dll beside the test program";
        amSystem = Resolve<AmSystemFn>("AmSystemProcess");
        create = Resolve<CreateFn>("CreateGlobalEvent");
        open = Resolve<OpenFn>("OpenGlobalEvent");
        ASSERT_TRUE(amSystem && create && open && Resolve<void*>("AddAccessForEveryone"));
        name = "MarrowfoldTestEvent" + std::to_string(::GetCurrentProcessId());
    }
    template <typename F> F Resolve(const char* export_) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(library.get(), export_)));
    }

    using AmSystemFn = int(__stdcall*)();
    using CreateFn = HANDLE(__stdcall*)(const char*, int, int);
    using OpenFn = HANDLE(__stdcall*)(const char*);
    unique_hmodule library;
    AmSystemFn amSystem = nullptr;
    CreateFn create = nullptr;
    OpenFn open = nullptr;
    std::string name;
};

TEST_F(Quillon, AnOrdinaryProcessIsNotTheSystemAccount) {
    EXPECT_EQ(amSystem(), 0);
}

TEST_F(Quillon, EventIsGlobalUnsignalledAndSetThroughTheOpenedHandle) {
    unique_handle event(create(name.c_str(), -1, 0));
    ASSERT_TRUE(event);
    EXPECT_EQ(::WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    unique_handle byName(::OpenEventA(SYNCHRONIZE, FALSE, ("Global\\" + name).c_str()));
    EXPECT_TRUE(byName) << "named in the namespace of all sessions";
    unique_handle opened(open(name.c_str()));
    ASSERT_TRUE(opened);
    ASSERT_TRUE(::SetEvent(opened.get()));
    EXPECT_EQ(::WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(::WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "manual reset";
    unique_handle missing(open("MarrowfoldNoSuchEvent"));
    EXPECT_FALSE(missing);
}

// Only the system and administrators may signal the stop event; everyone else may only wait.
TEST_F(Quillon, EventCanBeSignalledOnlyBySystemAndAdministrators) {
    unique_handle event(create(name.c_str(), -1, 0));
    ASSERT_TRUE(event);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(::GetSecurityInfo(event.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                &dacl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr) << "a null access list would let everyone in";
    const DWORD modify = EVENT_MODIFY_STATE | GENERIC_WRITE | GENERIC_ALL | WRITE_DAC | WRITE_OWNER;
    int systemAces = 0, adminAces = 0, worldAces = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* raw = nullptr;
        ASSERT_TRUE(::GetAce(dacl, i, &raw));
        auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(raw);
        ASSERT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        PSID sid = &ace->SidStart;
        if (::IsWellKnownSid(sid, WinLocalSystemSid)) {
            ++systemAces;
            EXPECT_NE(ace->Mask & modify, 0u);
        } else if (::IsWellKnownSid(sid, WinBuiltinAdministratorsSid)) {
            ++adminAces;
            EXPECT_NE(ace->Mask & modify, 0u);
        } else {
            EXPECT_TRUE(::IsWellKnownSid(sid, WinWorldSid)) << "no other account";
            ++worldAces;
            EXPECT_EQ(ace->Mask & modify, 0u);
        }
    }
    EXPECT_EQ(systemAces, 1);
    EXPECT_EQ(adminAces, 1);
    EXPECT_EQ(worldAces, 1);
    ::LocalFree(descriptor);
}

} // namespace
} // namespace mrf::win32
