#pragma once
// The queue of projects to transfer: site indexes in the order they were added,
// without duplicates. Not synchronised: the dialog refuses edits while a transfer
// runs, and the worker is then the only one to change it.
#include <vector>

namespace sondara {

class TransferQueue {
public:
    // Appends k unless it is queued already; true when it was added.
    bool add(int k);
    // Adds several; true when anything was added.
    bool add(const std::vector<int>& ks);
    // Removes the entries at the given positions (any order, duplicates and positions
    // out of range ignored), keeping the order of the rest.
    void removePositions(const std::vector<int>& positions);
    void removeFirst();
    void clear() { items_.clear(); }

    bool empty() const { return items_.empty(); }
    int size() const { return static_cast<int>(items_.size()); }
    int first() const { return items_.front(); }
    const std::vector<int>& items() const { return items_; }
    // The queued indexes that are valid entries of a site table of `entryCount`.
    std::vector<int> shown(int entryCount) const;

private:
    std::vector<int> items_;
};

// The progress bar after `done` of `total` projects: trunc(100 / total) * done.
int TransferProgress(int total, int done);

}  // namespace sondara
