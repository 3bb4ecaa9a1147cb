// 自动判读 in the command registry, and the controller that runs it and holds its
// results for the 判读结果 panel and the displays.
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"
#include "gui/interpret/InterpretationController.h"

namespace sondara::gui {
namespace {

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    auto* c = new InterpretationController(frame);
    r.add({CommandId::MarkInterpret, [c] { c->run(); }, [c] { return c->canRun(); }, {}});
    // 查看 → 判读结果: the panel comes back after it was closed, its overlays never left
    r.add({CommandId::ViewInterpretationPanel,
           [c] { c->setPanelVisible(!c->dock()->isVisible()); },
           {},
           [c] { return c->dock()->isVisible(); }});
});

}  // namespace
}  // namespace sondara::gui
