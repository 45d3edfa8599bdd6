// Relingo.exe's own start with a trace: the same program code (RunRelingo), which marks the end
// of each start-up phase. Once the window is idle it writes the marks and ends at once, without
// closing the window the normal way (that would save its settings).
//
//   RelingoPhases OUTPUT START
//
// START is the launcher's QueryPerformanceCounter value just before it created this process;
// OUTPUT gets one line per phase, "name<TAB>microseconds", in order, the first being the time
// from START to the program's entry.
#include <windows.h>

#include "main_window/win32/RelingoProgram.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

class FileTrace final : public relingo::win32::StartupTrace {
public:
    FileTrace(std::wstring output, LONGLONG start) : output_(std::move(output)), start_(start) {}

    void Idle() override {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        FILE* file = _wfopen(output_.c_str(), L"w");
        if (file != nullptr) {
            LONGLONG previous = start_;
            for (const Stamp& mark : Marks()) {
                const double microseconds = static_cast<double>(mark.counter - previous) * 1e6 /
                                            static_cast<double>(frequency.QuadPart);
                std::fprintf(file, "%s\t%.0f\n", mark.phase.c_str(), microseconds);
                previous = mark.counter;
            }
            std::fclose(file);
        }
        ::ExitProcess(file != nullptr ? 0 : 1);
    }

private:
    std::wstring output_;
    LONGLONG start_;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // The C runtime's arguments: CommandLineToArgvW would load the shell, which Relingo.exe's
    // start does not.
    if (__argc != 3) {
        return 2;
    }
    FileTrace trace(__wargv[1], _wtoi64(__wargv[2]));
    trace.Mark("process start to entry");
    return relingo::win32::RunRelingo(instance, showCommand, &trace);
}
