// Pictures of the control for containers that show an object that does not run (compound
// documents keep them in the document): an enhanced metafile, and the same picture as a
// Windows metafile for the older containers, both drawn by the control's own DrawContent.
#include "com/ControlBase.h"

#include "com/ComErrors.h"
#include "com/Enumerator.h"
#include "platform/Error.h"

#include <memory>
#include <type_traits>
#include <vector>

namespace relingo::com {

namespace {

constexpr FORMATETC kPictureFormats[] = {
    {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF},
    {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT},
};

// Whether the control offers the format, answered as IDataObject::QueryGetData answers.
HRESULT CheckFormat(const FORMATETC* format) {
    if (format == nullptr) {
        return E_INVALIDARG;
    }
    if (format->dwAspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    if (format->lindex != -1) {
        return DV_E_LINDEX;
    }
    for (const FORMATETC& offered : kPictureFormats) {
        if (format->cfFormat == offered.cfFormat) {
            return (format->tymed & offered.tymed) != 0 ? S_OK : DV_E_TYMED;
        }
    }
    return DV_E_FORMATETC;
}

struct FormatItems {
    using Interface = IEnumFORMATETC;
    using Item = FORMATETC;
    using Held = FORMATETC;
    static Item Out(const Held& held) { return held; }
};

// Holds a metafile until it is handed to the caller.
struct MetafileDeleter {
    void operator()(HMETAFILE metafile) const { ::DeleteMetaFile(metafile); }
};
using UniqueMetafile = std::unique_ptr<std::remove_pointer_t<HMETAFILE>, MetafileDeleter>;

struct EnhancedMetafileDeleter {
    void operator()(HENHMETAFILE metafile) const { ::DeleteEnhMetaFile(metafile); }
};
using UniqueEnhancedMetafile =
    std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, EnhancedMetafileDeleter>;

} // namespace

// The picture is as large as the control's extent, drawn in the screen's pixels.
HENHMETAFILE ControlBase::DrawEnhancedMetafile() {
    EnsureInitialised();
    const SIZE pixels = ExtentPixels();
    const RECT frame = {0, 0, extent_.cx, extent_.cy};
    const HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    if (dc == nullptr) {
        throw Error(errnum::kOutOfMemory);
    }
    const RECT bounds = {0, 0, pixels.cx, pixels.cy};
    try {
        DrawContent(dc, bounds);
    } catch (...) {
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(dc));
        throw;
    }
    const HENHMETAFILE picture = ::CloseEnhMetaFile(dc);
    if (picture == nullptr) {
        throw Error(errnum::kOutOfMemory);
    }
    return picture;
}

// The Windows metafile is converted from the enhanced one, so the two hold the same drawing.
METAFILEPICT ControlBase::DrawMetafilePicture() {
    const UniqueEnhancedMetafile enhanced(DrawEnhancedMetafile());
    const HDC screen = ::GetDC(nullptr);
    const UINT size = ::GetWinMetaFileBits(enhanced.get(), 0, nullptr, MM_ANISOTROPIC, screen);
    std::vector<BYTE> bits(size);
    const bool converted = size != 0 && ::GetWinMetaFileBits(enhanced.get(), size, bits.data(),
                                                             MM_ANISOTROPIC, screen) == size;
    ::ReleaseDC(nullptr, screen);
    if (!converted) {
        throw Error(errnum::kOutOfMemory);
    }
    const HMETAFILE metafile = ::SetMetaFileBitsEx(size, bits.data());
    if (metafile == nullptr) {
        throw Error(errnum::kOutOfMemory);
    }
    return {MM_ANISOTROPIC, extent_.cx, extent_.cy, metafile};
}

STDMETHODIMP ControlBase::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (medium == nullptr) {
        return E_INVALIDARG;
    }
    *medium = {};
    const HRESULT offered = CheckFormat(format);
    if (FAILED(offered)) {
        return offered;
    }
    return Persist([&] {
        if (format->cfFormat == CF_ENHMETAFILE) {
            medium->hEnhMetaFile = DrawEnhancedMetafile();
            medium->tymed = TYMED_ENHMF;
            return;
        }
        const METAFILEPICT drawn = DrawMetafilePicture();
        UniqueMetafile metafile(drawn.hMF);
        const HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
        auto* picture =
            global != nullptr ? static_cast<METAFILEPICT*>(::GlobalLock(global)) : nullptr;
        if (picture == nullptr) {
            ::GlobalFree(global);
            throw Error(errnum::kOutOfMemory);
        }
        *picture = drawn;
        metafile.release();
        ::GlobalUnlock(global);
        medium->hMetaFilePict = global;
        medium->tymed = TYMED_MFPICT;
    });
}

// Only a metafile picture has a block of the caller's own to be written into; an enhanced
// metafile is a handle the control must make.
STDMETHODIMP ControlBase::GetDataHere(FORMATETC* format, STGMEDIUM* medium) {
    if (medium == nullptr) {
        return E_INVALIDARG;
    }
    const HRESULT offered = CheckFormat(format);
    if (FAILED(offered)) {
        return offered;
    }
    if (format->cfFormat != CF_METAFILEPICT || medium->tymed != TYMED_MFPICT ||
        medium->hMetaFilePict == nullptr) {
        return DV_E_TYMED;
    }
    if (::GlobalSize(medium->hMetaFilePict) < sizeof(METAFILEPICT)) {
        return STG_E_MEDIUMFULL;
    }
    return Persist([&] {
        const METAFILEPICT drawn = DrawMetafilePicture();
        auto* picture = static_cast<METAFILEPICT*>(::GlobalLock(medium->hMetaFilePict));
        if (picture == nullptr) {
            ::DeleteMetaFile(drawn.hMF);
            throw Error(errnum::kOutOfMemory);
        }
        *picture = drawn;
        ::GlobalUnlock(medium->hMetaFilePict);
    });
}

STDMETHODIMP ControlBase::QueryGetData(FORMATETC* format) {
    return CheckFormat(format);
}

// The pictures do not depend on the target device.
STDMETHODIMP ControlBase::GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) {
    if (format == nullptr || canonical == nullptr) {
        return E_INVALIDARG;
    }
    *canonical = *format;
    canonical->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP ControlBase::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
    if (formats == nullptr) {
        return E_POINTER;
    }
    *formats = nullptr;
    if (direction != DATADIR_GET) {
        return E_NOTIMPL;
    }
    try {
        *formats =
            ComObject<Enumerator<FormatItems>>::Make(
                std::vector<FORMATETC>(std::begin(kPictureFormats), std::end(kPictureFormats)),
                size_t{0})
                .Detach();
    } catch (...) {
    }
    return *formats != nullptr ? S_OK : E_OUTOFMEMORY;
}

// ---- Data advise connections, kept by the system's holder ----

void ControlBase::SendDataChange() {
    if (dataAdviseHolder_) {
        dataAdviseHolder_->SendOnDataChange(static_cast<IDataObject*>(this), 0, 0);
    }
}

IDataAdviseHolder* ControlBase::DataAdviseHolder() {
    if (!dataAdviseHolder_ && FAILED(::CreateDataAdviseHolder(&dataAdviseHolder_))) {
        return nullptr;
    }
    return dataAdviseHolder_.Get();
}

STDMETHODIMP ControlBase::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                  DWORD* connection) {
    if (connection == nullptr) {
        return E_POINTER;
    }
    *connection = 0;
    if (sink == nullptr) {
        return E_INVALIDARG;
    }
    const HRESULT offered = CheckFormat(format);
    if (FAILED(offered)) {
        return offered;
    }
    IDataAdviseHolder* holder = DataAdviseHolder();
    if (holder == nullptr) {
        return E_OUTOFMEMORY;
    }
    return holder->Advise(static_cast<IDataObject*>(this), format, flags, sink, connection);
}

STDMETHODIMP ControlBase::DUnadvise(DWORD connection) {
    return dataAdviseHolder_ ? dataAdviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP ControlBase::EnumDAdvise(IEnumSTATDATA** advises) {
    if (advises == nullptr) {
        return E_POINTER;
    }
    *advises = nullptr;
    IDataAdviseHolder* holder = DataAdviseHolder();
    return holder != nullptr ? holder->EnumAdvise(advises) : E_OUTOFMEMORY;
}

} // namespace relingo::com
