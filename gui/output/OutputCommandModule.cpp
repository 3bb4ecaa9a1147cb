// Registers the output commands of the 文件 menu with the frame's command registry:
// 保存图形, 生成报告 (with the 工程信息 dialog first) and 生成报表, each enabled when the
// document has points.
#if __has_include("gui/frame/CommandRegistry.h")

#include "core/app/CommandIds.h"
#include "gui/app/DocumentHost.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"
#include "gui/output/OutputCommands.h"

namespace sondara::gui {
namespace {

WaveDisplayModel* activeDisplay(CMainFrame& frame) {
    CSondaraView* view = frame.activeAnalysisView();
    return view && view->display() ? &view->display()->model() : nullptr;
}

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    r.add({CommandId::FileSaveImage,
           [&frame] {
               if (DocumentHost* host = frame.document()) runSaveImage(&frame, *host, activeDisplay(frame));
           },
           [&frame] { return frame.hasDocumentPoints(); },
           {}});
    r.add({CommandId::FileWordReport,
           [&frame] {
               if (DocumentHost* host = frame.document()) runWordReport(&frame, *host, activeDisplay(frame));
           },
           [&frame] { return frame.hasDocumentPoints(); },
           {}});
    r.add({CommandId::FileExcelReport,
           [&frame] {
               if (DocumentHost* host = frame.document()) runExcelReport(&frame, *host);
           },
           [&frame] { return frame.hasDocumentPoints(); },
           {}});
});

}  // namespace
}  // namespace sondara::gui

#endif
