#include "com/ComErrors.h"

#include "platform/win32/WideText.h"

#include <wrl/client.h>

#include <new>

namespace relingo::com {

using Microsoft::WRL::ComPtr;

namespace {

// The standard errors are raised with their English texts; a host whose locale is Japanese gets
// them in Japanese. An error with a text of its own keeps it.
std::u16string DescriptionFor(const Error& error, int32_t localeId) {
    if (error.Description() == StandardDescription(error.Number())) {
        return StandardDescription(error.Number(), localeId);
    }
    return error.Description();
}

} // namespace

HRESULT ErrorResult(int32_t number) noexcept {
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<uint32_t>(number) & 0xFFFF);
}

int32_t ErrorNumberOf(HRESULT result) noexcept {
    return FAILED(result) && HRESULT_FACILITY(result) == FACILITY_CONTROL ? HRESULT_CODE(result)
                                                                          : 0;
}

Error ErrorOfResult(HRESULT result) {
    if (const int32_t number = ErrorNumberOf(result)) {
        return Error(number);
    }
    switch (result) {
    case E_OUTOFMEMORY:
        return Error(errnum::kOutOfMemory);
    case DISP_E_TYPEMISMATCH:
    case E_NOINTERFACE:
        return Error(errnum::kTypeMismatch);
    case DISP_E_OVERFLOW:
        return Error(errnum::kOverflow);
    case E_INVALIDARG:
        return Error(errnum::kInvalidProcedureCall);
    default:
        return Error(HRESULT_FACILITY(result) == FACILITY_STORAGE ? errnum::kPathFileAccess
                                                                  : errnum::kInternalError);
    }
}

HRESULT ReportError(const Error& error, REFIID iid, int32_t localeId) noexcept {
    const HRESULT result = ErrorResult(error.Number());
    try {
        ComPtr<ICreateErrorInfo> create;
        if (FAILED(::CreateErrorInfo(&create))) {
            return result;
        }
        const std::wstring description = win32::ToWide(DescriptionFor(error, localeId));
        const std::wstring source = win32::ToWide(error.Source());
        const std::wstring helpFile = win32::ToWide(error.HelpFile());
        create->SetGUID(iid);
        create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        create->SetSource(const_cast<LPOLESTR>(source.c_str()));
        create->SetHelpFile(const_cast<LPOLESTR>(helpFile.c_str()));
        create->SetHelpContext(static_cast<DWORD>(error.HelpContext()));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(&info))) {
            ::SetErrorInfo(0, info.Get());
        }
    } catch (...) {
        // The error keeps its number even when its texts could not be kept.
    }
    return result;
}

HRESULT Guarded(REFIID iid, const std::function<int32_t()>& localeId,
                const std::function<void()>& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (const Error& error) {
        return ReportError(error, iid, localeId());
    } catch (const std::bad_alloc&) {
        return ReportError(Error(errnum::kOutOfMemory), iid, localeId());
    } catch (...) {
        return ReportError(Error(errnum::kInternalError), iid, localeId());
    }
}

void ClearExcepInfo(EXCEPINFO& info) noexcept {
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
    info = EXCEPINFO{};
}

void FillExcepInfo(HRESULT result, EXCEPINFO* info) noexcept {
    if (info == nullptr) {
        return;
    }
    *info = EXCEPINFO{};
    info->scode = result;
    ComPtr<IErrorInfo> error;
    if (::GetErrorInfo(0, &error) != S_OK || !error) {
        return;
    }
    error->GetSource(&info->bstrSource);
    error->GetDescription(&info->bstrDescription);
    error->GetHelpFile(&info->bstrHelpFile);
    error->GetHelpContext(&info->dwHelpContext);
}

} // namespace relingo::com
