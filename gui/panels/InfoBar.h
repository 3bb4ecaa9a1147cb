#pragma once
// The 信息栏 panel: the tabs 工程信息, 测点信息 and 分析参数, each a grid. The rows of
// the point and parameter grids are the points the active analysis view shows. The
// panel refreshes after every document change and view change; requests that come
// in a burst (an edit, then the rebuild of every view) are joined into one refresh
// when control returns to the event loop.
#include <QPointer>
#include <QTabWidget>
#include <functional>

#include "core/panels/InfoGridEdit.h"

class QTimer;

namespace sondara {
class WaveDisplayModel;
}

namespace sondara::gui {

class DocumentHost;
class InfoGridView;

class InfoBar : public QTabWidget {
    Q_OBJECT
public:
    explicit InfoBar(QWidget* parent = nullptr);

    // The display model of the active analysis view, or null; asked at every refresh.
    void setViewProvider(std::function<const WaveDisplayModel*()> f) { view_ = std::move(f); }
    // The scope of point-table edits (单个测点 / 多个测点).
    void setScopeProvider(std::function<PointEditScope()> f);
    // The open document (null: none). Its change notification schedules a refresh.
    void setDocument(DocumentHost* host);
    // Asks for a refresh when control returns to the event loop.
    void scheduleRefresh();
    // Rebuilds the three tables now.
    void refreshNow();
    // Empties the three tables (a new document).
    void clear();

    InfoGridView* grid(GridTable t) const { return grids_[static_cast<int>(t)]; }

private:
    InfoGridView* grids_[3] = {};
    QPointer<DocumentHost> host_;
    QMetaObject::Connection connection_;
    std::function<const WaveDisplayModel*()> view_;
    QTimer* timer_ = nullptr;
};

}  // namespace sondara::gui
