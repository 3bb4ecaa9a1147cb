// The point-list editing commands of the 编辑 menu (copy, cut, paste, insert, append,
// delete, move, sort, ticks, undo, redo, restore, copy result) on the open document
// through the system clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QObject>

#include "core/model/ListCommands.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtClipboard.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/RecoveryManager.h"
#include "gui/app/SondaraApp.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"

namespace sondara::gui {
namespace {

using C = CommandId;

struct ListCommandEntry {
    CommandId id;
    ListCommand command;
};

constexpr ListCommandEntry kListCommands[] = {
    {C::EditCopy, ListCommand::Copy},
    {C::EditCut, ListCommand::Cut},
    {C::EditPaste, ListCommand::Paste},
    {C::EditInsert, ListCommand::Insert},
    {C::EditAppend, ListCommand::Append},
    {C::EditDelete, ListCommand::Delete},
    {C::EditMoveUp, ListCommand::MoveUp},
    {C::EditMoveDown, ListCommand::MoveDown},
    {C::EditSortAscending, ListCommand::SortAscending},
    {C::EditSortDescending, ListCommand::SortDescending},
    {C::EditCheckAll, ListCommand::TickAll},
    {C::EditCheckNone, ListCommand::UntickAll},
    {C::EditCheckInvert, ListCommand::InvertTicks},
    {C::EditUndo, ListCommand::Undo},
    {C::EditRedo, ListCommand::Redo},
    {C::EditRevert, ListCommand::Restore},
    {C::EditCopyResult, ListCommand::CopyResult},
};

// The enable rules use the clipboard's point count, worked out again only when the
// clipboard changes: a block of thousands of points is not decoded on every refresh.
class ListCommandState : public QObject {
public:
    explicit ListCommandState(CMainFrame& frame) : QObject(&frame), frame_(frame) {
        readClipboard();
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
                &ListCommandState::readClipboard);
    }

    bool enabled(ListCommand c) const {
        DocumentHost* h = frame_.document();
        return h && isListCommandEnabled(c, h->doc(), clipboardPoints_);
    }

    void run(ListCommand c) {
        DocumentHost* h = frame_.document();
        if (!h) return;
        QtClipboardPort clip;
        QtPrompter prompter(&frame_);
        const bool done = runListCommand(c, h->doc(), clip, prompter);
        // back to the file's original points: the recovery of the edits goes too
        if (done && c == ListCommand::Restore && theApp() && theApp()->recovery())
            theApp()->recovery()->discard();
    }

private:
    void readClipboard() {
        QtClipboardPort clipboard;
        clipboardPoints_ = clipboardPointCount(clipboard);
    }

    CMainFrame& frame_;
    int clipboardPoints_ = -1;  // of the private format's block; -1: none
};

const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    auto* state = new ListCommandState(frame);
    for (const ListCommandEntry& e : kListCommands) {
        const ListCommand c = e.command;
        r.add({e.id, [state, c] { state->run(c); }, [state, c] { return state->enabled(c); }, {}});
    }
});

}  // namespace
}  // namespace sondara::gui
