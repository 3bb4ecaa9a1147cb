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
#include "gui/app/Translation.h"

namespace sondara::gui {

TextExportDialog::TextExportDialog(const TextExportSettings& s, QWidget* parent)
    : QDialog(parent), settings_(s) {
    setWindowTitle(QObject::tr("导出波形文件"));
    auto* v = new QVBoxLayout(this);
    header_ = new QCheckBox(QObject::tr("数据头(测点数、波形长度)"), this);
    time_ = new QCheckBox(QObject::tr("每点声时(us)"), this);
    v->addWidget(header_);
    v->addWidget(time_);
    // kept by the settings, not offered
    auto* kind = new QGroupBox(QObject::tr("导出内容"), this);
    auto* kl = new QHBoxLayout(kind);
    kl->addWidget(new QRadioButton(QObject::tr("量化值"), kind));
    kl->addWidget(new QRadioButton(QObject::tr("毫伏值"), kind));
    kind->setEnabled(false);
    kind->hide();
    v->addWidget(kind);
    auto* form = new QFormLayout;
    separator_ = new QComboBox(this);
    separator_->setEditable(true);
    separator_->addItems({trCore(kSpaceSeparatorLabel), ",", "|"});
    form->addRow(QObject::tr("分隔符"), separator_);
    source_ = new QComboBox(this);
    source_->addItems({QObject::tr("当前测点"), QObject::tr("勾选测点"), QObject::tr("所有测点")});
    form->addRow(QObject::tr("数据来源"), source_);
    auto* pathRow = new QHBoxLayout;
    path_ = new QLineEdit(this);
    auto* browse = new QPushButton(QObject::tr("浏览"), this);
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse);
    form->addRow(QObject::tr("保存路径"), pathRow);
    v->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    auto* defaults = buttons->addButton(QObject::tr("全部缺省"), QDialogButtonBox::ResetRole);
    buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TextExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] { load(defaultTextExportSettings()); });
    connect(browse, &QPushButton::clicked, this, [this] {
        QString p = QFileDialog::getSaveFileName(this, QObject::tr("保存路径"), path_->text(),
                                                 QObject::tr("文本文件(*.txt);;任意文件(*.*)"));
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
    separator_->setEditText(f.separator == kSpaceSeparatorLabel
                                ? trCore(kSpaceSeparatorLabel)
                                : QString::fromStdString(f.separator));
    source_->setCurrentIndex(f.source);
    path_->setText(QString::fromStdString(f.path));
}

TextExportForm TextExportDialog::form() const {
    TextExportForm f;
    f.header = header_->isChecked();
    f.timeColumn = time_->isChecked();
    // the blank's label is the window's text of the core's label
    f.separator = separator_->currentText() == trCore(kSpaceSeparatorLabel)
                      ? std::string(kSpaceSeparatorLabel)
                      : separator_->currentText().toStdString();
    f.source = source_->currentIndex();
    f.path = path_->text().toStdString();
    return f;
}

void TextExportDialog::accept() {
    TextExportSettings out = settings_;
    std::string msg = validateTextExportForm(form(), out);
    if (!msg.empty()) {
        QMessageBox::information(this, QString(), trCore(msg));
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
        QMessageBox::information(parent, QString(), trCore(msg));
        return;
    }
    if (QMessageBox::question(parent, kExportDoneCaption, kAskOpenExport,
                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(dlg.settings().path)));
}

void runSaveResult(const CSondaraDoc& doc, QWidget* parent) {
    QString path = QFileDialog::getSaveFileName(parent, QObject::tr("保存结果"), QString(),
                                                QObject::tr("QAR结果文件(*.rpc);;所有文件 (*.*)"),
                                                nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".rpc";
    bool ok = WriteResultFile(doc, path.toStdString());
    QMessageBox::information(parent, QString(),
                             ok ? QObject::tr("保存完成") : QObject::tr("保存失败"));
}

}  // namespace sondara::gui
