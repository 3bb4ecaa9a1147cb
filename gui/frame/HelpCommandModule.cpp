// The commands reached by accelerators only: F1 help, Shift+F1 context help, F6 and
// Shift+F6 round the panels and the active window.
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWhatsThis>

#include "gui/app/SondaraApp.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"
#include "gui/frame/PaneFocus.h"

namespace sondara::gui {
namespace {

// The areas F6 / Shift+F6 go round: the visible panels 测点栏, 处理过程, 信息栏, 判读结果,
// then the active window.
std::vector<QWidget*> focusAreasOf(const CMainFrame& f) {
    std::vector<QWidget*> out;
    for (int id : {CMainFrame::kDockPointList, CMainFrame::kDockHistory, CMainFrame::kDockInfo,
                   CMainFrame::kDockInterpretation})
        if (QDockWidget* d = f.dock(id); d && d->isVisible() && d->widget())
            out.push_back(d->widget());
    if (QMdiSubWindow* w = f.mdiArea()->activeSubWindow(); w && w->widget())
        out.push_back(w->widget());
    return out;
}

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    CMainFrame* f = &frame;
    r.add({CommandId::Help, [f] { f->app().helpTopics(); }, {}, {}});
    r.add({CommandId::HelpContext, [] { QWhatsThis::enterWhatsThisMode(); }, {}, {}});
    r.add({CommandId::NextPane, [f] { PaneFocus::move(focusAreasOf(*f), true); }, {}, {}});
    r.add({CommandId::PrevPane, [f] { PaneFocus::move(focusAreasOf(*f), false); }, {}, {}});
});

}  // namespace
}  // namespace sondara::gui
