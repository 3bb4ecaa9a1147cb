#include "gui/panels/InfoBar.h"

#include <QTimer>

#include "core/display/WaveDisplayModel.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/Translation.h"
#include "gui/panels/InfoGridModel.h"
#include "gui/panels/InfoGridView.h"

namespace sondara::gui {

InfoBar::InfoBar(QWidget* parent) : QTabWidget(parent) {
    setObjectName("InfoTabs");
    for (GridTable t : {GridTable::Project, GridTable::Points, GridTable::Parameters}) {
        auto* g = new InfoGridView(t, this);
        grids_[static_cast<int>(t)] = g;
        const std::string_view title = GridTitle(t);
        addTab(g, trCore(std::string(title)));
    }
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, &InfoBar::refreshNow);
}

void InfoBar::setScopeProvider(std::function<PointEditScope()> f) {
    grid(GridTable::Points)->gridModel()->setScopeProvider(std::move(f));
}

void InfoBar::setDocument(DocumentHost* host) {
    if (connection_) disconnect(connection_);
    host_ = host;
    if (host)
        connection_ =
            connect(host, &DocumentHost::documentChanged, this, &InfoBar::scheduleRefresh);
    if (host)
        refreshNow();
    else
        clear();
}

void InfoBar::scheduleRefresh() {
    timer_->start();
}

void InfoBar::refreshNow() {
    timer_->stop();
    if (!host_) {
        clear();
        return;
    }
    const WaveDisplayModel* view = view_ ? view_() : nullptr;
    // a view still showing another document lists nothing
    if (view && view->document() && view->document() != &host_->doc()) view = nullptr;
    std::vector<int> rows = GridRowPoints(host_->doc(), view);
    grid(GridTable::Project)->gridModel()->setSource(host_, {});
    grid(GridTable::Points)->gridModel()->setSource(host_, rows);
    grid(GridTable::Parameters)->gridModel()->setSource(host_, std::move(rows));
}

void InfoBar::clear() {
    timer_->stop();
    for (InfoGridView* g : grids_) g->gridModel()->setSource(nullptr, {});
}

}  // namespace sondara::gui
