// Start-up time of Relingo.exe against a bare program that only shows an empty window: from the
// call that creates the process to its main window being visible and the process waiting for
// input. A third program, PlainControls.exe, shows the same controls made the plain way: the
// floor of what the system takes for them. The three are started in turns within one run (in
// one order, then the reverse, so that none always goes first), each start on its own, and
// killed once measured: closing Relingo normally would save its settings, and a box shown on
// the way out would hold the next start up.
//
// The ratios are taken per round of starts, and their median, lowest and highest are given.
// Then RelingoPhases.exe (Relingo's own start with a mark at the end of each phase) is started
// as often, and the median of each phase printed: where the start's time goes.
//
//   StartupBench [runs] [Relingo.exe] [BareWindow.exe] [RelingoPhases.exe] [PlainControls.exe]
//
// The programs default to the stripped copies in the folder "stripped" beside this one.
#include <windows.h>

#include "bench/BareWindow.h"
#include "bench/Harness.h"
#include "main_window/win32/resource.h"
#include "platform/win32/Handles.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace relingo::bench {
namespace {

constexpr DWORD kTimeLimitMs = 30000;
constexpr int kDefaultRuns = 20;
constexpr wchar_t kRelingoSettings[] = L"Software\\VB and VBA Program Settings\\Relingo";

struct Contender {
    std::wstring path;
    std::wstring windowClass;
    std::vector<double> seconds;
};

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring OwnFolder() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) {
        throw std::runtime_error("cannot find this program's own folder");
    }
    path.resize(n);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

// Relingo then starts as on first use, with nothing to restore and no remembered name to check.
void ForgetRelingoSettings() {
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, kRelingoSettings);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        throw std::runtime_error("cannot delete Relingo's settings");
    }
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    bool found;
};

BOOL CALLBACK MatchShownWindow(HWND hwnd, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search.processId || !::IsWindowVisible(hwnd)) {
        return TRUE;
    }
    wchar_t className[256] = {};
    ::GetClassNameW(hwnd, className, static_cast<int>(std::size(className)));
    search.found = std::wcscmp(className, search.className) == 0;
    return search.found ? FALSE : TRUE;
}

bool HasShownWindow(DWORD processId, const std::wstring& windowClass) {
    WindowSearch search = {processId, windowClass.c_str(), false};
    ::EnumWindows(MatchShownWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A started program, killed and waited for when it goes out of scope, however the measurement
// ended.
class StartedProgram {
public:
    explicit StartedProgram(const std::wstring& path) {
        std::wstring commandLine = L"\"" + path + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info)) {
            throw std::runtime_error("cannot start " + Utf8(path));
        }
        process_.Reset(info.hProcess);
        thread_.Reset(info.hThread);
        processId_ = info.dwProcessId;
    }
    ~StartedProgram() {
        ::TerminateProcess(process_.Get(), 0);
        ::WaitForSingleObject(process_.Get(), kTimeLimitMs);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    HANDLE Process() const { return process_.Get(); }
    DWORD ProcessId() const { return processId_; }
    bool HasEnded() const { return ::WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; }

private:
    win32::UniqueKernelHandle process_;
    win32::UniqueKernelHandle thread_;
    DWORD processId_ = 0;
};

// Seconds from the process's creation to its window being shown and the process idle.
double TimeOneStart(const Contender& contender) {
    ForgetRelingoSettings();
    const Stopwatch watch;
    const StartedProgram program(contender.path);
    const std::string name = Utf8(FileNameOf(contender.path));
    if (::WaitForInputIdle(program.Process(), kTimeLimitMs) == WAIT_TIMEOUT) {
        throw std::runtime_error(name + " did not wait for input within the time limit");
    }
    // Idle usually comes with the window already shown; a program that pumps messages before
    // showing it (or shows a box first) is waited for until it does.
    while (!HasShownWindow(program.ProcessId(), contender.windowClass)) {
        if (program.HasEnded()) {
            throw std::runtime_error(name + " ended before showing its window");
        }
        if (watch.Seconds() * 1000 > kTimeLimitMs) {
            throw std::runtime_error(name + " did not show its window within the time limit");
        }
        ::Sleep(1);
    }
    return watch.Seconds();
}

void PrintContender(const Contender& contender) {
    const auto& s = contender.seconds;
    std::printf("  %-16s median %8.1f ms  (fastest %.1f, slowest %.1f)\n",
                Utf8(FileNameOf(contender.path)).c_str(), Median(s) * 1e3,
                *std::min_element(s.begin(), s.end()) * 1e3,
                *std::max_element(s.begin(), s.end()) * 1e3);
    std::printf("  %-16s runs (ms):", "");
    for (const double one : s) {
        std::printf(" %.1f", one * 1e3);
    }
    std::printf("\n");
}

void PrintRatio(const Contender& one, const Contender& other) {
    std::vector<double> ratios;
    for (size_t i = 0; i < one.seconds.size(); ++i) {
        ratios.push_back(one.seconds[i] / other.seconds[i]);
    }
    std::printf("  ratio %s / %s per round: median %.2f (lowest %.2f, highest %.2f)\n",
                Utf8(FileNameOf(one.path)).c_str(), Utf8(FileNameOf(other.path)).c_str(),
                Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()));
}

void Run(int runs, Contender& relingo, Contender& bare, Contender& plain) {
    std::vector<Contender*> order = {&bare, &plain, &relingo};
    // One start of each first, not counted: the first start after a build reads the files from
    // disk and lets Wine load what later starts find ready.
    for (Contender* contender : order) {
        TimeOneStart(*contender);
    }
    for (int round = 0; round < runs; ++round) {
        for (Contender* contender : order) {
            contender->seconds.push_back(TimeOneStart(*contender));
        }
        std::reverse(order.begin(), order.end());
    }
    std::printf("start-up: process creation to main window shown and input idle "
                "(%d runs each, in turns, after one uncounted start each)\n",
                runs);
    PrintContender(bare);
    PrintContender(plain);
    PrintContender(relingo);
    PrintRatio(relingo, bare);
    PrintRatio(plain, bare);
    PrintRatio(relingo, plain);
}

// One traced start: the phases and their microseconds, in order.
std::vector<std::pair<std::string, double>> TracePhases(const std::wstring& phasesProgram,
                                                        const std::wstring& output) {
    ForgetRelingoSettings();
    ::DeleteFileW(output.c_str());
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    std::wstring commandLine =
        L"\"" + phasesProgram + L"\" \"" + output + L"\" " + std::to_wstring(start.QuadPart);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(phasesProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &startup, &info)) {
        throw std::runtime_error("cannot start " + Utf8(phasesProgram));
    }
    const win32::UniqueKernelHandle process(info.hProcess);
    const win32::UniqueKernelHandle thread(info.hThread);
    if (::WaitForSingleObject(process.Get(), kTimeLimitMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
        throw std::runtime_error("the traced start did not end within the time limit");
    }
    std::ifstream file(Utf8(output));
    std::vector<std::pair<std::string, double>> phases;
    std::string line;
    while (std::getline(file, line)) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) {
            phases.emplace_back(line.substr(0, tab), std::stod(line.substr(tab + 1)));
        }
    }
    if (phases.empty()) {
        throw std::runtime_error("the traced start wrote no phases");
    }
    return phases;
}

void RunPhases(int runs, const std::wstring& phasesProgram) {
    const std::wstring output = OwnFolder() + L"RelingoPhases.txt";
    TracePhases(phasesProgram, output); // not counted, as above
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> samples;
    std::vector<double> totals;
    for (int run = 0; run < runs; ++run) {
        double total = 0;
        for (const auto& [phase, microseconds] : TracePhases(phasesProgram, output)) {
            if (samples.find(phase) == samples.end()) {
                order.push_back(phase);
            }
            samples[phase].push_back(microseconds);
            total += microseconds;
        }
        totals.push_back(total);
    }
    ::DeleteFileW(output.c_str());
    const double total = Median(totals);
    std::printf("\nphases of Relingo's start (median of %d traced starts; a phase ends where "
                "the next begins)\n",
                runs);
    for (const std::string& phase : order) {
        const double median = Median(samples[phase]);
        std::printf("  %-28s %7.1f ms  %5.1f%%\n", phase.c_str(), median / 1e3,
                    100.0 * median / total);
    }
    std::printf("  %-28s %7.1f ms\n", "process creation to idle", total / 1e3);
}

} // namespace
} // namespace relingo::bench

int wmain(int argc, wchar_t** argv) {
    using namespace relingo::bench;
    try {
        const int runs = argc > 1 ? _wtoi(argv[1]) : kDefaultRuns;
        if (runs < 1) {
            std::fprintf(stderr, "usage: StartupBench [runs] [Relingo.exe] [BareWindow.exe] "
                                 "[RelingoPhases.exe] [PlainControls.exe]\n");
            return 2;
        }
        const std::wstring folder = OwnFolder() + L"stripped\\";
        Contender relingo{
            argc > 2 ? argv[2] : folder + L"Relingo.exe", RELINGO_MAIN_WINDOW_CLASS, {}};
        Contender bare{
            argc > 3 ? argv[3] : folder + L"BareWindow.exe", RELINGO_BARE_WINDOW_CLASS, {}};
        const std::wstring phases = argc > 4 ? argv[4] : folder + L"RelingoPhases.exe";
        Contender plain{
            argc > 5 ? argv[5] : folder + L"PlainControls.exe", RELINGO_PLAIN_CONTROLS_CLASS, {}};
        Run(runs, relingo, bare, plain);
        RunPhases(runs, phases);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "StartupBench: %s\n", e.what());
        return 1;
    }
}
