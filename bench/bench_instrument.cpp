// Download rate of the instrument link over the virtual cable (1 µs per register
// access on the PC's side): one 100-point project, PC and emulated instrument on
// threads of their own.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <thread>

#include "core/instrument/InstrumentDrive.h"
#include "core/instrument/InstrumentServer.h"
#include "core/instrument/TransferProtocol.h"
#include "core/instrument/VirtualCable.h"

namespace {

namespace fs = std::filesystem;
using namespace sondara;

void BM_DownloadProject100Points(benchmark::State& state) {
    const fs::path base = fs::temp_directory_path() / ("sondara-bench-instr-" + std::to_string(::getpid()));
    const std::string drive = (base / "drive").string(), target = (base / "target").string();
    WriteDemoDrive(drive, {{"S0001", "P", "2024-05-06", 100}});
    fs::create_directories(target);
    auto cable = VirtualCable::inMemory();
    VirtualPortIo instrumentPort(cable, VirtualPortIo::Side::Instrument, 0);
    InstrumentServer server(instrumentPort, drive, cable);
    std::thread t([&] { server.run(); });
    VirtualPortIo pcPort(cable, VirtualPortIo::Side::Pc, kVirtualAccessNs);
    TransferProtocol link(pcPort);
    std::uint64_t bytes = 0;
    const std::uint64_t reads0 = link.statusReads();
    for (auto _ : state) {
        std::string folder = "C:\\DAT\\S0001\\";
        if (link.Execute(TransferOp::DownloadFolder, folder, target) != 1 || !link.FailedFiles().empty())
            state.SkipWithError(("download failed: " + link.StatusText()).c_str());
        for (const std::string& f : link.ReceivedFiles()) bytes += fs::file_size(f);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    // Status reads of the PC per byte of file: the handshake's cost in port accesses
    // (each byte also takes two writes).
    state.counters["reads_per_byte"] =
        bytes ? static_cast<double>(link.statusReads() - reads0) / static_cast<double>(bytes) : 0.0;
    server.stop();
    t.join();
    fs::remove_all(base);
}
BENCHMARK(BM_DownloadProject100Points)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
