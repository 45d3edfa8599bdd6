#include "filenamebox/win32/FileDrops.h"

#include <shellapi.h>

#include "platform/win32/WideText.h"

namespace relingo::win32 {

namespace {

// Not defined before Windows Vista's headers; a window message since Windows 2000.
constexpr UINT kCopyGlobalData = 0x0049;

FORMATETC FileListFormat() {
    return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool CarriesFiles(IDataObject* data) {
    FORMATETC format = FileListFormat();
    return data != nullptr && data->QueryGetData(&format) == S_OK;
}

std::vector<std::u16string> FilesOf(IDataObject* data) {
    const auto release = ComFunctions::Get().releaseStgMedium;
    FORMATETC format = FileListFormat();
    STGMEDIUM medium = {};
    if (release == nullptr || data == nullptr || FAILED(data->GetData(&format, &medium))) {
        return {};
    }
    std::vector<std::u16string> files;
    if (medium.tymed == TYMED_HGLOBAL) {
        files = DroppedFiles(static_cast<HDROP>(medium.hGlobal));
    }
    release(&medium);
    return files;
}

} // namespace

std::vector<std::u16string> DroppedFiles(HDROP drop) {
    const auto query = ShellFunctions::Get().dragQueryFile;
    if (query == nullptr || drop == nullptr) {
        return {}; // no shell to read the list with
    }
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::u16string> files;
    files.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = query(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        name.resize(query(drop, i, name.data(), length + 1));
        if (!name.empty()) {
            files.push_back(FromWide(name));
        }
    }
    return files;
}

DWORD FileDropEffect(bool carriesFiles, DWORD allowed) {
    if (!carriesFiles) {
        return DROPEFFECT_NONE;
    }
    if ((allowed & DROPEFFECT_COPY) != 0) {
        return DROPEFFECT_COPY;
    }
    return allowed & DROPEFFECT_LINK;
}

void AllowFileDropsFromLowerRights(HWND window, const MessageFilterFunctions& functions) {
    if (functions.changeWindowMessageFilterEx == nullptr) {
        return; // before Windows 7: the process-wide filter is all there is, and it stays shut
    }
    for (const UINT message :
         {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData}) {
        functions.changeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
    }
}

bool TakesDropsNow(HWND window) {
    return ::IsWindowEnabled(window) && ::IsWindowEnabled(::GetAncestor(window, GA_ROOT));
}

// ---- The drop target ----

FileDropTarget::FileDropTarget(HWND window, TakeDroppedFiles take, ObjectCounts counts)
    : window_(window), take_(std::move(take)), counted_(counts) {}

STDMETHODIMP FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    carriesFiles_ = CarriesFiles(data);
    *effect = FileDropEffect(carriesFiles_ && Accepting(), *effect);
    return S_OK;
}

STDMETHODIMP FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    *effect = FileDropEffect(carriesFiles_ && Accepting(), *effect);
    return S_OK;
}

STDMETHODIMP FileDropTarget::DragLeave() {
    carriesFiles_ = false;
    return S_OK;
}

// The names are read while the source's data is there to read, and handed on through a copy of
// the taker, which Forget may clear meanwhile.
STDMETHODIMP FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    const DWORD answer = FileDropEffect(CarriesFiles(data) && Accepting(), *effect);
    carriesFiles_ = false;
    *effect = DROPEFFECT_NONE;
    try {
        const std::vector<std::u16string> files =
            answer != DROPEFFECT_NONE ? FilesOf(data) : std::vector<std::u16string>();
        if (!files.empty()) {
            const TakeDroppedFiles take = take_;
            take(files);
            *effect = answer;
        }
    } catch (...) {
        // A name the box refused leaves it as it was; the source hears that nothing was taken.
    }
    return S_OK;
}

// ---- The registration ----

std::unique_ptr<FileDropRegistration>
FileDropRegistration::Register(HWND window, TakeDroppedFiles take, ObjectCounts counts) {
    const ComFunctions& com = ComFunctions::Get();
    if (com.registerDragDrop == nullptr || com.revokeDragDrop == nullptr) {
        return nullptr;
    }
    auto target = ComObject<FileDropTarget>::Make(window, std::move(take), counts);
    if (!target || FAILED(com.registerDragDrop(window, target.Get()))) {
        return nullptr;
    }
    return std::unique_ptr<FileDropRegistration>(
        new FileDropRegistration(window, std::move(target)));
}

// Revoking lets go of the system's references; disconnecting lets go of those a drag in
// another process still holds, so that the target is gone with the window.
FileDropRegistration::~FileDropRegistration() {
    const ComFunctions& com = ComFunctions::Get();
    target_->Forget();
    com.revokeDragDrop(window_);
    if (com.disconnectObject != nullptr) {
        com.disconnectObject(target_.Get(), 0);
    }
}

} // namespace relingo::win32
