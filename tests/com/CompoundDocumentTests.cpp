// What compound documents ask of the controls besides creating, saving and loading them: the
// storage rules of OLE (hands off, save completed, the dirty flag), damaged storages, and the
// pictures a document shows of an object that does not run.
#include "com/ComErrors.h"
#include "com/Relingo_h.h"
#include "tests/com/ComTestSupport.h"
#include "tests/com/TestContainer.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace relingo::test {
namespace {

constexpr Ambients kDesignTime = {1033, false};
constexpr COLORREF kUntouched = RGB(255, 0, 255);

// Records the data changes a container is told of.
class DataSink : public IAdviseSink {
public:
    virtual ~DataSink() = default;
    void* Find(REFIID iid) { return com::Interfaces<IAdviseSink>::Find(this, iid); }
    int dataChanges = 0;
    STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override { ++dataChanges; }
    STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
    STDMETHODIMP_(void) OnRename(IMoniker*) override {}
    STDMETHODIMP_(void) OnSave() override {}
    STDMETHODIMP_(void) OnClose() override {}
};

ComPtr<IStorage> StorageInMemory() {
    ComPtr<ILockBytes> bytes;
    ComPtr<IStorage> storage;
    EXPECT_EQ(::CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes), S_OK);
    EXPECT_EQ(::StgCreateDocfileOnILockBytes(
                  bytes.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage),
              S_OK);
    return storage;
}

void WriteContents(IStorage& storage, const std::string& bytes) {
    ComPtr<IStream> stream;
    ASSERT_EQ(storage.CreateStream(L"Contents", STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0,
                                   0, &stream),
              S_OK);
    ASSERT_EQ(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr), S_OK);
}

// The references others hold on a COM object.
ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

FORMATETC Format(CLIPFORMAT format, DWORD tymed, DWORD aspect = DVASPECT_CONTENT, LONG index = -1) {
    return {format, nullptr, aspect, index, tymed};
}

class CompoundDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(activation_.Active()); }

    // A new control in the container, initialised into its own storage.
    ComPtr<IPersistStorage> NewInStorage(const wchar_t* progId, IStorage* storage) {
        auto control = MakeControl<IPersistStorage>(progId);
        EXPECT_TRUE(control);
        container_.Place(control.Get(), false);
        EXPECT_EQ(control->InitNew(storage), S_OK);
        return control;
    }

    OleApartment apartment_;
    ServerActivation activation_;
    TestContainer container_{kDesignTime};
};

TEST_F(CompoundDocumentTest, ADamagedStorageFailsTheLoadWithInvalidFileFormat) {
    const std::string header("RLGO\1\0\0\0\x40\0\0\0", 12);
    const struct {
        const char* what;
        const wchar_t* storedFor; // the ProgID the storage is marked with
        std::optional<std::string> contents;
    } cases[] = {
        {"no stream", L"Relingo.FileNameBox", std::nullopt},
        {"another format", L"Relingo.FileNameBox", std::string("not a control at all")},
        {"an empty stream", L"Relingo.FileNameBox", std::string()},
        {"a text shorter than its header says", L"Relingo.FileNameBox", header + "Mode = 1"},
        {"another control's storage", L"Relingo.FilOpDlg", header},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto storage = StorageInMemory();
        CLSID clsid = {};
        ::CLSIDFromProgID(c.storedFor, &clsid);
        ASSERT_EQ(::WriteClassStg(storage.Get(), clsid), S_OK);
        if (c.contents) {
            WriteContents(*storage.Get(), *c.contents);
        }
        auto box = MakeControl<IPersistStorage>(L"Relingo.FileNameBox");
        const HRESULT hr = box->Load(storage.Get());
        EXPECT_EQ(com::ErrorNumberOf(hr), 321) << std::hex << hr;
        // The box still answers, with its defaults.
        ComPtr<IDispatch> dispatch;
        box.As(&dispatch);
        EXPECT_EQ(GetProperty(dispatch.Get(), L"mode").value.lVal, 0);
    }
}

TEST_F(CompoundDocumentTest, OleLoadOfADamagedStorageGivesTheErrorAndNoObject) {
    const auto storage = StorageInMemory();
    CLSID clsid = {};
    ::CLSIDFromProgID(L"Relingo.FilOpDlg", &clsid);
    ASSERT_EQ(::WriteClassStg(storage.Get(), clsid), S_OK);
    WriteContents(*storage.Get(), "RLGO");
    IUnknown* loaded = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(com::ErrorNumberOf(::OleLoad(storage.Get(), IID_IUnknown, &container_.Site(),
                                           reinterpret_cast<void**>(&loaded))),
              321);
    EXPECT_EQ(loaded, nullptr);
}

TEST_F(CompoundDocumentTest, HandsOffLetsTheStorageGoUntilSaveCompletedGivesAnother) {
    const auto storage = StorageInMemory();
    const ULONG unheld = References(storage.Get());
    auto box = NewInStorage(L"Relingo.FileNameBox", storage.Get());
    EXPECT_GT(References(storage.Get()), unheld);

    EXPECT_EQ(box->HandsOffStorage(), S_OK);
    EXPECT_EQ(References(storage.Get()), unheld);
    EXPECT_EQ(box->Save(storage.Get(), TRUE), E_UNEXPECTED);
    EXPECT_EQ(box->SaveCompleted(nullptr), E_UNEXPECTED);

    const auto other = StorageInMemory();
    EXPECT_EQ(box->SaveCompleted(other.Get()), S_OK);
    EXPECT_EQ(box->Save(other.Get(), TRUE), S_OK);
    EXPECT_EQ(box->SaveCompleted(nullptr), S_OK);
}

TEST_F(CompoundDocumentTest, TheDirtyFlagIsSharedAndOnlyASaveIntoTheDocumentClearsIt) {
    const struct {
        const char* what;
        BOOL sameAsLoad;
        bool newStorage; // handed over with SaveCompleted, as Save As does
        HRESULT dirtyAfter;
    } cases[] = {
        {"save", TRUE, false, S_FALSE},
        {"save as", FALSE, true, S_FALSE},
        {"save a copy", FALSE, false, S_OK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto storage = StorageInMemory();
        auto box = NewInStorage(L"Relingo.FileNameBox", storage.Get());
        ComPtr<IDispatch> dispatch;
        box.As(&dispatch);
        ComPtr<IPersistStreamInit> stream;
        box.As(&stream);
        EXPECT_EQ(box->IsDirty(), S_FALSE);
        PutProperty(dispatch.Get(), L"MaxLength", Long(40));
        EXPECT_EQ(stream->IsDirty(), S_OK);
        EXPECT_EQ(box->IsDirty(), S_OK);

        const auto target = c.sameAsLoad ? storage : StorageInMemory();
        ASSERT_EQ(box->Save(target.Get(), c.sameAsLoad), S_OK);
        EXPECT_EQ(box->IsDirty(), S_OK); // nothing is final before SaveCompleted
        EXPECT_EQ(box->SaveCompleted(c.newStorage ? target.Get() : nullptr), S_OK);
        EXPECT_EQ(box->IsDirty(), c.dirtyAfter);
        EXPECT_EQ(stream->IsDirty(), c.dirtyAfter);
    }
}

const wchar_t* const kControls[] = {L"Relingo.FileNameBox", L"Relingo.FilOpDlg"};

TEST_F(CompoundDocumentTest, TheControlsOfferBothMetafilePicturesOfTheirContentOnly) {
    const struct {
        FORMATETC format;
        HRESULT answer;
    } cases[] = {
        {Format(CF_ENHMETAFILE, TYMED_ENHMF), S_OK},
        {Format(CF_METAFILEPICT, TYMED_MFPICT), S_OK},
        {Format(CF_METAFILEPICT, TYMED_MFPICT | TYMED_HGLOBAL), S_OK},
        {Format(CF_ENHMETAFILE, TYMED_HGLOBAL), DV_E_TYMED},
        {Format(CF_TEXT, TYMED_HGLOBAL), DV_E_FORMATETC},
        {Format(CF_BITMAP, TYMED_GDI), DV_E_FORMATETC},
        {Format(CF_ENHMETAFILE, TYMED_ENHMF, DVASPECT_ICON), DV_E_DVASPECT},
        {Format(CF_ENHMETAFILE, TYMED_ENHMF, DVASPECT_CONTENT, 0), DV_E_LINDEX},
    };
    for (const wchar_t* progId : kControls) {
        SCOPED_TRACE(Utf8(progId));
        auto data = MakeControl<IDataObject>(progId);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.format.cfFormat);
            FORMATETC format = c.format;
            EXPECT_EQ(data->QueryGetData(&format), c.answer);
            STGMEDIUM medium = {};
            const HRESULT got = data->GetData(&format, &medium);
            EXPECT_EQ(got, c.answer);
            if (SUCCEEDED(got)) {
                ::ReleaseStgMedium(&medium);
            }
        }
        ComPtr<IEnumFORMATETC> formats;
        ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
        FORMATETC listed[3] = {};
        ULONG count = 0;
        EXPECT_EQ(formats->Next(3, listed, &count), S_FALSE);
        ASSERT_EQ(count, 2u);
        EXPECT_EQ(listed[0].cfFormat, CF_ENHMETAFILE);
        EXPECT_EQ(listed[1].cfFormat, CF_METAFILEPICT);
        EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
    }
}

// Plays the enhanced metafile into a picture of the control's size.
void PlayInto(const PictureBitmap& picture, HENHMETAFILE metafile) {
    const RECT area = picture.Area();
    EXPECT_TRUE(::PlayEnhMetaFile(picture.Dc(), metafile, &area));
}

TEST_F(CompoundDocumentTest, TheEnhancedMetafileHoldsWhatTheControlDraws) {
    for (const wchar_t* progId : kControls) {
        SCOPED_TRACE(Utf8(progId));
        auto data = MakeControl<IDataObject>(progId);
        container_.Place(data.Get(), false);
        ComPtr<IOleObject> object;
        data.As(&object);
        SIZEL extent = {};
        object->GetExtent(DVASPECT_CONTENT, &extent);

        FORMATETC format = Format(CF_ENHMETAFILE, TYMED_ENHMF);
        STGMEDIUM medium = {};
        ASSERT_EQ(data->GetData(&format, &medium), S_OK);
        ASSERT_EQ(medium.tymed, static_cast<DWORD>(TYMED_ENHMF));
        ENHMETAHEADER header = {};
        ASSERT_NE(::GetEnhMetaFileHeader(medium.hEnhMetaFile, sizeof header, &header), 0u);
        EXPECT_NEAR(header.rclFrame.right - header.rclFrame.left, extent.cx, 2);
        EXPECT_NEAR(header.rclFrame.bottom - header.rclFrame.top, extent.cy, 2);

        const SIZE pixels = {::MulDiv(extent.cx, 96, 2540), ::MulDiv(extent.cy, 96, 2540)};
        const PictureBitmap played(pixels, kUntouched);
        PlayInto(played, medium.hEnhMetaFile);
        const PictureBitmap drawn(pixels, kUntouched);
        ComPtr<IViewObject> view;
        data.As(&view);
        const RECTL bounds = {0, 0, pixels.cx, pixels.cy};
        ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, drawn.Dc(), &bounds,
                             nullptr, nullptr, 0),
                  S_OK);
        EXPECT_GT(played.PixelsOtherThan(kUntouched), pixels.cx * pixels.cy / 4);
        EXPECT_LT(played.PixelsDifferentFrom(drawn), pixels.cx * pixels.cy / 50);
        ::ReleaseStgMedium(&medium);
    }
}

TEST_F(CompoundDocumentTest, TheMetafilePictureComesAsANewBlockOrIntoTheCallersOwn) {
    for (const wchar_t* progId : kControls) {
        SCOPED_TRACE(Utf8(progId));
        auto data = MakeControl<IDataObject>(progId);
        ComPtr<IOleObject> object;
        data.As(&object);
        SIZEL extent = {};
        object->GetExtent(DVASPECT_CONTENT, &extent);
        FORMATETC format = Format(CF_METAFILEPICT, TYMED_MFPICT);

        STGMEDIUM given = {};
        ASSERT_EQ(data->GetData(&format, &given), S_OK);
        STGMEDIUM own = {};
        own.tymed = TYMED_MFPICT;
        own.hMetaFilePict = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(METAFILEPICT));
        ASSERT_EQ(data->GetDataHere(&format, &own), S_OK);
        for (const STGMEDIUM* medium : {&given, &own}) {
            const auto* picture = static_cast<METAFILEPICT*>(::GlobalLock(medium->hMetaFilePict));
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->mm, MM_ANISOTROPIC);
            EXPECT_EQ(picture->xExt, extent.cx);
            EXPECT_EQ(picture->yExt, extent.cy);
            EXPECT_GT(::GetMetaFileBitsEx(picture->hMF, 0, nullptr), 100u);
            ::GlobalUnlock(medium->hMetaFilePict);
        }
        ::ReleaseStgMedium(&given);
        ::ReleaseStgMedium(&own);

        FORMATETC enhanced = Format(CF_ENHMETAFILE, TYMED_ENHMF);
        STGMEDIUM handle = {};
        handle.tymed = TYMED_ENHMF;
        EXPECT_EQ(data->GetDataHere(&enhanced, &handle), DV_E_TYMED);
    }
}

TEST_F(CompoundDocumentTest, DataAdviseSinksHearOfChangesUntilTheyLetGo) {
    auto data = MakeControl<IDataObject>(L"Relingo.FileNameBox");
    container_.Place(data.Get(), false);
    ComPtr<IDispatch> box;
    data.As(&box);
    auto sink = com::ComObject<DataSink>::Make();
    FORMATETC format = Format(CF_ENHMETAFILE, TYMED_ENHMF);
    DWORD connection = 0;
    ASSERT_EQ(data->DAdvise(&format, ADVF_NODATA, sink.Get(), &connection), S_OK);
    ComPtr<IEnumSTATDATA> advises;
    ASSERT_EQ(data->EnumDAdvise(&advises), S_OK);
    STATDATA listed = {};
    ASSERT_EQ(advises->Next(1, &listed, nullptr), S_OK);
    EXPECT_EQ(listed.dwConnection, connection);
    listed.pAdvSink->Release();

    PutProperty(box.Get(), L"BackColor", Long(RGB(0, 0, 255)));
    EXPECT_GE(sink->dataChanges, 1);
    EXPECT_EQ(data->DUnadvise(connection), S_OK);
    const int heard = sink->dataChanges;
    PutProperty(box.Get(), L"BackColor", Long(RGB(0, 255, 0)));
    EXPECT_EQ(sink->dataChanges, heard);
    EXPECT_EQ(data->DUnadvise(connection), OLE_E_NOCONNECTION);
}

} // namespace
} // namespace relingo::test
