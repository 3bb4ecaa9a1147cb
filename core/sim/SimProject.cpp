#include "core/sim/SimProject.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <functional>
#include <system_error>
#include <thread>

#include "core/base/Json.h"
#include "core/base/TextCodec.h"
#include "core/model/NameLists.h"

namespace sondara {

namespace {

constexpr int kMaxPoints = 9998;
constexpr int kMaxPointsPerPile = 20;

// ---- calendar ---------------------------------------------------------------------

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

bool digits(std::string_view s, std::size_t at, std::size_t n, int& v) {
    v = 0;
    if (at + n > s.size()) return false;
    for (std::size_t i = at; i < at + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    return true;
}

bool parseDate(std::string_view s, std::int64_t& days) {
    int y, mo, d;
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
    if (!digits(s, 0, 4, y) || !digits(s, 5, 2, mo) || !digits(s, 8, 2, d)) return false;
    if (y < 1980 || y > 2200 || mo < 1 || mo > 12 || d < 1) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > kDays[mo - 1] + (mo == 2 && leap)) return false;
    days = daysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
    return true;
}

std::string formatDate(std::int64_t days) {
    int y;
    unsigned m, d;
    civilFromDays(days, y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", y, m, d);
    return buf;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// ---- description reading ------------------------------------------------------------

struct SpecError {
    std::string message;
};

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw SpecError{path + ": " + what};
}

void checkKeys(const json::Value& obj, const std::string& path,
               std::initializer_list<const char*> allowed) {
    for (const auto& m : obj.members()) {
        bool ok = false;
        for (const char* a : allowed) ok = ok || m.first == a;
        if (!ok) fail(path, "unknown key \"" + m.first + "\"");
    }
}

const json::Value& requireObject(const json::Value& v, const std::string& path) {
    if (!v.isObject()) fail(path, "expected an object");
    return v;
}

double numberIn(const json::Value& v, const std::string& path, double lo, double hi) {
    if (!v.isNumber()) fail(path, "expected a number");
    double d = v.number();
    if (!(d >= lo && d <= hi)) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "%g is outside %g..%g", d, lo, hi);
        fail(path, buf);
    }
    return d;
}

int integerIn(const json::Value& v, const std::string& path, int lo, int hi) {
    double d = numberIn(v, path, lo, hi);
    if (d != std::floor(d)) fail(path, "expected a whole number");
    return static_cast<int>(d);
}

std::string text(const json::Value& v, const std::string& path, std::size_t maxGbkBytes) {
    if (!v.isString()) fail(path, "expected a string");
    if (utf8ToGbk(v.string()).size() > maxGbkBytes)
        fail(path, "longer than " + std::to_string(maxGbkBytes) + " bytes in GBK");
    return v.string();
}

struct SoilPreset {
    const char* name;
    double vs, density;
};
constexpr SoilPreset kSoilPresets[] = {
    {"soft", 100.0, 1700.0},  {"medium", 180.0, 1850.0}, {"stiff", 280.0, 1950.0},
    {"dense", 350.0, 2000.0}, {"rock", 2000.0, 2500.0},
};

const SoilPreset* presetOf(const std::string& name) {
    for (const SoilPreset& p : kSoilPresets)
        if (name == p.name) return &p;
    return nullptr;
}

std::string presetList() {
    std::string s;
    for (const SoilPreset& p : kSoilPresets)
        s += std::string(s.empty() ? "" : ", ") + "\"" + p.name + "\"";
    return s;
}

void readSoil(const json::Value& v, const std::string& path, SoilSpec& soil) {
    requireObject(v, path);
    checkKeys(v, path, {"shaft", "freeLength", "toe"});
    if (const json::Value* s = v.find("shaft")) {
        std::string p = path + ".shaft";
        if (s->isString()) {
            if (s->string() == "none") {
                soil.shaftVs = 0.0;
            } else if (const SoilPreset* pr = presetOf(s->string())) {
                soil.shaftVs = pr->vs;
                soil.shaftDensity = pr->density;
            } else {
                fail(p, "unknown soil \"" + s->string() + "\" (use \"none\", " + presetList() +
                            " or an object)");
            }
        } else {
            requireObject(*s, p);
            checkKeys(*s, p, {"vs", "density"});
            if (const json::Value* x = s->find("vs"))
                soil.shaftVs = numberIn(*x, p + ".vs", 0, 3000);
            if (const json::Value* x = s->find("density"))
                soil.shaftDensity = numberIn(*x, p + ".density", 1000, 3500);
        }
    }
    if (const json::Value* f = v.find("freeLength"))
        soil.freeLength = numberIn(*f, path + ".freeLength", 0, 120);
    if (const json::Value* t = v.find("toe")) {
        std::string p = path + ".toe";
        if (t->isString()) {
            if (t->string() == "free") {
                soil.toe = ToeCondition::Free;
            } else if (t->string() == "fixed") {
                soil.toe = ToeCondition::Fixed;
            } else if (const SoilPreset* pr = presetOf(t->string())) {
                soil.toe = ToeCondition::Soil;
                soil.toeVs = pr->vs;
                soil.toeDensity = pr->density;
                soil.toePoisson = t->string() == "rock" ? 0.25 : 0.3;
            } else {
                fail(p, "unknown toe \"" + t->string() + "\" (use \"free\", \"fixed\", " +
                            presetList() + " or an object)");
            }
        } else {
            requireObject(*t, p);
            checkKeys(*t, p, {"vs", "density", "poisson"});
            soil.toe = ToeCondition::Soil;
            if (const json::Value* x = t->find("vs")) soil.toeVs = numberIn(*x, p + ".vs", 0, 5000);
            if (const json::Value* x = t->find("density"))
                soil.toeDensity = numberIn(*x, p + ".density", 1000, 3500);
            if (const json::Value* x = t->find("poisson"))
                soil.toePoisson = numberIn(*x, p + ".poisson", 0, 0.49);
        }
    }
}

void readDefects(const json::Value& v, const std::string& path, std::vector<DefectSpec>& out) {
    if (!v.isArray()) fail(path, "expected an array");
    if (v.items().size() > 50) fail(path, "more than 50 defects");
    out.clear();
    for (std::size_t i = 0; i < v.items().size(); ++i) {
        std::string p = path + "[" + std::to_string(i) + "]";
        const json::Value& d = requireObject(v.items()[i], p);
        checkKeys(d, p, {"kind", "depth", "length", "severity"});
        const json::Value* k = d.find("kind");
        if (!k) fail(p, "missing \"kind\"");
        DefectSpec spec;
        if (k->isString()) {
            spec.kind = defectKindOfKey(k->string());
            if (spec.kind == DefectKind::None) {
                // The program's own names are accepted as well.
                for (int c = 1; c <= 7; ++c)
                    if (k->string() == DefectNames().utf8[c])
                        spec.kind = static_cast<DefectKind>(c);
            }
            if (spec.kind == DefectKind::None)
                fail(p + ".kind", "unknown defect kind \"" + k->string() +
                                      "\" (necking, bulging, crack, break, inclusion, segregation, "
                                      "enlargedBase)");
        } else {
            spec.kind = static_cast<DefectKind>(integerIn(*k, p + ".kind", 1, 7));
        }
        spec.length = defaultDefectLength(spec.kind);
        spec.severity = defaultDefectSeverity(spec.kind);
        if (const json::Value* x = d.find("depth"))
            spec.depth = numberIn(*x, p + ".depth", 0, 120);
        else if (spec.kind != DefectKind::EnlargedBase)
            fail(p, "missing \"depth\"");
        if (const json::Value* x = d.find("length"))
            spec.length = numberIn(*x, p + ".length", 0.001, 120);
        if (const json::Value* x = d.find("severity"))
            spec.severity = numberIn(*x, p + ".severity", 0, 2);
        out.push_back(spec);
    }
}

void readPile(const json::Value& v, const std::string& path, SimPileEntry& e, bool defaults) {
    requireObject(v, path);
    checkKeys(v, path, {"pileNo",        "pileType",     "length",      "waveSpeed",    "diameter",
                        "wallThickness", "density",      "castingDate", "testDateTime", "remark",
                        "points",        "triggerLevel", "vary",        "soil",         "defects",
                        "hammerMs",      "hammerForce",  "sensor",      "dt",           "samples",
                        "preTrigger",    "gain",         "noise"});
    if (defaults && (v.find("pileNo") || v.find("defects") || v.find("testDateTime")))
        fail(path,
             "\"pileNo\", \"testDateTime\" and \"defects\" belong to a pile, not to the defaults");
    PileSpec& p = e.pile;
    for (const auto& [key, x] : v.members()) {
        std::string kp = path + "." + key;
        if (key == "pileNo") {
            e.pileNo = text(x, kp, 21);
            if (trimBlanks(e.pileNo).empty()) fail(kp, "empty pile number");
        } else if (key == "pileType") {
            if (x.isNumber()) {
                e.pileTypeIndex = integerIn(x, kp, 0, 9);
                e.pileTypeText.clear();
            } else {
                std::string t(trimBlanks(text(x, kp, 49)));
                e.pileTypeIndex = 100;
                e.pileTypeText = t;
                for (int i = 0; i < PileTypeNames().count(); ++i)
                    if (t == PileTypeNames().utf8[i]) e.pileTypeIndex = i;
                if (e.pileTypeIndex != 100) e.pileTypeText.clear();
                if (t.empty()) fail(kp, "empty pile type");
            }
        } else if (key == "length") {
            p.length = numberIn(x, kp, 0.5, 120);
        } else if (key == "waveSpeed") {
            p.waveSpeed = numberIn(x, kp, 1000, 6500);
        } else if (key == "diameter") {
            p.diameter = numberIn(x, kp, 100, 5000);
        } else if (key == "wallThickness") {
            p.wallThickness = numberIn(x, kp, 0, 2500);
        } else if (key == "density") {
            p.density = numberIn(x, kp, 1000, 9000);
        } else if (key == "castingDate") {
            e.castingDate = text(x, kp, 19);
            std::int64_t d;
            if (!e.castingDate.empty() && !parseDate(e.castingDate, d))
                fail(kp, "expected \"YYYY-MM-DD\"");
        } else if (key == "testDateTime") {
            e.testDateTime = text(x, kp, 19);
            std::int64_t s;
            if (!e.testDateTime.empty() && !parseDateTime(e.testDateTime, s))
                fail(kp, "expected \"YYYY-MM-DD hh:mm:ss\"");
        } else if (key == "remark") {
            e.remark = text(x, kp, 49);
        } else if (key == "points") {
            e.points = integerIn(x, kp, 1, kMaxPointsPerPile);
        } else if (key == "triggerLevel") {
            e.triggerLevel = integerIn(x, kp, 0, 32767);
        } else if (key == "vary") {
            if (!x.isBool()) fail(kp, "expected true or false");
            e.vary = x.boolean();
        } else if (key == "soil") {
            readSoil(x, kp, p.soil);
        } else if (key == "defects") {
            readDefects(x, kp, p.defects);
        } else if (key == "hammerMs") {
            p.hammerMs = numberIn(x, kp, 0.1, 10);
        } else if (key == "hammerForce") {
            p.hammerForce = numberIn(x, kp, 1, 1e6);
        } else if (key == "sensor") {
            if (x.isString()) {
                if (x.string() == "acceleration")
                    p.sensorType = 0;
                else if (x.string() == "velocity")
                    p.sensorType = 1;
                else
                    fail(kp, "expected \"acceleration\", \"velocity\", 0 or 1");
            } else {
                p.sensorType = integerIn(x, kp, 0, 1);
            }
        } else if (key == "dt") {
            p.sampleInterval = numberIn(x, kp, 1, 1000);
        } else if (key == "samples") {
            p.samples = integerIn(x, kp, 16, 8192);
        } else if (key == "preTrigger") {
            p.preTrigger = integerIn(x, kp, 0, 4095);
        } else if (key == "gain") {
            p.gain = integerIn(x, kp, 0, 10000);
        } else if (key == "noise") {
            p.noise = numberIn(x, kp, 0, 1);
        }
    }
}

// ---- random projects --------------------------------------------------------------

struct PileKind {
    int typeIndex;
    int weight;
    std::vector<int> diameters;
    std::vector<int> walls;  // parallel to diameters for pipe piles
    double lengthLo, lengthHi, speedLo, speedHi;
};

const std::vector<PileKind>& pileKinds() {
    static const std::vector<PileKind> kinds = {
        {1, 30, {600, 700, 800, 900, 1000, 1200, 1500}, {}, 12, 45, 3500, 4200},
        {0, 15, {377, 426, 480, 500}, {}, 8, 20, 3400, 4000},
        {2, 8, {900, 1000, 1200, 1400, 1500}, {}, 6, 18, 3600, 4200},
        {3, 5, {800, 1000, 1200}, {}, 8, 20, 3600, 4200},
        {5, 8, {300, 350, 400, 450, 500}, {}, 8, 24, 3800, 4400},
        {6, 20, {300, 400, 500, 600}, {70, 95, 125, 130}, 8, 30, 4000, 4500},
        {9, 12, {400, 500, 600}, {}, 8, 20, 3000, 3800},
        {4, 2, {377, 426}, {}, 6, 12, 3400, 3900},
    };
    return kinds;
}

double roundTo(double v, double step) {
    return std::round(v / step) * step;
}

std::string pileNumber(int pattern, int i) {
    char buf[32];
    switch (pattern) {
        case 0:
            std::snprintf(buf, sizeof buf, "%d-%d", i / 36 + 1, i % 36 + 1);
            break;
        case 1:
            std::snprintf(buf, sizeof buf, "%c%d", 'A' + (i / 50) % 26,
                          (i / 1300) * 50 + i % 50 + 1);
            break;
        case 2:
            std::snprintf(buf, sizeof buf, "ZH%d", i + 1);
            break;
        default:
            std::snprintf(buf, sizeof buf, "%d#", i + 1);
            break;
    }
    return buf;
}

DefectSpec randomDefect(SimRandom& rng, DefectKind kind, double length) {
    DefectSpec d;
    d.kind = kind;
    d.length = roundTo(defaultDefectLength(kind) * rng.uniform(0.7, 1.3),
                       kind == DefectKind::Crack ? 0.01 : 0.1);
    d.length = std::max(d.length, 0.01);
    d.depth = roundTo(rng.uniform(0.15, 0.7) * length, 0.1);
    switch (kind) {
        case DefectKind::Necking:
            d.severity = rng.uniform(0.15, 0.45);
            break;
        case DefectKind::Bulging:
            d.severity = rng.uniform(0.15, 0.5);
            break;
        case DefectKind::Crack:
            d.severity = rng.uniform(0.6, 0.95);
            break;
        case DefectKind::Break:
            d.severity = rng.uniform(0.9, 0.99);
            break;
        case DefectKind::SoilInclusion:
            d.severity = rng.uniform(0.25, 0.6);
            break;
        case DefectKind::Segregation:
            d.severity = rng.uniform(0.15, 0.35);
            break;
        case DefectKind::EnlargedBase:
            d.severity = rng.uniform(0.4, 0.8);
            break;
        default:
            break;
    }
    d.severity = roundTo(d.severity, 0.01);
    return d;
}

std::uint64_t mix(std::uint64_t a, std::uint64_t b) {
    SimRandom r(a ^ (b * 0xD1B54A32D192ED03ull));
    return r.next();
}

}  // namespace

bool parseDateTime(std::string_view s, std::int64_t& secs) {
    int hh, mm, ss;
    std::int64_t days;
    if (s.size() != 19 || s[10] != ' ' || s[13] != ':' || s[16] != ':') return false;
    if (!parseDate(s.substr(0, 10), days)) return false;
    if (!digits(s, 11, 2, hh) || !digits(s, 14, 2, mm) || !digits(s, 17, 2, ss)) return false;
    if (hh > 23 || mm > 59 || ss > 59) return false;
    secs = days * 86400 + hh * 3600 + mm * 60 + ss;
    return true;
}

std::string formatDateTime(std::int64_t secs) {
    std::int64_t days = floorDiv(secs, 86400);
    std::int64_t rest = secs - days * 86400;
    char buf[32];
    std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return formatDate(days) + buf;
}

double autoSampleInterval(double length, double waveSpeed, int samples, int preTrigger) {
    static const double kChoices[] = {10, 20, 25, 40, 50, 80, 100, 200};
    double echoUs = 2.0 * length / waveSpeed * 1e6;
    for (double dt : kChoices)
        if (preTrigger + echoUs / dt <= 0.6 * samples) return dt;
    return kChoices[std::size(kChoices) - 1];
}

bool parseProjectSpec(std::string_view jsonText, ProjectSpec& spec, std::string& error) {
    spec = ProjectSpec{};
    json::Value root;
    if (!json::parse(jsonText, root, error, json::Limits{4u << 20, 32, 200000, 4096})) {
        error = "JSON " + error;
        return false;
    }
    try {
        requireObject(root, "(top)");
        checkKeys(root, "(top)",
                  {"testingUnit", "projectName", "seed", "startDateTime", "defaults", "piles"});
        if (const json::Value* v = root.find("testingUnit"))
            spec.testingUnit = text(*v, "testingUnit", 49);
        if (const json::Value* v = root.find("projectName"))
            spec.projectName = text(*v, "projectName", 49);
        if (const json::Value* v = root.find("seed")) {
            double d = numberIn(*v, "seed", 0, 9007199254740992.0);
            if (d != std::floor(d)) fail("seed", "expected a whole number");
            spec.seed = static_cast<std::uint64_t>(d);
        }
        if (const json::Value* v = root.find("startDateTime")) {
            spec.startDateTime = text(*v, "startDateTime", 19);
            std::int64_t s;
            if (!parseDateTime(spec.startDateTime, s))
                fail("startDateTime", "expected \"YYYY-MM-DD hh:mm:ss\"");
        }
        SimPileEntry defaults;
        defaults.pile.sampleInterval = 0.0;  // 0: chosen per pile from its length
        if (const json::Value* v = root.find("defaults")) readPile(*v, "defaults", defaults, true);
        const json::Value* piles = root.find("piles");
        if (!piles) fail("(top)", "missing \"piles\"");
        if (!piles->isArray()) fail("piles", "expected an array");
        if (piles->items().empty()) fail("piles", "no piles");
        if (piles->items().size() > static_cast<std::size_t>(kMaxPoints))
            fail("piles", "more than 9998 piles");
        int total = 0;
        for (std::size_t i = 0; i < piles->items().size(); ++i) {
            std::string p = "piles[" + std::to_string(i) + "]";
            SimPileEntry e = defaults;
            readPile(piles->items()[i], p, e, false);
            if (e.pileNo.empty()) fail(p, "missing \"pileNo\"");
            if (e.pile.sampleInterval <= 0.0)
                e.pile.sampleInterval = autoSampleInterval(e.pile.length, e.pile.waveSpeed,
                                                           e.pile.samples, e.pile.preTrigger);
            if (!spec.piles.empty() && spec.piles.back().pileNo == e.pileNo)
                fail(
                    p + ".pileNo",
                    "\"" + e.pileNo + "\" repeats the previous pile (give it more points instead)");
            std::string why = validatePileSpec(e.pile);
            if (!why.empty()) fail(p, why);
            total += e.points;
            if (total > kMaxPoints) fail(p, "the project holds more than 9998 points");
            spec.piles.push_back(std::move(e));
        }
    } catch (const SpecError& e) {
        error = e.message;
        spec = ProjectSpec{};
        return false;
    }
    error.clear();
    return true;
}

ProjectSpec randomProjectSpec(int piles, int pointsPerPile, std::uint64_t seed) {
    ProjectSpec spec;
    spec.seed = seed;
    SimRandom rng(mix(seed, 0x5EED));
    static const char* kUnits[] = {"示例建设工程质量检测有限公司", "示例市建筑科学研究院检测中心",
                                   "示例岩土工程检测站"};
    static const char* kProjects[] = {"示例花园%d#楼桩基工程", "示例大道%d标段桥梁桩基",
                                      "示例产业园%d#厂房桩基", "示例学校%d#教学楼桩基"};
    spec.testingUnit = kUnits[rng.integer(0, 2)];
    char name[96];
    std::snprintf(name, sizeof name, kProjects[rng.integer(0, 3)], rng.integer(1, 12));
    spec.projectName = name;
    int day = rng.integer(0, 40);
    spec.startDateTime = formatDateTime((daysFromCivil(2026, 10, 1) + day) * 86400 + 8 * 3600 +
                                        rng.integer(0, 3) * 900);

    const int pattern = rng.integer(0, 3);
    const int sensor = rng.uniform() < 0.65 ? 0 : 1;
    static const int kTriggers[] = {50, 80, 100, 120, 150};
    const int trigger = kTriggers[rng.integer(0, 4)];
    int totalWeight = 0;
    for (const PileKind& k : pileKinds()) totalWeight += k.weight;
    // Most sites use one or two kinds of pile.
    const PileKind* siteKinds[2];
    for (auto& sk : siteKinds) {
        int w = rng.integer(0, totalWeight - 1);
        for (const PileKind& k : pileKinds()) {
            if (w < k.weight) {
                sk = &k;
                break;
            }
            w -= k.weight;
        }
    }

    piles = std::clamp(piles, 1, kMaxPoints);
    int total = 0;
    for (int i = 0; i < piles && total < kMaxPoints; ++i) {
        SimPileEntry e;
        const PileKind& kind = *siteKinds[rng.uniform() < 0.8 ? 0 : 1];
        e.pileNo = pileNumber(pattern, i);
        e.pileTypeIndex = kind.typeIndex;
        e.triggerLevel = trigger;
        e.points =
            pointsPerPile > 0 ? std::min(pointsPerPile, kMaxPointsPerPile) : rng.integer(1, 3);
        e.points = std::min(e.points, kMaxPoints - total);
        total += e.points;
        PileSpec& p = e.pile;
        int di = rng.integer(0, static_cast<int>(kind.diameters.size()) - 1);
        p.diameter = kind.diameters[di];
        p.wallThickness = kind.walls.empty() ? 0.0 : kind.walls[di];
        p.length = roundTo(rng.uniform(kind.lengthLo, kind.lengthHi), 0.1);
        p.waveSpeed = roundTo(rng.uniform(kind.speedLo, kind.speedHi), 10.0);
        static const char* kShaft[] = {"soft", "medium", "stiff"};
        static const char* kToe[] = {"soft", "medium", "dense", "rock"};
        const SoilPreset* shaft = presetOf(kShaft[rng.integer(0, 2)]);
        const SoilPreset* toe = presetOf(kToe[rng.integer(0, 3)]);
        p.soil.shaftVs = shaft->vs;
        p.soil.shaftDensity = shaft->density;
        p.soil.freeLength = roundTo(rng.uniform(0.0, 0.5), 0.1);
        p.soil.toe = ToeCondition::Soil;
        p.soil.toeVs = toe->vs;
        p.soil.toeDensity = toe->density;
        p.soil.toePoisson = toe->vs > 1000 ? 0.25 : 0.3;
        if (kind.typeIndex == 3) {
            p.defects.push_back(randomDefect(rng, DefectKind::EnlargedBase, p.length));
        } else if (rng.uniform() < 0.35) {
            auto k = static_cast<DefectKind>(rng.integer(1, 6));
            p.defects.push_back(randomDefect(rng, k, p.length));
        }
        p.hammerMs = roundTo(rng.uniform(0.6, 1.4), 0.05);
        p.hammerForce = roundTo(rng.uniform(2000.0, 8000.0), 100.0);
        p.sensorType = sensor;
        p.samples = 1024;
        p.preTrigger = 32;
        p.noise = roundTo(rng.uniform(0.003, 0.012), 0.001);
        p.sampleInterval = autoSampleInterval(p.length, p.waveSpeed, p.samples, p.preTrigger);
        spec.piles.push_back(std::move(e));
    }
    return spec;
}

namespace {

// One point to simulate, planned serially so that the result never depends on the
// number of threads.
struct PlannedPoint {
    std::size_t pile = 0;
    PileSpec pileSpec;
    std::uint64_t seed = 0;
    std::int64_t when = 0;      // test time, s
    std::int64_t castDays = 0;  // casting date, days
};

// Runs body(i) for i in [0, count) on up to `threads` threads, each index once.
void forEachIndex(std::size_t count, const std::function<void(std::size_t)>& body) {
    unsigned threads = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    if (threads == 1 || count < 8) {
        for (std::size_t i = 0; i < count; ++i) body(i);
        return;
    }
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < count;) body(i);
    };
    std::vector<std::thread> pool;
    try {
        for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
    } catch (const std::system_error&) {
        // Fewer helpers than hoped: the calling thread does the rest.
    }
    worker();
    for (std::thread& t : pool) t.join();
}

}  // namespace

bool buildProject(const ProjectSpec& spec, CSondaraDoc& doc, std::vector<SimPointTruth>* truth,
                  std::string& error) {
    doc.clear();
    if (truth) truth->clear();
    error.clear();
    int total = 0;
    for (const SimPileEntry& e : spec.piles) total += e.points;
    if (spec.piles.empty() || total < 1) {
        error = "the project has no points";
        return false;
    }
    if (total > kMaxPoints) {
        error = "the project holds " + std::to_string(total) + " points, more than 9998";
        return false;
    }
    std::int64_t clock = 0;
    if (!parseDateTime(spec.startDateTime, clock)) {
        error = "start time \"" + spec.startDateTime + "\" is not \"YYYY-MM-DD hh:mm:ss\"";
        return false;
    }
    auto where = [&](std::size_t pi) {
        return "pile " + std::to_string(pi + 1) + " (" + spec.piles[pi].pileNo + ")";
    };

    // ---- plan: times, blow variations and seeds, in list order -------------------
    SimRandom timeRng(mix(spec.seed, 0x71AE));
    std::vector<PlannedPoint> plan;
    plan.reserve(static_cast<std::size_t>(total));
    for (std::size_t pi = 0; pi < spec.piles.size(); ++pi) {
        const SimPileEntry& e = spec.piles[pi];
        if (e.points < 1 || e.points > kMaxPointsPerPile) {
            error = where(pi) + ": " + std::to_string(e.points) + " points is outside 1.." +
                    std::to_string(kMaxPointsPerPile);
            return false;
        }
        // Time of the first point: given, or a few minutes after the previous pile
        // within working hours.
        if (!e.testDateTime.empty()) {
            if (!parseDateTime(e.testDateTime, clock)) {
                error = where(pi) + ": test time \"" + e.testDateTime +
                        "\" is not \"YYYY-MM-DD hh:mm:ss\"";
                return false;
            }
        } else if (pi > 0) {
            clock += timeRng.integer(180, 720);
            std::int64_t secOfDay = clock - floorDiv(clock, 86400) * 86400;
            if (secOfDay > 17 * 3600 + 1800)
                clock = (floorDiv(clock, 86400) + 1) * 86400 + 8 * 3600 + timeRng.integer(0, 1800);
        }
        std::int64_t castDays = 0;
        if (!e.castingDate.empty()) {
            if (!parseDate(e.castingDate, castDays)) {
                error =
                    where(pi) + ": casting date \"" + e.castingDate + "\" is not \"YYYY-MM-DD\"";
                return false;
            }
        } else {
            castDays = floorDiv(clock, 86400) - timeRng.integer(28, 45);
        }
        for (int k = 0; k < e.points; ++k) {
            PlannedPoint pp;
            pp.pile = pi;
            pp.pileSpec = e.pile;
            SimRandom rng(mix(spec.seed, plan.size() + 1));
            if (e.vary) {
                pp.pileSpec.hammerMs =
                    std::clamp(pp.pileSpec.hammerMs * rng.uniform(0.92, 1.08), 0.1, 10.0);
                pp.pileSpec.hammerForce =
                    std::clamp(pp.pileSpec.hammerForce * rng.uniform(0.8, 1.2), 1.0, 1e6);
            }
            pp.seed = rng.next();
            if (k > 0) clock += timeRng.integer(40, 150);
            pp.when = clock;
            pp.castDays = castDays;
            plan.push_back(std::move(pp));
        }
    }

    // ---- simulate: independent points, on every core ------------------------------
    std::vector<SimulatedTrace> traces(plan.size());
    forEachIndex(plan.size(),
                 [&](std::size_t i) { traces[i] = simulatePile(plan[i].pileSpec, plan[i].seed); });

    // ---- assemble the points ----------------------------------------------------
    std::vector<TestPoint> points;
    points.reserve(plan.size());
    std::vector<SimPointTruth> truths;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const PlannedPoint& pp = plan[i];
        const SimPileEntry& e = spec.piles[pp.pile];
        const PileSpec& ps = pp.pileSpec;
        SimulatedTrace& tr = traces[i];
        if (!tr.ok()) {
            error = where(pp.pile) + ": " + tr.error;
            return false;
        }
        const int nominalToe =
            tr.truth.headIndex +
            static_cast<int>(std::trunc(2.0 * ps.length / ps.waveSpeed * 1e6 / ps.sampleInterval));
        if (std::max(nominalToe, tr.truth.toeIndex) >= ps.samples) {
            error = where(pp.pile) + ": the toe echo (sample " +
                    std::to_string(std::max(nominalToe, tr.truth.toeIndex)) + ") lies beyond the " +
                    std::to_string(ps.samples) +
                    " recorded samples; use a longer sample interval or more samples";
            return false;
        }

        TestPoint p;
        setText(p.pileNo, utf8ToGbk(e.pileNo));
        p.pileTypeIndex = static_cast<std::int16_t>(e.pileTypeIndex);
        setText(p.pileTypeText, e.pileTypeIndex >= 0 && e.pileTypeIndex < PileTypeNames().count()
                                    ? PileTypeNames().gbk[e.pileTypeIndex]
                                    : utf8ToGbk(e.pileTypeText));
        p.pileDiameter = static_cast<std::int16_t>(std::lround(ps.diameter));
        setText(p.testDateTime, formatDateTime(pp.when));
        p.sensorType = static_cast<std::int16_t>(ps.sensorType);
        p.gain = static_cast<std::int16_t>(std::min(tr.truth.gain, 32767));
        p.triggerLevel = static_cast<std::int16_t>(e.triggerLevel);
        p.pileLength = static_cast<float>(ps.length);
        p.waveSpeed = static_cast<std::int16_t>(std::lround(ps.waveSpeed));
        p.sampleInterval = static_cast<float>(ps.sampleInterval);
        p.recordedLength = static_cast<std::int16_t>(ps.samples);
        p.headIndex = static_cast<std::int16_t>(tr.truth.headIndex);
        // What the instrument computes from the entered length and speed.
        p.toeIndex = static_cast<std::int16_t>(nominalToe);
        p.integrityClass = 0;
        setText(p.castingDate, formatDate(pp.castDays));
        setText(p.remark, utf8ToGbk(e.remark));
        p.rawSamples = tr.samples;
        p.samples = std::move(tr.samples);
        p.checked = 1;
        points.push_back(std::move(p));

        SimPointTruth t;
        t.index = static_cast<int>(i);
        t.pileNo = e.pileNo;
        t.sensorType = ps.sensorType;
        t.sampleInterval = ps.sampleInterval;
        t.pileLength = ps.length;
        t.waveSpeed = ps.waveSpeed;
        t.truth = std::move(tr.truth);
        truths.push_back(std::move(t));
    }

    setVersionTag(doc.info, "QAR16");
    doc.info.pointCount = total;
    setText(doc.info.testingUnit, utf8ToGbk(spec.testingUnit));
    setText(doc.info.projectName, utf8ToGbk(spec.projectName));
    doc.points = std::move(points);
    doc.loaded = 1;
    doc.recomputeDisplayRanges();
    doc.originalInfo = doc.info;
    doc.originalPoints.resize(doc.points.size());
    for (std::size_t i = 0; i < doc.points.size(); ++i)
        copyPoint(doc.points[i], doc.originalPoints[i]);
    doc.rebuildCheckedList();
    doc.selectPoint(0);
    if (truth) *truth = std::move(truths);
    return true;
}

std::string truthToJson(const std::vector<SimPointTruth>& truth) {
    std::string s = "{\n  \"points\": [";
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const SimPointTruth& t = truth[i];
        const SimTruth& r = t.truth;
        s += i ? ",\n    {" : "\n    {";
        s += "\"index\": " + std::to_string(t.index);
        s += ", \"pileNo\": " + json::quote(t.pileNo);
        s += ", \"sensorType\": " + std::to_string(t.sensorType);
        s += ", \"sampleInterval\": " + json::number(t.sampleInterval);
        s += ", \"pileLength\": " + json::number(t.pileLength);
        s += ", \"waveSpeed\": " + json::number(t.waveSpeed);
        s += ", \"headIndex\": " + std::to_string(r.headIndex);
        s += ", \"headPeakIndex\": " + std::to_string(r.headPeakIndex);
        s += ", \"toeIndex\": " + std::to_string(r.toeIndex);
        s += ", \"travelTime\": " + json::number(std::round(r.travelTime * 1e9) / 1e9);
        s += ", \"gain\": " + std::to_string(r.gain);
        s += ", \"peakMv\": " + json::number(std::round(r.peakMv * 1000.0) / 1000.0);
        s += ", \"defects\": [";
        for (std::size_t k = 0; k < r.defects.size(); ++k) {
            const SimDefectTruth& d = r.defects[k];
            int code = static_cast<int>(d.kind);
            s += k ? ", {" : "{";
            s += "\"kind\": " + std::to_string(code);
            s += ", \"name\": " + json::quote(code >= 0 && code < DefectNames().count()
                                                  ? DefectNames().utf8[code]
                                                  : "");
            s += ", \"key\": " + json::quote(defectKey(d.kind));
            s += ", \"depth\": " + json::number(d.depth);
            s += ", \"length\": " + json::number(d.length);
            s += ", \"severity\": " + json::number(d.severity);
            s += ", \"index\": " + std::to_string(d.index);
            s += "}";
        }
        s += "]}";
    }
    s += truth.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return s;
}

}  // namespace sondara
