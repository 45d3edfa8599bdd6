// The type library inside the server, read back through ITypeInfo as a design environment reads
// it: the members of both interfaces in their order with their dispatch ids, the events, the
// mode's values, the classes, and the name box's member descriptions.
#include "filenamebox/MemberDescriptions.h"
#include "tests/com/ComTestSupport.h"
#include "tests/win32support/Win32TestSupport.h"
#include "tools/reference/ControlsReference.h"

#include <gmock/gmock.h>

#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace relingo::test {
namespace {

// How a member is reached: a method, a property to read, or one to read and set (by value or,
// for the font, by reference).
enum class Access { Method, Get, GetPut, GetPutRef };

struct Member {
    const wchar_t* name;
    Access access;
};

const Member kFileNameBoxMembers[] = {
    {L"Cls", Access::Method},           {L"Refresh", Access::Method},
    {L"Restore", Access::Method},       {L"RestoreDefault", Access::Method},
    {L"Store", Access::Method},         {L"Cancel", Access::Method},
    {L"ValidateValue", Access::Method}, {L"BackColor", Access::GetPut},
    {L"DefaultValue", Access::GetPut},  {L"Enabled", Access::GetPut},
    {L"FileBody", Access::Get},         {L"FileDrive", Access::Get},
    {L"FileExtension", Access::Get},    {L"FileName", Access::Get},
    {L"FilePath", Access::Get},         {L"FilePathBody", Access::Get},
    {L"FileTitle", Access::Get},        {L"Font", Access::GetPutRef},
    {L"ForeColor", Access::GetPut},     {L"IMEMode", Access::GetPut},
    {L"IsFile", Access::Get},           {L"IsFolder", Access::Get},
    {L"KeyName", Access::GetPut},       {L"MaxLength", Access::GetPut},
    {L"MessageShow", Access::GetPut},   {L"mode", Access::GetPut},
    {L"SectionName", Access::GetPut},   {L"SelLength", Access::GetPut},
    {L"SelStart", Access::GetPut},      {L"SelText", Access::GetPut},
    {L"Text", Access::GetPut},          {L"ValidateAtLostFocus", Access::GetPut},
    {L"Value", Access::GetPut},         {L"ShortFileName", Access::Get},
    {L"LongFileName", Access::Get},
};

const Member kFilOpDlgMembers[] = {
    {L"ShowOpen", Access::Method},    {L"ShowSave", Access::Method},
    {L"CancelError", Access::GetPut}, {L"CancelSelected", Access::GetPut},
    {L"DefaultExt", Access::GetPut},  {L"DialogTitle", Access::GetPut},
    {L"FileName", Access::GetPut},    {L"FileTitle", Access::Get},
    {L"Filter", Access::GetPut},      {L"FilterIndex", Access::GetPut},
    {L"Flags", Access::GetPut},       {L"hDC", Access::Get},
    {L"hParentwnd", Access::GetPut},  {L"InitDir", Access::GetPut},
    {L"MaxFileSize", Access::GetPut}, {L"GetFileName", Access::Method},
};

struct Slot {
    std::wstring name;
    MEMBERID id;
    INVOKEKIND kind;
    friend bool operator==(const Slot&, const Slot&) = default;
};

// The vtable slots a table of members gives: a get before its set, dispatch ids from 1.
std::vector<Slot> ExpectedSlots(std::span<const Member> members) {
    std::vector<Slot> slots;
    MEMBERID id = 1;
    for (const auto& member : members) {
        switch (member.access) {
        case Access::Method:
            slots.push_back({member.name, id, INVOKE_FUNC});
            break;
        case Access::Get:
            slots.push_back({member.name, id, INVOKE_PROPERTYGET});
            break;
        case Access::GetPut:
        case Access::GetPutRef:
            slots.push_back({member.name, id, INVOKE_PROPERTYGET});
            slots.push_back(
                {member.name, id,
                 member.access == Access::GetPut ? INVOKE_PROPERTYPUT : INVOKE_PROPERTYPUTREF});
            break;
        }
        ++id;
    }
    return slots;
}

std::wstring NameOf(ITypeInfo* info, MEMBERID id) {
    BSTR name = nullptr;
    info->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
    std::wstring text = name != nullptr ? name : L"";
    ::SysFreeString(name);
    return text;
}

std::wstring HelpOf(ITypeInfo* info, MEMBERID id) {
    BSTR help = nullptr;
    info->GetDocumentation(id, nullptr, &help, nullptr, nullptr);
    std::wstring text = help != nullptr ? help : L"";
    ::SysFreeString(help);
    return text;
}

class TypeLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::LoadTypeLibEx(ServerPath().c_str(), REGKIND_NONE, &library_), S_OK);
    }

    ComPtr<ITypeInfo> Info(REFGUID guid) {
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(library_->GetTypeInfoOfGuid(guid, &info), S_OK);
        return info;
    }

    // The slots of a dual interface in the order of its vtable.
    std::vector<Slot> Slots(REFGUID iid) {
        const auto dispatch = Info(iid);
        TYPEATTR* attributes = nullptr;
        dispatch->GetTypeAttr(&attributes);
        EXPECT_NE(attributes->wTypeFlags & TYPEFLAG_FDUAL, 0);
        dispatch->ReleaseTypeAttr(attributes);
        // The vtable's side of the dual interface.
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference), S_OK);
        EXPECT_EQ(dispatch->GetRefTypeInfo(reference, &info), S_OK);
        info->GetTypeAttr(&attributes);
        EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
        // Its own methods follow IUnknown's three and IDispatch's four.
        EXPECT_EQ(attributes->cbSizeVft, (7 + attributes->cFuncs) * sizeof(void*));
        std::vector<Slot> slots;
        for (UINT i = 0; i < attributes->cFuncs; ++i) {
            FUNCDESC* function = nullptr;
            info->GetFuncDesc(i, &function);
            EXPECT_EQ(function->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
            slots.push_back(
                {NameOf(info.Get(), function->memid), function->memid, function->invkind});
            info->ReleaseFuncDesc(function);
        }
        info->ReleaseTypeAttr(attributes);
        return slots;
    }

    OleApartment apartment_;
    ComPtr<ITypeLib> library_;
};

const GUID kIFileNameBox = {
    0x4ffec6c6, 0x0dec, 0x447f, {0xbf, 0x60, 0x70, 0x38, 0x03, 0xa9, 0xd5, 0x32}};
const GUID kIFilOpDlg = {
    0xb3edc894, 0xe1c9, 0x419a, {0xb4, 0x9c, 0x4b, 0xe1, 0x8e, 0x9c, 0x26, 0x45}};
const GUID kEvents = {0x0b2bf4b9, 0xc7c5, 0x4478, {0x92, 0x7c, 0xe2, 0xdf, 0x72, 0x13, 0xdc, 0xdd}};
const GUID kFileNameBoxClass = {
    0x07f6bf6d, 0xb822, 0x4943, {0xa4, 0xdc, 0xea, 0xc4, 0x39, 0x7d, 0xb0, 0xad}};
const GUID kFilOpDlgClass = {
    0x7bb7a227, 0x56fe, 0x4eda, {0xad, 0x8f, 0xa9, 0x55, 0xf6, 0xa0, 0xd2, 0xb5}};
const GUID kMode = {0xfbe1b477, 0x09ae, 0x4317, {0xad, 0x5f, 0x37, 0x6c, 0x14, 0x3b, 0xf5, 0x3c}};

TEST_F(TypeLibraryTest, TheNameBoxsMembersComeInTheirOrderWithTheirDispatchIds) {
    EXPECT_EQ(Slots(kIFileNameBox), ExpectedSlots(kFileNameBoxMembers));
    // The same order as the control's own list of its members.
    const auto members = FileNameBoxMembers();
    ASSERT_EQ(members.size(), std::size(kFileNameBoxMembers));
    for (size_t i = 0; i < members.size(); ++i) {
        EXPECT_EQ(std::wstring(members[i].name.begin(), members[i].name.end()),
                  kFileNameBoxMembers[i].name);
    }
}

TEST_F(TypeLibraryTest, TheFileDialogsMembersComeInTheirOrderWithTheirDispatchIds) {
    EXPECT_EQ(Slots(kIFilOpDlg), ExpectedSlots(kFilOpDlgMembers));
}

TEST_F(TypeLibraryTest, TheNineEventsTakeTheirParametersByReference) {
    const struct {
        const wchar_t* name;
        std::vector<VARTYPE> parameters;
    } events[] = {
        {L"Change", {}},
        {L"Click", {}},
        {L"DblClick", {}},
        {L"KeyDown", {VT_I2, VT_I2}},
        {L"KeyPress", {VT_I2}},
        {L"KeyUp", {VT_I2, VT_I2}},
        {L"MouseDown", {VT_I2, VT_I2, VT_R4, VT_R4}},
        {L"MouseMove", {VT_I2, VT_I2, VT_R4, VT_R4}},
        {L"MouseUp", {VT_I2, VT_I2, VT_R4, VT_R4}},
    };
    const auto info = Info(kEvents);
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
    ASSERT_EQ(attributes->cFuncs, std::size(events));
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < std::size(events); ++i) {
        SCOPED_TRACE(Utf8(events[i].name));
        FUNCDESC* function = nullptr;
        info->GetFuncDesc(i, &function);
        EXPECT_EQ(function->memid, static_cast<MEMBERID>(i + 1));
        EXPECT_EQ(NameOf(info.Get(), function->memid), events[i].name);
        ASSERT_EQ(function->cParams, static_cast<SHORT>(events[i].parameters.size()));
        for (SHORT p = 0; p < function->cParams; ++p) {
            const ELEMDESC& parameter = function->lprgelemdescParam[p];
            EXPECT_EQ(parameter.tdesc.vt, VT_PTR);
            EXPECT_EQ(parameter.tdesc.lptdesc->vt, events[i].parameters[p]);
            EXPECT_EQ(parameter.paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT),
                      PARAMFLAG_FIN | PARAMFLAG_FOUT);
        }
        info->ReleaseFuncDesc(function);
    }
}

TEST_F(TypeLibraryTest, TheModeOffersItsFourValuesToAPropertyBrowser) {
    const auto info = Info(kMode);
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    EXPECT_EQ(attributes->typekind, TKIND_ENUM);
    const struct {
        const wchar_t* name;
        LONG value;
    } values[] = {{L"fnbSyntaxOnly", 0},
                  {L"fnbExistingFile", 1},
                  {L"fnbExistingFolder", 2},
                  {L"fnbFileOrFolder", 3}};
    ASSERT_EQ(attributes->cVars, std::size(values));
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < std::size(values); ++i) {
        VARDESC* variable = nullptr;
        info->GetVarDesc(i, &variable);
        EXPECT_EQ(NameOf(info.Get(), variable->memid), values[i].name);
        EXPECT_EQ(variable->lpvarValue->lVal, values[i].value);
        info->ReleaseVarDesc(variable);
    }
}

TEST_F(TypeLibraryTest, BothClassesAreControlsWithTheirInterfaces) {
    const struct {
        const GUID* clsid;
        const wchar_t* name;
        std::vector<std::pair<std::wstring, int>> interfaces; // name and flags
    } classes[] = {
        {&kFileNameBoxClass,
         L"FileNameBox",
         {{L"IFileNameBox", IMPLTYPEFLAG_FDEFAULT},
          {L"DFileNameBoxEvents", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}},
        {&kFilOpDlgClass, L"FilOpDlg", {{L"IFilOpDlg", IMPLTYPEFLAG_FDEFAULT}}},
    };
    for (const auto& c : classes) {
        SCOPED_TRACE(Utf8(c.name));
        const auto info = Info(*c.clsid);
        EXPECT_EQ(NameOf(info.Get(), MEMBERID_NIL), c.name);
        TYPEATTR* attributes = nullptr;
        info->GetTypeAttr(&attributes);
        EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
        EXPECT_NE(attributes->wTypeFlags & TYPEFLAG_FCONTROL, 0);
        ASSERT_EQ(attributes->cImplTypes, c.interfaces.size());
        info->ReleaseTypeAttr(attributes);
        for (UINT i = 0; i < c.interfaces.size(); ++i) {
            HREFTYPE reference = 0;
            ComPtr<ITypeInfo> implemented;
            INT flags = 0;
            info->GetRefTypeOfImplType(i, &reference);
            info->GetRefTypeInfo(reference, &implemented);
            info->GetImplTypeFlags(i, &flags);
            EXPECT_EQ(NameOf(implemented.Get(), MEMBERID_NIL), c.interfaces[i].first);
            EXPECT_EQ(flags, c.interfaces[i].second);
        }
    }
}

// A type library keeps its help strings in the ANSI code page it was made in, Japanese here, so
// a Japanese system reads them as they were written.
TEST_F(TypeLibraryTest, TheNameBoxsDescriptionsAreItsHelpStringsUnderAJapaneseLocale) {
    if (::GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese code page";
    }
    const auto info = Info(kIFileNameBox);
    for (const auto& member : FileNameBoxMembers()) {
        const std::wstring name(member.name.begin(), member.name.end());
        SCOPED_TRACE(Utf8(name));
        DISPID id = 0;
        auto* names = const_cast<LPOLESTR>(name.c_str());
        ASSERT_EQ(info->GetIDsOfNames(&names, 1, &id), S_OK);
        EXPECT_EQ(HelpOf(info.Get(), id),
                  std::wstring(member.description.begin(), member.description.end()));
    }
}

// Loading the type library is most of a new object's first call; every object of the server, of
// either class, reads the one library the server keeps.
TEST(ServerTypeLibraryTest, EveryObjectReadsTheOneLibraryTheServerKeeps) {
    OleApartment apartment;
    ServerActivation activation;
    ASSERT_TRUE(activation.Active());
    std::vector<ComPtr<ITypeLib>> libraries;
    for (const wchar_t* progId :
         {L"Relingo.FileNameBox", L"Relingo.FilOpDlg", L"Relingo.FilOpDlg"}) {
        const auto control = MakeControl<IDispatch>(progId);
        ASSERT_TRUE(control);
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(control->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
        ComPtr<ITypeLib> library;
        UINT index = 0;
        ASSERT_EQ(info->GetContainingTypeLib(&library, &index), S_OK);
        libraries.push_back(library);
    }
    EXPECT_EQ(libraries[0], libraries[1]);
    EXPECT_EQ(libraries[1], libraries[2]);
}

// The controls' reference (tools/reference) refuses value notes that fit neither this library
// nor the box.
TEST(ReferenceTest, RefusesValueNotesThatFitNeitherTheLibraryNorTheBox) {
    using namespace std::string_view_literals;
    const struct {
        const char* error;
        void (*change)(std::vector<reference::ValueNote>&);
    } cases[] = {
        {"no values are noted for mode",
         [](auto& v) { std::erase_if(v, [](auto& n) { return n.property == "mode"sv; }); }},
        {"neither an enumeration nor",
         [](auto& v) {
             v.push_back({"Text", 0, "Empty", "none"});
         }},
        {"not the box's modes",
         [](auto& v) {
             std::erase_if(v, [](auto& n) { return n.property == "IMEMode"sv && n.value == 10; });
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        std::vector<reference::ValueNote> values(reference::ValueNotes().begin(),
                                                 reference::ValueNotes().end());
        c.change(values);
        try {
            reference::WriteReference(ServerPath().c_str(), reference::MemberNotes(), values);
            ADD_FAILURE() << "written";
        } catch (const std::runtime_error& error) {
            EXPECT_THAT(error.what(), ::testing::HasSubstr(c.error));
        }
    }
}

} // namespace
} // namespace relingo::test
