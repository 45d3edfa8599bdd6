// A long session: drives the real Relingo.exe, from outside as the end-to-end tests do, through
// many cycles of what a user does, and prints every 100 cycles what the process holds. Each
// cycle:
//   - a missing program name, then OK, then its two boxes answered;
//   - a good re-pack, with the IPDK stand-in started;
//   - Browse, then Cancel in the open dialog;
//   - Clear;
//   - another first language.
// After the first 100 cycles, which load what the session needs once (the file dialog, COM,
// completion), nothing should grow with the cycles. Under Wine 8 the memory still grows by some
// 300 bytes a cycle, none of it Relingo's: Wine's comctl32 allocates 24 bytes for the font of
// every text label that is given one and frees them only for icon labels; a cycle closes six
// such labels, the text of each of its two message boxes and the rest in the open dialog (seen
// with WINEDEBUG=+heap: the only blocks a cycle leaves behind).
//
// The figures: the working set and the committed private memory (GetProcessMemoryInfo); the
// handles (GetProcessHandleCount, or where that answers 0, as under Wine, the process's entries
// in the system's handle table); the GDI and USER objects (GetGuiResources, which Wine answers
// with 0, so they are shown only where the system counts them); and the process's windows,
// counted one by one. A figure the system does not give is shown as "-".
//
//   SoakBench [cycles, default 2000]
//
// Relingo.exe and the stand-in (IpdkStandIn.exe) are taken from this program's folder; Relingo's
// settings are deleted before and after. Under Wine on a display without a window manager, run it
// in a virtual desktop (wine explorer /desktop=NAME,1280x1024 SoakBench.exe): Wine otherwise
// waits up to two seconds for each box and dialog to be withdrawn from the display, which would
// be most of a cycle's time.
#define PSAPI_VERSION 2 // GetProcessMemoryInfo from kernel32, as on Windows 7 and later
#include <windows.h>

#include <psapi.h>

#include "bench/Harness.h"
#include "main_window/win32/resource.h"
#include "tests/e2e/RelingoDriver.h"
#include "tests/win32support/Win32TestSupport.h"

#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <vector>

namespace relingo::bench {
namespace {

using test::RelingoDriver;

constexpr int kDefaultCycles = 2000;
constexpr int kReportEvery = 100;
constexpr wchar_t kRelingoSettings[] = L"Software\\VB and VBA Program Settings\\Relingo";
constexpr wchar_t kRecord[] = L"\\PDWizLoc received.txt";
constexpr int kLanguages = 9;

struct ProcessFigures {
    SIZE_T workingSet = 0;
    SIZE_T committed = 0;
    DWORD handles = 0;
    bool handlesFromTable = false;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    size_t windows = 0;
};

// The process's entries in the system's handle table (SystemExtendedHandleInformation), which
// Wine keeps as Windows does; 0 when the system does not tell.
DWORD HandlesInSystemTable(DWORD processId) {
    struct Entry {
        PVOID object;
        ULONG_PTR processId;
        ULONG_PTR handle;
        ULONG grantedAccess;
        USHORT creatorBackTraceIndex;
        USHORT objectTypeIndex;
        ULONG attributes;
        ULONG reserved;
    };
    struct Table {
        ULONG_PTR count;
        ULONG_PTR reserved;
        Entry entries[1];
    };
    constexpr ULONG kExtendedHandleInformation = 64;
    constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return 0;
    }
    std::vector<char> buffer(1 << 20);
    LONG status = 0;
    ULONG needed = 0;
    while ((status = query(kExtendedHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &needed)) == kLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) {
        return 0;
    }
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    DWORD count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) {
        count += table->entries[i].processId == processId ? 1 : 0;
    }
    return count;
}

struct WindowCount {
    DWORD processId;
    size_t count;
};

BOOL CALLBACK CountChild(HWND, LPARAM context) {
    ++reinterpret_cast<WindowCount*>(context)->count;
    return TRUE;
}

BOOL CALLBACK CountTopWindow(HWND window, LPARAM context) {
    auto* counted = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == counted->processId) {
        ++counted->count;
        ::EnumChildWindows(window, CountChild, context);
    }
    return TRUE;
}

ProcessFigures Measure(const RelingoDriver& relingo) {
    ProcessFigures figures;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(relingo.Process(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof memory)) {
        figures.workingSet = memory.WorkingSetSize;
        // PagefileUsage is the committed private memory on Windows (as PrivateUsage, which Wine
        // does not fill in) and under Wine alike.
        figures.committed = memory.PagefileUsage;
    }
    ::GetProcessHandleCount(relingo.Process(), &figures.handles);
    if (figures.handles == 0) {
        figures.handles = HandlesInSystemTable(relingo.ProcessId());
        figures.handlesFromTable = true;
    }
    figures.gdiObjects = ::GetGuiResources(relingo.Process(), GR_GDIOBJECTS);
    figures.userObjects = ::GetGuiResources(relingo.Process(), GR_USEROBJECTS);
    WindowCount windows = {relingo.ProcessId(), 0};
    ::EnumWindows(CountTopWindow, reinterpret_cast<LPARAM>(&windows));
    figures.windows = windows.count;
    return figures;
}

std::string Shown(unsigned long long value) {
    return value == 0 ? "-" : std::to_string(value);
}

void PrintHeader() {
    std::printf("%7s %9s %11s %11s %8s %6s %6s %8s\n", "cycle", "seconds", "working KiB",
                "commit KiB", "handles", "GDI", "USER", "windows");
}

void Print(int cycle, double seconds, const ProcessFigures& f) {
    std::printf("%7d %9.0f %11s %11s %8s %6s %6s %8zu\n", cycle, seconds,
                Shown(f.workingSet / 1024).c_str(), Shown(f.committed / 1024).c_str(),
                Shown(f.handles).c_str(), Shown(f.gdiObjects).c_str(), Shown(f.userObjects).c_str(),
                f.windows);
    std::fflush(stdout);
}

long long Change(unsigned long long from, unsigned long long to) {
    return static_cast<long long>(to) - static_cast<long long>(from);
}

// How each figure moved from the first report after the warm-up to the last.
void PrintChange(int from, const ProcessFigures& a, int to, const ProcessFigures& b) {
    std::printf("\nfrom cycle %d to cycle %d: working set %+lld KiB, commit %+lld KiB, handles "
                "%+lld, GDI %+lld, USER %+lld, windows %+lld\n",
                from, to, Change(a.workingSet, b.workingSet) / 1024,
                Change(a.committed, b.committed) / 1024, Change(a.handles, b.handles),
                Change(a.gdiObjects, b.gdiObjects), Change(a.userObjects, b.userObjects),
                Change(a.windows, b.windows));
}

void PrintSources(const ProcessFigures& f) {
    std::printf("handles: %s\n", f.handlesFromTable
                                     ? "the process's entries in the system handle table "
                                       "(GetProcessHandleCount answers 0 here)"
                                     : "GetProcessHandleCount");
    if (f.gdiObjects == 0 && f.userObjects == 0) {
        std::printf("GDI, USER: not measured (GetGuiResources answers 0 here)\n");
    }
    std::printf("windows: the process's top-level windows and their children, counted\n\n");
}

void Require(bool done, const char* step, int cycle, RelingoDriver& relingo) {
    if (!done) {
        throw std::runtime_error(std::string(step) + " failed in cycle " + std::to_string(cycle) +
                                 ": " + relingo.Describe());
    }
}

// Answers the next box, which must say what is expected.
void AnswerBox(RelingoDriver& relingo, const wchar_t* text, int cycle) {
    const auto box = relingo.WaitForBox();
    Require(box.has_value(), "waiting for a box", cycle, relingo);
    Require(box->text == text, "the box's text", cycle, relingo);
    Require(relingo.Answer(*box, IDOK), "answering the box", cycle, relingo);
}

// The steps of a cycle, with the seconds each has taken over all cycles.
struct StepTimes {
    double missingName = 0;
    double repack = 0;
    double browse = 0;
    double clear = 0;
    double language = 0;
};

void RunCycle(RelingoDriver& relingo, int cycle, const std::wstring& program,
              const std::wstring& missing, const std::wstring& ipdkFolder, StepTimes& times) {
    Stopwatch step;
    relingo.SetBoxText(IDC_TXTFILENAME, missing);
    relingo.Press(IDC_CMDOK);
    AnswerBox(relingo, L"File or folder not found.", cycle);
    AnswerBox(relingo, L"Enter a VB program file name to be re-packed.", cycle);
    Require(relingo.Finished(), "OK with a missing name", cycle, relingo);
    times.missingName += step.Seconds();

    step.Restart();
    relingo.SetBoxText(IDC_TXTFILENAME, program);
    relingo.Press(IDC_CMDOK);
    Require(relingo.Finished(), "OK", cycle, relingo);
    Require(test::WaitForStandInRecord(ipdkFolder).has_value(), "the stand-in's start", cycle,
            relingo);
    ::DeleteFileW((ipdkFolder + kRecord).c_str());
    times.repack += step.Seconds();

    step.Restart();
    relingo.Press(IDC_CMDBROWSE1);
    Require(relingo.CancelOpenDialog(), "cancelling the open dialog", cycle, relingo);
    Require(relingo.Finished(), "Browse", cycle, relingo);
    times.browse += step.Seconds();

    step.Restart();
    relingo.Press(IDC_CMDCLEAR);
    Require(relingo.Finished(), "Clear", cycle, relingo);
    times.clear += step.Seconds();

    step.Restart();
    relingo.SelectItem(IDC_CMBFIRST, cycle % kLanguages);
    times.language += step.Seconds();
}

void PrintStepTimes(const StepTimes& times, int cycles) {
    const double n = cycles;
    std::printf("seconds a cycle, step by step: missing name %.2f, re-pack %.2f, Browse and "
                "Cancel %.2f, Clear %.2f, language %.2f\n",
                times.missingName / n, times.repack / n, times.browse / n, times.clear / n,
                times.language / n);
}

int Run(int cycles) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kRelingoSettings);
    const test::TempFolder temp;
    const std::wstring ipdkFolder = temp.AddFolder(L"IPDK");
    const std::wstring standIn = ipdkFolder + L"\\PDWizLoc.exe";
    if (!::CopyFileW((test::ProgramFolder() + L"\\IpdkStandIn.exe").c_str(), standIn.c_str(),
                     FALSE)) {
        throw std::runtime_error("cannot place the IPDK stand-in");
    }
    const std::wstring program = temp.AddFile(L"Package\\Support\\Sample.exe");
    const std::wstring missing = temp / L"Missing.exe";

    RelingoDriver relingo;
    if (!relingo.WaitForWindow()) {
        throw std::runtime_error("Relingo's window did not come: " + relingo.Describe());
    }
    relingo.SetBoxText(IDC_TXTIPDK, standIn);

    const Stopwatch watch;
    const ProcessFigures start = Measure(relingo);
    PrintSources(start);
    PrintHeader();
    Print(0, 0, start);
    ProcessFigures warm = start;
    ProcessFigures last = start;
    StepTimes times;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        RunCycle(relingo, cycle, program, missing, ipdkFolder, times);
        if (cycle % kReportEvery == 0 || cycle == cycles) {
            last = Measure(relingo);
            Print(cycle, watch.Seconds(), last);
            if (cycle == kReportEvery) {
                warm = last;
            }
        }
    }
    if (cycles > kReportEvery) {
        PrintChange(kReportEvery, warm, cycles, last);
    }
    PrintStepTimes(times, cycles);
    // The line that tells a caller the session ran to its end; a virtual desktop, which the
    // session runs in under Wine, does not pass on the exit code.
    std::printf("%d cycles run\n", cycles);
    relingo.Exit();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kRelingoSettings);
    return 0;
}

} // namespace
} // namespace relingo::bench

int wmain(int argc, wchar_t** argv) {
    const int cycles =
        argc > 1 ? std::wcstol(argv[1], nullptr, 10) : relingo::bench::kDefaultCycles;
    if (cycles <= 0) {
        std::fprintf(stderr, "usage: SoakBench [cycles]\n");
        return 2;
    }
    try {
        return relingo::bench::Run(cycles);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "SoakBench: %s\n", e.what());
        return 1;
    }
}
