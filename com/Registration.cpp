#include "com/Registration.h"

#include "com/ControlClasses.h"
#include "com/TypeLibrary.h"
#include "platform/win32/Handles.h"

#include <combaseapi.h>

#include <string>
#include <vector>

namespace relingo::com {

namespace {

using win32::UniqueRegKey;

// The marshalers of the system: dual interfaces through the type library, dispinterfaces
// through IDispatch.
constexpr wchar_t kTypeLibMarshaler[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchMarshaler[] = L"{00020420-0000-0000-C000-000000000046}";
constexpr wchar_t kLibraryVersion[] = L"1.0";
constexpr wchar_t kLibraryName[] = L"Relingo controls: FileNameBox and FilOpDlg";

#ifdef _WIN64
constexpr wchar_t kPlatform[] = L"win64";
#else
constexpr wchar_t kPlatform[] = L"win32";
#endif

struct Value {
    std::wstring name; // empty for the key's default value
    std::wstring data;
};

struct Key {
    std::wstring path; // under Software\Classes
    std::vector<Value> values;
};

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

// The folder with its last backslash, as Windows Installer writes a folder: the installer
// packages write the same registration as the server does.
std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring LibraryKey() {
    return L"TypeLib\\" + GuidText(LIBID_Relingo);
}

std::wstring PlatformKey() {
    return LibraryKey() + L"\\" + kLibraryVersion + L"\\0\\" + kPlatform;
}

std::vector<std::wstring> InterfaceKeys() {
    return {L"Interface\\" + GuidText(IID_IFileNameBox), L"Interface\\" + GuidText(IID_IFilOpDlg),
            L"Interface\\" + GuidText(DIID_DFileNameBoxEvents)};
}

void AddClass(std::vector<Key>& keys, const ControlClass& control, const std::wstring& server) {
    const std::wstring clsid = GuidText(control.clsid);
    const std::wstring root = L"CLSID\\" + clsid;
    keys.push_back({root, {{L"", control.name}}});
    keys.push_back(
        {root + L"\\InprocServer32", {{L"", server}, {L"ThreadingModel", L"Apartment"}}});
    keys.push_back({root + L"\\ProgID", {{L"", control.versionedProgId}}});
    keys.push_back({root + L"\\VersionIndependentProgID", {{L"", control.progId}}});
    keys.push_back({root + L"\\Control", {}});
    keys.push_back({root + L"\\ToolboxBitmap32",
                    {{L"", server + L", " + std::to_wstring(control.toolboxBitmap)}}});
    keys.push_back({root + L"\\MiscStatus", {{L"", L"0"}}});
    keys.push_back({root + L"\\MiscStatus\\1", {{L"", std::to_wstring(control.miscStatus)}}});
    keys.push_back({root + L"\\TypeLib", {{L"", GuidText(LIBID_Relingo)}}});
    keys.push_back({root + L"\\Version", {{L"", kLibraryVersion}}});
    for (const wchar_t* progId : {control.progId, control.versionedProgId}) {
        keys.push_back({progId, {{L"", control.name}}});
        keys.push_back({std::wstring(progId) + L"\\CLSID", {{L"", clsid}}});
    }
    keys.push_back({std::wstring(control.progId) + L"\\CurVer", {{L"", control.versionedProgId}}});
}

void AddInterface(std::vector<Key>& keys, REFIID iid, const wchar_t* name,
                  const wchar_t* marshaler) {
    const std::wstring root = L"Interface\\" + GuidText(iid);
    keys.push_back({root, {{L"", name}}});
    keys.push_back({root + L"\\ProxyStubClsid32", {{L"", marshaler}}});
    keys.push_back({root + L"\\ProxyStubClsid", {{L"", marshaler}}});
    keys.push_back(
        {root + L"\\TypeLib", {{L"", GuidText(LIBID_Relingo)}, {L"Version", kLibraryVersion}}});
}

std::vector<Key> RegistrationTable(const std::wstring& server) {
    std::vector<Key> keys;
    AddClass(keys, FileNameBoxClass(), server);
    AddClass(keys, FilOpDlgClass(), server);
    const std::wstring library = LibraryKey() + L"\\" + kLibraryVersion;
    keys.push_back({library, {{L"", kLibraryName}}});
    keys.push_back({library + L"\\FLAGS", {{L"", L"0"}}});
    keys.push_back({library + L"\\HELPDIR", {{L"", FolderOf(server)}}});
    keys.push_back({PlatformKey(), {{L"", server}}});
    AddInterface(keys, IID_IFileNameBox, L"IFileNameBox", kTypeLibMarshaler);
    AddInterface(keys, IID_IFilOpDlg, L"IFilOpDlg", kTypeLibMarshaler);
    AddInterface(keys, DIID_DFileNameBoxEvents, L"DFileNameBoxEvents", kDispatchMarshaler);
    return keys;
}

// The keys a control class owns outright.
std::vector<std::wstring> ClassKeys(const ControlClass& control) {
    return {L"CLSID\\" + GuidText(control.clsid), control.progId, control.versionedProgId};
}

HKEY RootOf(RegistrationScope scope) {
    return scope == RegistrationScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::wstring ClassesPath(const std::wstring& path) {
    return L"Software\\Classes\\" + path;
}

LSTATUS WriteKey(HKEY root, const Key& key) {
    UniqueRegKey opened;
    LSTATUS status = ::RegCreateKeyExW(root, ClassesPath(key.path).c_str(), 0, nullptr, 0,
                                       KEY_SET_VALUE, nullptr, opened.Put(), nullptr);
    for (const Value& value : key.values) {
        if (status != ERROR_SUCCESS) {
            break;
        }
        status = ::RegSetValueExW(opened.Get(), value.name.empty() ? nullptr : value.name.c_str(),
                                  0, REG_SZ, reinterpret_cast<const BYTE*>(value.data.c_str()),
                                  static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t)));
    }
    return status;
}

LSTATUS DeleteTree(HKEY root, const std::wstring& path) {
    const LSTATUS status = ::RegDeleteTreeW(root, ClassesPath(path).c_str());
    if (status == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    // RegDeleteTree empties the key; the key itself goes too.
    const LSTATUS removed = ::RegDeleteKeyW(root, ClassesPath(path).c_str());
    return removed == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : removed;
}

// Whether the type library is still registered for another platform (the 32-bit or 64-bit
// server of the same controls).
bool OtherPlatformRegistered(HKEY root) {
    UniqueRegKey platforms;
    if (::RegOpenKeyExW(root, ClassesPath(LibraryKey() + L"\\" + kLibraryVersion + L"\\0").c_str(),
                        0, KEY_READ, platforms.Put()) != ERROR_SUCCESS) {
        return false;
    }
    DWORD subkeys = 0;
    return ::RegQueryInfoKeyW(platforms.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS &&
           subkeys > 0;
}

HRESULT FromStatus(LSTATUS status) {
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

} // namespace

HRESULT RegisterServer(RegistrationScope scope) noexcept {
    try {
        const std::wstring server = ServerPath();
        if (server.empty()) {
            return E_UNEXPECTED;
        }
        for (const Key& key : RegistrationTable(server)) {
            const LSTATUS status = WriteKey(RootOf(scope), key);
            if (status != ERROR_SUCCESS) {
                return FromStatus(status);
            }
        }
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterServer(RegistrationScope scope) noexcept {
    try {
        const HKEY root = RootOf(scope);
        std::vector<std::wstring> owned = ClassKeys(FileNameBoxClass());
        for (auto& key : ClassKeys(FilOpDlgClass())) {
            owned.push_back(std::move(key));
        }
        owned.push_back(PlatformKey());
        // The interfaces are kept apart for 32-bit and 64-bit programs, as the classes are, so
        // they go with this server's registration; the type library's key is one for both.
        for (auto& key : InterfaceKeys()) {
            owned.push_back(std::move(key));
        }
        for (const auto& key : owned) {
            if (const LSTATUS status = DeleteTree(root, key); status != ERROR_SUCCESS) {
                return FromStatus(status);
            }
        }
        if (OtherPlatformRegistered(root)) {
            return S_OK;
        }
        if (const LSTATUS status = DeleteTree(root, LibraryKey() + L"\\" + kLibraryVersion);
            status != ERROR_SUCCESS) {
            return FromStatus(status);
        }
        // The library's own key goes once no version of it is left.
        ::RegDeleteKeyW(root, ClassesPath(LibraryKey()).c_str());
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

} // namespace relingo::com
