// The file name box over the real file system against the bare Win32 calls its work comes down
// to: the validation run with the existence check on a real file, and the long form of a name of
// five components. Each pair is measured in alternating samples and their ratio printed.
//
//   FileNameBoxBench
//
// It makes its own files in a fresh folder at the root of the temporary folder's drive (so that
// the name has exactly five components) and removes them at the end.
#include <windows.h>

#include "bench/DesignedBox.h"
#include "bench/Harness.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32System.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace relingo::bench {
namespace {

using win32::FromWide;

// Folders and files made for the run, removed in reverse order at the end.
class ScratchTree {
public:
    ScratchTree() = default;
    ~ScratchTree() {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
            if (it->isFolder) {
                ::RemoveDirectoryW(it->path.c_str());
            } else {
                ::DeleteFileW(it->path.c_str());
            }
        }
    }
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;

    void AddFolder(const std::wstring& path) {
        if (!::CreateDirectoryW(path.c_str(), nullptr)) {
            throw std::runtime_error("cannot create the folder " + Utf8(path));
        }
        created_.push_back({path, true});
    }
    void AddFile(const std::wstring& path) {
        const HANDLE raw = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
        if (raw == INVALID_HANDLE_VALUE) {
            throw std::runtime_error("cannot create the file " + Utf8(path));
        }
        const win32::UniqueKernelHandle file(raw);
        created_.push_back({path, false});
    }

private:
    struct Entry {
        std::wstring path;
        bool isFolder;
    };
    std::vector<Entry> created_;
};

// "C:\" of the temporary folder's drive.
std::wstring TempDriveRoot() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (n < 3 || buffer[1] != L':') {
        throw std::runtime_error("the temporary folder is not on a drive with a letter");
    }
    return std::wstring(buffer, 3);
}

// Makes X:\Relingo Bench <pid>\Languages Folder\Japanese Edition\Support Files\Sample Program.exe
// and returns its name. Every component is longer than 8.3, so each has a short form of its own.
std::wstring MakeFiveComponentFile(ScratchTree& tree) {
    std::wstring path =
        TempDriveRoot() + L"Relingo Bench " + std::to_wstring(::GetCurrentProcessId());
    tree.AddFolder(path);
    for (const wchar_t* folder : {L"Languages Folder", L"Japanese Edition", L"Support Files"}) {
        path += L'\\';
        path += folder;
        tree.AddFolder(path);
    }
    path += L"\\Sample Program.exe";
    tree.AddFile(path);
    return path;
}

std::wstring ShortForm(const std::wstring& name) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = ::GetShortPathNameW(name.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// What the existence check of a file needs from the system, and no more.
bool BareIsExistingFile(const std::wstring& name) {
    WIN32_FIND_DATAW data;
    const win32::UniqueFindHandle find(::FindFirstFileW(name.c_str(), &data));
    if (!find) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring BareLongForm(const std::wstring& name) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = ::GetLongPathNameW(name.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

void Require(bool condition, const std::string& what) {
    if (!condition) {
        throw std::runtime_error(what);
    }
}

void MeasureValidationRun(const std::wstring& file) {
    win32::Win32System system;
    DesignedBox designed(system, fnbmode::kFile, FromWide(file));
    FileNameBox& box = designed.Box();
    // Both sides must reach the same verdict, or the comparison means nothing.
    Require(box.FileName() == FromWide(file), "the box refuses " + Utf8(file));
    Require(BareIsExistingFile(file), "FindFirstFileW/GetFileAttributesW miss " + Utf8(file));

    std::printf("file: %s\n\n", Utf8(file).c_str());
    const PairFigures figures = MeasurePair([&] { return box.FileName().size(); },
                                            [&] { return BareIsExistingFile(file); });
    PrintPair("validation run with the existence check (mode 1), reading FileName",
              "FileNameBox::FileName", "FindFirstFileW + GetFileAttributesW", figures);
}

void MeasureLongForm(const char* title, const std::wstring& input, const std::wstring& expected) {
    win32::Win32System system;
    // Syntax only: the figure is the long-form walk itself, not a second existence check.
    DesignedBox designed(system, fnbmode::kSyntaxOnly, FromWide(input));
    FileNameBox& box = designed.Box();
    const std::wstring fromBox = win32::ToWide(box.LongFileName());
    const std::wstring fromSystem = BareLongForm(input);
    std::printf("\n%s\n  input            %s\n  LongFileName     %s\n  GetLongPathNameW %s\n",
                title, Utf8(input).c_str(), Utf8(fromBox).c_str(), Utf8(fromSystem).c_str());
    Require(SameNameIgnoringCase(fromBox, expected), "LongFileName gives a wrong long form");
    Require(SameNameIgnoringCase(fromSystem, expected), "GetLongPathNameW gives a wrong long form");

    const PairFigures figures = MeasurePair([&] { return box.LongFileName().size(); },
                                            [&] { return BareLongForm(input).size(); });
    PrintPair("", "FileNameBox::LongFileName (mode 0)", "GetLongPathNameW", figures);
}

int Run() {
    ScratchTree tree;
    const std::wstring file = MakeFiveComponentFile(tree);
    MeasureValidationRun(file);

    const std::wstring shortForm = ShortForm(file);
    if (!shortForm.empty() && shortForm != file) {
        MeasureLongForm("long form of the five-component name, given in its 8.3 form", shortForm,
                        file);
    } else {
        std::printf("\nno 8.3 names on this volume: the long form from the short one is not "
                    "measured\n");
    }
    MeasureLongForm("long form of the five-component name, given as stored", file, file);
    return 0;
}

} // namespace
} // namespace relingo::bench

int main() {
    try {
        return relingo::bench::Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "FileNameBoxBench: %s\n", e.what());
        return 1;
    }
}
