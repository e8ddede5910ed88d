// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the report protocol through the emulator: CPU per exchange with a zero-time
// link, and a 512-byte chunked read against the 1 ms link's limit of 10 ms.

#include <benchmark/benchmark.h>

#include <vector>

#include "device/discovery.h"
#include "device/protocol/commands.h"
#include "device/protocol/exchange.h"
#include "sim/emulator.h"

using namespace orvane;

namespace {

struct Bench {
    sim::EmulatorBackend backend;
    protocol::DeviceConnection connection{backend, "ms"};
    explicit Bench(std::chrono::microseconds link) {
        backend.setLink({link});
        backend.add(device::DeviceModel::Mouse);
        if (device::ConnectFirst(device::DeviceKind::Mouse, connection) != device::ConnectError::None)
            std::abort();
    }
};

void BM_ExchangeZeroLink(benchmark::State& state) {
    Bench b(std::chrono::microseconds(0));
    const auto request = protocol::BuildSimpleRequest(protocol::kReadMemory, 1, 0);
    protocol::Report reply{};
    for (auto _ : state) {
        if (protocol::Exchange(b.connection, request, reply) != protocol::kOk) state.SkipWithError("no reply");
        benchmark::DoNotOptimize(reply);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExchangeZeroLink);

void BM_ChunkedRead512OneMsLink(benchmark::State& state) {
    Bench b(std::chrono::microseconds(1000));
    std::vector<uint8_t> block(512);
    for (auto _ : state) {
        if (protocol::ReadNativeBlock(b.connection, block) != protocol::kOk) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(block.data());
    }
    // The link allows 10 reports x 1 ms; the counter is the time taken against that limit.
    state.counters["link_limit_ms"] = 10.0;
}
BENCHMARK(BM_ChunkedRead512OneMsLink)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
