// A small timing harness for the Windows benchmark programs, which cannot use Google Benchmark
// (it is not built for MinGW here). It follows the same method: a warm-up, then samples of many
// calls each, so that a sample lasts far longer than the timer's grain, and the median of the
// samples as the figure, which a single scheduling hiccup cannot move. Two contenders are
// measured in alternating samples, so that a slow phase of the machine hits both alike.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace relingo::bench {

// Elapsed time by QueryPerformanceCounter.
class Stopwatch {
public:
    Stopwatch() { ::QueryPerformanceCounter(&start_); }
    void Restart() { ::QueryPerformanceCounter(&start_); }
    double Seconds() const {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) / TicksPerSecond();
    }

private:
    static double TicksPerSecond() {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart);
    }

    LARGE_INTEGER start_;
};

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Keeps a result alive, so that the compiler cannot drop the work that produced it.
template <typename T>
inline void Keep(const T& value) {
    __asm__ __volatile__("" : : "r,m"(value) : "memory");
}

struct HarnessSettings {
    double warmUpSeconds = 0.3;
    double sampleSeconds = 0.02;
    int samples = 31;
};

// Seconds per call.
struct Figures {
    double median = 0;
    double fastest = 0;
    double slowest = 0;
    int samples = 0;
    int64_t callsPerSample = 0;
};

namespace detail {

template <typename Work>
double TimeCalls(Work& work, int64_t calls) {
    const Stopwatch watch;
    for (int64_t i = 0; i < calls; ++i) {
        Keep(work());
    }
    return watch.Seconds();
}

// The number of calls that fills one sample.
template <typename Work>
int64_t CallsPerSample(Work& work, double sampleSeconds) {
    int64_t calls = 1;
    for (;;) {
        const double elapsed = TimeCalls(work, calls);
        if (elapsed >= sampleSeconds / 10) {
            const double wanted = std::ceil(static_cast<double>(calls) * sampleSeconds / elapsed);
            return std::max<int64_t>(1, static_cast<int64_t>(wanted));
        }
        calls *= 10;
    }
}

inline Figures Summarize(const std::vector<double>& perCall, int64_t calls) {
    Figures figures;
    figures.median = Median(perCall);
    figures.fastest = *std::min_element(perCall.begin(), perCall.end());
    figures.slowest = *std::max_element(perCall.begin(), perCall.end());
    figures.samples = static_cast<int>(perCall.size());
    figures.callsPerSample = calls;
    return figures;
}

} // namespace detail

struct PairFigures {
    Figures first;
    Figures second;
    double Ratio() const { return second.median > 0 ? first.median / second.median : 0; }
};

// Measures two kinds of work in alternating samples. Each work is a callable returning a value
// that depends on what it did.
template <typename First, typename Second>
PairFigures MeasurePair(First first, Second second, const HarnessSettings& settings = {}) {
    const Stopwatch warmUp;
    while (warmUp.Seconds() < settings.warmUpSeconds) {
        Keep(first());
        Keep(second());
    }
    const int64_t firstCalls = detail::CallsPerSample(first, settings.sampleSeconds);
    const int64_t secondCalls = detail::CallsPerSample(second, settings.sampleSeconds);
    std::vector<double> firstPerCall;
    std::vector<double> secondPerCall;
    for (int i = 0; i < settings.samples; ++i) {
        firstPerCall.push_back(detail::TimeCalls(first, firstCalls) /
                               static_cast<double>(firstCalls));
        secondPerCall.push_back(detail::TimeCalls(second, secondCalls) /
                                static_cast<double>(secondCalls));
    }
    return {detail::Summarize(firstPerCall, firstCalls),
            detail::Summarize(secondPerCall, secondCalls)};
}

inline std::string Utf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                          nullptr, nullptr);
    return out;
}

// One line per contender, then their ratio; an empty title prints no line of its own.
inline void PrintPair(const char* title, const char* firstName, const char* secondName,
                      const PairFigures& figures) {
    const auto line = [](const char* name, const Figures& f) {
        std::printf("  %-44s median %9.2f us  (fastest %.2f, slowest %.2f; %d samples x %lld "
                    "calls)\n",
                    name, f.median * 1e6, f.fastest * 1e6, f.slowest * 1e6, f.samples,
                    static_cast<long long>(f.callsPerSample));
    };
    if (*title != '\0') {
        std::printf("%s\n", title);
    }
    line(firstName, figures.first);
    line(secondName, figures.second);
    std::printf("  ratio %.2f\n", figures.Ratio());
    std::fflush(stdout);
}

} // namespace relingo::bench
