// Another program dragging onto a window as Explorer does: it puts the cursor on a point of the
// screen and runs the system's drag loop, ole32's DoDragDrop, with data and a drop source of its
// own, which drops after a few polls.
//
//   DragSource X Y [/text TEXT] [/link] [FILE...]
//
// It offers the files as a file list (CF_HDROP), or the text alone (CF_UNICODETEXT), and allows
// a copy, a move or a link, or only a link. Its exit code: 0x100 for a drop (0x200 a cancel,
// 0x300 a failure), plus 0x10 times the effect the target first answered, plus the drop's effect.
#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include "platform/win32/ComObject.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using relingo::win32::ComObject;
using relingo::win32::Interfaces;

// Data of one format; each GetData hands out a copy in global memory.
class DataObject : public IDataObject {
public:
    DataObject(UINT format, std::vector<BYTE> bytes)
        : format_{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
          bytes_(std::move(bytes)) {}
    virtual ~DataObject() = default;
    void* Find(REFIID iid) { return Interfaces<IDataObject>::Find(this, iid); }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) {
            return DV_E_FORMATETC;
        }
        *medium = {TYMED_HGLOBAL, {nullptr}, nullptr};
        medium->hGlobal = ::GlobalAlloc(GMEM_FIXED, bytes_.size());
        std::memcpy(medium->hGlobal, bytes_.data(), bytes_.size());
        return S_OK;
    }
    STDMETHODIMP QueryGetData(FORMATETC* format) override {
        return format->cfFormat == format_.cfFormat && (format->tymed & TYMED_HGLOBAL) != 0
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        return direction == DATADIR_GET ? ::SHCreateStdEnumFmtEtc(1, &format_, out) : E_NOTIMPL;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    FORMATETC format_;
    std::vector<BYTE> bytes_;
};

class DropSource : public IDropSource {
public:
    virtual ~DropSource() = default;
    void* Find(REFIID iid) { return Interfaces<IDropSource>::Find(this, iid); }

    STDMETHODIMP QueryContinueDrag(BOOL escape, DWORD) override {
        return escape ? DRAGDROP_S_CANCEL : ++polls_ >= 5 ? DRAGDROP_S_DROP : S_OK;
    }
    STDMETHODIMP GiveFeedback(DWORD effect) override {
        firstEffect_ = feedbacks_++ == 0 ? effect : firstEffect_;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

    DWORD firstEffect_ = DROPEFFECT_NONE;

private:
    int polls_ = 0;
    int feedbacks_ = 0;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    UINT format = CF_HDROP;
    std::wstring names;
    for (int i = 3; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"/link") {
            allowed = DROPEFFECT_LINK;
        } else if (argument == L"/text") {
            format = CF_UNICODETEXT;
        } else {
            names += argument + L'\0';
        }
    }
    // The names, each ended by a NUL and the list by another; a file list starts with its header.
    const auto* text = reinterpret_cast<const BYTE*>(names.c_str());
    std::vector<BYTE> bytes(text, text + (names.size() + 1) * sizeof(wchar_t));
    const DROPFILES header = {sizeof(DROPFILES), {}, FALSE, TRUE};
    if (format == CF_HDROP) {
        const auto* start = reinterpret_cast<const BYTE*>(&header);
        bytes.insert(bytes.begin(), start, start + sizeof header);
    }
    ::OleInitialize(nullptr);
    int code = 0;
    {
        const auto data = ComObject<DataObject>::Make(format, std::move(bytes));
        const auto source = ComObject<DropSource>::Make();
        ::SetCursorPos(argc > 2 ? _wtoi(argv[1]) : 0, argc > 2 ? _wtoi(argv[2]) : 0);
        DWORD effect = DROPEFFECT_NONE;
        const HRESULT result = ::DoDragDrop(data.Get(), source.Get(), allowed, &effect);
        const int end = result == DRAGDROP_S_DROP ? 1 : result == DRAGDROP_S_CANCEL ? 2 : 3;
        code = end << 8 | static_cast<int>(source->firstEffect_ << 4 | effect);
    }
    ::OleUninitialize();
    return code;
}
