// Tens of thousands of calls through IDispatch::Invoke with what a careless or hostile caller
// passes: any member id, any mix of the invoke flags, arguments of every kind by value and by
// reference, named or not, with and without places for the result and the error. Every call ends
// in S_OK or a COM error, and afterwards the control still answers and still saves itself.
#include "com/Relingo_h.h"
#include "tests/com/ComTestSupport.h"
#include "tests/com/TestContainer.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace relingo::test {
namespace {

// A value an argument may take, named for the failure message; each argument gets a copy. Its
// object is borrowed; its text is freed by the table's owner.
struct Value {
    std::string name;
    VARIANT prototype;
};

// The bits, a number's or a pointer's (none: null), at the start of the value's union, where all
// its members start.
template <typename Bits = int>
void Add(std::vector<Value>& values, const std::string& name, VARTYPE vt, Bits bits = 0) {
    values.push_back({name, {}});
    values.back().prototype.vt = vt;
    std::memcpy(&values.back().prototype.llVal, &bits, sizeof bits);
}

template <typename Number>
void AddNumbers(std::vector<Value>& values, const char* type, VARTYPE vt,
                std::initializer_list<Number> numbers) {
    for (Number number : numbers) {
        Add(values, (std::ostringstream() << type << ' ' << number).str(), vt, number);
    }
}

// Nothing, numbers at their limits, texts with the characters a file name may not hold, names
// that exist, a filter, a long text, no object, a font and an object that is no font.
std::vector<Value> Values(IDispatch* font, IDispatch* notAFont) {
    std::vector<Value> values;
    Add(values, "VT_EMPTY", VT_EMPTY);
    Add(values, "VT_NULL", VT_NULL);
    Add(values, "VT_BSTR null", VT_BSTR);
    Add(values, "VT_DISPATCH null", VT_DISPATCH);
    Add(values, "VT_UNKNOWN null", VT_UNKNOWN);
    Add(values, "VT_DISPATCH StdFont", VT_DISPATCH, font);
    Add(values, "VT_UNKNOWN StdFont", VT_UNKNOWN, static_cast<IUnknown*>(font));
    Add(values, "VT_DISPATCH not a font", VT_DISPATCH, notAFont);
    AddNumbers<SCODE>(values, "VT_ERROR", VT_ERROR, {DISP_E_PARAMNOTFOUND});
    AddNumbers<VARIANT_BOOL>(values, "VT_BOOL", VT_BOOL, {VARIANT_TRUE, VARIANT_FALSE, 1});
    AddNumbers<LONG>(values, "VT_I4", VT_I4,
                     {0, 1, -1, 2, 255, 4096, LONG_MAX, LONG_MIN, LONG(0x80000005)});
    AddNumbers<SHORT>(values, "VT_I2", VT_I2, {0, -1, 3, SHRT_MAX, SHRT_MIN});
    AddNumbers<double>(values, "VT_R8", VT_R8,
                       {NAN, INFINITY, -INFINITY, 1e300, -1e300, -2.5, 0.4, 0x1p32});
    for (const wchar_t* text :
         {L"", L"C:\\windows", L"C:\\windows\\win.ini", L"a/b", L"<name>", L"what?", L"a|b",
          L"*.txt", L"it's", L"\"quoted\"", L"/<>?|*'\"", L"12", L"-7", L"True", L"C:\\a\\\\\\b",
          L"x:y:z", L"Text files (*.txt)|*.txt|All files (*.*)|*.*"}) {
        values.push_back({"VT_BSTR \"" + Utf8(text) + "\"", Text(text)});
    }
    values.push_back({"VT_BSTR of 40000 characters", Text(L"C:\\" + std::wstring(40000, L'n'))});
    return values;
}

// IUnknown's and IDispatch's own methods, which the dispatch side of a dual interface lists,
// restricted, with the count of their parameters: QueryInterface, AddRef, Release;
// GetTypeInfoCount, GetTypeInfo, GetIDsOfNames, Invoke.
constexpr std::pair<DISPID, size_t> kInherited[] = {
    {0x60000000, 2}, {0x60000001, 0}, {0x60000002, 0}, {0x60010000, 1},
    {0x60010001, 3}, {0x60010002, 5}, {0x60010003, 8}};
// The other ids that are no member's: the standard ones (DISPID_VALUE, _UNKNOWN, _PROPERTYPUT,
// _NEWENUM, _EVALUATE, _CONSTRUCTOR, _DESTRUCTOR, _COLLECT, _BACKCOLOR, _TEXT), those just past
// the members (17 is the name box's FileTitle but one past the dialog control's last), the
// extremes.
constexpr DISPID kForeignIds[] = {0,    -1,   -3, -4, -5,   -6,      -7,     -8,
                                  -501, -517, 17, 36, 1000, INT_MAX, INT_MIN};

// A member as the dispatch side of the type information describes it: its id, the flags that
// reach it (INVOKEKIND's values are DISPATCH_'s) and the count of its arguments (not its result).
struct Member {
    DISPID id;
    WORD flags;
    size_t arguments;
};

// One call drawn from the random numbers, described into description before it is made. A
// by-reference argument points at the caller's storage, of the value's own type or a VARIANT
// holding it, freed after the call as the caller frees it.
HRESULT RandomCall(IDispatch* control, std::mt19937& random, const std::vector<Member>& members,
                   const std::vector<Value>& values, std::ostringstream& description) {
    const auto below = [&](size_t limit) { return size_t{random()} % limit; };
    DISPID id = below(3) == 0 ? kInherited[below(std::size(kInherited))].first
                              : kForeignIds[below(std::size(kForeignIds))];
    WORD flags = static_cast<WORD>(below(16));
    size_t count = below(4);
    if (below(4) != 0) {
        const Member& member = members[below(members.size())];
        id = member.id;
        if (below(2) == 0) { // in the member's own shape, so that the values reach it
            flags = member.flags;
            count = member.arguments;
        }
    }
    description << "id " << id << " flags 0x" << std::hex << flags << std::dec;
    std::vector<VARIANT> arguments(count), referenced(count); // the last argument first
    for (size_t i = 0; i < count; ++i) {
        const Value& value = values[below(values.size())];
        const VARTYPE vt = value.prototype.vt;
        // By reference to storage of the value's type (VT_EMPTY and VT_NULL have none) or to a
        // VARIANT, or by value.
        constexpr const char* kHow[] = {" by reference", " by reference in a VARIANT", ""};
        size_t how = std::min<size_t>(below(8), 2);
        how = how == 0 && (vt == VT_EMPTY || vt == VT_NULL) ? 1 : how;
        description << " [" << value.name << kHow[how] << "]";
        VARIANT& made = how == 2 ? arguments[i] : referenced[i];
        if (vt == VT_BSTR && value.prototype.bstrVal == nullptr) {
            made = value.prototype; // kept null, which a copy would not keep
        } else {
            ::VariantCopy(&made, const_cast<VARIANT*>(&value.prototype));
        }
        if (how < 2) {
            arguments[i].vt =
                static_cast<VARTYPE>((how == 0 ? vt : VARTYPE{VT_VARIANT}) | VT_BYREF);
            arguments[i].byref = how == 0 ? static_cast<void*>(&made.llVal) : &made;
        }
    }
    // Most puts name their value DISPID_PROPERTYPUT, as callers must; a few other calls name
    // an argument by a parameter's number or by that id.
    constexpr DISPID kNames[] = {DISPID_PROPERTYPUT, 0, 1, 5};
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    const UINT namedCount = count > 0 && below(4) < (put ? 3u : 1u);
    DISPID named = kNames[put && below(4) != 0 ? 0 : below(4)];
    DISPPARAMS params = {arguments.data(), &named, static_cast<UINT>(count), namedCount};
    const bool withParams = below(32) != 0, withResult = below(4) != 0;
    const bool withException = below(2) == 0, withArgErr = below(2) == 0;
    description << (namedCount ? " named " + std::to_string(named) : "")
                << (withParams ? "" : " no DISPPARAMS") << (withResult ? " result" : "")
                << (withException ? " excepinfo" : "") << (withArgErr ? " argerr" : "");
    DispatchResult outcome; // frees the result and the error's texts
    UINT argErr = 0;
    const HRESULT hr = control->Invoke(
        id, IID_NULL, LOCALE_USER_DEFAULT, flags, withParams ? &params : nullptr,
        withResult ? &outcome.value : nullptr, withException ? &outcome.exception : nullptr,
        withArgErr ? &argErr : nullptr);
    for (size_t i = 0; i < count; ++i) {
        ::VariantClear((arguments[i].vt & VT_BYREF) != 0 ? &referenced[i] : &arguments[i]);
    }
    return hr;
}

// The control's members as its type information lists them, without the excluded ones and the
// restricted ones (IUnknown's and IDispatch's own); none when an excluded one is not there.
std::vector<Member> Members(IDispatch* control, const std::set<std::wstring>& excluded) {
    ComPtr<ITypeInfo> info;
    if (FAILED(control->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info))) {
        return {};
    }
    std::vector<Member> members;
    std::set<std::wstring> met; // of the excluded
    FUNCDESC* function = nullptr;
    for (UINT i = 0; SUCCEEDED(info->GetFuncDesc(i, &function)); ++i) { // until past the last
        BSTR name = nullptr;
        info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        if (name != nullptr && excluded.count(name) != 0) {
            met.insert(name);
        } else if ((function->wFuncFlags & FUNCFLAG_FRESTRICTED) == 0) {
            members.push_back({function->memid, static_cast<WORD>(function->invkind),
                               static_cast<size_t>(function->cParams)});
        }
        ::SysFreeString(name);
        info->ReleaseFuncDesc(function);
    }
    return met.size() == excluded.size() ? members : std::vector<Member>{};
}

struct RandomCase {
    const char* name;
    const wchar_t* progId;
    bool placed; // in a container at run time, activated in place; else without any site
    LONG locale; // the container's, which the error texts follow
    uint32_t seed;
};

void PrintTo(const RandomCase& c, std::ostream* out) {
    *out << c.name;
}

class RandomInvokeTest : public ::testing::TestWithParam<RandomCase> {};

TEST_P(RandomInvokeTest, EveryCallEndsInSuccessOrAComErrorAndTheControlStillAnswers) {
    const RandomCase& c = GetParam();
    const bool box = c.progId == std::wstring(L"Relingo.FileNameBox");
    // Never called: the name box's MessageShow, False for the whole run, would show its faults in
    // message boxes; the dialog control's methods show the file dialogs.
    const auto excluded = box ? std::set<std::wstring>{L"MessageShow"}
                              : std::set<std::wstring>{L"ShowOpen", L"ShowSave", L"GetFileName"};
    OleApartment apartment;
    ServerActivation activation;
    ASSERT_TRUE(activation.Active());
    TestContainer container({c.locale, true});
    auto control = MakeControl<IDispatch>(c.progId);
    ComPtr<IPersistStreamInit> persist;
    ComPtr<IOleObject> object;
    ASSERT_TRUE(control && SUCCEEDED(control.As(&persist)) && SUCCEEDED(control.As(&object)));
    if (c.placed) {
        container.Place(control.Get(), false);
        ASSERT_EQ(persist->InitNew(), S_OK);
        ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &container.Site(), 0,
                                 container.Window(), &container.Site().position),
                  S_OK);
    }
    if (box) {
        ASSERT_EQ(PutProperty(control.Get(), L"MessageShow", Boolean(false)).hr, S_OK);
    }
    const auto members = Members(control.Get(), excluded);
    ASSERT_GE(members.size(), 10u) << "the type information unread, or an excluded name not in it";
    // The name box raises its events to a sink as it would to a form's.
    const auto events = com::ComObject<EventSink>::Make();
    Connect(control.Get(), DIID_DFileNameBoxEvents, events.Get());
    ComPtr<IDispatch> font;
    ASSERT_EQ(::CoCreateInstance(CLSID_StdFont, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&font)),
              S_OK);
    auto values = Values(font.Get(), events.Get());

    DialogWatcher boxes;
    std::mt19937 random(c.seed);
    for (int i = 0; i < 20000; ++i) {
        std::ostringstream call;
        call << "seed 0x" << std::hex << c.seed << std::dec << ", call " << i << ": ";
        const HRESULT hr = RandomCall(control.Get(), random, members, values, call);
        ASSERT_TRUE(hr == S_OK || FAILED(hr)) << call.str() << " gave 0x" << std::hex << hr;
        if (i % 500 == 0) { // the thread's windows catch up; the events so far are forgotten
            PumpUntil([] { return true; });
            events->seen.clear();
        }
    }
    for (auto& value : values) {
        if (value.prototype.vt == VT_BSTR) {
            ::VariantClear(&value.prototype);
        }
    }
    PumpUntil([] { return true; });
    EXPECT_TRUE(boxes.Seen().empty()) << Utf8(boxes.Seen().front().text);

    // It still answers, keeps its faults to itself and saves into a stream a new one loads.
    EXPECT_EQ(GetProperty(control.Get(), box ? L"Text" : L"Filter").value.vt, VT_BSTR);
    if (box) {
        const auto shown = GetProperty(control.Get(), L"MessageShow");
        EXPECT_TRUE(shown.value.vt == VT_BOOL && shown.value.boolVal == VARIANT_FALSE);
    }
    ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    EXPECT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    auto loaded = MakeControl<IPersistStreamInit>(c.progId);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Load(stream.Get()), S_OK);
}

INSTANTIATE_TEST_SUITE_P(
    , RandomInvokeTest,
    ::testing::Values(RandomCase{"BoxWithoutSite", L"Relingo.FileNameBox", false, 0, 0x5eed0001},
                      RandomCase{"BoxPlaced", L"Relingo.FileNameBox", true, 1041, 0x5eed0002},
                      RandomCase{"DialogWithoutSite", L"Relingo.FilOpDlg", false, 0, 0x5eed0003},
                      RandomCase{"DialogPlaced", L"Relingo.FilOpDlg", true, 1033, 0x5eed0004}),
    [](const auto& tested) { return std::string(tested.param.name); });

// The dispatch side of a dual interface lists IUnknown's and IDispatch's own methods under ids of
// their own; a caller that names one reaches nothing, whatever it passes.
TEST(InheritedMethodsTest, IUnknownsAndIDispatchsOwnMethodsAreNoMembers) {
    OleApartment apartment;
    ServerActivation activation;
    ASSERT_TRUE(activation.Active());
    for (const wchar_t* progId : {L"Relingo.FileNameBox", L"Relingo.FilOpDlg"}) {
        auto control = MakeControl<IDispatch>(progId);
        ASSERT_TRUE(control);
        control->AddRef();
        const ULONG references = control->Release();
        for (const auto& [id, parameters] : kInherited) {
            for (size_t count : {size_t{0}, parameters}) {
                LONG place = 0;
                std::vector<VARIANT> arguments(count);
                for (auto& argument : arguments) {
                    argument.vt = VT_I4 | VT_BYREF;
                    argument.plVal = &place;
                }
                EXPECT_EQ(InvokeId(control.Get(), id, DISPATCH_METHOD, arguments).hr,
                          DISP_E_MEMBERNOTFOUND)
                    << Utf8(progId) << ": id 0x" << std::hex << id << std::dec << " with " << count
                    << " arguments";
            }
        }
        control->AddRef();
        EXPECT_EQ(control->Release(), references);
    }
}

} // namespace
} // namespace relingo::test
