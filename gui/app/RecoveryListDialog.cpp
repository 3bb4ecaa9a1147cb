#include "gui/app/RecoveryListDialog.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace sondara::gui {

QString recoveryDocumentName(const RecoveryEntry& e) {
    return e.originalPath.empty() ? QObject::tr("（未命名）")
                                  : QString::fromStdString(e.originalPath);
}

QString recoveryTimeText(const RecoveryEntry& e) {
    const QDateTime when = e.time > 0
                               ? QDateTime::fromSecsSinceEpoch(e.time)
                               : QFileInfo(QString::fromStdString(e.dataPath)).lastModified();
    return when.toString("yyyy-MM-dd hh:mm:ss");
}

RecoveryListDialog::RecoveryListDialog(const std::vector<RecoveryEntry>& entries, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QObject::tr("恢复未保存的修改"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QObject::tr(
            "以下文件有未保存的修改，是上次未正常结束的程序留下的。请选择每个文件的处理方式："),
        this));
    auto* table = new QTableWidget(static_cast<int>(entries.size()), 4, this);
    table->setAccessibleName(QObject::tr("恢复文件"));
    table->setHorizontalHeaderLabels(
        {QObject::tr("文件"), QObject::tr("修改时间"), QObject::tr("测点数"), QObject::tr("处理")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    for (int r = 0; r < static_cast<int>(entries.size()); ++r) {
        const RecoveryEntry& e = entries[r];
        table->setItem(r, 0, new QTableWidgetItem(recoveryDocumentName(e)));
        table->setItem(r, 1, new QTableWidgetItem(recoveryTimeText(e)));
        table->setItem(
            r, 2,
            new QTableWidgetItem(e.points >= 0 ? QString::number(e.points) : QStringLiteral("?")));
        auto* box = new QComboBox(table);
        box->addItem(QObject::tr("恢复"), static_cast<int>(RecoveryChoice::Recover));
        box->addItem(QObject::tr("放弃"), static_cast<int>(RecoveryChoice::Discard));
        box->addItem(QObject::tr("暂不处理"), static_cast<int>(RecoveryChoice::Keep));
        box->setAccessibleName(QObject::tr("处理") + " " + recoveryDocumentName(e));
        table->setCellWidget(r, 3, box);
        boxes_.push_back(box);
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->resizeColumnsToContents();
    layout->addWidget(table);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* all = buttons->addButton(QObject::tr("全部恢复"), QDialogButtonBox::ActionRole);
    QPushButton* none = buttons->addButton(QObject::tr("全部放弃"), QDialogButtonBox::ActionRole);
    QPushButton* ok = buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole);
    QPushButton* later = buttons->addButton(QObject::tr("以后再说"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(all, &QPushButton::clicked, this, [this] {
        setAll(RecoveryChoice::Recover);
        accept();
    });
    connect(none, &QPushButton::clicked, this, [this] {
        setAll(RecoveryChoice::Discard);
        accept();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 320);
}

void RecoveryListDialog::setAll(RecoveryChoice c) {
    for (int r = 0; r < static_cast<int>(boxes_.size()); ++r) setChoice(r, c);
}

void RecoveryListDialog::setChoice(int row, RecoveryChoice c) {
    if (row < 0 || row >= static_cast<int>(boxes_.size())) return;
    boxes_[row]->setCurrentIndex(boxes_[row]->findData(static_cast<int>(c)));
}

std::vector<RecoveryChoice> RecoveryListDialog::choices() const {
    std::vector<RecoveryChoice> out(boxes_.size(), RecoveryChoice::Keep);
    if (result() != QDialog::Accepted) return out;
    for (std::size_t r = 0; r < boxes_.size(); ++r)
        out[r] = static_cast<RecoveryChoice>(boxes_[r]->currentData().toInt());
    return out;
}

}  // namespace sondara::gui
