#pragma once
// The recovery files of several programs that ended without cleaning up, in one list:
// each file with its original path, the time it was written and its points, and what
// to do with it (恢复, 放弃 or 暂不处理: offered again at the next start); 全部恢复 and
// 全部放弃 choose for every file at once. Closing the window decides nothing.
#include <QDialog>
#include <vector>

#include "core/fileio/RecoveryStore.h"

class QComboBox;

namespace sondara::gui {

enum class RecoveryChoice { Keep, Recover, Discard };

class RecoveryListDialog : public QDialog {
    Q_OBJECT
public:
    RecoveryListDialog(const std::vector<RecoveryEntry>& entries, QWidget* parent = nullptr);
    // One choice per entry, in the order given; all Keep unless accepted.
    std::vector<RecoveryChoice> choices() const;
    void setAll(RecoveryChoice c);
    void setChoice(int row, RecoveryChoice c);

private:
    std::vector<QComboBox*> boxes_;
};

// The text naming a recovery entry's document: its path, or （未命名）.
QString recoveryDocumentName(const RecoveryEntry& e);
// When the recovery was written.
QString recoveryTimeText(const RecoveryEntry& e);

}  // namespace sondara::gui
