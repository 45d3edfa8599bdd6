// The server's objects come and go without leaving anything behind, and the server unloads once
// the last of them is gone.
#include "tests/com/ComTestSupport.h"

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

} // namespace
} // namespace relingo::test
