// The controls in a container of the test's own, which gives the ambient properties a host would
// and records what the controls ask of it: activation in place, saving and loading through a
// property bag and a stream, design time against run time, the host's locale, and the
// notifications of changed properties.
#include "com/Relingo_h.h"
#include "com/StreamFormat.h"
#include "tests/com/ComTestSupport.h"
#include "tests/com/TestContainer.h"
#include "tests/win32support/FileDialogDriver.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace relingo::test {
namespace {

constexpr Ambients kRunTime = {1033, true};
constexpr Ambients kDesignTime = {1033, false};

class ContainerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(activation_.Active()); }

    // A new control in a container with the ambients, initialised as new.
    ComPtr<IDispatch> NewControl(const wchar_t* progId, TestContainer& container) {
        auto control = MakeControl<IDispatch>(progId);
        EXPECT_TRUE(control);
        container.Place(control.Get(), false);
        ComPtr<IPersistPropertyBag> persist;
        control.As(&persist);
        EXPECT_EQ(persist->InitNew(), S_OK);
        return control;
    }

    OleApartment apartment_;
    ServerActivation activation_;
};

std::wstring TextOf(const DispatchResult& result) {
    return result.value.vt == VT_BSTR && result.value.bstrVal != nullptr ? result.value.bstrVal
                                                                         : L"";
}

TEST_F(ContainerTest, ActivationInPlacePutsTheBoxIntoTheContainersWindowAndBack) {
    TestContainer container(kRunTime);
    auto box = MakeControl<IOleInPlaceObject>(L"Relingo.FileNameBox");
    ASSERT_TRUE(box);
    container.Place(box.Get(), true);
    HWND window = nullptr;
    ASSERT_EQ(box->GetWindow(&window), S_OK);
    EXPECT_EQ(::GetParent(window), container.Window());
    EXPECT_NE(::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE, 0);
    RECT placed = {};
    ::GetWindowRect(window, &placed);
    ::MapWindowPoints(nullptr, container.Window(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, container.Site().position.left);
    EXPECT_EQ(placed.right, container.Site().position.right);
    EXPECT_EQ(container.Site().inPlaceActivations, 1);

    const RECT moved = {20, 40, 320, 64};
    EXPECT_EQ(box->SetObjectRects(&moved, &moved), S_OK);
    ::GetWindowRect(window, &placed);
    EXPECT_EQ(placed.right - placed.left, 300);

    EXPECT_EQ(box->InPlaceDeactivate(), S_OK);
    EXPECT_EQ(container.Site().inPlaceDeactivations, 1);
    EXPECT_NE(::GetParent(window), container.Window());
    EXPECT_EQ(box->GetWindow(&window), E_FAIL);
}

// The window region of a window, in its own coordinates; none when it has none.
std::optional<RECT> RegionOf(HWND window) {
    const HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    RECT box = {};
    const bool has = ::GetWindowRgn(window, region) != ERROR;
    ::GetRgnBox(region, &box);
    ::DeleteObject(region);
    return has ? std::optional<RECT>(box) : std::nullopt;
}

// In a frame or a scrolled page the container shows only part of the box: the box's window
// shows that part alone, and a clip that covers the box leaves it no region.
TEST_F(ContainerTest, TheContainersClipClipsTheBoxsWindow) {
    TestContainer container(kRunTime);
    container.Site().clip = RECT{0, 0, 110, 200}; // given at activation
    auto box = MakeControl<IOleInPlaceObject>(L"Relingo.FileNameBox");
    ASSERT_TRUE(box);
    container.Place(box.Get(), true);
    HWND window = nullptr;
    ASSERT_EQ(box->GetWindow(&window), S_OK);
    const RECT placed = container.Site().position; // {10, 10, 210, 32}
    const struct {
        const char* what;
        RECT position;
        RECT clip;
        std::optional<RECT> region;
    } cases[] = {
        {"at activation", placed, {0, 0, 110, 200}, RECT{0, 0, 100, 22}},
        {"covering", placed, {0, 0, 400, 200}, std::nullopt},
        {"from the top left", placed, {50, 20, 400, 200}, RECT{40, 10, 200, 22}},
        {"moved outside", {20, 40, 320, 64}, {0, 0, 400, 30}, RECT{0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (&c != cases) {
            ASSERT_EQ(box->SetObjectRects(&c.position, &c.clip), S_OK);
        }
        const std::optional<RECT> region = RegionOf(window);
        ASSERT_EQ(region.has_value(), c.region.has_value());
        EXPECT_TRUE(!region || ::EqualRect(&*region, &*c.region));
    }
}

struct Change {
    const wchar_t* property;
    VARIANT (*value)();
};

VARIANT ModeOne() {
    return Long(1);
}
VARIANT NoMessages() {
    return Boolean(false);
}
VARIANT DesignedDefault() {
    return Text(L"C:\\IPDK\\PDWizLoc.exe");
}
VARIANT ProgramFilter() {
    return Text(L"Programs|*.exe");
}
VARIANT Cancelling() {
    return Boolean(true);
}

const struct PersistenceCase {
    const char* what;
    const wchar_t* progId;
    std::vector<Change> changes;
    std::vector<std::wstring> storedKeys;
} kPersistenceCases[] = {
    {"name box",
     L"Relingo.FileNameBox",
     {{L"mode", ModeOne}, {L"MessageShow", NoMessages}, {L"DefaultValue", DesignedDefault}},
     {L"DefaultValue", L"MessageShow", L"Mode"}},
    {"file dialog",
     L"Relingo.FilOpDlg",
     {{L"Filter", ProgramFilter}, {L"CancelError", Cancelling}},
     {L"CancelError", L"Filter"}},
};

void Apply(IDispatch* control, const std::vector<Change>& changes) {
    for (const auto& change : changes) {
        VARIANT value = change.value();
        EXPECT_EQ(PutProperty(control, change.property, value).hr, S_OK);
        ::VariantClear(&value);
    }
}

void ExpectChanged(IDispatch* control, const std::vector<Change>& changes) {
    for (const auto& change : changes) {
        SCOPED_TRACE(Utf8(change.property));
        VARIANT expected = change.value();
        auto got = GetProperty(control, change.property);
        ASSERT_EQ(::VariantChangeType(&got.value, &got.value, 0, expected.vt), S_OK);
        EXPECT_EQ(::VarCmp(&got.value, &expected, LOCALE_USER_DEFAULT, 0),
                  static_cast<HRESULT>(VARCMP_EQ));
        ::VariantClear(&expected);
    }
}

TEST_F(ContainerTest, APropertyBagKeepsOnlyChangedValuesAndLoadsThemBack) {
    for (const auto& c : kPersistenceCases) {
        SCOPED_TRACE(c.what);
        TestContainer designer(kDesignTime);
        auto designed = NewControl(c.progId, designer);
        Apply(designed.Get(), c.changes);
        auto bag = com::ComObject<MemoryBag>::Make();
        ComPtr<IPersistPropertyBag> saver;
        designed.As(&saver);
        ASSERT_EQ(saver->Save(bag.Get(), TRUE, FALSE), S_OK);
        std::vector<std::wstring> keys;
        for (const auto& [key, value] : bag->values) {
            keys.push_back(key);
        }
        EXPECT_EQ(keys, c.storedKeys);

        TestContainer running(kRunTime);
        auto loaded = MakeControl<IDispatch>(c.progId);
        running.Place(loaded.Get(), false);
        ComPtr<IPersistPropertyBag> loader;
        loaded.As(&loader);
        ASSERT_EQ(loader->Load(bag.Get(), nullptr), S_OK);
        ExpectChanged(loaded.Get(), c.changes);
    }
}

TEST_F(ContainerTest, AStreamKeepsOnlyChangedValuesAndLoadsThemBack) {
    for (const auto& c : kPersistenceCases) {
        SCOPED_TRACE(c.what);
        TestContainer designer(kDesignTime);
        auto designed = NewControl(c.progId, designer);
        ComPtr<IPersistStreamInit> saver;
        designed.As(&saver);
        EXPECT_EQ(saver->IsDirty(), S_FALSE);
        Apply(designed.Get(), c.changes);
        EXPECT_EQ(saver->IsDirty(), S_OK);
        ComPtr<IStream> stream;
        ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
        ULARGE_INTEGER needed = {};
        ASSERT_EQ(saver->GetSizeMax(&needed), S_OK);
        ASSERT_EQ(saver->Save(stream.Get(), TRUE), S_OK);
        EXPECT_EQ(saver->IsDirty(), S_FALSE);

        STATSTG stat = {};
        stream->Stat(&stat, STATFLAG_NONAME);
        EXPECT_EQ(stat.cbSize.QuadPart, needed.QuadPart);
        std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
        const LARGE_INTEGER start = {};
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
        stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
        const PropertyBag stored = com::DecodeStreamText(bytes.substr(com::kStreamHeaderSize));
        EXPECT_EQ(stored.Size(), c.storedKeys.size());
        for (const auto& key : c.storedKeys) {
            EXPECT_TRUE(stored.Contains(std::u16string(key.begin(), key.end())));
        }

        TestContainer running(kRunTime);
        auto loaded = MakeControl<IDispatch>(c.progId);
        running.Place(loaded.Get(), false);
        ComPtr<IPersistStreamInit> loader;
        loaded.As(&loader);
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
        ASSERT_EQ(loader->Load(stream.Get()), S_OK);
        ExpectChanged(loaded.Get(), c.changes);
    }
}

// A compound document, as a container built on OLE's own helpers keeps its objects: made into a
// storage of a file, saved, loaded back from the file reopened, and drawn.
TEST_F(ContainerTest, ACompoundDocumentCreatesSavesLoadsAndDrawsTheControl) {
    TempFolder folder;
    const std::wstring document = folder / L"Document.stg";
    for (const auto& c : kPersistenceCases) {
        SCOPED_TRACE(c.what);
        CLSID clsid = {};
        ASSERT_EQ(::CLSIDFromProgID(c.progId, &clsid), S_OK);
        {
            TestContainer designer(kDesignTime);
            ComPtr<IStorage> storage;
            ASSERT_EQ(::StgCreateDocfile(document.c_str(),
                                         STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                         &storage),
                      S_OK);
            ComPtr<IOleObject> object;
            ASSERT_EQ(::OleCreate(clsid, IID_IOleObject, OLERENDER_DRAW, nullptr, &designer.Site(),
                                  storage.Get(), reinterpret_cast<void**>(object.GetAddressOf())),
                      S_OK);
            ComPtr<IDispatch> designed;
            object.As(&designed);
            Apply(designed.Get(), c.changes);
            ComPtr<IPersistStorage> persist;
            object.As(&persist);
            EXPECT_EQ(persist->IsDirty(), S_OK);
            ASSERT_EQ(::OleSave(persist.Get(), storage.Get(), TRUE), S_OK);
            EXPECT_EQ(persist->SaveCompleted(nullptr), S_OK);
            EXPECT_EQ(persist->IsDirty(), S_FALSE);
            object->Close(OLECLOSE_NOSAVE);
        }
        TestContainer running(kRunTime);
        ComPtr<IStorage> reopened;
        ASSERT_EQ(::StgOpenStorage(document.c_str(), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                   nullptr, 0, &reopened),
                  S_OK);
        ComPtr<IDispatch> loaded;
        ASSERT_EQ(::OleLoad(reopened.Get(), IID_IDispatch, &running.Site(),
                            reinterpret_cast<void**>(loaded.GetAddressOf())),
                  S_OK);
        ExpectChanged(loaded.Get(), c.changes);

        const PictureBitmap picture({32, 32}, RGB(255, 0, 255));
        RECT area = picture.Area();
        EXPECT_EQ(::OleDraw(loaded.Get(), DVASPECT_CONTENT, picture.Dc(), &area), S_OK);
        EXPECT_GT(picture.PixelsOtherThan(RGB(255, 0, 255)), 100);
    }
}

TEST_F(ContainerTest, AChangeMadeThroughTheFontObjectReachesTheBoxAndIsSaved) {
    TestContainer designer(kDesignTime);
    auto box = NewControl(L"Relingo.FileNameBox", designer);
    const auto first = GetProperty(box.Get(), L"Font");
    ASSERT_EQ(first.value.vt, VT_DISPATCH);
    ComPtr<IFont> font;
    ASSERT_EQ(first.value.pdispVal->QueryInterface(IID_PPV_ARGS(&font)), S_OK);
    CY size = {};
    size.int64 = 12 * 10000; // 12 points, 16 pixels at 96 dots per inch
    ASSERT_EQ(font->put_Size(size), S_OK);
    ASSERT_EQ(font->put_Bold(TRUE), S_OK);
    // The box hands out the very object it uses.
    EXPECT_EQ(GetProperty(box.Get(), L"Font").value.pdispVal, first.value.pdispVal);

    auto bag = com::ComObject<MemoryBag>::Make();
    ComPtr<IPersistPropertyBag> saver;
    box.As(&saver);
    ASSERT_EQ(saver->Save(bag.Get(), TRUE, FALSE), S_OK);
    ASSERT_EQ(bag->values.count(L"Font"), 1u);
    ComPtr<IFont> saved;
    ASSERT_EQ(bag->values[L"Font"].punkVal->QueryInterface(IID_PPV_ARGS(&saved)), S_OK);
    CY savedSize = {};
    BOOL bold = FALSE;
    saved->get_Size(&savedSize);
    saved->get_Bold(&bold);
    EXPECT_EQ(savedSize.int64, size.int64);
    EXPECT_TRUE(bold);
}

TEST_F(ContainerTest, TheDialogIsOwnedByTheContainersWindowUnlessTheHostNamesAnother) {
    TestContainer container(kRunTime);
    auto dialog = NewControl(L"Relingo.FilOpDlg", container);
    FileDialogDriver driver(std::nullopt, IDCANCEL);
    EXPECT_EQ(CallMethod(dialog.Get(), L"ShowOpen").hr, S_OK);
    const auto seen = driver.Seen();
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, container.Window());
    EXPECT_EQ(GetProperty(dialog.Get(), L"CancelSelected").value.boolVal, VARIANT_TRUE);
}

TEST_F(ContainerTest, TheDesignedDefaultIsTheTextOfALoadedBox) {
    TestContainer container(kRunTime);
    auto bag = com::ComObject<MemoryBag>::Make();
    VARIANT designed = DesignedDefault();
    bag->Write(L"DefaultValue", &designed);
    ::VariantClear(&designed);
    auto box = MakeControl<IDispatch>(L"Relingo.FileNameBox");
    container.Place(box.Get(), false);
    ComPtr<IPersistPropertyBag> loader;
    box.As(&loader);
    ASSERT_EQ(loader->Load(bag.Get(), nullptr), S_OK);
    EXPECT_EQ(TextOf(GetProperty(box.Get(), L"Text")), L"C:\\IPDK\\PDWizLoc.exe");
    // A second initialisation is refused, as for any object already loaded.
    EXPECT_EQ(loader->InitNew(), CO_E_ALREADYINITIALIZED);
}

TEST_F(ContainerTest, TheDefaultValueIsSetAtDesignTimeOnly) {
    const struct {
        Ambients ambients;
        HRESULT result;
        int number;
        const wchar_t* text;
    } cases[] = {{kDesignTime, S_OK, 0, L"C:\\IPDK\\PDWizLoc.exe"},
                 {kRunTime, DISP_E_EXCEPTION, 382, L""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        TestContainer container(c.ambients);
        auto box = NewControl(L"Relingo.FileNameBox", container);
        VARIANT value = DesignedDefault();
        const auto set = PutProperty(box.Get(), L"DefaultValue", value);
        ::VariantClear(&value);
        EXPECT_EQ(set.hr, c.result);
        EXPECT_EQ(set.Number(), c.number);
        EXPECT_EQ(TextOf(GetProperty(box.Get(), L"Text")), c.text);
        EXPECT_EQ(TextOf(GetProperty(box.Get(), L"DefaultValue")), c.text);
    }
}

TEST_F(ContainerTest, TheContainersLocaleChoosesTheLanguageOfFaultsAndErrors) {
    const struct {
        LONG locale;
        const wchar_t* caption;
        const wchar_t* fault;
        const wchar_t* overflow;
    } cases[] = {
        {1041, L"警告!!", L"ファイルまたはフォルダが存在しません", L"オーバーフローしました。"},
        {1033, L"Warning!!", L"File or folder not found.", L"Overflow"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        TestContainer container({c.locale, true});
        auto box = NewControl(L"Relingo.FileNameBox", container);
        EXPECT_EQ(PutProperty(box.Get(), L"mode", Long(1)).hr, S_OK);
        VARIANT missing = Text(folder / L"missing.exe");
        EXPECT_EQ(PutProperty(box.Get(), L"Text", missing).hr, S_OK);
        ::VariantClear(&missing);
        DialogWatcher boxes;
        EXPECT_EQ(CallMethod(box.Get(), L"ValidateValue").value.boolVal, VARIANT_FALSE);
        const auto seen = boxes.WaitFor(1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, c.caption);
        EXPECT_EQ(seen[0].text, c.fault);
        EXPECT_EQ(seen[0].owner, container.Window());
        const auto refused = PutProperty(box.Get(), L"IMEMode", Long(70000));
        EXPECT_EQ(refused.Number(), 6);
        EXPECT_EQ(refused.Description(), c.overflow);
    }
}

TEST_F(ContainerTest, ChangedPropertiesReachTheContainersSinksByDispatchId) {
    TestContainer container(kRunTime);
    auto box = NewControl(L"Relingo.FileNameBox", container);
    auto dialog = NewControl(L"Relingo.FilOpDlg", container);
    auto boxSink = com::ComObject<PropertySink>::Make();
    auto dialogSink = com::ComObject<PropertySink>::Make();
    ASSERT_NE(Connect(box.Get(), IID_IPropertyNotifySink, boxSink.Get()), 0u);
    ASSERT_NE(Connect(dialog.Get(), IID_IPropertyNotifySink, dialogSink.Get()), 0u);
    PutProperty(box.Get(), L"mode", Long(2));
    PutProperty(box.Get(), L"Value", Text(L""));
    PutProperty(dialog.Get(), L"hParentwnd", Long(0));
    PutProperty(dialog.Get(), L"Filter", Text(L""));
    // mode is 26; Value notifies "Value" (33), then "Text" (31); hParentwnd is reported as
    // "hWnd", a name no member has.
    EXPECT_EQ(boxSink->changed, (std::vector<DISPID>{26, 33, 31}));
    EXPECT_EQ(dialogSink->changed, (std::vector<DISPID>{DISPID_UNKNOWN, 9}));
}

TEST_F(ContainerTest, QuickActivationConnectsTheSitesSinks) {
    TestContainer container(kRunTime);
    auto box = MakeControl<IQuickActivate>(L"Relingo.FileNameBox");
    ASSERT_TRUE(box);
    auto events = com::ComObject<EventSink>::Make();
    auto properties = com::ComObject<PropertySink>::Make();
    QACONTAINER site = {};
    site.cbSize = sizeof site;
    site.pClientSite = &container.Site();
    site.pPropertyNotifySink = properties.Get();
    site.pUnkEventSink = events.Get();
    QACONTROL answer = {};
    answer.cbSize = sizeof answer;
    ASSERT_EQ(box->QuickActivate(&site, &answer), S_OK);
    EXPECT_NE(answer.dwEventCookie, 0u);
    EXPECT_NE(answer.dwPropNotifyCookie, 0u);
    EXPECT_NE(answer.dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST, 0u);
    ComPtr<IDispatch> dispatch;
    box.As(&dispatch);
    PutProperty(dispatch.Get(), L"Text", Text(L"C:\\x"));
    ASSERT_EQ(events->seen.size(), 1u);
    EXPECT_EQ(events->seen[0].id, 1); // Change
    EXPECT_EQ(properties->changed, (std::vector<DISPID>{31}));
}

TEST_F(ContainerTest, TheFileDialogShowsItsIconAtDesignTimeOnlyAndKeepsItsSize) {
    for (const auto ambients : {kDesignTime, kRunTime}) {
        SCOPED_TRACE(*ambients.userMode ? "run time" : "design time");
        TestContainer container(ambients);
        auto dialog = NewControl(L"Relingo.FilOpDlg", container);
        container.Place(dialog.Get(), true);
        ComPtr<IOleInPlaceObject> inPlace;
        dialog.As(&inPlace);
        HWND window = nullptr;
        const HRESULT shown = inPlace->GetWindow(&window);
        if (*ambients.userMode) {
            EXPECT_EQ(shown, E_FAIL);
        } else {
            ASSERT_EQ(shown, S_OK);
            RECT size = {};
            ::GetWindowRect(window, &size);
            EXPECT_EQ(size.right - size.left, 32);
            EXPECT_EQ(size.bottom - size.top, 32);
        }
        ComPtr<IOleObject> object;
        dialog.As(&object);
        SIZEL asked = {5000, 3000};
        EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, &asked), S_OK);
        SIZEL kept = {};
        EXPECT_EQ(object->GetExtent(DVASPECT_CONTENT, &kept), S_OK);
        EXPECT_EQ(kept.cx, ::MulDiv(32, 2540, 96));
        EXPECT_EQ(kept.cy, kept.cx);
        DWORD status = 0;
        object->GetMiscStatus(DVASPECT_CONTENT, &status);
        EXPECT_NE(status & OLEMISC_INVISIBLEATRUNTIME, 0u);
    }
}

// The colour of one pixel of what the control draws into a bitmap of the given size.
COLORREF DrawnPixel(IUnknown* control, SIZE size, POINT pixel) {
    ComPtr<IViewObject2> view;
    control->QueryInterface(IID_PPV_ARGS(&view));
    const PictureBitmap picture(size, RGB(255, 255, 255));
    const RECTL bounds = {0, 0, size.cx, size.cy};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, picture.Dc(), &bounds,
                         nullptr, nullptr, 0),
              S_OK);
    return picture.Pixel(pixel);
}

TEST_F(ContainerTest, ADesignEnvironmentDrawsTheBoxAndTheDialogsIcon) {
    TestContainer container(kDesignTime);
    auto box = NewControl(L"Relingo.FileNameBox", container);
    PutProperty(box.Get(), L"BackColor", Long(RGB(0, 0, 255)));
    EXPECT_EQ(DrawnPixel(box.Get(), {120, 24}, {60, 12}), RGB(0, 0, 255));
    auto dialog = NewControl(L"Relingo.FilOpDlg", container);
    // The icon's folder is olive and yellow; outside it the bitmap stays white.
    EXPECT_NE(DrawnPixel(dialog.Get(), {32, 32}, {5, 20}), RGB(255, 255, 255));
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::set<HWND>*>(found)->insert(window);
    return TRUE;
}

// Every window of the thread: the top-level ones, the message-only ones, and all they hold.
size_t ThreadWindows() {
    std::set<HWND> windows;
    const auto found = reinterpret_cast<LPARAM>(&windows);
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, found);
    for (HWND w = nullptr; (w = ::FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;) {
        if (::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId()) {
            windows.insert(w);
        }
    }
    for (const HWND top : std::set<HWND>(windows)) {
        ::EnumChildWindows(top, CollectWindow, found);
    }
    return windows.size();
}

// A script makes a box, sets it and lets it go: no window, unless the box shows a fault, which
// it does with its window (the box's and its EDIT) made.
TEST_F(ContainerTest, AScriptsBoxMakesNoWindowUntilItShowsAFault) {
    TempFolder folder;
    const std::wstring missing = folder / L"missing.exe";
    const struct {
        const char* what;
        std::function<void(IDispatch*)> script;
        size_t windows;
    } cases[] = {
        {"properties",
         [](IDispatch* box) {
             PutProperty(box, L"Text", Text(L"C:\\folder\\file.txt"));
             PutProperty(box, L"SelStart", Long(3));
             PutProperty(box, L"SelLength", Long(6));
             PutProperty(box, L"SelText", Text(L"dir"));
             PutProperty(box, L"IMEMode", Long(3));
             EXPECT_EQ(TextOf(GetProperty(box, L"Text")), L"C:\\dir\\file.txt");
             EXPECT_EQ(TextOf(GetProperty(box, L"FileTitle")), L"\\file.txt");
         },
         0},
        {"a fault",
         [&](IDispatch* box) {
             PutProperty(box, L"mode", Long(1));
             PutProperty(box, L"Text", Text(missing));
             DialogWatcher boxes;
             EXPECT_EQ(CallMethod(box, L"ValidateValue").value.boolVal, VARIANT_FALSE);
             EXPECT_EQ(boxes.WaitFor(1).size(), 1u);
         },
         2},
    };
    MakeControl<IDispatch>(L"Relingo.FileNameBox"); // the server loaded
    // A window of the test's own, as a script host has: the thread's input-method window, which
    // comes with a thread's first window (the fault box here), is there before the count.
    const HWND own = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t before = ThreadWindows();
        auto box = MakeControl<IDispatch>(L"Relingo.FileNameBox");
        ASSERT_TRUE(box);
        c.script(box.Get());
        EXPECT_EQ(ThreadWindows(), before + c.windows);
        box.Reset();
        EXPECT_EQ(ThreadWindows(), before);
    }
    ::DestroyWindow(own);
}

// Placed, the box is its own in-place window with its EDIT, and nothing else; taken out of the
// container, it keeps neither.
TEST_F(ContainerTest, APlacedBoxMakesItsWindowAndItsEditOnly) {
    TestContainer container(kRunTime);
    const size_t before = ThreadWindows();
    auto box = NewControl(L"Relingo.FileNameBox", container);
    PutProperty(box.Get(), L"Text", Text(L"C:\\x"));
    EXPECT_EQ(ThreadWindows(), before);
    container.Place(box.Get(), true);
    EXPECT_EQ(ThreadWindows(), before + 2);
    ComPtr<IOleInPlaceObject> inPlace;
    box.As(&inPlace);
    HWND window = nullptr;
    ASSERT_EQ(inPlace->GetWindow(&window), S_OK);
    EXPECT_EQ(::GetParent(window), container.Window());

    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(ThreadWindows(), before);
}

} // namespace
} // namespace relingo::test
