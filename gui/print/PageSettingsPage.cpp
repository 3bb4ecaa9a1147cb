#include "gui/print/PageSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/base/TextCodec.h"
#include "gui/print/HeaderTableDialog.h"
#include "gui/print/PagePreview.h"

namespace sondara::gui {

namespace {

const char* const kItemNames[] = {
    QT_TRANSLATE_NOOP("QObject", "波形"),   QT_TRANSLATE_NOOP("QObject", "幅值谱"),
    QT_TRANSLATE_NOOP("QObject", "功率谱"), QT_TRANSLATE_NOOP("QObject", "倒频谱"),
    QT_TRANSLATE_NOOP("QObject", "对数谱"), QT_TRANSLATE_NOOP("QObject", "当前显示")};

// A caption without its mnemonic and colon, as the accessible name of its edit.
QString plain(const QString& caption) {
    QString t = caption;
    t.remove(QRegularExpression("\\(&.\\)")).remove('&').remove(QObject::tr("："));
    return t.simplified();
}

template <typename Edit>
void labelled(QGridLayout* g, int row, int col, const QString& caption, Edit* edit) {
    auto* label = new QLabel(caption);
    label->setBuddy(edit);
    edit->setAccessibleName(plain(caption));
    g->addWidget(label, row, col);
    g->addWidget(edit, row, col + 1);
}

QDoubleSpinBox* marginSpin() {
    auto* s = new QDoubleSpinBox;
    s->setRange(0.0, kMarginMaxCm);
    s->setSingleStep(0.1);
    s->setDecimals(1);  // "%0.1f"
    return s;
}

QString fromGbk(std::string_view gbk) {
    return QString::fromStdString(gbkToUtf8(gbk));
}

}  // namespace

PageSettingsPage::PageSettingsPage(QWidget* parent) : QWidget(parent) {
    auto* marginsBox = new QGroupBox(QObject::tr("页边距（厘米）"));
    auto* mg = new QGridLayout(marginsBox);
    for (auto& m : margins_) m = marginSpin();
    labelled(mg, 0, 0, QObject::tr("上(&T)："), margins_[0]);
    labelled(mg, 0, 2, QObject::tr("下(&B)："), margins_[1]);
    labelled(mg, 1, 0, QObject::tr("左(&L)："), margins_[2]);
    labelled(mg, 1, 2, QObject::tr("右(&R)："), margins_[3]);

    auto* gridBox = new QGroupBox(QObject::tr("波形排列"));
    auto* gg = new QGridLayout(gridBox);
    rows_ = new QSpinBox;
    rows_->setRange(1, kPrintGridMax);
    columns_ = new QSpinBox;
    columns_->setRange(1, kPrintGridMax);
    auto_ = new QCheckBox(QObject::tr("自动(&A)"));
    labelled(gg, 0, 0, QObject::tr("行数(&W)："), rows_);
    labelled(gg, 0, 2, QObject::tr("列数(&C)："), columns_);
    gg->addWidget(auto_, 1, 0, 1, 2);
    firstPage_ = new QSpinBox;
    firstPage_->setRange(1, kFirstPageMax);
    labelled(gg, 1, 2, QObject::tr("起始页(&S)："), firstPage_);

    auto* switches = new QHBoxLayout;
    table_ = new QCheckBox(QObject::tr("表头(&E)"));
    headerOn_ = new QCheckBox(QObject::tr("页眉(&H)"));
    footerOn_ = new QCheckBox(QObject::tr("页脚(&F)"));
    numberOn_ = new QCheckBox(QObject::tr("页码(&N)"));
    for (QCheckBox* c : {table_, headerOn_, footerOn_, numberOn_}) switches->addWidget(c);

    auto* tg = new QGridLayout;
    header_ = new QLineEdit;
    footer_ = new QLineEdit;
    labelled(tg, 0, 0, QObject::tr("页  眉(&D)："), header_);
    labelled(tg, 1, 0, QObject::tr("页  脚(&O)："), footer_);
    format_ = new QComboBox;
    // the page numbers as the printed pages show them, in the window's language
    for (int f = 0; f < 5; ++f) format_->addItem(QString::fromStdString(FormatPageNumber(f, 1, 1)));
    position_ = new QComboBox;
    position_->addItems({QObject::tr("顶部居左"), QObject::tr("顶部居中"), QObject::tr("顶部居右"),
                         QObject::tr("底部居左"), QObject::tr("底部居中"),
                         QObject::tr("底部居右")});
    labelled(tg, 2, 0, QObject::tr("格式(&M)："), format_);
    labelled(tg, 3, 0, QObject::tr("位置(&P)："), position_);

    itemsButton_ = new QToolButton;
    itemsButton_->setPopupMode(QToolButton::InstantPopup);
    itemsButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    itemsButton_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* menu = new QMenu(itemsButton_);
    for (int i = 0; i < 6; ++i) {
        items_[i] = menu->addAction(QObject::tr(kItemNames[i]));
        items_[i]->setCheckable(true);
        connect(items_[i], &QAction::toggled, this, &PageSettingsPage::showItemsSummary);
    }
    itemsButton_->setMenu(menu);
    labelled(tg, 4, 0, QObject::tr("打印项(&I)："), itemsButton_);

    fontButton_ = new QPushButton(QObject::tr("字体(&Z)..."));
    tableButton_ = new QPushButton(QObject::tr("表头(&G)..."));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fontButton_);
    buttons->addWidget(tableButton_);
    buttons->addStretch();

    preview_ = new PagePreview;
    auto* right = new QVBoxLayout;
    right->addWidget(marginsBox);
    right->addWidget(preview_, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(gridBox);
    left->addLayout(switches);
    left->addLayout(tg);
    left->addLayout(buttons);
    left->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);

    connect(rows_, &QSpinBox::valueChanged, this, &PageSettingsPage::refreshPreview);
    connect(columns_, &QSpinBox::valueChanged, this, &PageSettingsPage::refreshPreview);
    connect(auto_, &QCheckBox::toggled, this, &PageSettingsPage::autoToggled);
    connect(fontButton_, &QPushButton::clicked, this, &PageSettingsPage::chooseFont);
    connect(tableButton_, &QPushButton::clicked, this, &PageSettingsPage::editTable);
    show(PrintSettings{});
}

void PageSettingsPage::show(const PrintSettings& s) {
    s_ = s;
    s_.clampToRanges();
    const float margins[] = {s_.marginTopCm, s_.marginBottomCm, s_.marginLeftCm, s_.marginRightCm};
    for (int i = 0; i < 4; ++i) margins_[i]->setValue(margins[i]);
    rows_->setValue(s_.rows);
    columns_->setValue(s_.columns);
    auto_->setChecked(s_.autoLayout != 0);
    firstPage_->setValue(s_.firstPage);
    table_->setChecked(s_.printTable != 0);
    headerOn_->setChecked(s_.printHeader != 0);
    footerOn_->setChecked(s_.printFooter != 0);
    numberOn_->setChecked(s_.printPageNumber != 0);
    header_->setText(fromGbk(textOf(s_.headerText)));
    footer_->setText(fromGbk(textOf(s_.footerText)));
    format_->setCurrentIndex(s_.pageNumberFormat);
    position_->setCurrentIndex(s_.pageNumberPosition);
    for (int i = 0; i < 5; ++i)
        items_[i]->setChecked(s_.perPointItems[static_cast<size_t>(i)] != 0);
    items_[5]->setChecked(s_.currentDisplay != 0);
    autoToggled();
    showItemsSummary();
}

PrintSettings PageSettingsPage::take() const {
    PrintSettings s = s_;
    s.marginTopCm = static_cast<float>(margins_[0]->value());
    s.marginBottomCm = static_cast<float>(margins_[1]->value());
    s.marginLeftCm = static_cast<float>(margins_[2]->value());
    s.marginRightCm = static_cast<float>(margins_[3]->value());
    s.rows = rows_->value();
    s.columns = columns_->value();
    s.autoLayout = auto_->isChecked() ? 1 : 0;
    s.firstPage = firstPage_->value();
    s.printTable = table_->isChecked() ? 1 : 0;
    s.printHeader = headerOn_->isChecked() ? 1 : 0;
    s.printFooter = footerOn_->isChecked() ? 1 : 0;
    s.printPageNumber = numberOn_->isChecked() ? 1 : 0;
    setText(s.headerText, utf8ToGbk(header_->text().toStdString()));  // cut to 99 bytes
    setText(s.footerText, utf8ToGbk(footer_->text().toStdString()));
    s.pageNumberFormat = std::max(0, format_->currentIndex());
    s.pageNumberPosition = std::max(0, position_->currentIndex());
    for (int i = 0; i < 5; ++i)
        s.perPointItems[static_cast<size_t>(i)] = items_[i]->isChecked() ? 1 : 0;
    s.currentDisplay = items_[5]->isChecked() ? 1 : 0;
    s.clampToRanges();
    return s;
}

void PageSettingsPage::setLandscape(bool landscape) {
    landscape_ = landscape;
    refreshPreview();
}

void PageSettingsPage::refreshPreview() {
    preview_->setPage(landscape_, auto_->isChecked(), rows_->value(), columns_->value());
}

void PageSettingsPage::autoToggled() {
    const bool manual = !auto_->isChecked();
    rows_->setEnabled(manual);
    columns_->setEnabled(manual);
    refreshPreview();
}

void PageSettingsPage::showItemsSummary() {
    QStringList chosen;
    for (int i = 0; i < 6; ++i)
        if (items_[i]->isChecked()) chosen << QObject::tr(kItemNames[i]);
    itemsButton_->setText(chosen.isEmpty() ? QObject::tr("（无）")
                                           : chosen.join(QObject::tr("、")));
}

void PageSettingsPage::chooseFont() {
    QFont initial;
    const QString face = fromGbk(textOf(s_.font.faceName));
    if (!face.isEmpty()) initial.setFamilies({face, "Noto Serif CJK SC"});
    initial.setPointSize(std::max(1, std::abs(s_.font.height)));
    initial.setBold(s_.font.weight >= 550);
    initial.setItalic(s_.font.italic != 0);
    initial.setUnderline(s_.font.underline != 0);
    initial.setStrikeOut(s_.font.strikeOut != 0);
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, this, QObject::tr("字体"));
    if (!ok) return;
    // Kept as the page settings keep a font: its height in points.
    s_.font.height = f.pointSize() > 0 ? f.pointSize() : std::max(1, qRound(f.pointSizeF()));
    s_.font.weight = f.bold() ? 700 : 400;
    s_.font.italic = f.italic() ? 1 : 0;
    s_.font.underline = f.underline() ? 1 : 0;
    s_.font.strikeOut = f.strikeOut() ? 1 : 0;
    setText(s_.font.faceName, utf8ToGbk(f.family().toStdString()));
}

void PageSettingsPage::editTable() {
    HeaderTableDialog dlg(take(), this);
    if (dlg.exec() != QDialog::Accepted) return;
    const PrintSettings& t = dlg.settings();
    s_.tableRows = t.tableRows;
    s_.tableColumns = t.tableColumns;
    s_.tableRowHeightCm = t.tableRowHeightCm;
    s_.tableGridLines = t.tableGridLines;
    s_.cellKinds = t.cellKinds;
    s_.cellTexts = t.cellTexts;
}

}  // namespace sondara::gui
