// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the report protocol through the emulator: CPU per exchange with a zero-time
// link, and a 512-byte chunked read against the 1 ms link's limit of 10 ms. The same
// exchange holding the device's lock file, and through the shared emulator's socket.

#include <benchmark/benchmark.h>

#include <vector>

#include "device/discovery.h"
#include "device/protocol/commands.h"
#include "device/protocol/exchange.h"
#include "sim/emulator.h"
#include "sim/shared_client.h"
#include "sim/shared_server.h"

using namespace orvane;

namespace {

struct Bench {
    sim::EmulatorBackend backend;
    protocol::DeviceConnection connection{backend, "ms"};
    explicit Bench(std::chrono::microseconds link, bool shared = false) {
        backend.setLink({link});
        backend.add(device::DeviceModel::Mouse);
        if (shared) backend.shareDevices();  // its exchanges hold the lock file
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

// The lock file (two flocks and the holder's pid per exchange) and the drain.
void BM_ExchangeZeroLinkLocked(benchmark::State& state) {
    Bench b(std::chrono::microseconds(0), true);
    const auto request = protocol::BuildSimpleRequest(protocol::kReadMemory, 1, 0);
    protocol::Report reply{};
    for (auto _ : state) {
        if (protocol::Exchange(b.connection, request, reply) != protocol::kOk) state.SkipWithError("no reply");
        benchmark::DoNotOptimize(reply);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExchangeZeroLinkLocked);

// orvanectl --simulate-shared's exchange: the lock, a drain, a write and a reply over the
// socket (wall time; the emulator's threads are in this process too).
void BM_ExchangeThroughSharedEmulator(benchmark::State& state) {
    sim::EmulatorBackend emulator;
    emulator.setLink({std::chrono::microseconds(0)});
    emulator.add(device::DeviceModel::Mouse);
    sim::EmulatorServer server(emulator);
    std::string problem;
    const auto socket = sim::EmulatorServer::DefaultSocket(problem);
    if (socket.empty() || !server.start(socket, problem)) {
        state.SkipWithError(problem.c_str());
        return;
    }
    sim::SharedEmulatorBackend remote(socket);
    protocol::DeviceConnection connection(remote, "ms");
    if (device::ConnectFirst(device::DeviceKind::Mouse, connection) != device::ConnectError::None) {
        state.SkipWithError("no shared mouse");
        return;
    }
    const auto request = protocol::BuildSimpleRequest(protocol::kReadMemory, 1, 0);
    protocol::Report reply{};
    for (auto _ : state) {
        if (protocol::Exchange(connection, request, reply) != protocol::kOk) state.SkipWithError("no reply");
        benchmark::DoNotOptimize(reply);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExchangeThroughSharedEmulator)->UseRealTime();

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
