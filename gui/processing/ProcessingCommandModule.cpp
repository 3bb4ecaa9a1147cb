// The processing commands (数字滤波 … 简单积分, the insert commands, 编辑, 删除, 清除 and
// 撤销 of the processing history): run by the active analysis view's processing,
// enabled by its targets and the history panel.
#include "core/processing/ProcessingCommands.h"
#include "gui/display/SondaraView.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"
#include "gui/processing/ViewProcessing.h"

namespace sondara::gui {
namespace {

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    CMainFrame* f = &frame;
    for (const ProcessingCommand& c : ProcessingCommands()) {
        const int id = static_cast<int>(c.id);
        CommandHandler h;
        h.id = c.id;
        h.run = [f, id] {
            if (CSondaraView* v = f->activeAnalysisView()) v->processing()->run(id);
        };
        h.enabled = [f, id] {
            CSondaraView* v = f->activeAnalysisView();
            return v && v->processing()->enabled(id);
        };
        r.add(std::move(h));
    }
});

}  // namespace
}  // namespace sondara::gui
