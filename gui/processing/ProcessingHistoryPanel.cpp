#include "gui/processing/ProcessingHistoryPanel.h"

#include <QCursor>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app/CommandTable.h"
#include "core/display/WaveDisplayModel.h"
#include "core/processing/TraceOps.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/Translation.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/processing/ViewProcessing.h"

namespace sondara::gui {

namespace {

QPointer<ProcessingHistoryPanel>& live() {
    static QPointer<ProcessingHistoryPanel> p;
    return p;
}

// The gain of an amplification step between the head and the toe of the pane's point.
std::optional<render::AmplificationCurve> amplificationCurve(const CWaveDisp& disp,
                                                             const ProcessStep& s) {
    const WaveDisplayModel& m = disp.model();
    if (s.processKind() != ProcessKind::Amplify || m.paneCount() == 0) return std::nullopt;
    int pane = -1;
    const AnalysisSelection& sel = m.selection();
    if (sel.domain == AnalysisDomain::Integrity && sel.displaySet == DisplaySet::SingleTrace)
        pane = 0;
    else if (sel.domain == AnalysisDomain::TimeAnalysis &&
             sel.sub == static_cast<int>(TimeAnalysisKind::Average))
        pane = m.paneCount() - 1;
    if (pane < 0 || !m.pane(pane).point) return std::nullopt;
    const TestPoint& p = *m.pane(pane).point;
    const int n = p.sampleCount();
    const int head = std::max(0, static_cast<int>(p.headIndex));
    const int toe = std::min(n - 1, static_cast<int>(p.toeIndex));
    if (n <= 0 || toe <= head) return std::nullopt;
    std::vector<float> gain(static_cast<size_t>(n), 1.0f);
    AmplifyTrace(gain.data(), n, gain.data(), s.ampFactor, s.ampStart, s.ampLaw);
    render::AmplificationCurve c;
    c.from = head;
    c.gain.assign(gain.begin() + head, gain.begin() + toe + 1);
    return c;
}

}  // namespace

ProcessingHistoryPanel* ProcessingHistoryPanel::instance() {
    return live();
}

void ProcessingHistoryPanel::scheduleRebuild() {
    ProcessingHistoryPanel* p = live();
    if (!p || p->rebuildPending_) return;
    p->rebuildPending_ = true;
    QTimer::singleShot(0, p, [p] {
        p->rebuildPending_ = false;
        p->rebuildHistory();
    });
}

ProcessingHistoryPanel::ProcessingHistoryPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("ProcessingHistoryPanel");
    live() = this;
    auto* caption = new QLabel(QObject::tr("处理过程"), this);
    auto* detailCaption = new QLabel(QObject::tr("详细信息"), this);
    for (QLabel* l : {caption, detailCaption}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, palette().color(QPalette::Shadow));
        l->setPalette(pal);
    }
    list_ = new QListWidget(this);
    list_->setAccessibleName(QObject::tr("处理过程"));
    caption->setBuddy(list_);
    details_ = new QPlainTextEdit(this);
    details_->setReadOnly(true);
    details_->setAccessibleName(QObject::tr("详细信息"));
    details_->setMaximumHeight(96);
    detailCaption->setBuddy(details_);
    auto button = [this](const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, this);
        b->setToolTip(tip);
        b->setAccessibleName(b->text());
        b->setEnabled(false);
        return b;
    };
    edit_ = button(QObject::tr("编辑"), QObject::tr("对当前波形处理信息进行编辑"));
    insert_ = button(QObject::tr("插入"), QObject::tr("在当前波形处理前面插入新的操作"));
    delete_ = button(QObject::tr("删除"), QObject::tr("删除当前波形处理信息"));
    clear_ = button(QObject::tr("清除"), QObject::tr("清除所有波形处理信息"));
    undo_ = button(QObject::tr("撤销"), QObject::tr("撤销最后一次波形处理操作"));

    // The list takes the room; details and buttons stay at the bottom, the buttons in
    // two columns with 撤销 across.
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(4, 4, 4, 4);
    v->addWidget(caption);
    v->addWidget(list_, 1);
    v->addWidget(detailCaption);
    v->addWidget(details_);
    auto* grid = new QGridLayout;
    grid->addWidget(edit_, 0, 0);
    grid->addWidget(insert_, 0, 1);
    grid->addWidget(delete_, 1, 0);
    grid->addWidget(clear_, 1, 1);
    grid->addWidget(undo_, 2, 0, 1, 2);
    v->addLayout(grid);

    connect(list_, &QListWidget::currentRowChanged, this, [this] {
        if (!rebuilding_) selectionChanged();
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { run(CommandId::ProcEdit); });
    connect(edit_, &QPushButton::clicked, this, [this] { run(CommandId::ProcEdit); });
    connect(delete_, &QPushButton::clicked, this, [this] { run(CommandId::ProcDelete); });
    connect(clear_, &QPushButton::clicked, this, [this] { run(CommandId::ProcClear); });
    connect(undo_, &QPushButton::clicked, this, [this] { run(CommandId::ProcUndo); });
    connect(insert_, &QPushButton::clicked, this, [this] { insertMenu()->popup(QCursor::pos()); });
}

ProcessingHistoryPanel::~ProcessingHistoryPanel() {
    if (live() == this) live() = nullptr;
}

QMenu* ProcessingHistoryPanel::insertMenu() {
    if (insertMenu_) return insertMenu_;
    insertMenu_ = new QMenu(QObject::tr("波形处理(&W)"), window());
    for (const ProcessingCommand& c : InsertCommands()) {
        const CommandId id = c.id;
        const CommandInfo* info = findCommand(id);
        QAction* a = insertMenu_->addAction(info ? trCore(info->menuText) : QString());
        a->setObjectName(QString("insert_%1").arg(static_cast<int>(id)));
        connect(a, &QAction::triggered, this, [this, id] { run(id); });
    }
    return insertMenu_;
}

void ProcessingHistoryPanel::run(CommandId id) {
    if (runCommand_) {
        runCommand_(id);
    } else if (CSondaraView* v = viewOf_ ? viewOf_() : nullptr) {
        v->processing()->run(static_cast<int>(id));
    }
}

int ProcessingHistoryPanel::selectedIndex() const {
    return list_->currentRow();
}

void ProcessingHistoryPanel::setSelectedIndex(int i) {
    list_->setCurrentRow(i);
}

void ProcessingHistoryPanel::rebuildHistory() {
    const int keep = list_->currentRow();
    history_.clear();
    CSondaraView* view = viewOf_ ? viewOf_() : nullptr;
    if (view && view->display() && view->display()->model().paneCount() > 0)
        history_.rebuild(view->host().doc(), view->display()->model().processingTargets());
    rebuilding_ = true;
    list_->clear();
    for (int i = 0; i < history_.size(); ++i) {
        auto* item = new QListWidgetItem(trCore(history_.name(i)), list_);
        item->setData(Qt::UserRole, history_.merged()[static_cast<size_t>(i)].kind);
    }
    // The selection stays a plain index: past the end of the new list nothing is
    // selected, so that a second 删除 after deleting the last entry removes nothing.
    list_->setCurrentRow(keep >= 0 && keep < list_->count() ? keep : -1);
    rebuilding_ = false;
    showStepDetails();
    updateButtons();
}

void ProcessingHistoryPanel::showStepDetails() {
    // the details are lines "label:value" or a caption: the labels and captions in the
    // window's language, the values as they are
    QStringList lines;
    for (const QString& line : QString::fromStdString(history_.details(list_->currentRow()))
                                   .split(QStringLiteral("\r\n"))) {
        const qsizetype colon = line.indexOf(':');
        lines << (colon < 0 ? trCore(line.toStdString())
                            : trCore(line.left(colon).toStdString()) + line.mid(colon));
    }
    details_->setPlainText(lines.join(QStringLiteral("\r\n")));
}

void ProcessingHistoryPanel::selectionChanged() {
    showStepDetails();
    updateButtons();
    if (CSondaraView* view = viewOf_ ? viewOf_() : nullptr) {
        const int i = list_->currentRow();
        std::optional<render::AmplificationCurve> curve;
        if (i >= 0 && i < history_.size())
            curve = amplificationCurve(*view->display(), history_.merged()[static_cast<size_t>(i)]);
        view->display()->setAmplificationCurve(std::move(curve));  // repaints
    }
}

void ProcessingHistoryPanel::updateButtons() {
    const HistoryButtons b =
        HistoryButtonStates(history_.size(), history_.hasTargets(), list_->currentRow());
    if (b.editInsertDelete != buttons_.editInsertDelete ||
        edit_->isEnabled() != b.editInsertDelete) {
        for (QPushButton* x : {edit_, insert_, delete_}) x->setEnabled(b.editInsertDelete);
    }
    if (b.clearUndo != buttons_.clearUndo || clear_->isEnabled() != b.clearUndo) {
        for (QPushButton* x : {clear_, undo_}) x->setEnabled(b.clearUndo);
    }
    buttons_ = b;
}

}  // namespace sondara::gui
