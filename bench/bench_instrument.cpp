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
#include "tests/core/instrument/ScriptedInstrument.h"

namespace {

namespace fs = std::filesystem;
using namespace sondara;

// A scratch folder of this process with the download target inside, removed with its
// contents at the end.
struct Scratch {
    fs::path base;
    std::string target;
    explicit Scratch(const std::string& name)
        : base(fs::temp_directory_path() / (name + std::to_string(::getpid()))),
          target((base / "target").string()) {
        fs::create_directories(target);
    }
    ~Scratch() { fs::remove_all(base); }
};

// Downloads the instrument's folder S0001 into `target` once per iteration; reports the
// bytes of file received and the status reads of the PC per byte: the handshake's cost
// in port accesses (each byte also takes two writes).
void measureDownload(benchmark::State& state, TransferProtocol& link, const std::string& target) {
    std::uint64_t bytes = 0;
    const std::uint64_t reads0 = link.statusReads();
    for (auto _ : state) {
        std::string folder = "C:\\DAT\\S0001\\";
        if (link.Execute(TransferOp::DownloadFolder, folder, target) != 1 ||
            !link.FailedFiles().empty())
            state.SkipWithError(("download failed: " + link.StatusText()).c_str());
        for (const std::string& f : link.ReceivedFiles()) bytes += fs::file_size(f);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["reads_per_byte"] =
        bytes ? static_cast<double>(link.statusReads() - reads0) / static_cast<double>(bytes) : 0.0;
}

void BM_DownloadProject100Points(benchmark::State& state) {
    const Scratch scratch("sondara-bench-instr-");
    const std::string drive = (scratch.base / "drive").string();
    WriteDemoDrive(drive, {{"S0001", "P", "2024-05-06", 100}});
    auto cable = VirtualCable::inMemory();
    VirtualPortIo instrumentPort(cable, VirtualPortIo::Side::Instrument, 0);
    InstrumentServer server(instrumentPort, drive, cable);
    std::thread t([&] { server.run(); });
    VirtualPortIo pcPort(cable, VirtualPortIo::Side::Pc, kVirtualAccessNs);
    TransferProtocol link(pcPort);
    measureDownload(state, link, scratch.target);
    server.stop();
    t.join();
}
// The same download from an instrument that answers within the same register access
// (simulated inside the PC's accesses), each access still taking 1 µs: the cost of
// the handshake itself, without waiting for another thread to be scheduled.
class TimedPort : public PortIo {
public:
    explicit TimedPort(PortIo& inner) : inner_(inner) {}
    std::uint8_t readStatus() override { return pause(), inner_.readStatus(); }
    void writeData(std::uint8_t v) override { pause(), inner_.writeData(v); }
    void writeControl(std::uint8_t v) override { pause(), inner_.writeControl(v); }
    std::string name() const override { return "timed"; }

private:
    static void pause() {
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::nanoseconds(kVirtualAccessNs);
        while (std::chrono::steady_clock::now() < until) {
        }
    }
    PortIo& inner_;
};

void BM_DownloadProject100PointsPromptInstrument(benchmark::State& state) {
    const Scratch scratch("sondara-bench-instr2-");
    std::vector<std::pair<std::string, std::string>> files;
    files.push_back({"qar.par", std::string(72, '\0')});
    for (int i = 1; i <= 100; ++i) files.push_back({std::to_string(i) + ".qar", DemoPointFile(i)});
    test::ScriptedInstrument instrument;
    std::size_t next = 0;
    instrument.script = [&](const std::string& t) {
        std::vector<std::uint8_t> out;
        auto add = [&](const std::vector<std::uint8_t>& b) {
            out.insert(out.end(), b.begin(), b.end());
        };
        if (t == "SEND") {
            const std::string& data = files[next - 1].second;
            for (std::size_t at = 0; at < data.size(); at += 4096)
                add(test::frameBytes(data.substr(at, 4096)));
        } else {
            next = 0;
        }
        if (next < files.size()) {
            add(test::frameBytes("BEGIN" + std::to_string(files[next].second.size()) + " " +
                                 files[next].first));
            ++next;
        } else {
            add(test::frameBytes("END"));
        }
        return out;
    };
    TimedPort port(instrument);
    TransferProtocol link(port);
    measureDownload(state, link, scratch.target);
}
BENCHMARK(BM_DownloadProject100PointsPromptInstrument)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

BENCHMARK(BM_DownloadProject100Points)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
