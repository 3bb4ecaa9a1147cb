#include "gui/display/SondaraView.h"

#include <QLabel>
#include <QVBoxLayout>

#include "gui/app/DocumentHost.h"
#include "gui/display/WaveDisp.h"

namespace sondara::gui {

namespace {
int g_liveViews = 0;
}

int CSondaraView::liveViews() { return g_liveViews; }

CSondaraView::CSondaraView(DocumentHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    ++g_liveViews;
    setObjectName("CSondaraView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    bar_ = new QWidget(this);
    bar_->setObjectName("AnalysisBar");
    bar_->setFixedHeight(28);
    display_ = new CWaveDisp(host_, this);
    layout->addWidget(bar_);
    layout->addWidget(display_, 1);
    connect(&host_, &DocumentHost::documentChanged, this, &CSondaraView::refresh);
}

CSondaraView::~CSondaraView() { --g_liveViews; }

void CSondaraView::refresh(int) { display_->rebuild(); }

bool CSondaraView::concludePendingOperation(QObject*, int) { return true; }

bool CSondaraView::handleCommand(int) { return false; }

CSondaraView::CommandState CSondaraView::commandState(int) const { return {}; }

}  // namespace sondara::gui
