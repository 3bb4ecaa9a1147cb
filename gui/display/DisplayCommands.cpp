// The commands of the 显示调整 menu and toolbar and 当前波形/全部波形: run by the active
// analysis view, enabled and checked by what its display shows.
#include "gui/display/SondaraView.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"

namespace sondara::gui {
namespace {

using C = CommandId;

constexpr CommandId kViewCommands[] = {
    C::DispFillNone,         C::DispFillPositive, C::DispFillNegative, C::DispSpectrumLines,
    C::DispSpectrumEnvelope, C::DispAutoAdjust,   C::DispShowAll,      C::DispAlignHead,
    C::DispRestorePosition,  C::DispMoveLeft,     C::DispMoveRight,    C::DispFitToe,
    C::DispRestoreScale,     C::DispStretchX,     C::DispCompressX,    C::DispAutoY,
    C::DispStretchY,         C::DispCompressY,    C::ViewEditCurrent,  C::ViewEditAll,
};

bool showsCheck(CommandId id) {
    switch (id) {
        case C::DispFillNone:
        case C::DispFillPositive:
        case C::DispFillNegative:
        case C::DispSpectrumLines:
        case C::DispSpectrumEnvelope:
        case C::ViewEditCurrent:
        case C::ViewEditAll:
            return true;
        default:
            return false;
    }
}

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    CMainFrame* f = &frame;
    for (CommandId id : kViewCommands) {
        CommandHandler h;
        h.id = id;
        h.run = [f, id] {
            if (CSondaraView* v = f->activeAnalysisView()) v->handleCommand(id);
        };
        h.enabled = [f, id] {
            CSondaraView* v = f->activeAnalysisView();
            return v && v->commandState(id).enabled;
        };
        if (showsCheck(id))
            h.checked = [f, id] {
                CSondaraView* v = f->activeAnalysisView();
                return v && v->commandState(id).checked;
            };
        r.add(std::move(h));
    }
});

}  // namespace
}  // namespace sondara::gui
