// 传输: opens the transfer dialog, modal over the main frame. Always enabled: the
// dialog itself watches for the instrument.
#include "core/app/CommandIds.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"
#include "gui/instrument/TransferDialog.h"

namespace sondara::gui {
namespace {

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    r.add({CommandId::ToolTransfer,
           /*run*/ [&frame] {
               TransferDialog dlg(&frame);
               dlg.exec();
           },
           /*enabled*/ {},
           /*checked*/ {}});
});

}  // namespace
}  // namespace sondara::gui
