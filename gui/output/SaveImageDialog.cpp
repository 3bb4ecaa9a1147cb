#include "gui/output/SaveImageDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/app/QtPrompter.h"

namespace sondara::gui {

SaveImageDialog::SaveImageDialog(SaveImageForm& form, QWidget* parent)
    : QDialog(parent), form_(form) {
    setWindowTitle(QObject::tr("保存图形"));
    auto* v = new QVBoxLayout(this);

    auto* target = new QGroupBox(QObject::tr("目标位置"), this);
    auto* tl = new QVBoxLayout(target);
    auto* radios = new QHBoxLayout;
    files_ = new QRadioButton(QObject::tr("图形文件"), target);
    word_ = new QRadioButton(QObject::tr("Word文件"), target);
    radios->addWidget(files_);
    radios->addWidget(word_);
    radios->addStretch(1);
    tl->addLayout(radios);
    auto* folderRow = new QHBoxLayout;
    folder_ = new QLineEdit(target);
    folder_->setAccessibleName(QObject::tr("目标文件夹"));
    browse_ = new QPushButton(QObject::tr("浏览"), target);
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse_);
    tl->addLayout(folderRow);
    v->addWidget(target);

    auto* form1 = new QFormLayout;
    format_ = new QComboBox(this);
    format_->addItems({"BMP", "JPEG"});
    form1->addRow(QObject::tr("文件格式:"), format_);
    selection_ = new QComboBox(this);
    for (DataSelection d : form_.offered())
        selection_->addItem(
            d == DataSelection::CurrentDisplay ? QObject::tr("当前显示") : QObject::tr("选中波形"),
            static_cast<int>(d));
    form1->addRow(QObject::tr("数据选择:"), selection_);
    v->addLayout(form1);

    auto* sizes = new QGroupBox(QObject::tr("文件大小"), this);
    auto* sl = new QFormLayout(sizes);
    size_ = new QComboBox(sizes);
    size_->setEditable(true);
    size_->setInsertPolicy(QComboBox::NoInsert);
    sl->addRow(QObject::tr("图形尺寸:"), size_);
    columns_ = new QComboBox(sizes);
    columns_->setEditable(true);
    columns_->setInsertPolicy(QComboBox::NoInsert);
    columns_->addItems({"1", "2", "3", "4", "5"});
    sl->addRow(QObject::tr("Word中列数:"), columns_);
    v->addWidget(sizes);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
    auto* defaults = buttons->addButton(QObject::tr("默认"), QDialogButtonBox::ResetRole);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &SaveImageDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] {
        form_.restoreDefaults();
        refresh();
    });
    for (QRadioButton* r : {files_, word_})
        connect(r, &QRadioButton::toggled, this, [this](bool) {
            if (refreshing_) return;
            form_.setTarget(files_->isChecked() ? ImageTarget::Files : ImageTarget::Word);
            refresh();
        });
    connect(folder_, &QLineEdit::textEdited, this,
            [this](const QString& t) { form_.setFolder(t.toStdString()); });
    connect(browse_, &QPushButton::clicked, this, [this] {
        const QString dir =
            QFileDialog::getExistingDirectory(this, QObject::tr("浏览"), folder_->text());
        if (dir.isEmpty()) return;
        form_.setFolder(dir.toStdString());
        refresh();
    });
    connect(format_, &QComboBox::activated, this,
            [this](int i) { form_.setFormat(i == 1 ? ImageFormat::Jpeg : ImageFormat::Bmp); });
    connect(selection_, &QComboBox::activated, this, [this](int i) {
        form_.setSelection(static_cast<DataSelection>(selection_->itemData(i).toInt()));
        refresh();
    });
    connect(size_, &QComboBox::textActivated, this, [this](const QString& t) {
        form_.setSizeText(t.toStdString(), false);
        refresh();
    });
    // Typing takes effect once two numbers are there; the text stays as typed.
    connect(size_->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& t) { form_.setSizeText(t.toStdString(), true); });
    connect(size_->lineEdit(), &QLineEdit::editingFinished, this, [this] { refresh(); });
    connect(columns_, &QComboBox::textActivated, this, [this](const QString& t) {
        form_.setColumnsText(t.toStdString());
        refresh();
    });
    connect(columns_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
        form_.setColumnsText(t.toStdString());
        const QString typed = t;
        refresh();
        columns_->setEditText(typed);
    });
    connect(columns_->lineEdit(), &QLineEdit::editingFinished, this, [this] { refresh(); });
    refresh();
}

void SaveImageDialog::refresh() {
    refreshing_ = true;
    const SaveImageSettings& s = form_.settings();
    files_->setChecked(s.target == static_cast<int>(ImageTarget::Files));
    word_->setChecked(s.target != static_cast<int>(ImageTarget::Files));
    folder_->setText(QString::fromStdString(s.folder));
    folder_->setEnabled(form_.folderEnabled());
    browse_->setEnabled(form_.folderEnabled());
    format_->setCurrentIndex(s.format == 1 ? 1 : 0);
    selection_->setCurrentIndex(
        std::max(0, selection_->findData(static_cast<int>(form_.selection()))));
    size_->clear();
    for (const std::string& e : form_.sizeEntries()) size_->addItem(QString::fromStdString(e));
    size_->setEditText(QString::fromStdString(form_.sizeText()));
    columns_->setEditText(QString::fromStdString(form_.columnsText()));
    refreshing_ = false;
}

void SaveImageDialog::accept() {
    form_.setSizeText(size_->currentText().toStdString(), true);
    form_.setFolder(folder_->text().toStdString());
    QtPrompter prompter(this);
    if (!form_.accept(prompter)) {
        refresh();
        return;
    }
    QDialog::accept();
}

}  // namespace sondara::gui
