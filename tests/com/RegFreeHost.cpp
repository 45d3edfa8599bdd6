// Makes both controls by their ProgIDs and prints what they say, with nothing registered: its
// manifest names the controls' assembly, which lies beside it. Exit code 0 when both answered.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>

namespace {

// The text property of a control made by its ProgID, after the property set is given a value.
bool Show(const wchar_t* progId, const wchar_t* set, const wchar_t* value, const wchar_t* get) {
    CLSID clsid = {};
    IDispatch* control = nullptr;
    HRESULT hr = ::CLSIDFromProgID(progId, &clsid);
    if (SUCCEEDED(hr)) {
        hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&control));
    }
    if (FAILED(hr)) {
        std::printf("%ls: 0x%08lx\n", progId, static_cast<unsigned long>(hr));
        return false;
    }
    DISPID ids[2] = {};
    LPOLESTR names[2] = {const_cast<LPOLESTR>(set), const_cast<LPOLESTR>(get)};
    control->GetIDsOfNames(IID_NULL, &names[0], 1, 0, &ids[0]);
    control->GetIDsOfNames(IID_NULL, &names[1], 1, 0, &ids[1]);
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = ::SysAllocString(value);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put = {&argument, &named, 1, 1};
    control->Invoke(ids[0], IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr);
    ::VariantClear(&argument);
    VARIANT result;
    ::VariantInit(&result);
    DISPPARAMS none = {};
    hr = control->Invoke(ids[1], IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                         nullptr);
    std::printf("%ls.%ls=%ls\n", progId, get,
                SUCCEEDED(hr) && result.vt == VT_BSTR ? result.bstrVal : L"?");
    ::VariantClear(&result);
    control->Release();
    return SUCCEEDED(hr);
}

} // namespace

int wmain() {
    ::CoInitialize(nullptr);
    const bool box = Show(L"Relingo.FileNameBox", L"Text", L"C:\\IPDK\\PDWizLoc.exe", L"FileDrive");
    const bool dialog = Show(L"Relingo.FilOpDlg", L"Filter", L"Programs|*.exe", L"Filter");
    ::CoUninitialize();
    return box && dialog ? 0 : 1;
}
