#include "gui/interpret/InterpretationPanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
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
    // The changes take the width that is left; every other column is as wide as its
    // texts (the header measures at most its first thousand rows).
    QHeaderView* header = table_->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(InterpretationModel::Defects, QHeaderView::Stretch);
    header->setMinimumSectionSize(36);
    header->setSortIndicator(InterpretationModel::Confidence, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    // a few rows always show, whatever the dock is squeezed to
    table_->setMinimumHeight(table_->verticalHeader()->defaultSectionSize() * 4 +
                             header->sizeHint().height() + 2 * table_->frameWidth());

    adopt_ = new QPushButton(QObject::tr("采用(&Y)"), this);
    adopt_->setObjectName("interpretAdopt");
    adopt_->setAccessibleName(QObject::tr("采用"));
    adopt_->setToolTip(QObject::tr(
        "把选中各行的建议写入桩头、桩底、缺陷和完整性类别（选了备选解释的行写入该解释）"));
    adoptAll_ = new QPushButton(QObject::tr("全部采用(&Q)"), this);
    adoptAll_->setObjectName("interpretAdoptAll");
    adoptAll_->setAccessibleName(QObject::tr("全部采用"));
    adoptAll_->setToolTip(QObject::tr("采用所有可信度为“清晰”的建议"));

    alternatives_ = new QComboBox(this);
    alternatives_->setObjectName("interpretAlternatives");
    alternatives_->setAccessibleName(QObject::tr("备选解释"));
    alternatives_->setToolTip(
        QObject::tr("当前行的其他可能解释：选中一种，完整性分析波形上以另一种颜色叠加其拟合波形"));
    alternatives_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    alternatives_->setMinimumContentsLength(24);
    alternatives_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* alternativesLabel = new QLabel(QObject::tr("备选解释(&K)："), this);
    alternativesLabel->setBuddy(alternatives_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(adopt_);
    buttons->addWidget(adoptAll_);
    buttons->addSpacing(12);
    buttons->addWidget(alternativesLabel);
    buttons->addWidget(alternatives_, 1);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(2, 2, 2, 2);
    v->addWidget(summary_);
    v->addWidget(table_, 1);
    v->addLayout(buttons);
    setFocusProxy(table_);
    setMinimumWidth(420);

    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& cur) {
                fillAlternatives();
                if (following_ || !cur.isValid()) return;
                if (const PointInterpretation* r = model_->resultAt(cur.row()))
                    emit pointSelected(r->point);
            });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &InterpretationPanel::updateButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        updateButtons();
        fillAlternatives();
    });
    connect(model_, &QAbstractItemModel::layoutChanged, this,
            &InterpretationPanel::fillAlternatives);
    connect(alternatives_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!filling_ && i >= 0) chooseAlternative(i - 1);
    });
    // the same choice from the row itself (right button, or the menu key)
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* m = rowMenu(this);
        m->setAttribute(Qt::WA_DeleteOnClose);
        m->popup(table_->viewport()->mapToGlobal(at));
    });
    connect(adopt_, &QPushButton::clicked, this, [this] {
        const std::vector<PointInterpretation> rows = selectedResults();
        if (!rows.empty()) emit adoptRequested(rows, selectedAlternatives());
    });
    connect(adoptAll_, &QPushButton::clicked, this, [this] { emit adoptAllRequested(); });
    updateButtons();
    fillAlternatives();
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
        if (model_->resultAt(row)) out.push_back(model_->readingToAdopt(row));
    return out;
}

std::vector<int> InterpretationPanel::selectedAlternatives() const {
    std::set<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows()) rows.insert(i.row());
    std::vector<int> out;
    for (int row : rows)
        if (model_->resultAt(row)) out.push_back(model_->chosenAlternative(row));
    return out;
}

void InterpretationPanel::chooseAlternative(int k) {
    const int row = table_->selectionModel()->currentIndex().row();
    const PointInterpretation* r = model_->resultAt(row);
    if (!r) return;
    model_->setChosenAlternative(row, k);
    const int chosen = model_->chosenAlternative(row);
    if (alternatives_->currentIndex() != chosen + 1) {
        filling_ = true;
        alternatives_->setCurrentIndex(chosen + 1);
        filling_ = false;
    }
    emit alternativeChosen(r->point, chosen);
}

QMenu* InterpretationPanel::rowMenu(QWidget* parent) {
    auto* m = new QMenu(parent);
    m->setAccessibleName(QObject::tr("备选解释"));
    // the box holds the current row's readings: the menu offers the same, checked alike
    if (alternatives_->isEnabled())
        for (int i = 0; i < alternatives_->count(); ++i) {
            QAction* a = m->addAction(alternatives_->itemText(i));
            a->setCheckable(true);
            a->setChecked(i == alternatives_->currentIndex());
            connect(a, &QAction::triggered, this, [this, i] { chooseAlternative(i - 1); });
        }
    if (!m->isEmpty()) m->addSeparator();
    QAction* adopt = m->addAction(adopt_->text());
    adopt->setEnabled(adopt_->isEnabled());
    connect(adopt, &QAction::triggered, adopt_, &QPushButton::click);
    return m;
}

void InterpretationPanel::fillAlternatives() {
    const int row = table_->selectionModel()->currentIndex().row();
    const PointInterpretation* r = model_->resultAt(row);
    filling_ = true;
    alternatives_->clear();
    if (r && r->error.empty()) {
        alternatives_->addItem(QObject::tr("所选解释：%1类，桩底 %2")
                                   .arg(InterpretationModel::classText(r->integrityClass),
                                        InterpretationModel::toeText(r->toeFound, r->toeDepth)));
        for (size_t k = 0; k < r->alternatives.size(); ++k) {
            const QString line = QStringLiteral("%1. %2").arg(k + 1).arg(
                InterpretationModel::alternativeText(r->alternatives[k]));
            alternatives_->addItem(line);
            alternatives_->setItemData(alternatives_->count() - 1, line, Qt::ToolTipRole);
        }
        alternatives_->setCurrentIndex(model_->chosenAlternative(row) + 1);
    } else {
        alternatives_->addItem(QObject::tr("无"));
    }
    alternatives_->setEnabled(r && !r->alternatives.empty());
    filling_ = false;
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
