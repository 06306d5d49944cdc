// Prints what the engine costs: a freeing run against a bare loop making
// the same 1 MB allocations, zero-fills and releases, and one getter call.
#include "drevcore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

int BareLoop(int amountKB)
{
    std::deque<HGLOBAL> blocks;
    int processed = 0;
    while (processed < amountKB) {
        HGLOBAL block = GlobalAlloc(GMEM_FIXED, 1048576);
        if (!block)
            break;
        blocks.push_back(block);
        std::memset(block, 0, 1048576);
        processed += 1024;
    }
    while (!blocks.empty()) {
        GlobalFree(blocks.back());
        blocks.pop_back();
    }
    return processed;
}

// The bare loop with the run's status query before each block, timing only
// the queries: spaced as in a real run, so a platform that caches the status
// (Wine, for about a second) shows its refreshes at their real rate.
double QueryTimePerBlock(int amountMB, int rounds)
{
    double spent = 0;
    long blocks = 0;
    for (int round = 0; round < rounds; ++round) {
        std::deque<HGLOBAL> held;
        for (int k = 0; k < amountMB; ++k) {
            const auto start = Clock::now();
            MEMORYSTATUSEX status{};
            status.dwLength = sizeof status;
            GlobalMemoryStatusEx(&status);
            spent += Seconds(Clock::now() - start);
            ++blocks;
            HGLOBAL block = GlobalAlloc(GMEM_FIXED, 1048576);
            if (!block)
                break;
            held.push_back(block);
            std::memset(block, 0, 1048576);
        }
        while (!held.empty()) {
            GlobalFree(held.back());
            held.pop_back();
        }
    }
    return blocks ? spent / blocks : 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Returns the engine's median time per block, in seconds.
double CompareRuns(int amountMB, int rounds)
{
    CDMemoryFree engine;
    std::vector<double> engineTimes, bareTimes;
    for (int round = 0; round < rounds; ++round) {
        // Alternate which side goes first: the second pays for the page
        // reclaim the first one set off.
        int freed = 0, bare = 0;
        auto timeEngine = [&] {
            const auto start = Clock::now();
            freed = engine.FreeMemory(amountMB * 1024);
            engineTimes.push_back(Seconds(Clock::now() - start));
        };
        auto timeBare = [&] {
            const auto start = Clock::now();
            bare = BareLoop(amountMB * 1024);
            bareTimes.push_back(Seconds(Clock::now() - start));
        };
        if (round % 2) {
            timeBare();
            timeEngine();
        } else {
            timeEngine();
            timeBare();
        }
        if (freed != amountMB * 1024 || bare != freed)
            std::printf("  note: round %d freed %d KB (engine) and %d KB (bare)\n", round, freed, bare);
    }
    const double e = Median(engineTimes), b = Median(bareTimes);
    std::printf("free %5d MB: engine %7.1f ms, bare loop %7.1f ms, ratio %.3f (%d rounds, medians)\n", amountMB,
                e * 1e3, b * 1e3, e / b, rounds);
    return e / amountMB;
}

// Returns the median cost of one call, in seconds.
template <class Call>
double GetterCost(const char* name, Call call)
{
    std::vector<double> samples;
    for (int batch = 0; batch < 51; ++batch) {
        const int calls = 2000;
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i)
            call();
        samples.push_back(Seconds(Clock::now() - start) * 1e9 / calls);
    }
    const double perCall = Median(samples);
    std::printf("%-28s median %8.1f ns per call\n", name, perCall);
    return perCall * 1e-9;
}

} // namespace

int main()
{
    std::printf("drevcore benchmark (%d-bit)\n", static_cast<int>(sizeof(void*) * 8));
    CompareRuns(256, 10);
    const double perBlock = CompareRuns(1024, 6);
    volatile DWORD sink = 0;
    CDMemoryStatus status;
    CDSystemInfo info;
    GetterCost("getStatusPhyAvaiMB", [&] { sink = status.getStatusPhyAvaiMB(); });
    GetterCost("getInfoPageSize", [&] { sink = info.getInfoPageSize(); });
    GetterCost("GlobalMemoryStatusEx", [&] {
        MEMORYSTATUSEX s{};
        s.dwLength = sizeof s;
        GlobalMemoryStatusEx(&s);
        sink = static_cast<DWORD>(s.ullAvailPageFile);
    });
    // A run reads the memory status once before every block.
    const double query = QueryTimePerBlock(1024, 3);
    std::printf("status query per block in a run: mean %.2f us, %.2f %% of the engine's %.2f ms per block\n",
                query * 1e6, query / perBlock * 100, perBlock * 1e3);
    (void)sink;
    return 0;
}
