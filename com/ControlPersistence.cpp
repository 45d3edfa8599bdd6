// How a container saves and loads a control: a property bag, a stream, or a storage that holds
// the stream. All three read and write the same properties through the control's
// ReadProperties and WriteProperties.
#include "com/ControlBase.h"

#include "com/ComErrors.h"
#include "com/HostPropertyBag.h"
#include "com/StreamFormat.h"
#include "platform/Error.h"

#include <string>

namespace relingo::com {

namespace {

// The one stream of a control's storage.
constexpr wchar_t kContentsStream[] = L"Contents";

// Reads exactly the bytes asked for; a stream that ends sooner is no control's stream.
std::string ReadBytes(IStream& stream, ULONG count) {
    std::string bytes(count, '\0');
    ULONG read = 0;
    const HRESULT hr = stream.Read(bytes.data(), count, &read);
    if (FAILED(hr)) {
        throw ErrorOfResult(hr);
    }
    if (read != count) {
        throw Error(errnum::kInvalidFileFormat, u"Invalid file format: the stream ends early");
    }
    return bytes;
}

// A storage made for another kind of object holds no properties of this one.
void RequireStorageOf(IStorage& storage, REFCLSID clsid) {
    STATSTG status = {};
    const HRESULT hr = storage.Stat(&status, STATFLAG_NONAME);
    if (FAILED(hr)) {
        throw ErrorOfResult(hr);
    }
    if (status.clsid != CLSID_NULL && status.clsid != clsid) {
        throw Error(errnum::kInvalidFileFormat,
                    u"Invalid file format: the storage belongs to another kind of object");
    }
}

ComPtr<IStream> OpenContents(IStorage& storage) {
    ComPtr<IStream> stream;
    const HRESULT hr =
        storage.OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
    if (hr == STG_E_FILENOTFOUND) {
        throw Error(errnum::kInvalidFileFormat,
                    u"Invalid file format: the storage holds no control's stream");
    }
    if (FAILED(hr)) {
        throw ErrorOfResult(hr);
    }
    return stream;
}

ComPtr<IStream> CreateContents(IStorage& storage) {
    ComPtr<IStream> stream;
    const HRESULT hr = storage.CreateStream(
        kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream);
    if (FAILED(hr)) {
        throw ErrorOfResult(hr);
    }
    return stream;
}

} // namespace

STDMETHODIMP ControlBase::GetClassID(CLSID* clsid) {
    if (clsid == nullptr) {
        return E_POINTER;
    }
    *clsid = kind_.clsid;
    return S_OK;
}

HRESULT ControlBase::BeginInitialising() {
    if (initialised_) {
        return CO_E_ALREADYINITIALIZED;
    }
    initialised_ = true;
    return S_OK;
}

void ControlBase::MarkClean() {
    dirty_ = false;
}

// ---- IPersistPropertyBag and IPersistStreamInit ----

STDMETHODIMP ControlBase::InitNew() {
    const HRESULT begun = BeginInitialising();
    return FAILED(begun) ? begun : Persist([this] { InitProperties(); });
}

STDMETHODIMP ControlBase::Load(IPropertyBag* bag, IErrorLog* log) {
    if (bag == nullptr) {
        return E_POINTER;
    }
    const HRESULT begun = BeginInitialising();
    return FAILED(begun) ? begun : Persist([&] { ReadProperties(HostPropertyBag(*bag, log)); });
}

STDMETHODIMP ControlBase::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (bag == nullptr) {
        return E_POINTER;
    }
    return Persist([&] {
        EnsureInitialised();
        HostPropertyBag hostBag(*bag, nullptr);
        WriteProperties(hostBag);
        if (clearDirty) {
            MarkClean();
        }
    });
}

void ControlBase::LoadFromStream(IStream& stream) {
    const uint32_t length = StreamTextLength(ReadBytes(stream, kStreamHeaderSize));
    ReadProperties(DecodeStreamText(ReadBytes(stream, length)));
}

void ControlBase::SaveToStream(IStream& stream) {
    EnsureInitialised();
    PropertyBag bag;
    WriteProperties(bag);
    const std::string bytes = EncodeStream(bag);
    ULONG written = 0;
    const HRESULT hr = stream.Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    if (FAILED(hr) || written != bytes.size()) {
        throw ErrorOfResult(FAILED(hr) ? hr : STG_E_MEDIUMFULL);
    }
}

STDMETHODIMP ControlBase::Load(LPSTREAM stream) {
    if (stream == nullptr) {
        return E_POINTER;
    }
    const HRESULT begun = BeginInitialising();
    return FAILED(begun) ? begun : Persist([&] { LoadFromStream(*stream); });
}

STDMETHODIMP ControlBase::Save(LPSTREAM stream, BOOL clearDirty) {
    if (stream == nullptr) {
        return E_POINTER;
    }
    return Persist([&] {
        SaveToStream(*stream);
        if (clearDirty) {
            MarkClean();
        }
    });
}

STDMETHODIMP ControlBase::GetSizeMax(ULARGE_INTEGER* size) {
    if (size == nullptr) {
        return E_POINTER;
    }
    return Persist([&] {
        EnsureInitialised();
        PropertyBag bag;
        WriteProperties(bag);
        size->QuadPart = EncodeStream(bag).size();
    });
}

// ---- IPersistStorage ----

STDMETHODIMP ControlBase::InitNew(IStorage* storage) {
    if (storage == nullptr) {
        return E_POINTER;
    }
    const HRESULT begun = BeginInitialising();
    if (FAILED(begun)) {
        return begun;
    }
    storage_ = storage;
    return Persist([this] { InitProperties(); });
}

STDMETHODIMP ControlBase::Load(IStorage* storage) {
    if (storage == nullptr) {
        return E_POINTER;
    }
    const HRESULT begun = BeginInitialising();
    if (FAILED(begun)) {
        return begun;
    }
    const HRESULT loaded = Persist([&] {
        RequireStorageOf(*storage, kind_.clsid);
        LoadFromStream(*OpenContents(*storage).Get());
    });
    if (SUCCEEDED(loaded)) {
        storage_ = storage;
    }
    return loaded;
}

// The container may save into the storage the control was loaded from (sameAsLoad) or into
// another; either way the control then waits for SaveCompleted before it writes again.
STDMETHODIMP ControlBase::Save(IStorage* storage, BOOL sameAsLoad) {
    if (storage == nullptr) {
        return E_POINTER;
    }
    if (storageState_ == StorageState::kHandsOff) {
        return E_UNEXPECTED;
    }
    const HRESULT saved = Persist([&] {
        SaveToStream(*CreateContents(*storage).Get());
        storageState_ = StorageState::kNoScribble;
        cleanOnSaveCompleted_ = sameAsLoad != FALSE;
    });
    return saved;
}

STDMETHODIMP ControlBase::SaveCompleted(IStorage* newStorage) {
    if (storageState_ == StorageState::kHandsOff && newStorage == nullptr) {
        return E_UNEXPECTED;
    }
    const bool saved = storageState_ == StorageState::kNoScribble || newStorage != nullptr;
    if (newStorage != nullptr) {
        storage_ = newStorage;
    }
    if (newStorage != nullptr || cleanOnSaveCompleted_) {
        MarkClean();
    }
    storageState_ = StorageState::kNormal;
    cleanOnSaveCompleted_ = false;
    if (saved && adviseHolder_) {
        adviseHolder_->SendOnSave();
    }
    return S_OK;
}

STDMETHODIMP ControlBase::HandsOffStorage() {
    storage_.Reset();
    storageState_ = StorageState::kHandsOff;
    return S_OK;
}

} // namespace relingo::com
