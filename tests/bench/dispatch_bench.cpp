// The cost of one DispatchKey tick on the fake desktop: an idle tick (no key
// waiting, one driver request) and a routed key with no application running
// (eight window lookups before pointer emulation ignores the code). The fake
// formats a log entry for every call, so the figures are an upper bound for
// the dispatcher's own work.
#include <benchmark/benchmark.h>

#include "dispatch/key_dispatcher.h"
#include "fake/fake_desktop.h"
#include "fake/fresh_product.h"
#include "platform/win32_constants.h"

namespace {

platform::WindowHandle PrepareDesktop() {
    return fake::StartOnFreshDesktop();
}

void IdleTick(benchmark::State& state) {
    fake::Desktop& desk = fake::Desktop::Get();
    const platform::WindowHandle owner = PrepareDesktop();
    for (auto _ : state) {
        DispatchKey(owner, WM_TIMER, 1, desk.tickCount);
        desk.log.clear();
    }
    desk.Reset();
}
BENCHMARK(IdleTick);

void RoutedKeyWithNoAppRunning(benchmark::State& state) {
    fake::Desktop& desk = fake::Desktop::Get();
    const platform::WindowHandle owner = PrepareDesktop();
    for (auto _ : state) {
        desk.keyQueue.push_back(16);
        desk.tickCount += 65;
        DispatchKey(owner, WM_TIMER, 1, desk.tickCount);
        desk.log.clear();
    }
    desk.Reset();
}
BENCHMARK(RoutedKeyWithNoAppRunning);

}  // namespace

BENCHMARK_MAIN();
