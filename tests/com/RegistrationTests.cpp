// The server registered and unregistered by the system's regsvr32, for the user and for the
// machine, checked in the registry and by a script that makes the controls.
#include "tests/com/ComTestSupport.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace relingo::test {
namespace {

constexpr wchar_t kFileNameBoxClsid[] = L"{07F6BF6D-B822-4943-A4DC-EAC4397DB0AD}";
constexpr wchar_t kFilOpDlgClsid[] = L"{7BB7A227-56FE-4EDA-AD8F-A955F6A0D2B5}";
constexpr wchar_t kLibrary[] = L"TypeLib\\{3DA8ADE9-0E3B-4D40-BA98-B25D361B3DFC}";
#ifdef _WIN64
constexpr wchar_t kPlatform[] = L"win64";
#else
constexpr wchar_t kPlatform[] = L"win32";
#endif

struct Scope {
    const char* name;
    HKEY root;
    const wchar_t* options;
    const wchar_t* unregister;
};
const Scope kScopes[] = {
    {"user", HKEY_CURRENT_USER, L"/n /i:user", L"/u /n /i:user"},
    {"machine", HKEY_LOCAL_MACHINE, L"", L"/u"},
};

std::wstring Classes(const std::wstring& path) {
    return L"Software\\Classes\\" + path;
}

std::wstring Lower(std::wstring text) {
    for (auto& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

// Every key the registration writes, whole.
std::vector<std::wstring> Registration(HKEY root) {
    std::vector<std::wstring> all;
    for (const auto& key :
         {L"CLSID\\" + std::wstring(kFileNameBoxClsid), L"CLSID\\" + std::wstring(kFilOpDlgClsid),
          std::wstring(L"Relingo.FileNameBox"), std::wstring(L"Relingo.FileNameBox.1"),
          std::wstring(L"Relingo.FilOpDlg"), std::wstring(L"Relingo.FilOpDlg.1"),
          std::wstring(kLibrary),
          std::wstring(L"Interface\\{4FFEC6C6-0DEC-447F-BF60-703803A9D532}"),
          std::wstring(L"Interface\\{B3EDC894-E1C9-419A-B49C-4BE18E9C2645}"),
          std::wstring(L"Interface\\{0B2BF4B9-C7C5-4478-927C-E2DF7213DCDD}")}) {
        auto tree = RegistryTree(root, Classes(key));
        all.insert(all.end(), tree.begin(), tree.end());
    }
    return all;
}

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override { UnregisterEverywhere(); }
    void TearDown() override { UnregisterEverywhere(); }
};

TEST_F(RegistrationTest, WritesBothClassesTheirProgIdsAndTheTypeLibrary) {
    const std::wstring server = Lower(ServerPath());
    for (const auto& scope : kScopes) {
        SCOPED_TRACE(scope.name);
        ASSERT_EQ(Regsvr32(scope.options), 0u);
        const struct {
            const wchar_t* clsid;
            const wchar_t* progId;
            const wchar_t* bitmap;
            bool invisibleAtRunTime;
        } controls[] = {{kFileNameBoxClsid, L"Relingo.FileNameBox", L", 1", false},
                        {kFilOpDlgClsid, L"Relingo.FilOpDlg", L", 2", true}};
        for (const auto& control : controls) {
            const std::wstring key = Classes(std::wstring(L"CLSID\\") + control.clsid);
            EXPECT_EQ(Lower(RegistryString(scope.root, key + L"\\InprocServer32")), server);
            EXPECT_EQ(RegistryString(scope.root, key + L"\\InprocServer32", L"ThreadingModel"),
                      L"Apartment");
            EXPECT_EQ(RegistryString(scope.root, key + L"\\ProgID"),
                      std::wstring(control.progId) + L".1");
            EXPECT_EQ(RegistryString(scope.root, key + L"\\VersionIndependentProgID"),
                      control.progId);
            EXPECT_EQ(RegistryTree(scope.root, key + L"\\Control").size(), 1u);
            // Not marked safe for scripting or initialisation by untrusted pages.
            EXPECT_TRUE(RegistryTree(scope.root, key + L"\\Implemented Categories").empty());
            EXPECT_EQ(Lower(RegistryString(scope.root, key + L"\\ToolboxBitmap32")),
                      server + control.bitmap);
            const auto status = std::stoul(RegistryString(scope.root, key + L"\\MiscStatus\\1"));
            EXPECT_EQ((status & OLEMISC_INVISIBLEATRUNTIME) != 0, control.invisibleAtRunTime);
            EXPECT_NE(status & OLEMISC_SETCLIENTSITEFIRST, 0u);
            EXPECT_EQ(RegistryString(scope.root, key + L"\\TypeLib"),
                      L"{3DA8ADE9-0E3B-4D40-BA98-B25D361B3DFC}");
            for (const auto& progId :
                 {std::wstring(control.progId), std::wstring(control.progId) + L".1"}) {
                EXPECT_EQ(RegistryString(scope.root, Classes(progId + L"\\CLSID")), control.clsid);
            }
            EXPECT_EQ(
                RegistryString(scope.root, Classes(std::wstring(control.progId) + L"\\CurVer")),
                std::wstring(control.progId) + L".1");
        }
        EXPECT_EQ(Lower(RegistryString(
                      scope.root, Classes(std::wstring(kLibrary) + L"\\1.0\\0\\" + kPlatform))),
                  server);
        EXPECT_EQ(
            RegistryString(
                scope.root,
                Classes(L"Interface\\{4FFEC6C6-0DEC-447F-BF60-703803A9D532}\\ProxyStubClsid32")),
            L"{00020424-0000-0000-C000-000000000046}");
        EXPECT_EQ(Regsvr32(scope.unregister), 0u);
    }
}

TEST_F(RegistrationTest, ASecondRegistrationChangesNothing) {
    for (const auto& scope : kScopes) {
        SCOPED_TRACE(scope.name);
        ASSERT_EQ(Regsvr32(scope.options), 0u);
        const auto first = Registration(scope.root);
        ASSERT_EQ(Regsvr32(scope.options), 0u);
        EXPECT_EQ(Registration(scope.root), first);
        EXPECT_EQ(Regsvr32(scope.unregister), 0u);
    }
}

TEST_F(RegistrationTest, UnregisteringRemovesAllOfItAndNothingElse) {
    for (const auto& scope : kScopes) {
        SCOPED_TRACE(scope.name);
        const auto before = RegistryTree(scope.root, L"Software\\Classes");
        ASSERT_EQ(Regsvr32(scope.options), 0u);
        ASSERT_NE(RegistryTree(scope.root, L"Software\\Classes"), before);
        ASSERT_EQ(Regsvr32(scope.unregister), 0u);
        EXPECT_TRUE(Registration(scope.root).empty());
        EXPECT_EQ(RegistryTree(scope.root, L"Software\\Classes"), before);
    }
}

TEST_F(RegistrationTest, AnUnknownInstallCommandIsRefusedAndWritesNothing) {
    EXPECT_NE(Regsvr32(L"/n /i:everyone"), 0u);
    EXPECT_TRUE(Registration(HKEY_CURRENT_USER).empty());
    EXPECT_TRUE(Registration(HKEY_LOCAL_MACHINE).empty());
}

// Wine 8 looks classes up under the machine's key only, so a script proves the machine's
// registration; the user's is checked in the registry above.
TEST_F(RegistrationTest, AScriptMakesTheControlsOnlyWhileTheyAreRegistered) {
    ASSERT_EQ(Regsvr32(L""), 0u);
    EXPECT_EQ(Lines(RunScript(L"Create.vbs", {}).output),
              (std::vector<std::string>{"Relingo.FileNameBox 0", "Relingo.FilOpDlg 0",
                                        "Relingo.FileNameBox.1 0"}));
    ASSERT_EQ(Regsvr32(L"/u"), 0u);
    EXPECT_EQ(Lines(RunScript(L"Create.vbs", {}).output),
              (std::vector<std::string>{"Relingo.FileNameBox 429", "Relingo.FilOpDlg 429",
                                        "Relingo.FileNameBox.1 429"}));
}

} // namespace
} // namespace relingo::test
