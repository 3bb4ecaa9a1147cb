#include "core/model/SondaraDoc.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/base/TextCodec.h"
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

void CSondaraDoc::commitChange(DocChange what, const std::vector<int>& pts) {
    if (what != DocChange::Selection) modified = true;
    announce(what, pts);
}

void CSondaraDoc::announce(DocChange what, const std::vector<int>& pts) {
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
    if (batchDepth_ == 0 || --batchDepth_ > 0) return;
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

void setVersionTag(ProjectInfo& info, std::string_view tag) {
    info.versionTag.fill(0);
    std::memcpy(info.versionTag.data(), tag.data(), std::min<std::size_t>(tag.size(), 5));
}

std::string versionTagOf(const ProjectInfo& info) {
    return std::string(trimBlanks(textOf(info.versionTag)));
}

}  // namespace sondara
