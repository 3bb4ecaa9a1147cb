#include "gui/frame/TextExportDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/fileio/ResultFile.h"

namespace sondara::gui {

TextExportDialog::TextExportDialog(const TextExportSettings& s, QWidget* parent)
    : QDialog(parent), settings_(s) {
    setWindowTitle("导出波形文件");
    auto* v = new QVBoxLayout(this);
    header_ = new QCheckBox("数据头(测点数、波形长度)", this);
    time_ = new QCheckBox("每点声时(us)", this);
    v->addWidget(header_);
    v->addWidget(time_);
    // kept by the settings, not offered
    auto* kind = new QGroupBox("导出内容", this);
    auto* kl = new QHBoxLayout(kind);
    kl->addWidget(new QRadioButton("量化值", kind));
    kl->addWidget(new QRadioButton("毫伏值", kind));
    kind->setEnabled(false);
    kind->hide();
    v->addWidget(kind);
    auto* form = new QFormLayout;
    separator_ = new QComboBox(this);
    separator_->setEditable(true);
    separator_->addItems({QString::fromUtf8(kSpaceSeparatorLabel), ",", "|"});
    form->addRow("分隔符", separator_);
    source_ = new QComboBox(this);
    source_->addItems({"当前测点", "勾选测点", "所有测点"});
    form->addRow("数据来源", source_);
    auto* pathRow = new QHBoxLayout;
    path_ = new QLineEdit(this);
    auto* browse = new QPushButton("浏览", this);
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse);
    form->addRow("保存路径", pathRow);
    v->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    auto* defaults = buttons->addButton("全部缺省", QDialogButtonBox::ResetRole);
    buttons->addButton("确定", QDialogButtonBox::AcceptRole);
    buttons->addButton("取消", QDialogButtonBox::RejectRole);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TextExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] { load(defaultTextExportSettings()); });
    connect(browse, &QPushButton::clicked, this, [this] {
        QString p = QFileDialog::getSaveFileName(this, "保存路径", path_->text(),
                                                 "文本文件(*.txt);;任意文件(*.*)");
        if (p.isEmpty()) return;
        if (QFileInfo(p).suffix().isEmpty()) p += ".txt";
        path_->setText(p);
    });
    load(s);
}

void TextExportDialog::load(const TextExportSettings& s) {
    const TextExportForm f = formOf(s);
    header_->setChecked(f.header);
    time_->setChecked(f.timeColumn);
    separator_->setEditText(QString::fromStdString(f.separator));
    source_->setCurrentIndex(f.source);
    path_->setText(QString::fromStdString(f.path));
}

TextExportForm TextExportDialog::form() const {
    TextExportForm f;
    f.header = header_->isChecked();
    f.timeColumn = time_->isChecked();
    f.separator = separator_->currentText().toStdString();
    f.source = source_->currentIndex();
    f.path = path_->text().toStdString();
    return f;
}

void TextExportDialog::accept() {
    TextExportSettings out = settings_;
    std::string msg = validateTextExportForm(form(), out);
    if (!msg.empty()) {
        QMessageBox::information(this, QString(), QString::fromStdString(msg));
        return;  // the dialog stays open
    }
    settings_ = out;
    saveTextExportSettings(settings_);  // a failed write only loses the remembered values
    QDialog::accept();
}

void runTextExport(const CSondaraDoc& doc, QWidget* parent) {
    TextExportSettings s;
    loadTextExportSettings(s);
    TextExportDialog dlg(s, parent);
    if (dlg.exec() != QDialog::Accepted) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string msg = ExportWaveText(doc, dlg.settings());
    QApplication::restoreOverrideCursor();
    if (!msg.empty()) {
        QMessageBox::information(parent, QString(), QString::fromStdString(msg));
        return;
    }
    if (QMessageBox::question(parent, kExportDoneCaption, kAskOpenExport,
                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(dlg.settings().path)));
}

void runSaveResult(const CSondaraDoc& doc, QWidget* parent) {
    QString path = QFileDialog::getSaveFileName(parent, "保存结果", QString(),
                                                "QAR结果文件(*.rpc);;所有文件 (*.*)", nullptr,
                                                QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".rpc";
    bool ok = WriteResultFile(doc, path.toStdString());
    QMessageBox::information(parent, QString(), ok ? "保存完成" : "保存失败");
}

}  // namespace sondara::gui
