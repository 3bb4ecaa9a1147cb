#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "core/fileio/TextExport.h"
#include "core/fileio/TraceImport.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

std::string rows(int n, const std::string& line) {
    std::string s;
    for (int i = 0; i < n; ++i) s += line;
    return s;
}

TEST(TraceImport, ReadsEveryKindOfText) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> names;
        double intervalUs;  // 0: the file gives none
        std::vector<float> firstTrace;
    };
    const Case cases[] = {
        {"csv, time in ms, named columns",
         "time_ms,A1,B2\n0.000,0,0\n0.010,1.5,2\n0.020,3,4\n",
         {"A1", "B2"},
         10.0,
         {0, 1.5f, 3}},
        {"tab, GBK header, time in us",
         utf8ToGbk("时间(us)\t桩1\n0\t-1\n12.5\t2e1\n25\t3\n"),
         {"桩1"},
         12.5,
         {-1, 20, 3}},
        {"t(s), semicolons, CRLF, BOM, comments",
         "\xEF\xBB\xBF# recorded on site\r\nt(s);x\r\n0;1\r\n0.00002;2\r\n0.00004;+3\r\n",
         {"x"},
         20.0,
         {1, 2, 3}},
        {"blanks, no header", "  1  2 3\n4 5\t6\n", {"", "", ""}, 0.0, {1, 4}},
        {"header without time column", "a;b\n1;2\n3;4\n", {"a", "b"}, 0.0, {1, 3}},
        {"time column without unit is dropped", "time,v\n0,1\n1,2\n", {"v"}, 0.0, {1, 2}},
        {"quoted fields", "\"time_us\",\"P 1\"\n\"0\",\"7\"\n\"5\",\"8\"\n", {"P 1"}, 5.0, {7, 8}},
        {"own export, header, times, full-width separator",
         utf8ToGbk(
             "测点数：2\n测点桩号：桩A\n数据长度：3\n0.00；1.25；20.00；-2.50；40.00；3.00；\n"
             "测点桩号：B\n数据长度：1\n0.00；7.00；\n"),
         {"桩A", "B"},
         0.0,
         {1.25f, -2.5f, 3}},
        {"own export, current point, no line break",
         "测点数：1\n测点桩号：Z\n数据长度：2\n1.00,2.00,",
         {"Z"},
         0.0,
         {1, 2}},
        {"own export without header, times restart per point",
         "0.00|1.00|20.00|2.00|0.00|5.00|20.00|6.00|40.00|7.00|",
         {"", ""},
         20.0,
         {1, 2}},
        {"a single row of numbers is one trace", "1 2 3 4 5 6\n", {""}, 0.0, {1, 2, 3, 4, 5, 6}},
        {"a single row with a trailing separator", "1,2,3,\n", {""}, 0.0, {1, 2, 3}},
        {"a single column", "7\n8\n9\n", {""}, 0.0, {7, 8, 9}},
        {"key lines, units row, trailing separators, a shorter column",
         "Instrument: PIT-X\nDate: 2024-05-01 10:20:30\nSample interval: 20 us\n"
         "Time,Ch1,Ch2,\nms,mV,mV,\n0.00,1,5,\n0.02,2,6,\n0.04,3,,\n",
         {"Ch1", "Ch2"},
         20.0,
         {1, 2, 3}},
        {"key lines as spreadsheet cells", "Sample interval:,20,us,,\n1\n2\n", {""}, 20.0, {1, 2}},
        {"units row gives the time unit", "t\tA\n(us)\t(mV)\n0\t4\n12.5\t5\n", {"A"}, 12.5, {4, 5}},
        {"a sample rate in kHz, Chinese keys, a pile for the file",
         utf8ToGbk("采样频率：50 kHz\n桩号：P-3\n1\n2\n"),
         {"P-3"},
         20.0,
         {1, 2}},
        {"own export without header or times: one trace",
         "0.00 1.25 -2.50 ",
         {""},
         0.0,
         {0, 1.25f, -2.5f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TraceParseResult r = parseTraceText(c.bytes);
        ASSERT_EQ(r.message, "");
        ASSERT_EQ(r.traces.size(), c.names.size());
        for (std::size_t i = 0; i < c.names.size(); ++i) EXPECT_EQ(r.traces[i].name, c.names[i]);
        EXPECT_EQ(r.traces[0].samples, c.firstTrace);
        if (c.intervalUs > 0) {
            EXPECT_NEAR(r.traces[0].intervalUs, c.intervalUs, 1e-9);
        } else {
            EXPECT_TRUE(r.needsInterval);
        }
    }
    // the export's one-sample point has no interval of its own; its neighbour does
    TraceParseResult own = parseTraceText(cases[7].bytes);
    EXPECT_EQ(own.traces[0].intervalUs, 20.0);
    EXPECT_EQ(own.traces[1].intervalUs, 0.0);
}

TEST(TraceImport, RefusesBadInputWithAMessage) {
    std::string wide = "0";
    for (int i = 0; i < kMaxImportPoints; ++i) wide += " 1";
    const struct {
        const char* name;
        std::string bytes;
        const char* says;
    } cases[] = {
        {"empty", "", "没有数据"},
        {"only blanks", "\n  \n\t\n", "没有数据"},
        {"a row wider than the header", "a,b\n1,2\n3,4,5\n", "第 3 行有 3 列，应为 2 列"},
        {"a value after its column ended", "1,2,3\n4,,6\n7,8,9\n",
         "第 3 行第 2 列：此列在第 2 行已经结束"},
        {"a column without numbers", "a,b,c\n1,2\n3,4\n", "第 3 列没有数值"},
        {"a key's value unreadable", "Sample interval: fast\n1\n2\n", "第 1 行“Sample interval”"},
        {"a key's unit unknown", "桩长：12 ft\n1\n2\n", "无法读出"},
        {"a key's value with a decimal comma", "dt: 0,5 ms\n1\n2\n", "无法读出"},
        {"interval stated twice, differently", "dt: 10 us\ntime_us,v\n0,1\n20,2\n",
         "第 1 行的采样间隔与时间列不符"},
        {"a headerless export too long for one trace", rows(kMaxImportSamples + 1, "0.00 "),
         "导出时选上数据头或每点声时"},
        {"a word among numbers", "1 2\n3 x\n", "第 2 行第 2 列“x”不是数值"},
        {"a word in a units row's place", "a,b\nms,1\n", "第 2 行第 1 列“ms”不是数值"},
        {"not a number", "1\nnan\n", "不是数值"},
        {"infinite", "1\ninf\n", "不是数值"},
        {"beyond float", "1\n1e300\n", "不是数值"},
        {"decimal comma, blanks", "0,5 1,25\n0,7 1,5\n", "小数逗号"},
        {"decimal comma, tabs", "t_ms\tv\n0\t0,5\n", "小数逗号"},
        {"decimal comma, semicolons", "0,5;1,2\n0,7;1,3\n", "小数逗号"},
        {"too many samples", rows(kMaxImportSamples + 1, "1\n"), "8193 个采样"},
        {"too many traces", wide + "\n" + wide + "\n", "最多 9998"},
        {"uneven times", "time_us,v\n0,1\n10,2\n20,3\n35,4\n", "不恒定"},
        {"falling times", "time_us,v\n0,1\n-10,2\n", "不恒定"},
        {"only a header", "time_ms,v\n", "只有标题行"},
        {"only a time column", "time_ms\n0\n1\n", "只有时间列"},
        {"own export: count differs", "测点数：2\n测点桩号：A\n数据长度：1\n1.00 \n", "读出 1 个"},
        {"own export: length differs", "测点数：1\n测点桩号：A\n数据长度：3\n1.00 2.00 \n",
         "不是 3 个数值"},
        {"own export: bad count", "测点数：x\n", "测点数"},
        {"own export: no length line", "测点数：1\n测点桩号：A\n1.00 \n", "数据长度"},
        {"own export: huge length", "测点数：1\n测点桩号：A\n数据长度：9000\n", "9000 个采样"},
        {"own export: uneven times",
         "测点数：1\n测点桩号：A\n数据长度：3\n0.00 1.00 10.00 2.00 30.00 3.00 \n", "不恒定"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TraceParseResult r = parseTraceText(c.bytes);
        EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
        EXPECT_TRUE(r.traces.empty());
        EXPECT_NE(r.message.find(" / "), std::string::npos) << "English half missing";
    }
}

TEST(TraceImport, TimeColumnNames) {
    const struct {
        const char* header;
        bool time;
        double toUs;
    } cases[] = {{"time_ms", true, 1e3}, {"Time (s)", true, 1e6}, {"t(s)", true, 1e6},
                 {"t_us", true, 1},      {"时间/µs", true, 1},    {"TIME[ms]", true, 1e3},
                 {"time", true, 0},      {"t", true, 0},          {"temp", false, 0},
                 {"time_h", false, 0},   {"A1", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        double f = -1;
        EXPECT_EQ(timeColumnUnit(c.header, f), c.time);
        if (c.time) {
            EXPECT_EQ(f, c.toUs);
        }
    }
}

TEST(TraceImport, DialogFormIsCheckedFieldByField) {
    const struct {
        TraceImportForm form;
        const char* message;
        double interval, length, speed;
    } cases[] = {
        {{"20", 1, "12.5", "3800", true}, "", 20, 12.5, 3800},
        {{"", 0, "", "", false}, "", 0, 0, 0},
        {{" ", 0, "", "", true}, kMsgBadImportInterval, 0, 0, 0},
        {{"0", 0, "", "", false}, kMsgBadImportInterval, 0, 0, 0},
        {{"2O", 0, "", "", false}, kMsgBadImportInterval, 0, 0, 0},
        {{"20", 0, "-1", "", true}, kMsgBadImportLength, 0, 0, 0},
        {{"20", 0, "10", "40000", true}, kMsgBadImportSpeed, 0, 0, 0},
        {{"20", 0, "10", "3,8", true}, kMsgBadImportSpeed, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form.interval + "|" + c.form.length + "|" + c.form.speed);
        TraceImportOptions o;
        o.sensorType = 7;
        EXPECT_EQ(readTraceImportForm(c.form, o), c.message);
        if (*c.message) {
            EXPECT_EQ(o.sensorType, 7);  // untouched
            continue;
        }
        EXPECT_EQ(o.intervalUs, c.interval);
        EXPECT_EQ(o.pileLength, c.length);
        EXPECT_EQ(o.waveSpeed, c.speed);
        EXPECT_EQ(o.sensorType, c.form.sensor);
    }
}

TEST(TraceImport, HeadAboveTheNoiseAndToeFromLengthAndSpeed) {
    std::vector<float> s = test::randomTrace(400, 7, 0.01f);
    for (int i = 30; i < 40; ++i) s[i] = 1.0f + 0.1f * static_cast<float>(i - 30);
    EXPECT_EQ(firstSampleAboveNoise(s), 30);
    EXPECT_EQ(firstSampleAboveNoise(std::vector<float>(50, 3.0f)), 0);
    EXPECT_EQ(firstSampleAboveNoise({}), 0);

    ImportedTrace t{"", 0.0, s};
    TraceImportOptions o;
    o.intervalUs = 20.0;
    o.pileLength = 10.0;
    o.waveSpeed = 4000.0;
    o.sensorType = 1;
    TestPoint p = importedPoint(t, o, 7);
    EXPECT_EQ(textOf(p.pileNo), "7");
    EXPECT_EQ(p.sampleInterval, 20.0f);
    EXPECT_EQ(p.headIndex, 30);
    EXPECT_EQ(p.toeIndex, 30 + 250);
    EXPECT_EQ(p.sensorType, 1);
    EXPECT_EQ(p.waveSpeed, 4000);
    EXPECT_EQ(p.recordedLength, 400);
    EXPECT_EQ(p.rawSamples, p.samples);
}

TEST(TraceImport, ToeBeyondTheRecordStaysUnsetAndTheRestIsANewPoint) {
    std::vector<float> s(100, 0.0f);
    s[10] = 5.0f;
    TraceImportOptions o;
    o.pileLength = 30.0;
    o.waveSpeed = 3000.0;
    TestPoint p = importedPoint(ImportedTrace{"P9", 10.0, s}, o, 1);
    EXPECT_EQ(p.headIndex, 10);
    EXPECT_EQ(p.toeIndex, 0);
    EXPECT_EQ(p.pileTypeIndex, 100);  // nobody gave the type: unknown, not 沉管灌注桩
    EXPECT_EQ(textOf(p.pileTypeText), "");
    TestPoint fresh;
    p.pileTypeIndex = fresh.pileTypeIndex;
    p.pileNo = fresh.pileNo;
    p.sampleInterval = 0;
    p.recordedLength = 0;
    p.rawSamples.clear();
    p.samples.clear();
    p.headIndex = 0;
    p.pileLength = 0;
    p.waveSpeed = 0;
    EXPECT_EQ(p, fresh);
}

// Exported (all points, times) and imported again, the points export the same text.
TEST(TraceImport, OwnExportRoundTrip) {
    std::vector<TestPoint> pts = {test::sinePoint("P1", 1024, 50.0, 9.0),
                                  test::sinePoint("桩2", 300, 3.0, 4.0)};
    setText(pts[1].pileNo, utf8ToGbk("桩2"));
    pts[0].sampleInterval = 3.333f;
    pts[1].sampleInterval = 25.0f;
    CSondaraDoc d = test::makeDoc(pts);
    TextExportSettings s;
    s.source = TextSource::All;
    s.timeColumn = true;
    ByteWriter first;
    writeWaveText(first, d, s, {0, 1});

    TraceParseResult r = parseTraceText(first.buffer());
    ASSERT_EQ(r.message, "");
    ASSERT_EQ(r.traces.size(), 2u);
    EXPECT_EQ(r.traces[0].intervalUs, 3.333);
    test::TempDir dir;
    test::writeFile(dir.file("a.txt"), first.buffer());
    CSondaraDoc back;
    ASSERT_EQ(ImportTraceFiles(back, {dir.file("a.txt")}, {}), "");
    ByteWriter second;
    writeWaveText(second, back, s, {0, 1});
    EXPECT_EQ(second.buffer(), first.buffer());
    EXPECT_EQ(back.points[1].sampleInterval, 25.0f);
    EXPECT_EQ(gbkToUtf8(textOf(back.points[1].pileNo)), "桩2");
    EXPECT_TRUE(back.modified);  // a new project, not yet saved
    EXPECT_EQ(back.originalPoints.size(), 2u);
}

TEST(TraceImport, FilesMakeOneProjectOrNothing) {
    test::TempDir dir;
    test::writeFile(dir.file("a.csv"), "1,2\n3,4\n");
    test::writeFile(dir.file("b.csv"), "time_us,x\n0,5\n8,6\n");
    test::writeFile(dir.file("bad.csv"), "1,2\n3,x\n");
    CSondaraDoc doc = test::makeDoc({test::simplePoint("OLD")});
    bool needs = false;
    EXPECT_NE(ImportTraceFiles(doc, {dir.file("a.csv")}, {}, &needs).find("--dt"),
              std::string::npos);
    EXPECT_TRUE(needs);
    EXPECT_NE(ImportTraceFiles(doc, {dir.file("b.csv"), dir.file("bad.csv")}, {}, &needs)
                  .find("bad.csv: 第 2 行"),
              std::string::npos);
    EXPECT_FALSE(needs);
    EXPECT_NE(ImportTraceFiles(doc, {dir.file("missing.csv")}, {}).find("无法读取"),
              std::string::npos);
    ASSERT_EQ(doc.pointCount(), 1);  // untouched by the failures

    TraceImportOptions o;
    o.intervalUs = 50;
    ASSERT_EQ(ImportTraceFiles(doc, {dir.file("a.csv"), dir.file("b.csv")}, o), "");
    ASSERT_EQ(doc.pointCount(), 3);
    EXPECT_EQ(textOf(doc.points[0].pileNo), "1");
    EXPECT_EQ(textOf(doc.points[1].pileNo), "2");
    EXPECT_EQ(textOf(doc.points[2].pileNo), "x");
    EXPECT_EQ(doc.points[0].sampleInterval, 50.0f);
    EXPECT_EQ(doc.points[2].sampleInterval, 8.0f);  // the file's own interval wins
    EXPECT_EQ(doc.info.pointCount, 3);
    EXPECT_EQ(doc.currentPoint, 0);

    std::string many;
    for (int i = 0; i < 5000; ++i) many += "1 ";
    test::writeFile(dir.file("many.txt"), many + "\n" + many + "\n");
    EXPECT_NE(
        ImportTraceFiles(doc, {dir.file("many.txt"), dir.file("many.txt")}, o).find("10000 个测点"),
        std::string::npos);
    EXPECT_EQ(doc.pointCount(), 3);
}

// What a file says beside its samples reaches the points; what it does not say stays
// unset, and a column that ends early is a shorter trace.
TEST(TraceImport, FileFactsReachThePointsAndTheRestStaysUnset) {
    TraceParseResult r = parseTraceText(
        "Pile length: 12.5 m\nWave speed: 3.8 km/s\nSensor: velocity\nSample interval: 0.02 ms\n"
        "a\tb\tc\n1\t4\t6\n2\t5\n3\n");
    ASSERT_EQ(r.message, "");
    ASSERT_EQ(r.traces.size(), 3u);
    EXPECT_EQ(r.traces[0].samples, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(r.traces[1].samples, (std::vector<float>{4, 5}));
    EXPECT_EQ(r.traces[2].samples, (std::vector<float>{6}));
    EXPECT_FALSE(r.needsInterval);
    TraceImportOptions o;  // the file wins over what the user says
    o.pileLength = 99;
    o.waveSpeed = 1000;
    o.sensorType = 0;
    TestPoint p = importedPoint(r.traces[0], o, 1);
    EXPECT_EQ(textOf(p.pileNo), "a");
    EXPECT_EQ(p.sampleInterval, 20.0f);
    EXPECT_EQ(p.pileLength, 12.5f);
    EXPECT_EQ(p.waveSpeed, 3800);
    EXPECT_EQ(p.sensorType, 1);

    // nothing given: no length, speed, diameter or type, and the data file keeps it so
    TestPoint bare = importedPoint(parseTraceText("0\n0\n5\n1\n").traces[0], {}, 1);
    EXPECT_EQ(bare.pileLength, 0.0f);
    EXPECT_EQ(bare.waveSpeed, 0);
    EXPECT_EQ(bare.pileDiameter, 0);
    CSondaraDoc d = test::makeDoc({bare});
    test::TempDir dir;
    ASSERT_TRUE(WriteProject(d, dir.file("u.qar")));
    CSondaraDoc back;
    ASSERT_EQ(ReadProject(back, dir.file("u.qar")), "");
    EXPECT_EQ(back.points[0].pileTypeIndex, 100);
    EXPECT_EQ(back.pileTypeText(0), "");
}

// Intervals outside what an instrument records (0.1 .. 10,000 us) are refused, from the
// file or from the user; the intervals the files give are told.
TEST(TraceImport, IntervalsOutsideTheInstrumentsRangeAreRefused) {
    test::TempDir dir;
    test::writeFile(dir.file("tiny.csv"), "time_us,v\n0,1\n0.01,2\n");
    test::writeFile(dir.file("slow.csv"), "time_s,v\n0,1\n0.5,2\n");
    test::writeFile(dir.file("edge.csv"), "time_us,v\n0,1\n0.1,2\n");
    test::writeFile(dir.file("slowest.csv"), "time_ms,v\n0,1\n10,2\n");
    test::writeFile(dir.file("plain.txt"), "1\n2\n");
    CSondaraDoc doc;
    for (const char* name : {"tiny.csv", "slow.csv"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(ImportTraceFiles(doc, {dir.file(name)}, {}).find("0.1～10000 微秒"),
                  std::string::npos);
    }
    for (double dt : {1e-30, 0.09, 10001.0, -5.0}) {
        SCOPED_TRACE(dt);
        TraceImportOptions o;
        o.intervalUs = dt;
        EXPECT_NE(ImportTraceFiles(doc, {dir.file("plain.txt")}, o).find("outside"),
                  std::string::npos);
        TraceImportForm f{std::to_string(dt), 0, "", "", true};
        EXPECT_EQ(readTraceImportForm(f, o), kMsgBadImportInterval);
    }
    EXPECT_EQ(doc.pointCount(), 0);

    bool needs = false;
    std::vector<double> read;
    EXPECT_NE(ImportTraceFiles(doc,
                               {dir.file("edge.csv"), dir.file("plain.txt"),
                                dir.file("slowest.csv"), dir.file("edge.csv")},
                               {}, &needs, &read)
                  .find("plain.txt"),
              std::string::npos);
    EXPECT_TRUE(needs);
    EXPECT_EQ(read, (std::vector<double>{0.1, 10000.0}));  // every file read, once each
    TraceImportOptions o;
    o.intervalUs = 0.1;
    ASSERT_EQ(ImportTraceFiles(doc, {dir.file("edge.csv"), dir.file("plain.txt")}, o), "");
    EXPECT_EQ(doc.points[1].sampleInterval, 0.1f);
}

// The waveform text export, with every header, time, source and separator option,
// imports back: as many points (one trace when neither header nor times keep several
// apart), their pile numbers (header), intervals (times) and samples as written; and
// exported again it gives the same text.
TEST(TraceImport, EveryExportOptionRoundTrips) {
    std::vector<TestPoint> pts = {test::sinePoint("P1", 300, 50.0, 9.0),
                                  test::sinePoint("P2", 257, 3.0, 4.0),
                                  test::sinePoint("P3", 120, 700.0, 2.5)};
    setText(pts[1].pileNo, utf8ToGbk("桩2"));
    pts[0].sampleInterval = 20.0f;
    pts[1].sampleInterval = 3.333f;
    pts[2].sampleInterval = 12.5f;
    pts[0].checked = pts[2].checked = 1;
    for (TestPoint& p : pts) {
        p.pileLength = 11.5f;  // not written by the export: stays unset on import
        p.waveSpeed = 3600;
        p.pileTypeIndex = 1;
    }
    CSondaraDoc d = test::makeDoc(pts);
    d.selectPoint(1);
    auto asWritten = [](float v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(v));
        return static_cast<float>(std::strtod(buf, nullptr));
    };
    test::TempDir dir;
    for (TextSource source : {TextSource::Current, TextSource::Checked, TextSource::All})
        for (bool header : {false, true})
            for (bool time : {false, true})
                for (const char* sep : {" ", ",", "|", "；", "\t"}) {
                    TextExportSettings s;
                    s.source = source;
                    s.header = header;
                    s.timeColumn = time;
                    s.separator = sep;
                    SCOPED_TRACE(std::to_string(int(source)) + " header " + std::to_string(header) +
                                 " time " + std::to_string(time) + " sep '" + sep + "'");
                    const std::vector<int> which = textExportPoints(d, source, nullptr);
                    ByteWriter first;
                    writeWaveText(first, d, s, which);
                    TraceParseResult r = parseTraceText(first.buffer());
                    ASSERT_EQ(r.message, "");
                    const bool apart = header || time || which.size() == 1;
                    ASSERT_EQ(r.traces.size(), apart ? which.size() : 1u);
                    std::vector<float> all;
                    for (std::size_t k = 0; k < which.size(); ++k) {
                        const TestPoint& p = d.points[which[k]];
                        std::vector<float> want;
                        for (float v : p.samples) want.push_back(asWritten(v));
                        all.insert(all.end(), want.begin(), want.end());
                        if (!apart) continue;
                        const ImportedTrace& t = r.traces[k];
                        EXPECT_EQ(t.samples, want);
                        EXPECT_EQ(t.name, header ? gbkToUtf8(textOf(p.pileNo)) : "");
                        EXPECT_EQ(static_cast<float>(t.intervalUs), time ? p.sampleInterval : 0.0f);
                    }
                    if (!apart) {
                        EXPECT_EQ(r.traces[0].samples, all);
                    }

                    test::writeFile(dir.file("x.txt"), first.buffer());
                    TraceImportOptions o;
                    o.intervalUs = 10.0;
                    CSondaraDoc back;
                    ASSERT_EQ(ImportTraceFiles(back, {dir.file("x.txt")}, o), "");
                    for (int i = 0; i < back.pointCount(); ++i) {
                        EXPECT_EQ(back.points[i].pileLength, 0.0f);
                        EXPECT_EQ(back.points[i].waveSpeed, 0);
                        EXPECT_EQ(back.pileTypeText(i), "");
                    }
                    TextExportSettings again = s;
                    if (source == TextSource::Checked) again.source = TextSource::All;
                    ByteWriter second;
                    writeWaveText(second, back, again,
                                  textExportPoints(back, again.source, nullptr));
                    EXPECT_EQ(second.buffer(), first.buffer());
                }
}

// Nine points and more of a full-length record, all on one line without the header.
TEST(TraceImport, AHeaderlessExportOfManyPointsSplitsAtItsTimes) {
    std::vector<TestPoint> pts;
    for (int i = 0; i < 12; ++i) {
        pts.push_back(test::sinePoint("P", 1024, 100.0, 5.0 + i));
        pts.back().sampleInterval = 25.0f;
    }
    CSondaraDoc d = test::makeDoc(pts);
    TextExportSettings s;
    s.source = TextSource::All;
    s.header = false;
    s.timeColumn = true;
    ByteWriter w;
    writeWaveText(w, d, s, textExportPoints(d, s.source, nullptr));
    TraceParseResult r = parseTraceText(w.buffer());
    ASSERT_EQ(r.message, "");
    ASSERT_EQ(r.traces.size(), 12u);
    for (const auto& t : r.traces) {
        EXPECT_EQ(t.samples.size(), 1024u);
        EXPECT_EQ(t.intervalUs, 25.0);
    }
    s.timeColumn = false;  // 12 x 1024 values: too many for one trace, and said why
    ByteWriter bare;
    writeWaveText(bare, d, s, textExportPoints(d, s.source, nullptr));
    EXPECT_NE(parseTraceText(bare.buffer()).message.find("header or the time column"),
              std::string::npos);
}

}  // namespace
}  // namespace sondara
