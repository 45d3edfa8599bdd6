// The server's objects come and go without leaving anything behind, and the server unloads once
// the last of them is gone.
#include "tests/com/ComTestSupport.h"
#include "tests/com/TestContainer.h"

#include <gtest/gtest.h>

namespace relingo::test {
namespace {

void MakeAndRelease(int count) {
    for (int i = 0; i < count; ++i) {
        // Every tenth a name box, whose windows make it the slower of the two under Wine.
        const bool box = i % 10 == 0;
        const auto control =
            MakeControl<IDispatch>(box ? L"Relingo.FileNameBox" : L"Relingo.FilOpDlg");
        ASSERT_TRUE(control) << "object " << i;
        // A member called, so that the object's type information and first load take place too.
        ASSERT_EQ(GetProperty(control.Get(), box ? L"Text" : L"Filter").hr, S_OK);
    }
}

TEST(LifetimeTest, TenThousandObjectsLeavePrivateMemoryFlatAndLetTheServerUnload) {
    OleApartment apartment;
    ServerActivation activation;
    ASSERT_TRUE(activation.Active());
    // The first objects load the server, its type library and the system's caches.
    MakeAndRelease(200);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    const size_t before = PrivateBytes();
    MakeAndRelease(10000);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    const size_t after = PrivateBytes();
    // Flat: less than a hundred bytes an object, well below what a leaked object costs.
    EXPECT_LT(after, before + 10000 * 100) << before << " bytes before, " << after << " after";

    ASSERT_NE(::GetModuleHandleW(L"RelingoControls.ocx"), nullptr);
    ::CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(::GetModuleHandleW(L"RelingoControls.ocx"), nullptr);
}

TEST(LifetimeTest, ALockOrALivingObjectKeepsTheServerLoaded) {
    OleApartment apartment;
    ServerActivation activation;
    CLSID clsid = {};
    ASSERT_EQ(::CLSIDFromProgID(L"Relingo.FilOpDlg", &clsid), S_OK);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(::CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&factory)),
              S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    ::CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_NE(::GetModuleHandleW(L"RelingoControls.ocx"), nullptr);

    auto control = MakeControl<IUnknown>(L"Relingo.FilOpDlg");
    ASSERT_EQ(::CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&factory)),
              S_OK);
    factory->LockServer(FALSE);
    factory.Reset();
    ::CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_NE(::GetModuleHandleW(L"RelingoControls.ocx"), nullptr);

    control.Reset();
    ::CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(::GetModuleHandleW(L"RelingoControls.ocx"), nullptr);
}

// How much of the address space the loaded server takes, from its own headers.
SIZE_T ImageSize(HMODULE module) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        reinterpret_cast<const BYTE*>(module) + dos->e_lfanew);
    return nt->OptionalHeader.SizeOfImage;
}

// COM frees the server at the last CoUninitialize, and Windows does so without asking
// DllCanUnloadNow, so the server cleans up as it unloads. Loaded again, at another address since
// its first one is taken meanwhile, it must make its box's window with its own code: a window
// class left from the first load would point where nothing is.
TEST(LifetimeTest, TheServerLoadedAgainAfterComEndedPlacesABox) {
    ServerActivation activation;
    ASSERT_TRUE(activation.Active());
    void* taken = nullptr;
    for (int load = 1; load <= 2; ++load) {
        SCOPED_TRACE(load);
        ASSERT_EQ(::OleInitialize(nullptr), S_OK);
        TestContainer container({1033, true});
        auto box = MakeControl<IOleInPlaceObject>(L"Relingo.FileNameBox");
        ASSERT_TRUE(box);
        container.Place(box.Get(), true);
        HWND window = nullptr;
        EXPECT_EQ(box->GetWindow(&window), S_OK);
        EXPECT_TRUE(::IsWindow(window));
        container.Unload();
        box.Reset();
        const HMODULE server = ::GetModuleHandleW(L"RelingoControls.ocx");
        ASSERT_NE(server, nullptr);
        const SIZE_T size = ImageSize(server);
        ::OleUninitialize();
        ASSERT_EQ(::GetModuleHandleW(L"RelingoControls.ocx"), nullptr);
        WNDCLASSEXW left = {sizeof left, 0,       nullptr, 0,       0,       nullptr,
                            nullptr,     nullptr, nullptr, nullptr, nullptr, nullptr};
        for (const HINSTANCE module : {HINSTANCE{server}, ::GetModuleHandleW(nullptr)}) {
            EXPECT_FALSE(::GetClassInfoExW(module, L"Relingo.FileNameBox", &left));
        }
        if (taken == nullptr) {
            taken = ::VirtualAlloc(server, size, MEM_RESERVE, PAGE_NOACCESS);
            ASSERT_EQ(taken, server);
        }
    }
    ::VirtualFree(taken, 0, MEM_RELEASE);
}

} // namespace
} // namespace relingo::test
