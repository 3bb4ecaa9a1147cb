#include "core/instrument/InstrumentDrive.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/base/ByteIo.h"
#include "core/base/TextCodec.h"

namespace sondara {

namespace {

namespace fs = std::filesystem;

void text(ByteWriter& w, const std::string& s, std::size_t n) {
    std::string t = s.substr(0, n);
    t.resize(n, '\0');
    w.bytes(t.data(), n);
}

bool put(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

std::string DemoPointFile(int number, int integrateFlag, int passCount) {
    ByteWriter w;
    w.i16(0);
    text(w, std::to_string(number), 10);
    w.i16(1);    // pile type
    w.i16(800);  // diameter
    text(w, "2024-05-06 10:00", 20);
    w.i16(1);  // sensor
    w.i16(2);  // gain
    w.i16(3);  // trigger level
    w.i32(0);
    w.i16(static_cast<std::int16_t>(integrateFlag));
    w.i16(static_cast<std::int16_t>(passCount));
    w.zeros(46);
    w.f32(12.0f + static_cast<float>(number % 5));
    w.i16(3800);
    w.f32(25.0f);
    w.i16(1024);
    w.i16(0);
    w.f32(1.0f);
    w.f32(0.0f);
    w.f32(2.0f);
    w.f32(0.1f);
    w.i16(0);
    w.i16(20);  // head index
    w.zeros(2);
    w.zeros(60);  // no marks
    w.zeros(50);
    for (int i = 0; i < 1024; ++i) {
        const double t = i * 25e-6;
        const double v = 100.0 * std::exp(-t * 800.0) * std::sin(2 * M_PI * 900.0 * t + number);
        w.f32(static_cast<float>(v));
    }
    return w.take();
}

bool WriteDemoDrive(const std::string& root, const std::vector<DemoProject>& projects) {
    std::error_code ec;
    const fs::path dat = fs::path(root) / "dat";
    fs::create_directories(dat, ec);
    ByteWriter list;
    list.i16(static_cast<std::int16_t>(projects.size()));
    bool ok = true;
    for (const DemoProject& p : projects) {
        const std::string name = utf8ToGbk(p.projectName);
        text(list, p.folderName, 10);
        text(list, p.testDate, 12);
        text(list, std::to_string(p.points), 5);
        text(list, name, 20);

        const fs::path dir = dat / p.folderName;
        fs::create_directories(dir, ec);
        ByteWriter header;
        header.i16(static_cast<std::int16_t>(p.points));
        text(header, utf8ToGbk("演示检测单位"), 50);
        text(header, name, 20);
        ok = put(dir / "qar.par", header.take()) && ok;
        ok = put(dir / "pindex.par", std::string(static_cast<std::size_t>(p.points) * 2, '\0')) && ok;
        for (int i = 1; i <= p.points; ++i) ok = put(dir / (std::to_string(i) + ".qar"), DemoPointFile(i)) && ok;
    }
    ok = put(dat / "rsite.par", list.take()) && ok;
    return ok;
}

std::vector<DemoProject> DemoProjects() {
    return {{"S0001", "大桥桩基", "2024-05-06", 3},
            {"S0002", "大桥桩基", "2024-05-07", 2},
            {"S0003", "厂房", "2024-05-08", 4}};
}

}  // namespace sondara
