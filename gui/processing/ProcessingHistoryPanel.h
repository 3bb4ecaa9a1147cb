#pragma once
// The 处理过程 panel: the processing history of the active analysis view's target
// points (the merged list, "<不一致>" where they differ), the details of the selected
// entry and the buttons 编辑, 插入, 删除, 清除 and 撤销, which run the view's processing
// commands. Selecting an entry redraws the display (the amplification curve follows an
// amplification entry). The panel changes nothing itself.
//
// One panel lives in the main frame; views reach it through instance().
#include <QWidget>
#include <functional>

#include "core/processing/ProcessingCommands.h"
#include "core/processing/ProcessingHistory.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QLabel;
class QMenu;

namespace sondara::gui {

class CSondaraView;

class ProcessingHistoryPanel : public QWidget {
    Q_OBJECT
public:
    explicit ProcessingHistoryPanel(QWidget* parent = nullptr);
    ~ProcessingHistoryPanel() override;

    static ProcessingHistoryPanel* instance();
    // Rebuilds the live panel once the current event is done (several notifications
    // of one change coalesce).
    static void scheduleRebuild();

    // The active analysis view (the frame's), and how the buttons run commands.
    void setViewProvider(std::function<CSondaraView*()> f) { viewOf_ = std::move(f); }
    void setCommandRunner(std::function<void(CommandId)> f) { runCommand_ = std::move(f); }

    void rebuildHistory();
    void showStepDetails();

    const ProcessingHistory& history() const { return history_; }
    int selectedIndex() const;
    void setSelectedIndex(int i);
    HistoryButtons buttonStates() const { return buttons_; }

    QListWidget* list() const { return list_; }
    QPlainTextEdit* detailBox() const { return details_; }
    QPushButton* editButton() const { return edit_; }
    QPushButton* insertButton() const { return insert_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* undoButton() const { return undo_; }
    // The 插入 menu (波形处理(&W) with the 14 insert commands), built on demand.
    QMenu* insertMenu();

private:
    void updateButtons();
    void selectionChanged();
    void run(CommandId id);

    ProcessingHistory history_;
    HistoryButtons buttons_;
    std::function<CSondaraView*()> viewOf_;
    std::function<void(CommandId)> runCommand_;
    QListWidget* list_ = nullptr;
    QPlainTextEdit* details_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* undo_ = nullptr;
    QMenu* insertMenu_ = nullptr;
    bool rebuilding_ = false;
    bool rebuildPending_ = false;
};

}  // namespace sondara::gui
