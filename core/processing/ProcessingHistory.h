#pragma once
// The processing history of the target points, as the history panel lists it: the
// merged chain (the longest chain, with every step that is not byte-identical on all
// targets turned into code 0, "<不一致>"), the names of its entries and the detail text
// of an entry. Used by the desktop's panel and by `sondara-cli history`.
#include <string>
#include <vector>

#include "core/model/SondaraDoc.h"

namespace sondara {

class ProcessingHistory {
public:
    // Merges the chains of `targets` (the display's processing targets; indices outside
    // the document are skipped). The first valid target converts positions to metres.
    void rebuild(const CSondaraDoc& doc, const std::vector<int>& targets);
    void clear();

    // The merged chain; entry i stands for step i of the chains.
    const std::vector<ProcessStep>& merged() const { return merged_; }
    int size() const { return static_cast<int>(merged_.size()); }
    // Whether the last rebuild found at least one target.
    bool hasTargets() const { return !targets_.empty(); }
    const std::vector<int>& targets() const { return targets_; }

    // The list's text of entry i (see EntryName).
    std::string name(int i) const;
    // The detail text of entry i, lines joined by CR LF; empty outside the list.
    std::string details(int i) const;

private:
    std::vector<ProcessStep> merged_;
    std::vector<int> targets_;
    TestPoint reference_;  // the first target's head and scale, for metres
};

// The name of an entry of kind `kind`: the history name of the kind, "<不一致>" for
// code 0; a stored code without an operation is listed as "未知处理(%d)" so that every
// entry keeps the index of its step.
std::string HistoryEntryName(int kind);

// The detail text of one merged entry, positions in metres below the head of `ref`.
std::string StepDetails(const ProcessStep& step, const TestPoint& ref);

}  // namespace sondara
