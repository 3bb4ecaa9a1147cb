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
