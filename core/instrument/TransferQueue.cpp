#include "core/instrument/TransferQueue.h"

#include <algorithm>

namespace sondara {

bool TransferQueue::add(int k) {
    if (std::find(items_.begin(), items_.end(), k) != items_.end()) return false;
    items_.push_back(k);
    return true;
}

bool TransferQueue::add(const std::vector<int>& ks) {
    bool any = false;
    for (int k : ks) any = add(k) || any;
    return any;
}

void TransferQueue::removePositions(const std::vector<int>& positions) {
    std::vector<bool> drop(items_.size(), false);
    for (int p : positions)
        if (p >= 0 && p < size()) drop[p] = true;
    std::vector<int> kept;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (!drop[i]) kept.push_back(items_[i]);
    items_ = std::move(kept);
}

void TransferQueue::removeFirst() {
    if (!items_.empty()) items_.erase(items_.begin());
}

std::vector<int> TransferQueue::shown(int entryCount) const {
    std::vector<int> out;
    for (int k : items_)
        if (k >= 0 && k < entryCount) out.push_back(k);
    return out;
}

int TransferProgress(int total, int done) {
    if (total <= 0) return 0;
    return (100 / total) * done;
}

}  // namespace sondara
