// `sondara-cli sample OUT`: a small project so that a fresh machine has something
// to show. Traces are a hammer pulse with a toe echo and, on one pile, a defect echo.
#include <cmath>
#include <cstdio>

#include "cli/CliDoc.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/NameLists.h"
#include "core/model/TextCodec.h"

namespace sondara::cli {
namespace {

TestPoint makePoint(const char* pileNo, int pointNo, double length, int speed, double defectDepth,
                    int defectKind) {
    TestPoint p;
    setText(p.pileNo, utf8ToGbk(pileNo));
    p.pileTypeIndex = 1;
    setText(p.pileTypeText, PileTypeNames().gbk[1]);
    p.pileDiameter = 800;
    char date[32];
    std::snprintf(date, sizeof date, "2026-11-03 09:%02d:%02d", 10 + pointNo, 7 * pointNo % 60);
    setText(p.testDateTime, date);
    setText(p.castingDate, "2026-09-20");
    p.sensorType = 1;
    p.gain = 20;
    p.triggerLevel = 3;
    p.pileLength = static_cast<float>(length);
    p.waveSpeed = static_cast<std::int16_t>(speed);
    p.sampleInterval = 20.0f;
    p.recordedLength = 1024;
    p.headIndex = 40;
    const double dt = 20e-6;
    const int toe = 40 + static_cast<int>(std::lround(2 * length / speed / dt));
    p.toeIndex = static_cast<std::int16_t>(toe);
    auto pulse = [&](double t0, double amp, double width) {
        return [=](double t) {
            double x = (t - t0) / width;
            return (x > 0 && x < 1) ? amp * std::sin(M_PI * x) : 0.0;
        };
    };
    auto blow = pulse(40 * dt, 120.0 + pointNo * 7, 1.0e-3);
    auto toeEcho = pulse(toe * dt, 28.0, 1.3e-3);
    double dIdx = defectDepth > 0 ? 40 + 2 * defectDepth / speed / dt : -1;
    auto defectEcho = pulse(dIdx * dt, defectKind == 1 ? -18.0 : 22.0, 1.1e-3);
    p.rawSamples.resize(1024);
    for (int i = 0; i < 1024; ++i) {
        double t = i * dt;
        double v = blow(t) + toeEcho(t) + (dIdx > 0 ? defectEcho(t) : 0.0);
        v += 1.5 * std::sin(0.37 * i + pointNo) * std::exp(-i / 700.0);  // sensor ringing
        p.rawSamples[i] = static_cast<float>(v * std::exp(-i / 1800.0));
    }
    p.samples = p.rawSamples;
    if (dIdx > 0) {
        PileMark m;
        m.kind = defectKind;
        setText(m.name, DefectNames().gbk[defectKind]);
        m.depth = static_cast<float>(defectDepth);
        m.position = static_cast<int>(dIdx);
        p.defects.push_back(m);
        p.integrityClass = defectKind == 1 ? 1 : 3;
    } else {
        p.integrityClass = 1;
    }
    p.checked = 1;
    return p;
}

int runSample(const Args& args) {
    if (args.size() != 1) return std::fprintf(stderr, "usage: sondara-cli sample OUT\n"), kExitUsage;
    CSondaraDoc doc;
    setVersionTag(doc.info, "QAR16");
    setText(doc.info.testingUnit, utf8ToGbk("示例检测有限公司"));
    setText(doc.info.projectName, utf8ToGbk("示例工程 低应变检测"));
    struct Pile { const char* no; int points; double length; int speed; double depth; int kind; };
    const Pile piles[] = {{"1-1", 2, 12.0, 3800, 0, 0}, {"1-2", 3, 14.5, 3900, 6.0, 2},
                          {"1-3", 1, 11.0, 3700, 4.5, 1}, {"2-1", 2, 16.0, 4000, 0, 0}};
    for (const Pile& pl : piles)
        for (int k = 0; k < pl.points; ++k)
            doc.points.push_back(makePoint(pl.no, doc.pointCount(), pl.length, pl.speed, pl.depth, pl.kind));
    doc.points[1].checked = 0;
    // A processed point: low-pass filter and amplification, as an analyst would leave it.
    ProcessStep f = makeStep(ProcessKind::Filter);
    f.upperFreqHz = 1000.0f;
    doc.points[0].steps.push_back(f);
    doc.points[0].lastParams.kind = f.kind;
    doc.info.pointCount = doc.pointCount();
    doc.originalInfo = doc.info;
    doc.originalPoints = doc.points;
    for (TestPoint& p : doc.originalPoints) p.steps.clear();
    return saveProject(doc, args[0]);
}

CliRegistrar reg{{"sample", "write a small sample project",
                  "usage: sondara-cli sample OUT\n"
                  "Writes a small \"QAR16\" project of a few piles with traces, marks and a chain.",
                  runSample}};

}  // namespace
}  // namespace sondara::cli
