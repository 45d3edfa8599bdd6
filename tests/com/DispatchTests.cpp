// Bad input through IDispatch, as a careless host or script gives it: every call ends in a COM
// error, never in a crash.
#include "com/Relingo_h.h"
#include "tests/com/ComTestSupport.h"

#include <gtest/gtest.h>

#include <objsafe.h>

namespace relingo::test {
namespace {

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(activation_.Active());
        box_ = MakeControl<IDispatch>(L"Relingo.FileNameBox");
        dialog_ = MakeControl<IDispatch>(L"Relingo.FilOpDlg");
        ASSERT_TRUE(box_ && dialog_);
    }

    OleApartment apartment_;
    ServerActivation activation_;
    ComPtr<IDispatch> box_;
    ComPtr<IDispatch> dialog_;
};

VARIANT Dispatch(IDispatch* object) {
    VARIANT value;
    value.vt = VT_DISPATCH;
    value.pdispVal = object;
    object->AddRef();
    return value;
}

VARIANT Null() {
    VARIANT value;
    value.vt = VT_NULL;
    return value;
}

VARIANT Double(double number) {
    VARIANT value;
    value.vt = VT_R8;
    value.dblVal = number;
    return value;
}

TEST_F(DispatchTest, ValuesOfTheWrongKindAreTypeMismatchOrOverflow) {
    const struct {
        const char* what;
        bool onBox;
        const wchar_t* property;
        VARIANT value;
        int number;
    } cases[] = {
        {"an object for a text", true, L"Text", Dispatch(dialog_.Get()), 13},
        {"a word for a number", true, L"MaxLength", Text(L"twelve"), 13},
        {"a word for a Boolean", true, L"MessageShow", Text(L"maybe"), 13},
        {"a number beyond 32 bits", false, L"Flags", Double(1e12), 6},
        {"an IME mode beyond 16 bits", true, L"IMEMode", Long(40000), 6},
        {"a null for a text", false, L"Filter", Null(), 13},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        IDispatch* object = c.onBox ? box_.Get() : dialog_.Get();
        const auto result = PutProperty(object, c.property, c.value);
        EXPECT_EQ(result.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(result.Number(), c.number);
        EXPECT_FALSE(result.Description().empty());
        ::VariantClear(&c.value);
    }
    // Nothing was changed by the refused values.
    EXPECT_EQ(GetProperty(box_.Get(), L"MaxLength").value.lVal, 0);
    EXPECT_EQ(GetProperty(dialog_.Get(), L"Flags").value.lVal, 4096);
}

TEST_F(DispatchTest, ValuesThatConvertAreConvertedAsBasicDoes) {
    VARIANT two = Text(L"2");
    EXPECT_EQ(PutProperty(box_.Get(), L"mode", two).hr, S_OK);
    ::VariantClear(&two);
    EXPECT_EQ(GetProperty(box_.Get(), L"mode").value.lVal, 2);
    EXPECT_EQ(PutProperty(dialog_.Get(), L"MaxFileSize", Double(300.4)).hr, S_OK);
    EXPECT_EQ(GetProperty(dialog_.Get(), L"MaxFileSize").value.lVal, 300);
}

TEST_F(DispatchTest, MissingArgumentsUnknownMembersAndOtherInterfacesAreRefused) {
    EXPECT_EQ(InvokeId(box_.Get(), 31, DISPATCH_PROPERTYPUT, {}).hr, DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(InvokeId(box_.Get(), 1, DISPATCH_METHOD, {Long(1)}).hr, DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(InvokeId(box_.Get(), 999, DISPATCH_PROPERTYGET, {}).hr, DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(InvokeId(box_.Get(), -4, DISPATCH_PROPERTYGET, {}).hr, DISP_E_MEMBERNOTFOUND);
    DISPPARAMS none = {};
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(
        box_->Invoke(31, IID_IUnknown, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
        DISP_E_UNKNOWNINTERFACE);
    DISPID id = 0;
    auto* name = const_cast<LPOLESTR>(L"NoSuchMember");
    EXPECT_EQ(box_->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), DISP_E_UNKNOWNNAME);
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(box_->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
}

TEST_F(DispatchTest, ANullStringIsTheEmptyText) {
    VARIANT empty;
    empty.vt = VT_BSTR;
    empty.bstrVal = nullptr;
    EXPECT_EQ(PutProperty(box_.Get(), L"Text", Text(L"C:\\x")).hr, S_OK);
    EXPECT_EQ(PutProperty(box_.Get(), L"Text", empty).hr, S_OK);
    const auto text = GetProperty(box_.Get(), L"Text");
    EXPECT_EQ(::SysStringLen(text.value.bstrVal), 0u);
}

TEST_F(DispatchTest, AHundredThousandCharacterTextIsKeptAndRefusedAsAName) {
    const std::wstring longName = L"C:\\" + std::wstring(100000, L'a');
    VARIANT text = Text(longName);
    EXPECT_EQ(PutProperty(box_.Get(), L"MessageShow", Boolean(false)).hr, S_OK);
    EXPECT_EQ(PutProperty(box_.Get(), L"Text", text).hr, S_OK);
    ::VariantClear(&text);
    const auto kept = GetProperty(box_.Get(), L"Text");
    EXPECT_EQ(::SysStringLen(kept.value.bstrVal), longName.size());
    EXPECT_EQ(::SysStringLen(GetProperty(box_.Get(), L"FileName").value.bstrVal), 0u);
    EXPECT_EQ(CallMethod(box_.Get(), L"ValidateValue").value.boolVal, VARIANT_FALSE);
    EXPECT_EQ(GetProperty(box_.Get(), L"FileDrive").value.bstrVal, std::wstring(L"C"));
}

TEST_F(DispatchTest, TheControlsSayTheyReportErrorsThroughErrorInfo) {
    for (auto [object, iid] :
         {std::pair{box_.Get(), IID_IFileNameBox}, std::pair{dialog_.Get(), IID_IFilOpDlg}}) {
        ComPtr<ISupportErrorInfo> support;
        ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&support)), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(iid), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IOleObject), S_FALSE);
    }
}

// Neither control may be scripted or initialised by an untrusted page: no IObjectSafety.
TEST_F(DispatchTest, NeitherControlSaysItIsSafeForUntrustedPages) {
    for (IDispatch* control : {box_.Get(), dialog_.Get()}) {
        ComPtr<IObjectSafety> safety;
        EXPECT_EQ(control->QueryInterface(IID_IObjectSafety,
                                          reinterpret_cast<void**>(safety.GetAddressOf())),
                  E_NOINTERFACE);
    }
}

} // namespace
} // namespace relingo::test
