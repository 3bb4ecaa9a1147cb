// 打印, 打印预览 and 打印设置 (with and without a document): printing the active analysis
// view's checked points and display, and the print setup dialog.
#include "gui/display/SondaraView.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"
#include "gui/print/PrintService.h"

namespace sondara::gui {
namespace {

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    CMainFrame* f = &frame;
    // Printing needs points and a view whose display it prints; without a printer the
    // pages go to a PDF file, so the commands never depend on one.
    auto canPrint = [f] { return f->hasDocumentPoints() && f->activeAnalysisView() != nullptr; };
    r.add({CommandId::FilePrint,
           [f] {
               if (CSondaraView* v = f->activeAnalysisView()) PrintService::instance().print(*v, f);
           },
           canPrint,
           {}});
    r.add({CommandId::FilePrintPreview,
           [f] {
               if (CSondaraView* v = f->activeAnalysisView())
                   PrintService::instance().preview(*v, f);
           },
           canPrint,
           {}});
    for (CommandId id : {CommandId::FilePrintSetup, CommandId::FilePrintSetupNoDoc})
        r.add({id, [f] { PrintService::instance().runSetup(f); }, {}, {}});
});

}  // namespace
}  // namespace sondara::gui
