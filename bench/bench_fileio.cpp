// Reading and writing a 9,998-point "QAR16" project (1,024 samples a point, five
// steps a chain, both sets; about 300 MB), each measured against moving the same
// bytes raw in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/app/RunLog.h"
#include "core/fileio/ProjectFile.h"

using namespace sondara;

namespace {

std::string benchDir() {
    const char* d = std::getenv("SONDARA_BENCH_DIR");
    return d && *d ? d : "/tmp";
}

CSondaraDoc makeBigDoc() {
    CSondaraDoc d;
    setVersionTag(d.info, "QAR16");
    d.points.resize(9998);
    for (int i = 0; i < 9998; ++i) {
        TestPoint& p = d.points[i];
        std::snprintf(p.pileNo.data(), p.pileNo.size(), "P%d", i / 3);
        p.sampleInterval = 20.0f;
        p.waveSpeed = 3800;
        p.recordedLength = 1024;
        p.rawSamples.resize(1024);
        for (int k = 0; k < 1024; ++k)
            p.rawSamples[k] = static_cast<float>(std::sin(k * 0.05 + i) * 100.0);
        p.samples = p.rawSamples;
        for (int s = 0; s < 5; ++s) p.steps.push_back(makeStep(ProcessKind::Smooth));
    }
    d.info.pointCount = 9998;
    d.originalInfo = d.info;
    d.originalPoints = d.points;
    return d;
}

const std::string& bigFile() {
    static std::string path = [] {
        std::string p = benchDir() + "/sondara-bench-big.qar";
        CSondaraDoc d = makeBigDoc();
        if (!WriteProject(d, p)) std::abort();
        return p;
    }();
    return path;
}

long fileSize(const std::string& p) {
    std::ifstream f(p, std::ios::binary | std::ios::ate);
    return static_cast<long>(f.tellg());
}

long rssBytes() {
    std::ifstream f("/proc/self/statm");
    long pages = 0, rss = 0;
    f >> pages >> rss;
    return rss * sysconf(_SC_PAGESIZE);
}

// The baseline: the whole file read into a buffer of its size.
void BM_RawRead(benchmark::State& state) {
    const std::string& p = bigFile();
    long size = fileSize(p);
    for (auto _ : state) {
        std::vector<char> buf(static_cast<std::size_t>(size));
        int fd = ::open(p.c_str(), O_RDONLY);
        long got = 0;
        while (got < size) {
            ssize_t r = ::read(fd, buf.data() + got, static_cast<std::size_t>(size - got));
            if (r <= 0) break;
            got += r;
        }
        ::close(fd);
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_ReadProject(benchmark::State& state) {
    const std::string& p = bigFile();
    RunLog::instance().setPath("/dev/null");
    long size = fileSize(p);
    double ratio = 0;
    for (auto _ : state) {
        CSondaraDoc d;
        long before = rssBytes();
        std::string msg = ReadProject(d, p);
        ratio = static_cast<double>(rssBytes() - before) / static_cast<double>(size);
        if (!msg.empty() || d.pointCount() != 9998) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(d.points.data());
    }
    state.counters["mem_per_file_byte"] = ratio;
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_RawWrite(benchmark::State& state) {
    const std::string& p = bigFile();
    long size = fileSize(p);
    std::vector<char> buf(static_cast<std::size_t>(size), 'x');
    std::string out = benchDir() + "/sondara-bench-raw.out";
    for (auto _ : state) {
        int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (long off = 0; off < size;) {
            std::size_t chunk = static_cast<std::size_t>(std::min<long>(size - off, 1 << 20));
            ssize_t w = ::write(fd, buf.data() + off, chunk);
            if (w <= 0) break;
            off += w;
        }
        ::fsync(fd);
        ::close(fd);
    }
    std::remove(out.c_str());
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_WriteProject(benchmark::State& state) {
    CSondaraDoc d = makeBigDoc();
    std::string out = benchDir() + "/sondara-bench-write.qar";
    long size = 0;
    for (auto _ : state) {
        if (!WriteProject(d, out)) state.SkipWithError("write failed");
    }
    size = fileSize(out);
    std::remove(out.c_str());
    state.SetBytesProcessed(state.iterations() * size);
}

}  // namespace

BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteProject)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::remove(bigFile().c_str());
    return 0;
}
