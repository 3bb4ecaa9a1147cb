#include "core/analysis/PileMarks.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/base/FixedText.h"
#include "core/base/Prompter.h"
#include "core/base/TextCodec.h"
#include "core/model/NameLists.h"
#include "core/processing/Positions.h"

namespace sondara {

namespace {

constexpr int kInt16Max = std::numeric_limits<std::int16_t>::max();
constexpr std::size_t kMarkTextBytes = 49;
constexpr int kMinDefectSpacing = 3;  // samples
constexpr int kMinMarkerSpacing = 2;  // positions
constexpr int kClampGap = 3;          // head and toe pushed apart by this many samples

TestPoint* pointAt(CSondaraDoc& doc, int point) {
    return doc.validPoint(point) ? &doc.points[point] : nullptr;
}

bool onTrace(const TestPoint& p, long long index) {
    return index >= 0 && index < p.sampleCount();
}

void show(bool interactive, Prompter& prompter, const char* text) {
    if (interactive) prompter.info(text);
}

// Asks (interactive only) whether defects outside the pile are to go, and removes
// them from the last to the first. Non-interactive calls keep them.
template <class Outside>
void offerOutOfRangeDeletion(TestPoint& p, bool interactive, Prompter& prompter, Outside outside) {
    bool any = std::any_of(p.defects.begin(), p.defects.end(), outside);
    if (!any || !interactive) return;
    if (!prompter.askYesNo(kAskDeleteOutOfRange)) return;
    for (int j = p.defectCount() - 1; j >= 0; --j)
        if (outside(p.defects[j])) p.defects.erase(p.defects.begin() + j);
}

std::string cutText(std::string_view s) {
    return std::string(s.substr(0, gbkSafeCut(s, kMarkTextBytes)));
}

// The wavelet lists are parallel; a pair exists only where both have an entry.
int waveletPairs(const TestPoint& p) {
    return static_cast<int>(std::min(p.waveletMarkPanes.size(), p.waveletMarkPositions.size()));
}

std::vector<std::int32_t>* markerList(TestPoint& p, MarkerDomain d) {
    switch (d) {
        case MarkerDomain::Correlation:
            return &p.correlationMarks;
        case MarkerDomain::Spectrum:
            return &p.spectrumMarks;
        case MarkerDomain::Wavelet:
            break;
    }
    return nullptr;
}

bool storeSpeed(TestPoint& p, double v) {
    if (!std::isfinite(v) || v < std::numeric_limits<std::int16_t>::min() || v > kInt16Max)
        return false;
    p.waveSpeed = static_cast<std::int16_t>(v);
    return true;
}

bool storeLength(TestPoint& p, double l) {
    if (!std::isfinite(l) || std::fabs(l) > FLT_MAX) return false;
    p.pileLength = static_cast<float>(l);
    return true;
}

}  // namespace

// ---- follow mode --------------------------------------------------------------------

void LengthFollowState::applySettings(LengthFollowMode setting) {
    setting_ = setting;
    if (setting == LengthFollowMode::KeepLength || setting == LengthFollowMode::KeepSpeed)
        effective_ = setting;
}

void LengthFollowState::speedEdited() {
    if (setting_ == LengthFollowMode::AutoAdjust) effective_ = LengthFollowMode::KeepSpeed;
}

void LengthFollowState::lengthEdited() {
    if (setting_ == LengthFollowMode::AutoAdjust) effective_ = LengthFollowMode::KeepLength;
}

// ---- head and toe -------------------------------------------------------------------

bool RecomputeLengthOrSpeed(TestPoint& p, LengthFollowMode mode) {
    // One-way travel time between head and toe, in seconds.
    double x = static_cast<double>(p.toeIndex - p.headIndex) * p.sampleInterval * 1e-6 * 0.5;
    if (!(x > 0.0) || !std::isfinite(x)) return false;
    if (mode == LengthFollowMode::KeepSpeed) return storeLength(p, x * p.waveSpeed);
    return storeSpeed(p, std::trunc(p.pileLength / x));
}

static int SetPileHeadUnannounced(CSondaraDoc& doc, int point, int index, LengthFollowMode mode,
                                  bool interactive, Prompter& prompter) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp) return 0;
    TestPoint& p = *pp;
    if (!onTrace(p, index) || index > kInt16Max) {
        show(interactive, prompter, kMsgBadMarkPosition);
        return 0;
    }
    int head = index;
    if (index >= p.toeIndex) {
        if (p.toeSetFlag == 1) {
            show(interactive, prompter, kMsgHeadBeforeToe);
            return 0;
        }
        // The toe was never placed: it moves along behind the head. The toe must
        // stay on the trace, so the head keeps room for it.
        int n = std::min<int>(p.recordedLength, p.sampleCount());
        head = std::min(index, n - 1 - kClampGap);
        if (head < 0) {
            show(interactive, prompter, kMsgBadMarkPosition);
            return 0;
        }
        p.toeIndex = static_cast<std::int16_t>(head + kClampGap);
    }
    p.headIndex = static_cast<std::int16_t>(head);
    p.headSetFlag = 1;

    offerOutOfRangeDeletion(p, interactive, prompter,
                            [head](const PileMark& m) { return m.position <= head; });

    if (onTrace(p, p.toeIndex)) RecomputeLengthOrSpeed(p, mode);
    return 1;
}

static int SetPileToeUnannounced(CSondaraDoc& doc, int point, int index, LengthFollowMode mode,
                                 bool interactive, Prompter& prompter) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp) return 0;
    TestPoint& p = *pp;
    if (!onTrace(p, index) || index > kInt16Max) {
        show(interactive, prompter, kMsgBadMarkPosition);
        return 0;
    }
    int toe = index;
    if (index <= p.headIndex) {
        if (p.headSetFlag == 1) {
            show(interactive, prompter, kMsgToeAfterHead);
            return 0;
        }
        // The head was never placed: it moves along in front of the toe.
        toe = std::max(index, kClampGap);
        if (!onTrace(p, toe)) {
            show(interactive, prompter, kMsgBadMarkPosition);
            return 0;
        }
        p.headIndex = static_cast<std::int16_t>(toe - kClampGap);
    }
    p.toeIndex = static_cast<std::int16_t>(toe);
    p.toeSetFlag = 1;

    // An enlarged base (扩底) lies on the toe itself and stays inside the pile.
    offerOutOfRangeDeletion(p, interactive, prompter, [toe](const PileMark& m) {
        if (m.kind == static_cast<std::int32_t>(DefectKind::EnlargedBase) && m.position == toe)
            return false;
        return m.position >= toe;
    });

    if (onTrace(p, p.headIndex)) RecomputeLengthOrSpeed(p, mode);
    return 1;
}

// ---- defects ------------------------------------------------------------------------

static int AddDefectUnannounced(CSondaraDoc& doc, int point, int position, int kind,
                                std::string_view ownNameGbk, std::string_view remarkGbk,
                                Prompter& prompter) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp) return 0;
    TestPoint& p = *pp;
    if (!onTrace(p, position)) {
        prompter.info(kMsgDefectDataError);
        return 0;
    }
    if (!(p.headIndex < position && position < p.toeIndex)) {
        prompter.info(kMsgDefectOutsidePile);
        return 0;
    }
    for (const PileMark& m : p.defects) {
        if (std::llabs(static_cast<long long>(position) - m.position) < kMinDefectSpacing) {
            prompter.info(kMsgDefectsTooClose);
            return 0;
        }
    }
    PileMark m;
    m.position = position;
    m.kind = kind;
    m.depth = static_cast<float>(DepthOfSample(p, position, false));
    const NameList& names = DefectNames();
    if (kind >= 0 && kind < names.count())
        setText(m.name, names.gbk[kind]);
    else if (!ownNameGbk.empty())  // a default string_view has no data to copy from
        setText(m.name, ownNameGbk);
    if (!remarkGbk.empty()) setText(m.remark, remarkGbk);
    p.defects.push_back(m);
    return 1;
}

static int ReplaceDefectUnannounced(CSondaraDoc& doc, int point, int j, const PileMark& mark) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp) return 0;
    TestPoint& p = *pp;
    if (j < 0 || j >= p.defectCount() || !onTrace(p, mark.position)) return 0;
    for (int k = 0; k < p.defectCount(); ++k)
        if (k != j && p.defects[k].position == mark.position) return 0;
    p.defects[j] = mark;
    return 1;
}

int MoveDefect(CSondaraDoc& doc, int point, int j, int position) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp || j < 0 || j >= pp->defectCount()) return 0;
    PileMark m = pp->defects[j];
    m.position = position;
    m.depth = static_cast<float>(DepthOfSample(*pp, position, false));
    return ReplaceDefect(doc, point, j, m);
}

static int DeleteDefectUnannounced(CSondaraDoc& doc, int point, int j) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp || j < 0 || j >= pp->defectCount()) return 0;
    pp->defects.erase(pp->defects.begin() + j);
    return 1;
}

int DefectKindOfName(std::string_view nameGbk) {
    const NameList& names = DefectNames();
    for (int i = 0; i < names.count(); ++i)
        if (names.gbk[i] == nameGbk) return i;
    return static_cast<int>(DefectKind::OwnName);
}

DefectEntry MakeDefectEntry(std::string_view nameUtf8, std::string_view remarkUtf8) {
    DefectEntry e;
    e.nameGbk = cutText(utf8ToGbk(trimBlanks(nameUtf8)));
    e.remarkGbk = cutText(utf8ToGbk(trimBlanks(remarkUtf8)));
    e.kind = DefectKindOfName(e.nameGbk);
    return e;
}

static int AddCustomDefectUnannounced(CSondaraDoc& doc, const std::vector<int>& points,
                                      int position, std::string_view nameUtf8,
                                      std::string_view remarkUtf8, Prompter& prompter) {
    DefectEntry e = MakeDefectEntry(nameUtf8, remarkUtf8);
    if (e.nameGbk.empty()) return 0;
    int added = 0;
    for (int pt : points)
        added += AddDefect(doc, pt, position, e.kind, e.nameGbk, e.remarkGbk, prompter);
    return added;
}

int EditDefect(CSondaraDoc& doc, int point, int j, std::string_view nameUtf8,
               std::string_view remarkUtf8) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp || j < 0 || j >= pp->defectCount()) return 0;
    DefectEntry e = MakeDefectEntry(nameUtf8, remarkUtf8);
    PileMark m = pp->defects[j];
    m.kind = e.kind;
    setText(m.name, e.nameGbk);
    setText(m.remark, e.remarkGbk);
    m.depth = static_cast<float>(DepthOfSample(*pp, m.position, false));
    return ReplaceDefect(doc, point, j, m);
}

// ---- marker lines -------------------------------------------------------------------

static int AddMarkerLineUnannounced(CSondaraDoc& doc, const std::vector<int>& points,
                                    MarkerDomain domain, int position) {
    int added = 0;
    if (domain == MarkerDomain::Wavelet) {
        if (points.empty()) return 0;
        TestPoint* pp = pointAt(doc, points.front());
        if (!pp) return 0;
        TestPoint& p = *pp;
        int n = waveletPairs(p);
        p.waveletMarkPanes.resize(n);
        p.waveletMarkPositions.resize(n);
        for (std::size_t i = 1; i < points.size(); ++i) {
            int pane = points[i];
            if (pane < 0) continue;
            bool exists = false;
            for (int k = 0; k < waveletPairs(p) && !exists; ++k)
                exists = p.waveletMarkPanes[k] == pane && p.waveletMarkPositions[k] == position;
            if (exists) continue;
            p.waveletMarkPanes.push_back(pane);
            p.waveletMarkPositions.push_back(position);
            ++added;
        }
        return added ? 1 : 0;
    }
    for (int pt : points) {
        TestPoint* pp = pointAt(doc, pt);
        std::vector<std::int32_t>* list = pp ? markerList(*pp, domain) : nullptr;
        if (!list) continue;
        bool near = std::any_of(list->begin(), list->end(), [position](std::int32_t e) {
            return std::llabs(static_cast<long long>(e) - position) <= kMinMarkerSpacing;
        });
        if (near) continue;
        list->push_back(position);
        ++added;
    }
    return added ? 1 : 0;
}

static int MoveMarkerLineUnannounced(CSondaraDoc& doc, int point, int j, MarkerDomain domain,
                                     int position) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp) return 0;
    TestPoint& p = *pp;
    if (domain == MarkerDomain::Wavelet) {
        int n = waveletPairs(p);
        if (j < 0 || j >= n) return 0;
        for (int k = 0; k < n; ++k)
            if (k != j && p.waveletMarkPanes[k] == p.waveletMarkPanes[j] &&
                p.waveletMarkPositions[k] == position)
                return 0;
        p.waveletMarkPositions[j] = position;
        return 1;
    }
    std::vector<std::int32_t>* list = markerList(p, domain);
    if (!list || j < 0 || j >= static_cast<int>(list->size()) || !onTrace(p, position)) return 0;
    for (int k = 0; k < static_cast<int>(list->size()); ++k)
        if (k != j && (*list)[k] == position) return 0;
    (*list)[j] = position;
    return 1;
}

static int DeleteMarkerLineUnannounced(CSondaraDoc& doc, int point, int j, MarkerDomain domain) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp) return 0;
    TestPoint& p = *pp;
    if (domain == MarkerDomain::Wavelet) {
        if (j < 0 || j >= waveletPairs(p)) return 0;
        p.waveletMarkPanes.erase(p.waveletMarkPanes.begin() + j);
        p.waveletMarkPositions.erase(p.waveletMarkPositions.begin() + j);
        return 1;
    }
    std::vector<std::int32_t>* list = markerList(p, domain);
    if (!list || j < 0 || j >= static_cast<int>(list->size())) return 0;
    list->erase(list->begin() + j);
    return 1;
}

// ---- clearing -----------------------------------------------------------------------

int MarksShown(const CSondaraDoc& doc, const MarkPane& pane) {
    if (!doc.validPoint(pane.point)) return 0;
    const TestPoint& p = doc.points[pane.point];
    switch (pane.set) {
        case MarkSet::Defects:
            return p.defectCount();
        case MarkSet::Correlation:
            return static_cast<int>(p.correlationMarks.size());
        case MarkSet::Spectrum:
            return static_cast<int>(p.spectrumMarks.size());
        case MarkSet::Wavelet: {
            int n = 0;
            for (int k = 0; k < waveletPairs(p); ++k)
                if (pane.waveletPane < 0 || p.waveletMarkPanes[k] == pane.waveletPane) ++n;
            return n;
        }
        case MarkSet::None:
            break;
    }
    return 0;
}

static int ClearAllMarksUnannounced(CSondaraDoc& doc, const std::vector<MarkPane>& panes,
                                    bool activePaneOnly, Prompter& prompter) {
    if (panes.empty()) return 0;
    std::vector<MarkPane> targets = panes;
    if (activePaneOnly) {
        targets.resize(1);
        if (MarksShown(doc, targets.front()) == 0) return 0;
    }
    if (!prompter.askYesNo(kAskClearAllMarks)) return 0;
    for (const MarkPane& pane : targets) {
        if (!doc.validPoint(pane.point)) continue;
        TestPoint& p = doc.points[pane.point];
        switch (pane.set) {
            case MarkSet::Defects:
                p.defects.clear();
                break;
            case MarkSet::Correlation:
                p.correlationMarks.clear();
                break;
            case MarkSet::Spectrum:
                p.spectrumMarks.clear();
                break;
            case MarkSet::Wavelet: {
                int n = waveletPairs(p);
                p.waveletMarkPanes.resize(n);
                p.waveletMarkPositions.resize(n);
                for (int k = n - 1; k >= 0; --k) {
                    if (pane.waveletPane >= 0 && p.waveletMarkPanes[k] != pane.waveletPane)
                        continue;
                    p.waveletMarkPanes.erase(p.waveletMarkPanes.begin() + k);
                    p.waveletMarkPositions.erase(p.waveletMarkPositions.begin() + k);
                }
                break;
            }
            case MarkSet::None:
                break;
        }
    }
    return 1;
}

// ---- analysis bar edits ---------------------------------------------------------------

namespace {

// The head-to-toe span in samples, or 0 when head and toe (or a sample interval that
// is not a positive number) give no travel time to derive the other quantity from.
double spanSamples(const TestPoint& p) {
    double span = static_cast<double>(p.toeIndex - p.headIndex);
    double dt = p.sampleInterval;
    if (!(span > 0.0) || !(dt > 0.0) || !std::isfinite(dt)) return 0.0;
    return span;
}

std::vector<int> editTargets(const CSondaraDoc& doc, const std::vector<int>& points,
                             bool allPanes) {
    std::vector<int> out;
    for (int pt : points) {
        if (doc.validPoint(pt)) out.push_back(pt);
        if (!allPanes) break;
    }
    return out;
}

}  // namespace

static int EditWaveSpeedUnannounced(CSondaraDoc& doc, const std::vector<int>& points, int speed,
                                    bool allPanes, LengthFollowState& follow) {
    // A speed of 0 would set every length to 0 and lose the stored lengths: it is
    // refused like a speed beyond the stored field.
    if (speed < 1 || speed > kInt16Max) return 0;
    std::vector<int> targets = editTargets(doc, points, allPanes);
    if (targets.empty()) return 0;
    if (!allPanes && doc.points[targets.front()].waveSpeed == speed) return 0;
    for (int pt : targets) {
        TestPoint& p = doc.points[pt];
        p.waveSpeed = static_cast<std::int16_t>(speed);
        double span = spanSamples(p);
        if (span > 0.0) storeLength(p, span * p.sampleInterval * speed * 5e-7);
    }
    follow.speedEdited();
    return 1;
}

static int EditPileLengthUnannounced(CSondaraDoc& doc, const std::vector<int>& points,
                                     double length, bool allPanes, LengthFollowState& follow,
                                     Prompter& prompter) {
    if (!std::isfinite(length) || std::fabs(length) > FLT_MAX) return 0;
    std::vector<int> targets = editTargets(doc, points, allPanes);
    if (targets.empty()) return 0;
    float stored = static_cast<float>(length);
    if (allPanes) {
        if (stored == 0.0f && !prompter.askYesNo(kAskZeroPileLength)) return 0;
    } else if (doc.points[targets.front()].pileLength == stored) {
        return 0;
    }
    for (int pt : targets) {
        TestPoint& p = doc.points[pt];
        p.pileLength = stored;
        double span = spanSamples(p);
        if (span > 0.0) storeSpeed(p, std::trunc(stored * 2e6 / span / p.sampleInterval));
    }
    follow.lengthEdited();
    return 1;
}

// ---- integrity class ------------------------------------------------------------------

static int SetIntegrityClassUnannounced(CSondaraDoc& doc, int point, std::string_view textUtf8) {
    TestPoint* pp = pointAt(doc, point);
    if (!pp) return 0;
    if (!SetClassByName(*pp, textUtf8)) pp->integrityClass = 0;  // an unknown name: 未定级
    return pp->integrityClass;
}

// ---- announcing -------------------------------------------------------------------------
// Every operation above changes the document without telling anybody; the public
// operations below announce what they changed, so that no caller can forget it.

namespace {

std::vector<int> firstOf(const std::vector<int>& points) {
    return points.empty() ? std::vector<int>{} : std::vector<int>{points.front()};
}

// Wavelet marker lines pass the point followed by pane numbers.
std::vector<int> markerPoints(const std::vector<int>& points, MarkerDomain domain) {
    return domain == MarkerDomain::Wavelet ? firstOf(points) : points;
}

std::vector<int> pointsOf(const std::vector<MarkPane>& panes) {
    std::vector<int> pts;
    for (const MarkPane& p : panes) pts.push_back(p.point);
    return pts;
}

// Announces the marks of `points` as changed when the operation's result `r` says so.
int announced(CSondaraDoc& doc, int r, const std::vector<int>& points) {
    if (r) doc.commitChange(DocChange::Marks, points);
    return r;
}

}  // namespace

int SetPileHead(CSondaraDoc& doc, int point, int index, LengthFollowMode mode, bool interactive,
                Prompter& prompter) {
    return announced(doc, SetPileHeadUnannounced(doc, point, index, mode, interactive, prompter),
                     {point});
}

int SetPileToe(CSondaraDoc& doc, int point, int index, LengthFollowMode mode, bool interactive,
               Prompter& prompter) {
    return announced(doc, SetPileToeUnannounced(doc, point, index, mode, interactive, prompter),
                     {point});
}

int AddDefect(CSondaraDoc& doc, int point, int position, int kind, std::string_view ownNameGbk,
              std::string_view remarkGbk, Prompter& prompter) {
    return announced(
        doc, AddDefectUnannounced(doc, point, position, kind, ownNameGbk, remarkGbk, prompter),
        {point});
}

int ReplaceDefect(CSondaraDoc& doc, int point, int j, const PileMark& mark) {
    return announced(doc, ReplaceDefectUnannounced(doc, point, j, mark), {point});
}

int DeleteDefect(CSondaraDoc& doc, int point, int j) {
    return announced(doc, DeleteDefectUnannounced(doc, point, j), {point});
}

int AddCustomDefect(CSondaraDoc& doc, const std::vector<int>& points, int position,
                    std::string_view nameUtf8, std::string_view remarkUtf8, Prompter& prompter) {
    // the points added one by one are announced together
    DocChangeBatch batch(doc);
    return AddCustomDefectUnannounced(doc, points, position, nameUtf8, remarkUtf8, prompter);
}

int AddMarkerLine(CSondaraDoc& doc, const std::vector<int>& points, MarkerDomain domain,
                  int position) {
    return announced(doc, AddMarkerLineUnannounced(doc, points, domain, position),
                     markerPoints(points, domain));
}

int MoveMarkerLine(CSondaraDoc& doc, int point, int j, MarkerDomain domain, int position) {
    return announced(doc, MoveMarkerLineUnannounced(doc, point, j, domain, position), {point});
}

int DeleteMarkerLine(CSondaraDoc& doc, int point, int j, MarkerDomain domain) {
    return announced(doc, DeleteMarkerLineUnannounced(doc, point, j, domain), {point});
}

int ClearAllMarks(CSondaraDoc& doc, const std::vector<MarkPane>& panes, bool activePaneOnly,
                  Prompter& prompter) {
    return announced(doc, ClearAllMarksUnannounced(doc, panes, activePaneOnly, prompter),
                     pointsOf(panes));
}

int EditWaveSpeed(CSondaraDoc& doc, const std::vector<int>& points, int speed, bool allPanes,
                  LengthFollowState& follow) {
    return announced(doc, EditWaveSpeedUnannounced(doc, points, speed, allPanes, follow),
                     allPanes ? points : firstOf(points));
}

int EditPileLength(CSondaraDoc& doc, const std::vector<int>& points, double length, bool allPanes,
                   LengthFollowState& follow, Prompter& prompter) {
    return announced(doc,
                     EditPileLengthUnannounced(doc, points, length, allPanes, follow, prompter),
                     allPanes ? points : firstOf(points));
}

int SetIntegrityClass(CSondaraDoc& doc, int point, std::string_view textUtf8) {
    const int cls = SetIntegrityClassUnannounced(doc, point, textUtf8);
    if (doc.validPoint(point)) doc.commitChange(DocChange::Header, {point});
    return cls;
}

}  // namespace sondara
