#include "core/model/SondaraDoc.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/base/TextCodec.h"
#include "core/model/DefectDepth.h"
#include "core/model/ListEngine.h"
#include "core/model/NameLists.h"

namespace sondara {

CSondaraDoc::CSondaraDoc() {
    clear();
}

void CSondaraDoc::clear() {
    std::vector<TestPoint>().swap(points);
    std::vector<TestPoint>().swap(originalPoints);
    info.clear();
    originalInfo.clear();
    currentPoint = currentPile = -1;
    selectionMode = 0;
    checkedList.clear();
    pileMembers.clear();
    undoStack.clear();
    redoStack.clear();
    undoSteps_.clear();
    redoSteps_.clear();
    open_.reset();
    std::vector<PointState>().swap(shadow_);
    noted_.clear();
    shadowStale_ = true;
    loaded = 0;
}

void CSondaraDoc::selectPoint(int index) {
    if (!validPoint(index)) index = -1;
    currentPoint = index;
    pileMembers.clear();
    if (index < 0) {
        selectionMode = 0;
        currentPile = -1;
        return;
    }
    selectionMode = 1;
    currentPile = pileOrdinal(index);
    pileMembers = pileMembersOf(index);
}

void CSondaraDoc::selectPile(int ordinal) {
    int first = firstPointOfPile(ordinal);
    if (first < 0) {
        selectionMode = 0;
        return;
    }
    selectionMode = 2;
    currentPile = ordinal;
    currentPoint = first;
    pileMembers = pileMembersOf(first);
}

int CSondaraDoc::pileOrdinal(int pointIndex) const {
    if (!validPoint(pointIndex)) return -1;
    int ordinal = 0;
    for (int i = 1; i <= pointIndex; ++i)
        if (!textEquals(points[i].pileNo, points[i - 1].pileNo)) ++ordinal;
    return ordinal;
}

int CSondaraDoc::firstPointOfPile(int ordinal) const {
    if (points.empty() || ordinal < 0) return -1;
    if (ordinal == 0) return 0;
    int o = 0;
    for (int i = 1; i < pointCount(); ++i) {
        if (!textEquals(points[i].pileNo, points[i - 1].pileNo) && ++o == ordinal) return i;
    }
    return -1;
}

std::vector<int> CSondaraDoc::pileMembersOf(int pointIndex) const {
    std::vector<int> m;
    if (!validPoint(pointIndex)) return m;
    int b = pointIndex, e = pointIndex;
    while (b > 0 && textEquals(points[b - 1].pileNo, points[pointIndex].pileNo)) --b;
    while (e + 1 < pointCount() && textEquals(points[e + 1].pileNo, points[pointIndex].pileNo)) ++e;
    for (int i = b; i <= e; ++i) m.push_back(i);
    return m;
}

int CSondaraDoc::pileCount() const {
    return points.empty() ? 0 : pileOrdinal(pointCount() - 1) + 1;
}

void CSondaraDoc::rebuildCheckedList() {
    checkedList.clear();
    for (int i = 0; i < pointCount(); ++i)
        if (points[i].checked != 0) checkedList.push_back(i);
}

void CSondaraDoc::recomputeDisplayRanges() {
    for (TestPoint& p : points) {
        if (p.rawCount() <= 0) continue;
        if (p.samples.empty()) {
            p.lastParams.rangeMax = p.lastParams.rangeMin = 0.0f;
            continue;
        }
        auto [lo, hi] = std::minmax_element(p.samples.begin(), p.samples.end());
        double m = std::max(std::fabs(*hi), std::fabs(*lo));
        p.lastParams.rangeMax = static_cast<float>(m + 0.1 * m);
        p.lastParams.rangeMin = static_cast<float>(-m - 0.1 * m);
    }
}

std::string CSondaraDoc::pileTypeText(int index) const {
    if (!validPoint(index)) return {};
    const TestPoint& p = points[index];
    if (p.pileTypeIndex >= 0 && p.pileTypeIndex < PileTypeNames().count())
        return PileTypeNames().utf8[p.pileTypeIndex];
    return gbkToUtf8(textOf(p.pileTypeText));
}

std::string CSondaraDoc::classText(int index) const {
    if (!validPoint(index)) return {};
    int c = points[index].integrityClass;
    return ClassNames().utf8[c < ClassNames().count() ? c : 0];
}

std::string CSondaraDoc::sensorText(int index) const {
    if (!validPoint(index)) return {};
    int s = points[index].sensorType;
    return SensorNames().utf8[(s >= 0 && s < SensorNames().count()) ? s : 0];
}

std::string_view trimBlanks(std::string_view s) {
    const char* ws = " \t\r\n";
    auto b = s.find_first_not_of(ws);
    if (b == std::string_view::npos) return {};
    auto e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

int SetPileTypeByText(TestPoint& p, std::string_view utf8) {
    std::string gbk = utf8ToGbk(trimBlanks(utf8));
    gbk.resize(gbkSafeCut(gbk, 49));
    const NameList& names = PileTypeNames();
    for (int i = 0; i < names.count(); ++i) {
        if (gbk == names.gbk[i]) {
            p.pileTypeIndex = static_cast<std::int16_t>(i);
            setText(p.pileTypeText, names.gbk[i]);
            return i;
        }
    }
    p.pileTypeIndex = 100;
    setText(p.pileTypeText, gbk);
    return 100;
}

bool SetClassByName(TestPoint& p, std::string_view utf8) {
    std::string_view t = trimBlanks(utf8);
    const NameList& names = ClassNames();
    for (int i = 0; i < names.count(); ++i) {
        if (t == names.utf8[i]) {
            p.integrityClass = static_cast<std::uint8_t>(i);
            return true;
        }
    }
    return false;
}

int CSondaraDoc::setPileType(int index, std::string_view text) {
    return validPoint(index) ? SetPileTypeByText(points[index], text) : 0;
}

int CSondaraDoc::setClassByName(int index, std::string_view text) {
    if (!validPoint(index)) return 0;
    TestPoint& p = points[index];
    return SetClassByName(p, text) ? p.integrityClass : 0;
}

int CSondaraDoc::addObserver(Observer o) {
    observers_.emplace_back(nextObserverId_, std::move(o));
    return nextObserverId_++;
}

void CSondaraDoc::removeObserver(int id) {
    std::erase_if(observers_, [id](const auto& e) { return e.first == id; });
}

namespace {

// Compared with the points as of the last commit: a point whose head, wave speed or
// sample interval moved gets its defects' depths from their drawn positions. Undo and
// redo put back whole points whose depths already fit.
void followDepthBasis(std::vector<TestPoint>& points, const std::vector<PointState>& before,
                      const std::vector<int>& pts) {
    if (before.size() != points.size()) return;
    const int n = static_cast<int>(points.size());
    auto follow = [&](int i) {
        if (i >= 0 && i < n && DepthBasisDiffers(points[i], before[i].point))
            RederiveDefectDepths(points[i]);
    };
    if (pts.empty())
        for (int i = 0; i < n; ++i) follow(i);
    else
        for (int i : pts) follow(i);
}

}  // namespace

void CSondaraDoc::commitChange(DocChange what, const std::vector<int>& pts) {
    if (what != DocChange::Selection) {
        modified = true;
        if (!replaying_) {
            // a new point list has no earlier state of each point to compare with, and
            // the list engine keeps the depths itself
            if (what != DocChange::PointList && listEditDepth_ == 0 && !shadowStale_)
                followDepthBasis(points, shadow_, pts);
            recordChange(what, pts);
        }
    }
    post(what, pts);
}

void CSondaraDoc::announce(DocChange what, const std::vector<int>& pts) {
    if (what == DocChange::PointList && !replaying_ && listEditDepth_ == 0) {
        // a document read or cleared: its history starts here
        undoSteps_.clear();
        redoSteps_.clear();
        open_.reset();
        undoStack.clear();
        redoStack.clear();
        resyncShadow();
    }
    post(what, pts);
}

void CSondaraDoc::post(DocChange what, const std::vector<int>& pts) {
    if (batchDepth_ == 0) {
        deliver(what, pts);
        return;
    }
    for (PendingChange& c : pending_) {
        if (c.event.kind != what) continue;
        // an empty list means every point and absorbs any other
        std::vector<int>& gathered = c.event.points;
        if (gathered.empty() || pts.empty()) {
            gathered.clear();
        } else {
            // sorted once when the batch ends: a batch over every point stays linear
            gathered.insert(gathered.end(), pts.begin(), pts.end());
            c.merged = true;
        }
        return;
    }
    pending_.push_back({{what, pts}});
}

void CSondaraDoc::endChanges() {
    if (batchDepth_ == 0) return;
    endUndoGroup();
    if (--batchDepth_ > 0) return;
    std::vector<PendingChange> changes;
    changes.swap(pending_);
    // a new point list covers everything else
    for (const PendingChange& c : changes)
        if (c.event.kind == DocChange::PointList) {
            deliver(DocChange::PointList, {});
            return;
        }
    for (PendingChange& c : changes) {
        std::vector<int>& pts = c.event.points;
        if (c.merged) {
            std::sort(pts.begin(), pts.end());
            pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
        }
        deliver(c.event.kind, pts);
    }
}

void CSondaraDoc::deliver(DocChange what, const std::vector<int>& pts) {
    // copy: an observer may remove itself while being notified
    auto obs = observers_;
    for (auto& [id, fn] : obs) fn(what, pts);
}

// ---- the undo history --------------------------------------------------------------------

namespace {

// Copies everything of a point but its two traces (the bulk of it), and leaves the
// point as it was. Moving the traces aside keeps this right for every field the point
// may ever get.
TestPoint fieldsOf(TestPoint& p) {
    std::vector<float> raw = std::move(p.rawSamples);
    std::vector<float> samples = std::move(p.samples);
    TestPoint f = p;
    p.rawSamples = std::move(raw);
    p.samples = std::move(samples);
    return f;
}

// Whether two points agree in everything but their traces.
bool sameFields(TestPoint& a, TestPoint& b) {
    std::vector<float> ar = std::move(a.rawSamples), as = std::move(a.samples);
    std::vector<float> br = std::move(b.rawSamples), bs = std::move(b.samples);
    const bool same = a == b;
    a.rawSamples = std::move(ar);
    a.samples = std::move(as);
    b.rawSamples = std::move(br);
    b.samples = std::move(bs);
    return same;
}

// Whether replaying the chains of a and b gives the same trace from the same recorded
// trace: the same steps with the same pile and test parameters.
bool sameReplayInputs(const TestPoint& a, const TestPoint& b) {
    if (!(a.steps == b.steps)) return false;
    bool same = true;
    forEachFixedField(a, b, [&](const auto& x, const auto& y) { same = same && x == y; });
    return same;
}

std::size_t bytesOf(const TestPoint& p) {
    return sizeof(TestPoint) + 4 * (p.rawSamples.size() + p.samples.size()) +
           sizeof(ProcessStep) * p.steps.size() + sizeof(PileMark) * p.defects.size() +
           4 * (p.spectrumMarks.size() + p.correlationMarks.size() +
                2 * p.waveletMarkPositions.size());
}

std::size_t bytesOf(const std::vector<TestPoint>& pts) {
    std::size_t n = 0;
    for (const TestPoint& p : pts) n += bytesOf(p);
    return n;
}

std::size_t bytesOf(const std::vector<PointState>& pts) {
    std::size_t n = 0;
    for (const PointState& p : pts) n += bytesOf(p.point) + sizeof(PointState) - sizeof(TestPoint);
    return n;
}

std::size_t stepBytes(const UndoStep& s) {
    return sizeof(UndoStep) + bytesOf(s.before) + bytesOf(s.after) + bytesOf(s.wholeBefore) +
           bytesOf(s.wholeAfter) + 4 * s.indices.size();
}

}  // namespace

void CSondaraDoc::noteTracesReplayed(const std::vector<int>& pts, TraceReplay replay) {
    if (replay) replay_ = replay;
    noted_ = pts;
}

void CSondaraDoc::rebuildTraces(const std::vector<TestPoint*>& pts) const {
    std::vector<TestPoint*> chains;
    for (TestPoint* p : pts) {
        if (p->steps.empty())
            p->samples.assign(p->rawSamples.begin(), p->rawSamples.end());
        else
            chains.push_back(p);
    }
    // a chain is only ever marked derived by the processing, which registers the replay
    if (!chains.empty() && replay_) replay_(chains);
}

void CSondaraDoc::resyncShadow() {
    shadow_.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        TestPoint& p = points[i];
        PointState& s = shadow_[i];
        s.point = fieldsOf(p);
        s.point.rawSamples = p.rawSamples;
        s.raw = true;
        // a trace as read is known to be the replay only when there is nothing to replay
        s.derived = p.steps.empty() && p.samples == p.rawSamples;
        if (!s.derived) s.point.samples = p.samples;
    }
    shadowInfo_ = info;
    shadowStale_ = false;
}

void CSondaraDoc::syncShadow(int i, bool derived, bool rawChanged) {
    TestPoint& p = points[i];
    PointState& s = shadow_[i];
    std::vector<float> raw = std::move(s.point.rawSamples);
    std::vector<float> samples = std::move(s.point.samples);
    s.point = fieldsOf(p);
    if (rawChanged)
        s.point.rawSamples = p.rawSamples;
    else
        s.point.rawSamples = std::move(raw);
    s.derived = derived;
    if (!derived) {
        samples.assign(p.samples.begin(), p.samples.end());
        s.point.samples = std::move(samples);
    }
}

// The state of point i as of the last commit, without its recorded trace.
PointState CSondaraDoc::recordOf(int i) {
    PointState& s = shadow_[i];
    PointState r;
    r.derived = s.derived;
    std::vector<float> raw = std::move(s.point.rawSamples);
    r.point = s.point;
    s.point.rawSamples = std::move(raw);
    return r;
}

// The points as of the last commit, whole.
std::vector<TestPoint> CSondaraDoc::shadowPoints() const {
    std::vector<TestPoint> out;
    out.reserve(shadow_.size());
    std::vector<TestPoint*> replay;
    for (const PointState& s : shadow_) out.push_back(s.point);
    for (std::size_t i = 0; i < shadow_.size(); ++i)
        if (shadow_[i].derived) replay.push_back(&out[i]);
    rebuildTraces(replay);
    return out;
}

void CSondaraDoc::recordChange(DocChange what, const std::vector<int>& pts) {
    std::vector<int> noted;
    noted.swap(noted_);
    if (listEditDepth_ > 0) return;  // the list engine keeps its own record
    if (shadowStale_) {
        // a document assembled without a read: its history starts with this change
        resyncShadow();
        return;
    }
    const bool whole = what == DocChange::PointList || shadow_.size() != points.size();
    if (!open_) {
        open_.emplace();
        open_->name = groupName_;
        open_->infoBefore = shadowInfo_;
    }
    UndoStep& s = *open_;
    if (std::find(s.kinds.begin(), s.kinds.end(), what) == s.kinds.end()) s.kinds.push_back(what);
    if (s.whole) return;
    if (whole) {
        // the shadow is still the state before the step: it is written back only when
        // the step closes
        s.whole = true;
        s.indices.clear();
        s.before.clear();
        s.replayed.clear();
        s.wholeBefore = shadowPoints();
        return;
    }
    std::vector<char> isNoted;
    if (what == DocChange::Processing && !noted.empty()) {
        isNoted.assign(points.size(), 0);
        for (int i : noted)
            if (validPoint(i)) isNoted[i] = 1;
    }
    auto add = [&](int i) {
        if (i < 0 || i >= pointCount()) return;
        auto at = std::find(s.indices.begin(), s.indices.end(), i);
        std::size_t k = static_cast<std::size_t>(at - s.indices.begin());
        if (at == s.indices.end()) {
            s.indices.push_back(i);
            s.before.push_back(recordOf(i));
            s.replayed.push_back(0);
        }
        // a later change of another kind may have moved what the replay used
        s.replayed[k] = !isNoted.empty() && isNoted[i];
    };
    if (pts.empty()) {
        for (int i = 0; i < pointCount(); ++i) {
            const bool listed = std::find(s.indices.begin(), s.indices.end(), i) != s.indices.end();
            PointState& sh = shadow_[i];
            TestPoint& p = points[i];
            if (listed || (!isNoted.empty() && isNoted[i]) || !sameFields(sh.point, p) ||
                !(sh.point.rawSamples == p.rawSamples) ||
                (!sh.derived && !(sh.point.samples == p.samples)))
                add(i);
        }
    } else {
        for (int i : pts) add(i);
    }
    if (groupDepth_ == 0) closeOpenStep();
}

void CSondaraDoc::closeOpenStep() {
    if (!open_) return;
    UndoStep s = std::move(*open_);
    open_.reset();
    s.infoAfter = info;
    bool changed = !(s.infoAfter == s.infoBefore);
    if (s.whole) {
        s.wholeAfter = points;
        changed = changed || !(s.wholeBefore == s.wholeAfter);
        resyncShadow();
    } else {
        UndoStep kept;
        for (std::size_t k = 0; k < s.indices.size(); ++k) {
            const int i = s.indices[k];
            TestPoint& cur = points[i];
            PointState& b = s.before[k];
            PointState& sh = shadow_[i];
            PointState a;
            a.point = fieldsOf(cur);
            const bool rawSame = sh.point.rawSamples == cur.rawSamples;
            a.derived =
                s.replayed[k] || (rawSame && b.derived && sameReplayInputs(b.point, a.point));
            if (!a.derived) a.point.samples = cur.samples;
            // the trace as it was: held before, or the replay of the same chain
            const bool samplesSame = !b.derived ? b.point.samples == cur.samples
                                                : a.derived && sameReplayInputs(b.point, a.point);
            if (!rawSame) {
                b.point.rawSamples = sh.point.rawSamples;
                b.raw = true;
                a.point.rawSamples = cur.rawSamples;
                a.raw = true;
            }
            const bool pointChanged = !rawSame || !samplesSame || !sameFields(b.point, a.point);
            syncShadow(i, a.derived, !rawSame);
            if (!pointChanged) continue;  // listed but left as it was
            kept.indices.push_back(i);
            kept.before.push_back(std::move(b));
            kept.after.push_back(std::move(a));
        }
        s.indices = std::move(kept.indices);
        s.before = std::move(kept.before);
        s.after = std::move(kept.after);
        s.replayed.clear();
        changed = changed || !s.indices.empty();
    }
    shadowInfo_ = info;
    if (!changed) return;  // nothing of the project changed: no step to undo
    if (s.name.empty()) s.name = "修改";
    pushStep(std::move(s));
}

void CSondaraDoc::pushStep(UndoStep s) {
    s.bytes = stepBytes(s);
    undoSteps_.push_back(std::move(s));
    redoSteps_.clear();
    redoStack.clear();
    trimHistory();
}

void CSondaraDoc::trimHistory() {
    std::size_t total = 0;
    for (const UndoStep& s : undoSteps_) total += s.bytes;
    for (const UndoStep& s : redoSteps_) total += s.bytes;
    std::size_t drop = 0;
    while (undoSteps_.size() - drop > 1 &&
           (undoSteps_.size() - drop > kUndoMaxSteps || total > kUndoMaxBytes)) {
        total -= undoSteps_[drop].bytes;
        ++drop;
    }
    if (drop == 0) return;
    std::size_t listRecords = 0;
    for (std::size_t k = 0; k < drop; ++k) listRecords += undoSteps_[k].list ? 1 : 0;
    undoSteps_.erase(undoSteps_.begin(), undoSteps_.begin() + static_cast<std::ptrdiff_t>(drop));
    listRecords = std::min(listRecords, undoStack.size());
    undoStack.erase(undoStack.begin(),
                    undoStack.begin() + static_cast<std::ptrdiff_t>(listRecords));
}

void CSondaraDoc::beginUndoGroup(std::string name) {
    if (groupDepth_++ == 0) groupName_ = std::move(name);
}

void CSondaraDoc::endUndoGroup() {
    if (groupDepth_ == 0) return;
    if (--groupDepth_ > 0) return;
    closeOpenStep();
    groupName_.clear();
}

void CSondaraDoc::beginListEdit() {
    // a step gathered so far comes before the list record
    if (listEditDepth_++ == 0) closeOpenStep();
}

void CSondaraDoc::endListEdit() {
    if (listEditDepth_ == 0) return;
    if (--listEditDepth_ == 0) resyncShadow();
}

void CSondaraDoc::recordListEdit(std::size_t bytes) {
    UndoStep s;
    s.list = true;
    s.name = "测点操作";
    s.kinds = {DocChange::PointList};
    pushStep(std::move(s));
    undoSteps_.back().bytes += bytes;
}

void CSondaraDoc::dropPointSteps() {
    std::erase_if(undoSteps_, [](const UndoStep& s) { return !s.list; });
    std::erase_if(redoSteps_, [](const UndoStep& s) { return !s.list; });
}

bool CSondaraDoc::replayPointStep(UndoStep& s, bool undo) {
    if (s.whole) {
        points = undo ? s.wholeBefore : s.wholeAfter;
    } else {
        for (std::size_t k = 0; k < s.indices.size(); ++k) {
            const int i = s.indices[k];
            if (!validPoint(i)) return false;  // the list no longer fits the step
        }
        std::vector<TestPoint*> replay;
        for (std::size_t k = 0; k < s.indices.size(); ++k) {
            const PointState& st = undo ? s.before[k] : s.after[k];
            TestPoint& p = points[s.indices[k]];
            std::vector<float> raw = std::move(p.rawSamples);
            std::vector<float> samples = std::move(p.samples);
            p = st.point;
            if (!st.raw) p.rawSamples = std::move(raw);
            if (st.derived) {
                p.samples = std::move(samples);  // its buffer serves the replay
                replay.push_back(&p);
            }
        }
        rebuildTraces(replay);
        for (std::size_t k = 0; k < s.indices.size(); ++k) {
            const PointState& st = undo ? s.before[k] : s.after[k];
            syncShadow(s.indices[k], st.derived, st.raw);
        }
    }
    info = undo ? s.infoBefore : s.infoAfter;
    info.pointCount = pointCount();
    if (s.whole) recomputeDisplayRanges();
    rebuildCheckedList();
    if (selectionMode == 2 && firstPointOfPile(currentPile) >= 0)
        selectPile(currentPile);
    else
        selectPoint(validPoint(currentPoint) ? currentPoint : pointCount() - 1);
    if (s.whole)
        resyncShadow();
    else
        shadowInfo_ = info;
    replaying_ = true;
    {
        DocChangeBatch batch(*this);
        for (DocChange k : s.kinds)
            commitChange(s.whole ? DocChange::PointList : k,
                         s.whole ? std::vector<int>{} : s.indices);
    }
    replaying_ = false;
    return true;
}

bool CSondaraDoc::undo() {
    if (groupDepth_ == 0) closeOpenStep();
    if (undoSteps_.empty()) return false;
    UndoStep s = std::move(undoSteps_.back());
    undoSteps_.pop_back();
    if (s.list) {
        if (!detail::ReplayListRecord(*this, true)) return false;  // a stale record is dropped
    } else if (!replayPointStep(s, true)) {
        return false;
    }
    redoSteps_.push_back(std::move(s));
    return true;
}

bool CSondaraDoc::redo() {
    if (groupDepth_ == 0) closeOpenStep();
    if (redoSteps_.empty()) return false;
    UndoStep s = std::move(redoSteps_.back());
    redoSteps_.pop_back();
    if (s.list) {
        if (!detail::ReplayListRecord(*this, false)) return false;
    } else if (!replayPointStep(s, false)) {
        return false;
    }
    undoSteps_.push_back(std::move(s));
    return true;
}

void setVersionTag(ProjectInfo& info, std::string_view tag) {
    info.versionTag.fill(0);
    std::memcpy(info.versionTag.data(), tag.data(), std::min<std::size_t>(tag.size(), 5));
}

std::string versionTagOf(const ProjectInfo& info) {
    return std::string(trimBlanks(textOf(info.versionTag)));
}

}  // namespace sondara
