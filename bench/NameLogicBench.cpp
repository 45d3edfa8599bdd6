// The name box's own logic with the file system in memory (the test backend), under Google
// Benchmark: the syntax check, the validation run and the name parts. With the system calls
// taken out, these figures are what the box itself costs; FileNameBoxBench measures the same
// work over the real file system under Windows.
#include "bench/DesignedBox.h"
#include "tests/fakes/FakeSystem.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

namespace relingo::bench {
namespace {

// Five components below the drive, each with a short form of its own.
constexpr char16_t kProgram[] =
    u"D:\\Build Area\\Package\\Languages\\Support Files\\Sample App.exe";

void AddProgramTree(test::FakeSystem& system) {
    system.AddDrive(u'D');
    system.AddFile(kProgram);
    system.SetShortName(u"D:\\Build Area", u"BUILDA~1");
    system.SetShortName(u"D:\\Build Area\\Package\\Languages\\Support Files", u"SUPPOR~1");
    system.SetShortName(kProgram, u"SAMPLE~1.EXE");
}

// The longest name the check lets pass: 255 characters, most in components of eight letters.
std::u16string LongestName() {
    constexpr size_t kLongest = 255;
    std::u16string name = u"C:";
    for (int i = 0; i < 27; ++i) {
        name += u"\\abcdefgh";
    }
    name += u"\\" + std::u16string(kLongest - name.size() - 1, u'x');
    return name;
}

void SyntaxCheck(benchmark::State& state, const std::u16string& text) {
    test::FakeSystem system;
    DesignedBox designed(system, fnbmode::kSyntaxOnly, text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(designed.Box().ValidateValue());
    }
}

void ValidationRun(benchmark::State& state) {
    test::FakeSystem system;
    AddProgramTree(system);
    DesignedBox designed(system, fnbmode::kFile, kProgram);
    if (designed.Box().FileName() != kProgram) {
        state.SkipWithError("the box refuses the program's name");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(designed.Box().FileName());
    }
}

using NamePart = std::function<std::u16string(FileNameBox&)>;

void NamePartOf(benchmark::State& state, const NamePart& part, const std::u16string& text) {
    test::FakeSystem system;
    AddProgramTree(system);
    DesignedBox designed(system, fnbmode::kSyntaxOnly, text);
    if (part(designed.Box()).empty()) {
        state.SkipWithError("the part is empty: the benchmark would measure a refusal");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(part(designed.Box()));
    }
}

void RegisterSyntaxChecks() {
    benchmark::RegisterBenchmark("SyntaxCheck/DriveName", SyntaxCheck, std::u16string(kProgram));
    benchmark::RegisterBenchmark("SyntaxCheck/UncName", SyntaxCheck,
                                 std::u16string(u"\\\\server\\share\\Build\\Sample.exe"));
    benchmark::RegisterBenchmark("SyntaxCheck/LongestName", SyntaxCheck, LongestName());
    // Every fault before the first-character test at once: the check's longest way through.
    benchmark::RegisterBenchmark("SyntaxCheck/ManyFaults", SyntaxCheck,
                                 std::u16string(u"C:\\a\\\\\\b:c\\ \\d|e") +
                                     std::u16string(256, u'x'));
}

void RegisterNameParts() {
    const std::u16string program = kProgram;
    const std::pair<const char*, NamePart> parts[] = {
        {"NamePart/FileTitle", [](FileNameBox& b) { return b.FileTitle(); }},
        {"NamePart/FilePath", [](FileNameBox& b) { return b.FilePath(); }},
        {"NamePart/FileBody", [](FileNameBox& b) { return b.FileBody(); }},
        {"NamePart/FileExtension", [](FileNameBox& b) { return b.FileExtension(); }},
        {"NamePart/FilePathBody", [](FileNameBox& b) { return b.FilePathBody(); }},
        {"NamePart/FileDrive", [](FileNameBox& b) { return b.FileDrive(); }},
        {"NamePart/ShortFileName", [](FileNameBox& b) { return b.ShortFileName(); }},
        {"NamePart/LongFileName", [](FileNameBox& b) { return b.LongFileName(); }},
    };
    for (const auto& [name, part] : parts) {
        benchmark::RegisterBenchmark(name, NamePartOf, part, program);
    }
    // Given in another case: every component is looked up and takes its stored spelling.
    benchmark::RegisterBenchmark(
        "NamePart/LongFileName/OtherCase", NamePartOf,
        NamePart([](FileNameBox& b) { return b.LongFileName(); }),
        std::u16string(u"d:\\BUILD AREA\\PACKAGE\\LANGUAGES\\SUPPORT FILES\\SAMPLE APP.EXE"));
}

} // namespace
} // namespace relingo::bench

int main(int argc, char** argv) {
    relingo::bench::RegisterSyntaxChecks();
    relingo::bench::RegisterNameParts();
    benchmark::RegisterBenchmark("ValidationRun/ExistingFile", relingo::bench::ValidationRun);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
