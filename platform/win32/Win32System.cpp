#include <windows.h>

#include <shlobj.h>

#include "platform/win32/Win32System.h"

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/win32/Handles.h"
#include "platform/win32/RunTimeFunctions.h"
#include "platform/win32/WideText.h"

#include <vector>

namespace relingo::win32 {

namespace {

// The run-time error number for the Win32 error of a failed file-system call; notFound for the
// errors that mean the name does not exist.
int32_t FileErrorNumber(DWORD code, int32_t notFound) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return notFound;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
        return errnum::kBadFileName;
    case ERROR_NOT_READY:
        return errnum::kDiskNotReady;
    default:
        return errnum::kPathFileAccess;
    }
}

void RequireNoNul(std::u16string_view text) {
    if (!HasNoNul(text)) {
        throw Error(errnum::kBadFileName);
    }
}

std::wstring SettingsKeyPath(const std::u16string& appName, const std::u16string& section) {
    return std::wstring(kSettingsRoot) + L"\\" + ToWide(appName) + L"\\" + ToWide(section);
}

void RequireSettingNames(const std::u16string& appName, const std::u16string& section,
                         const std::u16string& key) {
    for (const auto* name : {&appName, &section, &key}) {
        if (name->empty() || !HasNoNul(*name)) {
            throw Error(errnum::kInvalidProcedureCall);
        }
    }
}

bool IsHiddenOrSystemExcluded(DWORD attributes, uint32_t mask) {
    const DWORD bits = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return (bits & ~mask) != 0;
}

// The directory the program's first token names, without the quotes.
std::wstring FirstToken(const std::wstring& commandLine) {
    if (!commandLine.empty() && commandLine.front() == L'"') {
        const auto close = commandLine.find(L'"', 1);
        return commandLine.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    }
    return commandLine.substr(0, commandLine.find_first_of(L" \t"));
}

std::wstring CurrentDirectoryW() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(n);
    }
}

std::wstring WindowsFolderW(UINT(WINAPI* query)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH] = {};
    const UINT n = query(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

// The program that a command line's first token names: that file in the current folder, with
// ".EXE" when the token has no extension of its own. Nothing else is searched, so that a
// same-named program elsewhere (the system folders, PATH) never runs in its place, and a folder
// whose name holds ";" is never split as a search list would be.
std::wstring ResolveProgram(const std::wstring& token) {
    if (token.empty()) {
        return {};
    }
    const size_t nameStart = token.find_last_of(L"\\/:");
    const bool hasExtension =
        token.find(L'.', nameStart == std::wstring::npos ? 0 : nameStart + 1) != std::wstring::npos;
    const bool absolute = token.find(L':') != std::wstring::npos || token.front() == L'\\';
    std::wstring program = absolute ? std::wstring() : CurrentDirectoryW();
    if (!program.empty() && program.back() != L'\\') {
        program += L'\\';
    }
    program += token;
    if (!hasExtension) {
        program += L".EXE";
    }
    const DWORD attributes = ::GetFileAttributesW(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return {};
    }
    return program;
}

} // namespace

int32_t Win32System::MsgBox(const std::u16string& text, int32_t style,
                            const std::optional<std::u16string>& caption,
                            const std::u16string& helpFile, int32_t helpContext) {
    const std::wstring wideText = ToWide(text);
    const std::wstring wideCaption = ToWide(caption ? *caption : std::u16string(kAppTitle));
    MSGBOXPARAMSW params = {};
    params.cbSize = sizeof params;
    const HWND owner = messageOwner_ ? messageOwner_() : nullptr;
    params.hwndOwner = owner != nullptr ? owner : ::GetActiveWindow();
    params.lpszText = wideText.c_str();
    params.lpszCaption = wideCaption.c_str();
    params.dwStyle = static_cast<DWORD>(style) | (helpFile.empty() ? 0 : MB_HELP);
    params.dwContextHelpId = static_cast<DWORD_PTR>(helpContext);
    const int answer = ::MessageBoxIndirectW(&params);
    if (answer == 0) {
        throw Error(errnum::kOutOfMemory);
    }
    return answer;
}

std::u16string Win32System::GetSetting(const std::u16string& appName, const std::u16string& section,
                                       const std::u16string& key,
                                       const std::u16string& defaultValue) {
    RequireSettingNames(appName, section, key);
    UniqueRegKey hkey;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(appName, section).c_str(), 0,
                        KEY_QUERY_VALUE, hkey.Put()) != ERROR_SUCCESS) {
        return defaultValue;
    }
    const std::wstring valueName = ToWide(key);
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(hkey.Get(), valueName.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return defaultValue;
    }
    // The stored data need not end with a NUL; read it whole and cut at the first NUL.
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    if (::RegQueryValueExW(hkey.Get(), valueName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
        return defaultValue;
    }
    return FromWide(std::wstring_view(data.data()));
}

void Win32System::SaveSetting(const std::u16string& appName, const std::u16string& section,
                              const std::u16string& key, const std::u16string& value) {
    RequireSettingNames(appName, section, key);
    UniqueRegKey hkey;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(appName, section).c_str(), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, hkey.Put(),
                          nullptr) != ERROR_SUCCESS) {
        throw Error(errnum::kPathFileAccess);
    }
    const std::wstring data = ToWide(value);
    const auto size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    if (::RegSetValueExW(hkey.Get(), ToWide(key).c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(data.c_str()), size) != ERROR_SUCCESS) {
        throw Error(errnum::kPathFileAccess);
    }
}

void Win32System::ChangeDrive(const std::u16string& drive) {
    if (drive.empty()) {
        return;
    }
    if (!IsAsciiLetter(drive.front())) {
        throw Error(errnum::kDeviceUnavailable);
    }
    const char16_t letter = AsciiUpper(drive.substr(0, 1)).front();
    if (!(::GetLogicalDrives() & (1u << (letter - u'A')))) {
        throw Error(errnum::kDeviceUnavailable);
    }
    // "X:" alone enters the folder that was last current on that drive.
    const wchar_t spec[] = {static_cast<wchar_t>(letter), L':', L'\0'};
    if (!::SetCurrentDirectoryW(spec)) {
        throw Error(errnum::kDeviceUnavailable);
    }
}

void Win32System::ChangeDirectory(const std::u16string& path) {
    if (path.empty() || !HasNoNul(path)) {
        throw Error(errnum::kPathNotFound);
    }
    if (!::SetCurrentDirectoryW(ToWide(path).c_str())) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_NOT_READY) {
            throw Error(errnum::kDiskNotReady);
        }
        if (code == ERROR_ACCESS_DENIED) {
            throw Error(errnum::kPathFileAccess);
        }
        throw Error(errnum::kPathNotFound);
    }
}

std::u16string Win32System::CurrentDirectory() {
    return FromWide(CurrentDirectoryW());
}

std::u16string Win32System::FindFirstEntry(const std::u16string& name, uint32_t attributeMask) {
    RequireNoNul(name);
    std::wstring pattern = ToWide(name);
    if (!pattern.empty() && pattern.back() == L'\\') {
        pattern += L'*';
    }
    WIN32_FIND_DATAW data = {};
    UniqueFindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        const int32_t number = FileErrorNumber(::GetLastError(), 0);
        if (number == 0) {
            return {}; // nothing matches
        }
        throw Error(number);
    }
    do {
        if (!IsHiddenOrSystemExcluded(data.dwFileAttributes, attributeMask)) {
            return FromWide(data.cFileName);
        }
    } while (::FindNextFileW(find.Get(), &data));
    return {};
}

uint32_t Win32System::GetAttributes(const std::u16string& name) {
    RequireNoNul(name);
    const DWORD attributes = ::GetFileAttributesW(ToWide(name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        throw Error(FileErrorNumber(::GetLastError(), errnum::kFileNotFound));
    }
    return attributes;
}

std::u16string Win32System::ShortPathName(const std::u16string& name) {
    if (!HasNoNul(name)) {
        return {};
    }
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = ::GetShortPathNameW(ToWide(name).c_str(), buffer, MAX_PATH);
    // A result that does not fit reports the size it would need; treat it as no short form.
    if (n == 0 || n >= MAX_PATH) {
        return {};
    }
    return FromWide(std::wstring_view(buffer, n));
}

uint32_t Win32System::StartProgram(const std::u16string& commandLine, int32_t windowStyle) {
    if (!HasNoNul(commandLine)) {
        throw Error(errnum::kInvalidProcedureCall);
    }
    std::wstring line = ToWide(commandLine);
    const std::wstring program = ResolveProgram(FirstToken(line));
    if (program.empty()) {
        throw Error(errnum::kFileNotFound);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION info = {};
    // CreateProcessW may write into the command line, so it gets a buffer of its own.
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    if (!::CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        throw Error(errnum::kFileNotFound);
    }
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    return info.dwProcessId;
}

std::string Win32System::ToAnsi(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    const std::wstring wide = ToWide(text);
    const int size = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                          nullptr, nullptr);
    return out;
}

std::u16string Win32System::FromAnsi(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size =
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                          size);
    return FromWide(out);
}

std::u16string Win32System::SystemFolder() {
    return FromWide(WindowsFolderW(::GetSystemDirectoryW));
}

std::u16string Win32System::DesktopFolder(intptr_t ownerWindow) {
    com_.Require(u"The desktop folder lookup");
    const ShellFunctions& shell = ShellFunctions::Get();
    if (!shell.getSpecialFolderLocation || !shell.getPathFromIDList) {
        return {}; // the folder is then unknown, as when the shell cannot tell it
    }
    UniqueItemIdList items;
    if (shell.getSpecialFolderLocation(reinterpret_cast<HWND>(ownerWindow), CSIDL_DESKTOP,
                                       items.Put()) != S_OK) {
        return {};
    }
    wchar_t buffer[MAX_PATH] = {};
    if (!shell.getPathFromIDList(items.Get(), buffer)) {
        return {};
    }
    return FromWide(buffer);
}

std::u16string Win32System::ProductName() {
    if (!productName_) {
        productName_ = ReadProductName();
    }
    return *productName_;
}

std::u16string Win32System::ReadProductName() {
    const VersionFunctions& version = VersionFunctions::Get();
    if (!version.getInfoSize || !version.getInfo || !version.queryValue) {
        return kAppTitle;
    }
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = length > 0 && length < MAX_PATH ? version.getInfoSize(path, &ignored) : 0;
    std::vector<BYTE> data(size);
    if (size == 0 || !version.getInfo(path, 0, size, data.data())) {
        return kAppTitle; // a program built without version data
    }
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (!version.queryValue(data.data(), L"\\VarFileInfo\\Translation",
                            reinterpret_cast<void**>(&translations), &bytes) ||
        bytes < sizeof(Translation)) {
        return kAppTitle;
    }
    wchar_t query[64];
    ::wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\ProductName", translations[0].language,
                translations[0].codePage);
    wchar_t* name = nullptr;
    UINT chars = 0;
    if (!version.queryValue(data.data(), query, reinterpret_cast<void**>(&name), &chars) ||
        chars == 0) {
        return kAppTitle;
    }
    return FromWide(std::wstring_view(name));
}

} // namespace relingo::win32
