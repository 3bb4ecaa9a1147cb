#include "gui/interpret/InterpretationPanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

#include "gui/interpret/InterpretationModel.h"

namespace sondara::gui {

InterpretationPanel::InterpretationPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("InterpretationPanel");
    setAccessibleName(QObject::tr("判读结果"));
    model_ = new InterpretationModel(this);

    summary_ = new QLabel(QObject::tr("尚未自动判读"), this);
    summary_->setObjectName("interpretSummary");
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    summary_->setFocusPolicy(Qt::NoFocus);

    table_ = new QTableView(this);
    table_->setObjectName("interpretTable");
    table_->setAccessibleName(QObject::tr("判读结果"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);  // Tab goes on to the buttons
    table_->setWordWrap(false);
    table_->verticalHeader()->setVisible(false);
    // fixed row heights: a site of thousands of rows is never measured row by row
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setSortIndicator(InterpretationModel::Confidence,
                                                 Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->setColumnWidth(InterpretationModel::Defects, 200);

    adopt_ = new QPushButton(QObject::tr("采用(&Y)"), this);
    adopt_->setObjectName("interpretAdopt");
    adopt_->setAccessibleName(QObject::tr("采用"));
    adopt_->setToolTip(QObject::tr("把选中各行的建议写入桩头、桩底、缺陷和完整性类别"));
    adoptAll_ = new QPushButton(QObject::tr("全部采用(&Q)"), this);
    adoptAll_->setObjectName("interpretAdoptAll");
    adoptAll_->setAccessibleName(QObject::tr("全部采用"));
    adoptAll_->setToolTip(QObject::tr("采用所有可信度为“清晰”的建议"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(adopt_);
    buttons->addWidget(adoptAll_);
    buttons->addStretch();
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(2, 2, 2, 2);
    v->addWidget(summary_);
    v->addWidget(table_, 1);
    v->addLayout(buttons);
    setFocusProxy(table_);

    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& cur) {
                if (following_ || !cur.isValid()) return;
                if (const PointInterpretation* r = model_->resultAt(cur.row()))
                    emit pointSelected(r->point);
            });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &InterpretationPanel::updateButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, &InterpretationPanel::updateButtons);
    connect(adopt_, &QPushButton::clicked, this, [this] {
        const std::vector<PointInterpretation> rows = selectedResults();
        if (!rows.empty()) emit adoptRequested(rows);
    });
    connect(adoptAll_, &QPushButton::clicked, this, [this] { emit adoptAllRequested(); });
    updateButtons();
}

void InterpretationPanel::setResults(std::vector<PointInterpretation> results,
                                     const SiteWaveSpeed& site) {
    int doubtful = 0;
    for (const PointInterpretation& r : results)
        if (!r.error.empty() || r.confidence != Confidence::Clear) ++doubtful;
    QString text = QObject::tr("共%1个测点，存疑%2个。").arg(results.size()).arg(doubtful);
    if (site.found)
        text += QObject::tr("场地平均波速 %1 m/s（取自%2个Ⅰ类测点），仅供参考，未写入工程。")
                    .arg(site.speed, 0, 'f', 0)
                    .arg(site.points.size());
    else
        text += QObject::tr("桩底清晰且已填桩长的Ⅰ类测点不足五个，未求场地平均波速。");
    summary_->setText(text);
    model_->setResults(std::move(results));
    table_->resizeColumnToContents(InterpretationModel::Pile);
}

void InterpretationPanel::clear() {
    model_->setResults({});
    summary_->setText(QObject::tr("尚未自动判读"));
}

std::vector<PointInterpretation> InterpretationPanel::selectedResults() const {
    std::set<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows()) rows.insert(i.row());
    std::vector<PointInterpretation> out;
    for (int row : rows)
        if (const PointInterpretation* r = model_->resultAt(row)) out.push_back(*r);
    return out;
}

void InterpretationPanel::showPoint(int point) {
    const int row = model_->rowOfPoint(point);
    if (row < 0) return;
    const QModelIndex cur = table_->selectionModel()->currentIndex();
    if (cur.isValid() && cur.row() == row) return;
    following_ = true;
    table_->selectionModel()->setCurrentIndex(
        model_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    following_ = false;
}

void InterpretationPanel::updateButtons() {
    adopt_->setEnabled(table_->selectionModel()->hasSelection());
    bool anyClear = false;
    for (const PointInterpretation& r : model_->results())
        if (r.error.empty() && r.confidence == Confidence::Clear) {
            anyClear = true;
            break;
        }
    adoptAll_->setEnabled(anyClear);
}

}  // namespace sondara::gui
