// The 波形分析 commands in the command registry: run by the active analysis view,
// enabled by where its static cursor stands and what its display shows.
#include "gui/analysis/MarkCommands.h"
#include "gui/display/SondaraView.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"

namespace sondara::gui {
namespace {

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    CMainFrame* f = &frame;
    for (CommandId id : MarkCommandIds()) {
        r.add({id,
               [f, id] {
                   if (CSondaraView* v = f->activeAnalysisView()) MarkCommands::run(*v, id);
               },
               [f, id] {
                   const CSondaraView* v = f->activeAnalysisView();
                   return v && MarkCommands::enabled(*v, id);
               },
               {}});
    }
});

}  // namespace
}  // namespace sondara::gui
