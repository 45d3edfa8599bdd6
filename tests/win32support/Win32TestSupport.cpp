#include "tests/win32support/Win32TestSupport.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace relingo::test {

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    for (int attempt = 0;; ++attempt) {
        path_ = std::wstring(base) + L"relingo-test-" + std::to_wstring(::GetCurrentProcessId()) +
                L"-" + std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(attempt);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) {
            break;
        }
        if (attempt > 100) {
            throw std::runtime_error("cannot create a temporary folder");
        }
    }
    // The temporary folder may come in its short form; tests compare full long names.
    wchar_t longName[MAX_PATH] = {};
    if (::GetLongPathNameW(path_.c_str(), longName, MAX_PATH) > 0) {
        path_ = longName;
    }
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::wstring TempFolder::AddFolder(const std::wstring& name, DWORD attributes) const {
    std::wstring full = path_;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find(L'\\', start);
        if (end == std::wstring::npos) {
            end = name.size();
        }
        full += L"\\" + name.substr(start, end - start);
        ::CreateDirectoryW(full.c_str(), nullptr);
        start = end + 1;
    }
    if (attributes != 0) {
        ::SetFileAttributesW(full.c_str(), attributes);
    }
    return full;
}

std::wstring TempFolder::AddFile(const std::wstring& name, const std::string& content,
                                 DWORD attributes) const {
    const size_t slash = name.rfind(L'\\');
    if (slash != std::wstring::npos) {
        AddFolder(name.substr(0, slash));
    }
    const std::wstring full = path_ + L"\\" + name;
    HANDLE file = ::CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot create a test file");
    }
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    if (attributes != FILE_ATTRIBUTE_NORMAL) {
        ::SetFileAttributesW(full.c_str(), attributes);
    }
    return full;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data = {};
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring full = path + L"\\" + name;
            ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(path.c_str());
}

DialogWatcher::DialogWatcher(int button) : button_(button), thread_([this] { Run(); }) {}

DialogWatcher::~DialogWatcher() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    thread_.join();
}

std::vector<SeenDialog> DialogWatcher::Seen() {
    std::lock_guard lock(mutex_);
    return seen_;
}

std::vector<SeenDialog> DialogWatcher::WaitFor(size_t count, std::chrono::milliseconds limit) {
    WaitUntil([&] { return Seen().size() >= count; }, limit);
    return Seen();
}

namespace {

struct TopWindowSearch {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

// A plain function, not a lambda: a 32-bit callback has the system's calling convention.
BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopWindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (owner == search->processId && ::IsWindowVisible(window) &&
        std::wstring(name) == search->className) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[4096] = {};
    ::GetWindowTextW(window, buffer, 4096);
    return buffer;
}

} // namespace

std::vector<HWND> TopWindowsOf(DWORD processId, const wchar_t* className) {
    TopWindowSearch search{processId, className, {}};
    ::EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void DialogWatcher::Run() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_) {
                return;
            }
        }
        for (HWND box : TopWindowsOf(::GetCurrentProcessId(), L"#32770")) {
            std::lock_guard lock(mutex_);
            if (!handled_.insert(box).second) {
                continue;
            }
            // 0xFFFF is the identifier of a message box's text.
            seen_.push_back(
                {TextOf(box), TextOf(::GetDlgItem(box, 0xFFFF)), ::GetWindow(box, GW_OWNER)});
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string Utf8(const std::wstring& text) {
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size) - 1);
    return out;
}

DWORD RunAndWait(const std::wstring& commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    std::wstring line = commandLine;
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return static_cast<DWORD>(-1);
    }
    ::WaitForSingleObject(info.hProcess, 60000);
    DWORD code = 0;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return code;
}

namespace {

// Handles this thread's messages until the condition holds or the limit passes.
template <typename Condition>
bool HandleMessagesUntil(Condition condition, ULONGLONG limit) {
    const ULONGLONG end = ::GetTickCount64() + limit;
    while (!condition()) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (::GetTickCount64() > end) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

std::wstring ThisProgramsFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring program(path, n);
    return program.substr(0, program.rfind(L'\\'));
}

} // namespace

DragOutcome DragOnto(HWND window, const std::wstring& arguments,
                     const std::function<void(HANDLE)>& started) {
    RECT r = {};
    ::GetWindowRect(window, &r);
    std::wstring line = L"\"" + ThisProgramsFolder() + L"\\DragSource.exe\" " +
                        std::to_wstring((r.left + r.right) / 2) + L" " +
                        std::to_wstring((r.top + r.bottom) / 2) + L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    DragOutcome outcome;
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return outcome;
    }
    if (started) {
        started(info.hProcess);
    }
    DWORD code = 0;
    if (!HandleMessagesUntil(
            [&] { return ::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; }, 60000)) {
        ::TerminateProcess(info.hProcess, 0);
    }
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    outcome.dropped = code >> 8 == 1;
    outcome.entered = code >> 4 & 0xF;
    outcome.effect = code & 0xF;
    return outcome;
}

// OLE keeps a registered target in this property of its window, on Windows as in Wine.
bool WaitForDropTarget(HWND window) {
    return HandleMessagesUntil(
        [&] { return ::GetPropW(window, L"OleDropTargetInterface") != nullptr; }, 20000);
}

namespace {

// The whole file, or nothing when it cannot be opened. The writer renames it into place and
// holds it open for deletion a moment longer, which only a reader that shares deletion gets past.
std::string ReadWholeFile(const std::wstring& file) {
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string content(8192, '\0');
    DWORD read = 0;
    if (!::ReadFile(handle, content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) {
        read = 0;
    }
    ::CloseHandle(handle);
    content.resize(read);
    return content;
}

} // namespace

std::optional<StandInRecord> WaitForStandInRecord(const std::wstring& folder,
                                                  std::chrono::milliseconds limit) {
    // The record is whole once it holds both of its lines.
    const std::wstring file = folder + L"\\PDWizLoc received.txt";
    std::string content;
    if (!WaitUntil(
            [&] {
                content = ReadWholeFile(file);
                return std::count(content.begin(), content.end(), '\n') >= 2;
            },
            limit)) {
        return std::nullopt;
    }
    const size_t first = content.find('\n');
    const size_t second = content.find('\n', first + 1);
    return StandInRecord{content.substr(0, first), content.substr(first + 1, second - first - 1)};
}

namespace {

// A program's bytes, read as the structures of its headers wherever they lie.
class ImageFile {
public:
    explicit ImageFile(const std::wstring& path) {
        std::ifstream file(path.c_str(), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    template <typename T>
    bool Read(size_t offset, T& out) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) {
            return false;
        }
        std::memcpy(&out, bytes_.data() + offset, sizeof(T));
        return true;
    }

    std::string TextAt(size_t offset) const {
        if (offset >= bytes_.size()) {
            return {};
        }
        const char* start = bytes_.data() + offset;
        return std::string(start, ::strnlen(start, bytes_.size() - offset));
    }

private:
    std::vector<char> bytes_;
};

} // namespace

std::vector<std::string> ImportedDlls(const std::wstring& program) {
    const ImageFile image(program);
    IMAGE_DOS_HEADER dos = {};
    DWORD signature = 0;
    if (!image.Read(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
        !image.Read(dos.e_lfanew, signature) || signature != IMAGE_NT_SIGNATURE) {
        return {};
    }
    const size_t fileHeaderAt = static_cast<size_t>(dos.e_lfanew) + sizeof signature;
    IMAGE_FILE_HEADER header = {};
    WORD magic = 0;
    const size_t optionalAt = fileHeaderAt + sizeof header;
    if (!image.Read(fileHeaderAt, header) || !image.Read(optionalAt, magic)) {
        return {};
    }
    // The import directory's place differs between the 32-bit and the 64-bit optional header.
    IMAGE_DATA_DIRECTORY imports = {};
    if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        IMAGE_OPTIONAL_HEADER64 optional = {};
        image.Read(optionalAt, optional);
        imports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    } else {
        IMAGE_OPTIONAL_HEADER32 optional = {};
        image.Read(optionalAt, optional);
        imports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    }
    std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
    for (size_t i = 0; i < sections.size(); ++i) {
        image.Read(optionalAt + header.SizeOfOptionalHeader + i * sizeof(IMAGE_SECTION_HEADER),
                   sections[i]);
    }
    // Where an address of the loaded image lies in the file.
    const auto fileOffset = [&](DWORD address) -> size_t {
        for (const IMAGE_SECTION_HEADER& section : sections) {
            const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
            if (address >= section.VirtualAddress && address - section.VirtualAddress < size) {
                return section.PointerToRawData + (address - section.VirtualAddress);
            }
        }
        return SIZE_MAX;
    };
    std::vector<std::string> names;
    IMAGE_IMPORT_DESCRIPTOR entry = {};
    for (size_t at = fileOffset(imports.VirtualAddress);
         imports.Size != 0 && image.Read(at, entry) && entry.Name != 0; at += sizeof entry) {
        names.push_back(image.TextAt(fileOffset(entry.Name)));
    }
    return names;
}

} // namespace relingo::test
