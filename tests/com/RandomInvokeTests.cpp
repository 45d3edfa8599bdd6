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

#include <csignal>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace relingo::test {
namespace {

// ---- The values an argument may take ----

// A by-reference argument points at storage of the caller's: either of the value's own type, or a
// VARIANT holding the value.
enum class Reference { None, Typed, Variant };

struct ValueKind {
    std::string name;
    bool typedReference; // whether VT_BYREF of the value's own type is a valid VARIANT
    std::function<VARIANT()> make;
};

VARIANT OfType(VARTYPE type) {
    VARIANT value;
    ::VariantInit(&value);
    value.vt = type;
    return value;
}

VARIANT Short(SHORT number) {
    VARIANT value = OfType(VT_I2);
    value.iVal = number;
    return value;
}

VARIANT Double(double number) {
    VARIANT value = OfType(VT_R8);
    value.dblVal = number;
    return value;
}

VARIANT Bool(VARIANT_BOOL flag) {
    VARIANT value = OfType(VT_BOOL);
    value.boolVal = flag;
    return value;
}

VARIANT NullText() {
    VARIANT value = OfType(VT_BSTR);
    value.bstrVal = nullptr;
    return value;
}

// An object argument holding its own reference, as the caller's VARIANT does.
VARIANT Object(VARTYPE type, IUnknown* object) {
    VARIANT value = OfType(type);
    value.punkVal = object;
    if (object != nullptr) {
        object->AddRef();
    }
    return value;
}

VARIANT Missing() {
    VARIANT value = OfType(VT_ERROR);
    value.scode = DISP_E_PARAMNOTFOUND;
    return value;
}

ComPtr<IDispatch> MakeStdFont() {
    FONTDESC description = {sizeof description,
                            const_cast<LPOLESTR>(L"Arial"),
                            {120000, 0},
                            FW_BOLD,
                            ANSI_CHARSET,
                            FALSE,
                            TRUE,
                            FALSE};
    ComPtr<IDispatch> font;
    ::OleCreateFontIndirect(&description, IID_IDispatch,
                            reinterpret_cast<void**>(font.GetAddressOf()));
    return font;
}

// Texts with the characters a file name may not hold, names that exist, a filter, numbers as
// text, and the syntax the name box refuses.
const wchar_t* const kTexts[] = {
    L"",
    L"C:\\windows",
    L"C:\\windows\\win.ini",
    L"a/b",
    L"<name>",
    L"what?",
    L"a|b",
    L"*.txt",
    L"it's",
    L"\"quoted\"",
    L"/<>?|*'\"",
    L"Text files (*.txt)|*.txt|All files (*.*)|*.*",
    L"12",
    L"-7",
    L"True",
    L"C:\\a\\\\\\b",
    L"x:y:z",
};

std::vector<ValueKind> ValueKinds(IDispatch* font, IDispatch* notAFont) {
    constexpr LONG kLongs[] = {0,
                               1,
                               -1,
                               2,
                               255,
                               4096,
                               std::numeric_limits<LONG>::max(),
                               std::numeric_limits<LONG>::min(),
                               static_cast<LONG>(0x80000005)};
    constexpr SHORT kShorts[] = {0, -1, 3, std::numeric_limits<SHORT>::max(),
                                 std::numeric_limits<SHORT>::min()};
    constexpr double kDoubles[] = {std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   1e300,
                                   -1e300,
                                   -2.5,
                                   4294967296.0,
                                   0.4};
    std::vector<ValueKind> kinds = {
        {"VT_EMPTY", false, [] { return OfType(VT_EMPTY); }},
        {"VT_NULL", false, [] { return OfType(VT_NULL); }},
        {"VT_BOOL true", true, [] { return Bool(VARIANT_TRUE); }},
        {"VT_BOOL false", true, [] { return Bool(VARIANT_FALSE); }},
        {"VT_BOOL 1", true, [] { return Bool(1); }},
        {"VT_BSTR null", true, [] { return NullText(); }},
        {"VT_BSTR 40000 characters", true,
         [] { return Text(L"C:\\" + std::wstring(40000, L'n')); }},
        {"VT_DISPATCH null", true, [] { return Object(VT_DISPATCH, nullptr); }},
        {"VT_DISPATCH StdFont", true, [font] { return Object(VT_DISPATCH, font); }},
        {"VT_DISPATCH not a font", true, [notAFont] { return Object(VT_DISPATCH, notAFont); }},
        {"VT_UNKNOWN null", true, [] { return Object(VT_UNKNOWN, nullptr); }},
        {"VT_UNKNOWN StdFont", true, [font] { return Object(VT_UNKNOWN, font); }},
        {"VT_ERROR missing", true, [] { return Missing(); }},
    };
    for (LONG number : kLongs) {
        kinds.push_back(
            {"VT_I4 " + std::to_string(number), true, [number] { return Long(number); }});
    }
    for (SHORT number : kShorts) {
        kinds.push_back(
            {"VT_I2 " + std::to_string(number), true, [number] { return Short(number); }});
    }
    for (double number : kDoubles) {
        std::ostringstream name;
        name << "VT_R8 " << number;
        kinds.push_back({name.str(), true, [number] { return Double(number); }});
    }
    for (const wchar_t* text : kTexts) {
        kinds.push_back({"VT_BSTR \"" + Utf8(text) + "\"", true, [text] { return Text(text); }});
    }
    return kinds;
}

// ---- One call, planned from the random numbers, then made ----

struct PlannedArgument {
    size_t kind;
    Reference reference;
};

struct PlannedCall {
    DISPID id = 0;
    WORD flags = 0;
    std::vector<PlannedArgument> arguments; // in DISPPARAMS order, the last argument first
    std::vector<DISPID> named;
    bool params = true;
    bool result = true;
    bool exception = true;
    bool argumentError = true;
};

std::string Describe(const PlannedCall& call, const std::vector<ValueKind>& kinds) {
    std::ostringstream text;
    text << "id " << call.id << " flags 0x" << std::hex << call.flags << std::dec;
    if (!call.params) {
        text << " no DISPPARAMS";
    }
    for (const auto& argument : call.arguments) {
        text << " [" << kinds[argument.kind].name
             << (argument.reference == Reference::Typed     ? " by reference"
                 : argument.reference == Reference::Variant ? " in a VARIANT by reference"
                                                            : "")
             << "]";
    }
    for (DISPID id : call.named) {
        text << " named " << id;
    }
    text << (call.result ? " result" : "") << (call.exception ? " excepinfo" : "")
         << (call.argumentError ? " argerr" : "");
    return text.str();
}

// Dispatch ids a caller may name that are no member's: the standard ones, those just past the
// members (17 is the name box's FileTitle but one past the file dialog's last), the extremes, and
// those of IUnknown's and IDispatch's own methods, which the dispatch side of a dual interface
// lists, restricted.
constexpr DISPID kForeignIds[] = {
    DISPID_VALUE,
    DISPID_UNKNOWN,
    DISPID_PROPERTYPUT,
    DISPID_NEWENUM,
    DISPID_EVALUATE,
    DISPID_CONSTRUCTOR,
    DISPID_DESTRUCTOR,
    DISPID_COLLECT,
    DISPID_BACKCOLOR,
    DISPID_TEXT,
    36,
    17,
    1000,
    std::numeric_limits<DISPID>::max(),
    std::numeric_limits<DISPID>::min(),
    0x60000000,
    0x60000001,
    0x60000002,
    0x60010000,
    0x60010001,
    0x60010002,
    0x60010003,
};

// A member as its type information describes it: its id, the flags that reach it and the count
// of its arguments.
struct Member {
    DISPID id;
    WORD flags;
    size_t arguments;
};

class CallPlanner {
public:
    CallPlanner(uint32_t seed, std::vector<Member> members, const std::vector<ValueKind>& kinds)
        : random_(seed), members_(std::move(members)), kinds_(kinds) {}

    PlannedCall Next() {
        PlannedCall call;
        size_t count = Below(4);
        call.flags = static_cast<WORD>(Below(16));
        call.id = kForeignIds[Below(std::size(kForeignIds))];
        if (Chance(75)) {
            const Member& member = members_[Below(members_.size())];
            call.id = member.id;
            // Half the calls to a member come in its own shape, so that the values reach the
            // member itself.
            if (Chance(50)) {
                call.flags = member.flags;
                count = member.arguments;
            }
        }
        for (size_t i = 0; i < count; ++i) {
            call.arguments.push_back(NextArgument());
        }
        PlanNames(call);
        if (Chance(3)) {
            call.params = false;
            call.arguments.clear();
            call.named.clear();
        }
        call.result = Chance(75);
        call.exception = Chance(50);
        call.argumentError = Chance(50);
        return call;
    }

private:
    size_t Below(size_t limit) {
        return std::uniform_int_distribution<size_t>(0, limit - 1)(random_);
    }
    bool Chance(int percent) { return Below(100) < static_cast<size_t>(percent); }

    PlannedArgument NextArgument() {
        const size_t kind = Below(kinds_.size());
        Reference reference = Reference::None;
        if (Chance(25)) {
            reference =
                kinds_[kind].typedReference && Chance(50) ? Reference::Typed : Reference::Variant;
        }
        return {kind, reference};
    }

    // A put names its value DISPID_PROPERTYPUT as callers must; anything else may name an
    // argument by a parameter's number or by that same id.
    void PlanNames(PlannedCall& call) {
        if (call.arguments.empty()) {
            return;
        }
        const bool put = (call.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
        if (put && Chance(75)) {
            call.named.push_back(DISPID_PROPERTYPUT);
        } else if (Chance(25)) {
            constexpr DISPID kNames[] = {0, 1, 5, DISPID_PROPERTYPUT};
            call.named.push_back(kNames[Below(std::size(kNames))]);
        }
    }

    std::mt19937 random_;
    std::vector<Member> members_;
    const std::vector<ValueKind>& kinds_;
};

// The arguments of one call and the storage its by-reference arguments point at, freed at the
// end as the caller that owns them frees them.
class Arguments {
public:
    Arguments(const PlannedCall& call, const std::vector<ValueKind>& kinds)
        : values_(call.arguments.size()), referenced_(call.arguments.size()), named_(call.named) {
        for (size_t i = 0; i < call.arguments.size(); ++i) {
            const auto& planned = call.arguments[i];
            VARIANT value = kinds[planned.kind].make();
            switch (planned.reference) {
            case Reference::None:
                values_[i] = value;
                break;
            case Reference::Typed:
                referenced_[i] = value;
                values_[i] = OfType(static_cast<VARTYPE>(value.vt | VT_BYREF));
                // Every member of the VARIANT's value union starts at the same place.
                values_[i].byref = &referenced_[i].lVal;
                break;
            case Reference::Variant:
                referenced_[i] = value;
                values_[i] = OfType(VT_VARIANT | VT_BYREF);
                values_[i].pvarVal = &referenced_[i];
                break;
            }
        }
        params_.rgvarg = values_.data();
        params_.cArgs = static_cast<UINT>(values_.size());
        params_.rgdispidNamedArgs = named_.data();
        params_.cNamedArgs = static_cast<UINT>(named_.size());
    }
    ~Arguments() {
        for (size_t i = 0; i < values_.size(); ++i) {
            if ((values_[i].vt & VT_BYREF) != 0) {
                ::VariantClear(&referenced_[i]);
            } else {
                ::VariantClear(&values_[i]);
            }
        }
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    DISPPARAMS* Params() { return &params_; }

private:
    std::vector<VARIANT> values_;
    std::vector<VARIANT> referenced_;
    std::vector<DISPID> named_;
    DISPPARAMS params_{};
};

void ClearException(EXCEPINFO& exception) {
    if (exception.pfnDeferredFillIn != nullptr) {
        exception.pfnDeferredFillIn(&exception);
    }
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    exception = EXCEPINFO{};
}

HRESULT MakeCall(IDispatch* control, const PlannedCall& call, const std::vector<ValueKind>& kinds) {
    Arguments arguments(call, kinds);
    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO exception = {};
    UINT argumentError = 0;
    const HRESULT hr = control->Invoke(
        call.id, IID_NULL, LOCALE_USER_DEFAULT, call.flags,
        call.params ? arguments.Params() : nullptr, call.result ? &result : nullptr,
        call.exception ? &exception : nullptr, call.argumentError ? &argumentError : nullptr);
    ::VariantClear(&result);
    ClearException(exception);
    return hr;
}

// ---- Reporting a crash, which ends the process before an assertion can say which call ----

std::string g_callInProgress;

void PrintCallInProgress(const char* what) {
    std::fprintf(stderr, "%s during random call %s\n", what, g_callInProgress.c_str());
    std::fflush(stderr);
}

LONG WINAPI ReportUnhandledException(EXCEPTION_POINTERS* pointers) {
    char what[64];
    std::snprintf(what, sizeof what, "exception 0x%08lx",
                  static_cast<unsigned long>(pointers->ExceptionRecord->ExceptionCode));
    PrintCallInProgress(what);
    return EXCEPTION_CONTINUE_SEARCH;
}

void ReportAbort(int) {
    PrintCallInProgress("abort");
}

class CrashReport {
public:
    CrashReport()
        : filter_(::SetUnhandledExceptionFilter(ReportUnhandledException)),
          abort_(std::signal(SIGABRT, ReportAbort)) {}
    ~CrashReport() {
        ::SetUnhandledExceptionFilter(filter_);
        std::signal(SIGABRT, abort_);
        g_callInProgress.clear();
    }
    CrashReport(const CrashReport&) = delete;
    CrashReport& operator=(const CrashReport&) = delete;

private:
    LPTOP_LEVEL_EXCEPTION_FILTER filter_;
    void (*abort_)(int);
};

// ---- The controls and the cases ----

struct Control {
    const wchar_t* progId;
    // Members never called: each shows a window that waits for a user.
    std::set<std::wstring> excluded;
    // A property that must still read after the run.
    const wchar_t* readBack;
};

// The name box shows its faults in message boxes unless MessageShow is off, which it is for the
// whole run; the dialog control's methods show the file dialogs.
const Control kBox = {L"Relingo.FileNameBox", {L"MessageShow"}, L"Text"};
const Control kDialog = {
    L"Relingo.FilOpDlg", {L"ShowOpen", L"ShowSave", L"GetFileName"}, L"Filter"};

WORD FlagsFor(INVOKEKIND kind) {
    switch (kind) {
    case INVOKE_PROPERTYGET:
        return DISPATCH_PROPERTYGET;
    case INVOKE_PROPERTYPUT:
        return DISPATCH_PROPERTYPUT;
    case INVOKE_PROPERTYPUTREF:
        return DISPATCH_PROPERTYPUTREF;
    default:
        return DISPATCH_METHOD;
    }
}

size_t ArgumentsOf(const FUNCDESC& function) {
    size_t count = 0;
    for (SHORT i = 0; i < function.cParams; ++i) {
        if ((function.lprgelemdescParam[i].paramdesc.wParamFlags & PARAMFLAG_FRETVAL) == 0) {
            ++count;
        }
    }
    return count;
}

// The control's members as its type information lists them, those excluded and the restricted
// ones (IUnknown's and IDispatch's own) left out.
std::vector<Member> CallableMembers(IDispatch* control, const std::set<std::wstring>& excluded) {
    ComPtr<ITypeInfo> info;
    TYPEATTR* attributes = nullptr;
    if (FAILED(control->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) ||
        FAILED(info->GetTypeAttr(&attributes))) {
        return {};
    }
    std::vector<Member> members;
    for (UINT i = 0; i < attributes->cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function))) {
            continue;
        }
        BSTR name = nullptr;
        info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        if ((function->wFuncFlags & FUNCFLAG_FRESTRICTED) == 0 && name != nullptr &&
            excluded.count(name) == 0) {
            members.push_back(
                {function->memid, FlagsFor(function->invkind), ArgumentsOf(*function)});
        }
        ::SysFreeString(name);
        info->ReleaseFuncDesc(function);
    }
    info->ReleaseTypeAttr(attributes);
    return members;
}

DISPID IdOf(IDispatch* control, const wchar_t* name) {
    auto* names = const_cast<LPOLESTR>(name);
    DISPID id = DISPID_UNKNOWN;
    control->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

struct RandomCase {
    const char* name;
    const Control* control;
    bool placed; // in a container at run time, activated in place; else without any site
    LONG locale; // the container's, which the error texts follow
    uint32_t seed;
    int count;
};

std::string Label(const RandomCase& c) {
    std::ostringstream label;
    label << c.name << " seed 0x" << std::hex << c.seed;
    return label.str();
}

void PrintTo(const RandomCase& c, std::ostream* out) {
    *out << Label(c) << ", " << c.count << " calls";
}

const RandomCase kCases[] = {
    {"BoxWithoutSite", &kBox, false, 0, 0x5eed0001, 20000},
    {"BoxPlaced", &kBox, true, 1041, 0x5eed0002, 20000},
    {"DialogWithoutSite", &kDialog, false, 0, 0x5eed0003, 20000},
    {"DialogPlaced", &kDialog, true, 1033, 0x5eed0004, 20000},
};

// What the memory of the process may grow by a call, once the first calls have filled the
// caches: far below what any leaked text or object costs.
constexpr size_t kBytesPerCall = 24;

class RandomInvokeTest : public ::testing::TestWithParam<RandomCase> {
protected:
    void SetUp() override { ASSERT_TRUE(activation_.Active()); }

    // The control as the case wants it: placed into the container, new and active in place, or
    // made and nothing else.
    ComPtr<IDispatch> MakeFor(const RandomCase& c, TestContainer& container) {
        auto control = MakeControl<IDispatch>(c.control->progId);
        if (!control || !c.placed) {
            return control;
        }
        container.Place(control.Get(), false);
        ComPtr<IPersistStreamInit> persist;
        ComPtr<IOleObject> object;
        if (FAILED(control.As(&persist)) || FAILED(persist->InitNew()) ||
            FAILED(control.As(&object)) ||
            FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &container.Site(), 0,
                                  container.Window(), &container.Site().position))) {
            return nullptr;
        }
        return control;
    }

    OleApartment apartment_;
    ServerActivation activation_;
};

// The calls numbered first to first + count - 1 of the case, with a fatal failure at the first
// that ends in neither S_OK nor a COM error. Now and then the thread's windows catch up and the
// events raised so far are forgotten.
void MakeCalls(IDispatch* control, const RandomCase& c, CallPlanner& planner,
               const std::vector<ValueKind>& kinds, int first, int count, EventSink& events) {
    for (int i = first; i < first + count; ++i) {
        const PlannedCall call = planner.Next();
        g_callInProgress = Label(c) + " #" + std::to_string(i) + ": " + Describe(call, kinds);
        HRESULT hr = E_FAIL;
        try {
            hr = MakeCall(control, call, kinds);
        } catch (...) {
            FAIL() << "an exception came out of " << g_callInProgress;
        }
        ASSERT_TRUE(hr == S_OK || FAILED(hr))
            << g_callInProgress << " gave 0x" << std::hex << static_cast<unsigned long>(hr);
        if (i % 500 == 0) {
            PumpUntil([] { return true; });
            events.seen.clear();
        }
    }
}

// What must still hold after the run: the property reads, the name box still keeps its faults
// to itself, and the object saves into a stream that a new object loads.
void ExpectStillAnswers(IDispatch* control, const Control& kind) {
    const auto read = GetProperty(control, kind.readBack);
    EXPECT_EQ(read.hr, S_OK);
    EXPECT_EQ(read.value.vt, VT_BSTR);
    if (&kind == &kBox) {
        const auto shown = GetProperty(control, L"MessageShow");
        EXPECT_EQ(shown.hr, S_OK);
        EXPECT_EQ(shown.value.boolVal, VARIANT_FALSE);
    }
    ComPtr<IOleObject> object;
    ASSERT_EQ(control->QueryInterface(IID_PPV_ARGS(&object)), S_OK);
    DWORD status = 0;
    EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(control->QueryInterface(IID_PPV_ARGS(&persist)), S_OK);
    ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    EXPECT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    auto loaded = MakeControl<IPersistStreamInit>(kind.progId);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Load(stream.Get()), S_OK);
}

TEST_P(RandomInvokeTest, EveryCallEndsInSuccessOrAComErrorAndTheControlStillAnswers) {
    const RandomCase& c = GetParam();
    TestContainer container({c.locale, true});
    auto control = MakeFor(c, container);
    ASSERT_TRUE(control);
    if (c.control == &kBox) {
        ASSERT_EQ(PutProperty(control.Get(), L"MessageShow", Boolean(false)).hr, S_OK);
    }
    for (const auto& name : c.control->excluded) {
        ASSERT_NE(IdOf(control.Get(), name.c_str()), DISPID_UNKNOWN) << Utf8(name);
    }
    const auto members = CallableMembers(control.Get(), c.control->excluded);
    ASSERT_GE(members.size(), 10u);
    // The name box raises its events to a sink as it would to a form's.
    const auto events = com::ComObject<EventSink>::Make();
    Connect(control.Get(), DIID_DFileNameBoxEvents, events.Get());

    const ComPtr<IDispatch> font = MakeStdFont();
    ASSERT_TRUE(font);
    const auto kinds = ValueKinds(font.Get(), events.Get());
    CallPlanner planner(c.seed, members, kinds);
    DialogWatcher boxes;
    CrashReport crashes;
    const int warmUp = c.count / 10;
    MakeCalls(control.Get(), c, planner, kinds, 0, warmUp, *events.Get());
    ASSERT_FALSE(HasFatalFailure());
    const size_t before = PrivateBytes();
    MakeCalls(control.Get(), c, planner, kinds, warmUp, c.count - warmUp, *events.Get());
    ASSERT_FALSE(HasFatalFailure());
    ::SetErrorInfo(0, nullptr);
    PumpUntil([] { return true; });
    const size_t after = PrivateBytes();
    EXPECT_LT(after, before + kBytesPerCall * static_cast<size_t>(c.count - warmUp))
        << before << " bytes before, " << after << " after";
    EXPECT_TRUE(boxes.Seen().empty()) << Utf8(boxes.Seen().front().text);
    ExpectStillAnswers(control.Get(), *c.control);
}

INSTANTIATE_TEST_SUITE_P(Cases, RandomInvokeTest, ::testing::ValuesIn(kCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

// The dispatch side of a dual interface lists IUnknown's and IDispatch's own methods under ids of
// their own; a caller that names one reaches nothing, whatever it passes.
TEST(InheritedMethodsTest, IUnknownsAndIDispatchsOwnMethodsAreNoMembers) {
    const struct {
        const char* name;
        DISPID id;
        size_t parameters;
    } methods[] = {
        {"QueryInterface", 0x60000000, 2}, {"AddRef", 0x60000001, 0},
        {"Release", 0x60000002, 0},        {"GetTypeInfoCount", 0x60010000, 1},
        {"GetTypeInfo", 0x60010001, 3},    {"GetIDsOfNames", 0x60010002, 5},
        {"Invoke", 0x60010003, 8},
    };
    OleApartment apartment;
    ServerActivation activation;
    ASSERT_TRUE(activation.Active());
    for (const wchar_t* progId : {L"Relingo.FileNameBox", L"Relingo.FilOpDlg"}) {
        SCOPED_TRACE(Utf8(progId));
        auto control = MakeControl<IDispatch>(progId);
        ASSERT_TRUE(control);
        control->AddRef();
        const ULONG references = control->Release();
        for (const auto& method : methods) {
            for (size_t count : {size_t{0}, method.parameters}) {
                std::vector<LONG> storage(count, 0);
                std::vector<VARIANT> arguments;
                for (LONG& place : storage) {
                    VARIANT argument = OfType(VT_I4 | VT_BYREF);
                    argument.plVal = &place;
                    arguments.push_back(argument);
                }
                EXPECT_EQ(InvokeId(control.Get(), method.id, DISPATCH_METHOD, arguments).hr,
                          DISP_E_MEMBERNOTFOUND)
                    << method.name << " with " << count << " arguments";
            }
        }
        control->AddRef();
        EXPECT_EQ(control->Release(), references);
    }
}

} // namespace
} // namespace relingo::test
