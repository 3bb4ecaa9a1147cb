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

// The enable rules look at the clipboard as last seen and are worked out again only
// when the clipboard, the document or the history changed: a block of thousands of
// points is not decoded four times a second.
class ListCommandState : public QObject {
public:
    explicit ListCommandState(CMainFrame& frame) : QObject(&frame), frame_(frame) {
        seen_.block = QtClipboardPort().readBlock();
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
            seen_.block = QtClipboardPort().readBlock();
            cache_.clear();
        });
        connect(&frame, &CMainFrame::documentChanged, this, [this] { cache_.clear(); });
        connect(&frame, &CMainFrame::documentReplaced, this, [this] { cache_.clear(); });
        connect(&frame, &CMainFrame::commandRan, this, [this] { cache_.clear(); });
    }

    bool enabled(ListCommand c) {
        DocumentHost* h = frame_.document();
        if (!h) return false;
        auto it = cache_.find(c);
        if (it == cache_.end())
            it = cache_.emplace(c, isListCommandEnabled(c, h->doc(), seen_)).first;
        return it->second;
    }

    void run(ListCommand c) {
        DocumentHost* h = frame_.document();
        if (!h) return;
        QtClipboardPort clip;
        QtPrompter prompter(&frame_);
        runListCommand(c, h->doc(), clip, prompter);
    }

private:
    CMainFrame& frame_;
    MemoryClipboard seen_;  // what the private format held when it last changed
    std::map<ListCommand, bool> cache_;
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
