#pragma once
// The 波形分析 commands of an analysis view: 桩头, 桩底, the seven defects and 自定义 at
// the static cursor, 标记线 on correlation, spectrum and wavelet panes, 编辑, 删除 and
// 清除 of marks, 自动桩头 with its settings and 自动桩底 with its one number. Each acts
// on the target points of an edit with the view's effective length-follow mode; the
// mark operations announce their changes, gathered so that the windows refresh once.
#include <vector>

#include "core/analysis/MarkCommandRules.h"
#include "core/analysis/PileMarks.h"

namespace sondara::gui {

class CSondaraView;
class DocumentHost;

// Gathers the change announcements of the mark operations run while it lives: the
// windows refresh once, after the last target point.
class MarkChangeBatch {
public:
    explicit MarkChangeBatch(CSondaraDoc& doc) : doc_(doc) { doc_.beginChanges(); }
    ~MarkChangeBatch() { doc_.endChanges(); }
    MarkChangeBatch(const MarkChangeBatch&) = delete;
    MarkChangeBatch& operator=(const MarkChangeBatch&) = delete;

private:
    CSondaraDoc& doc_;
};

class MarkCommands {
public:
    static MarkCommandContext context(const CSondaraView& v);
    static bool enabled(const CSondaraView& v, CommandId id);
    // Runs the command in `v`; false when `id` is not a mark command.
    static bool run(CSondaraView& v, CommandId id);

    // What 清除 clears: the active pane (当前波形) or every pane, as mark panes.
    static std::vector<MarkPane> clearPanes(const CSondaraView& v);
};

}  // namespace sondara::gui
