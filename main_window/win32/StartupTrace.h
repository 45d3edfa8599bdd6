// Marks of where the start-up's time goes, for the start-up benchmark. The program itself runs
// without one; a benchmark build hands one in and reads the marks once the window is idle.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace relingo::win32 {

class StartupTrace {
public:
    struct Stamp {
        std::string phase; // what ended at this mark
        LONGLONG counter;  // QueryPerformanceCounter
    };

    virtual ~StartupTrace() = default;

    void Mark(std::string phase) {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        marks_.push_back({std::move(phase), now.QuadPart});
    }
    const std::vector<Stamp>& Marks() const { return marks_; }

    // The window is shown and its message queue idle for the first time.
    virtual void Idle() {}

private:
    std::vector<Stamp> marks_;
};

// Marks the phase when there is a trace.
inline void MarkPhase(StartupTrace* trace, const char* phase) {
    if (trace != nullptr) {
        trace->Mark(phase);
    }
}

// Marks the making of the named control (its name is ASCII).
inline void MarkControl(StartupTrace* trace, const char16_t* name) {
    if (trace != nullptr) {
        std::string phase = "control ";
        for (const char16_t* c = name; *c != u'\0'; ++c) {
            phase += static_cast<char>(*c);
        }
        trace->Mark(std::move(phase));
    }
}

} // namespace relingo::win32
