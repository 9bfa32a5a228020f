// What one lookup and one start cost, beside the same system and GIO calls as a bare C loop.
// bench/run runs it in a freedesktop environment of its own; run alone, it measures this
// machine's associations.
//
//   lookup_bench [benchmark options]     the steady state: many calls in one process
//   lookup_bench --first findexe|bare EXTENSION
//                                        one call in a fresh process, in nanoseconds: what the
//                                        first search costs, the MIME database and desktop files
//                                        read for the first time

#include "BareLookup.h"
#include "lookup/ExecCmd.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

#include <benchmark/benchmark.h>
#include <glib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string temporaryFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

std::string findExe(const char* extension)
{
    return qimlar::FindExe(extension, qimlar::nativePlatform());
}

std::string bareLookup(const char* extension)
{
    static const std::string folder = temporaryFolder();
    g_autofree char* program = bare_lookup(folder.c_str(), extension);
    return program ? program : "";
}

void Lookup(benchmark::State& state, std::string (*lookup)(const char*), const char* extension)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lookup(extension));
}

void Start(benchmark::State& state, bool bare)
{
    for (auto _ : state) {
        if (bare)
            bare_spawn_and_wait("/bin/true");
        else
            qimlar::ExecCmd("/bin/true", qimlar::nativePlatform());
    }
}

int firstCall(const char* which, const char* extension)
{
    const bool bare = std::strcmp(which, "bare") == 0;
    const auto start = std::chrono::steady_clock::now();
    const std::string program = bare ? bareLookup(extension) : findExe(extension);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%lld %s\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count()),
                program.c_str());
    return 0;
}

} // namespace

BENCHMARK_CAPTURE(Lookup, FindExe_hit, findExe, "mp3");
BENCHMARK_CAPTURE(Lookup, bare_hit, bareLookup, "mp3");
BENCHMARK_CAPTURE(Lookup, FindExe_miss, findExe, "qimlar-none");
BENCHMARK_CAPTURE(Lookup, bare_miss, bareLookup, "qimlar-none");
BENCHMARK_CAPTURE(Start, ExecCmd, false);
BENCHMARK_CAPTURE(Start, bare, true);

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--first") == 0)
        return firstCall(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
