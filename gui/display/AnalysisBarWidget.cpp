#include "gui/display/AnalysisBarWidget.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "gui/app/Translation.h"

namespace sondara::gui {

namespace {

// The bar's captions, items and tips: the window's text of each line of the core's text
// (numbers come out as they are).
QString qs(const std::string& s) {
    QStringList lines;
    for (const QString& line : QString::fromStdString(s).split('\n'))
        lines << trCore(line.toStdString());
    return lines.join('\n');
}

// The item icons: one colour per icon strip, the item's first character on it, so
// that the entries of a list tell apart at a glance.
QIcon itemIcon(int strip, int index, const QString& text) {
    static const QColor kStripColours[] = {{40, 110, 200}, {30, 140, 90}, {170, 90, 30},
                                           {120, 70, 170}, {0, 130, 150}, {190, 50, 80}};
    QColor base = kStripColours[(strip - 201) % 6];
    base = base.lighter(100 + 12 * (index % 4));
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.fillPath(path, base);
    QFont f = p.font();
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text.left(1));
    return QIcon(pm);
}

QIcon settingsIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 70), 1.6));
    for (int y : {4, 8, 12}) p.drawLine(2, y, 14, y);
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QPointF(5, 4), 2, 2);
    p.drawEllipse(QPointF(11, 8), 2, 2);
    p.drawEllipse(QPointF(7, 12), 2, 2);
    return QIcon(pm);
}

}  // namespace

AnalysisBarWidget::AnalysisBarWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("AnalysisBar");
    // A narrow window squeezes the bar rather than the display.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(6);
    const BarCombo ids[] = {BarCombo::AnalysisType, BarCombo::DisplaySet, BarCombo::SubAnalysis,
                            BarCombo::FirstChoice, BarCombo::SecondChoice};
    for (size_t i = 0; i < combos_.size(); ++i) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString("combo%1").arg(static_cast<int>(ids[i])));
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(4);
        c->setMaxVisibleItems(20);
        combos_[i] = c;
        const BarCombo id = ids[i];
        connect(c, &QComboBox::activated, this,
                [this, id](int index) { emit comboSelected(id, index); });
    }
    auto caption = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    subCaption_ = caption("caption1020");
    firstCaption_ = caption("caption1015");
    secondCaption_ = caption("caption1016");
    speed_ = new QLineEdit(this);
    speed_->setObjectName("edit1012");
    // Digits only; the view refuses what lies outside the range and puts the applied
    // value back (a validator's range would leave such a text standing in the box).
    speed_->setValidator(new QIntValidator(0, 99999, speed_));
    length_ = new QLineEdit(this);
    length_->setObjectName("edit1013");
    // Enough decimals for the shortest text of any stored float32 length below 10000 m.
    auto* lv = new QDoubleValidator(0.0, 99999.0, 9, length_);
    lv->setNotation(QDoubleValidator::StandardNotation);
    lv->setLocale(QLocale::c());
    length_->setValidator(lv);
    for (QLineEdit* e : {speed_, length_}) e->setMinimumWidth(48);
    connect(speed_, &QLineEdit::editingFinished, this,
            [this] { emit speedEntered(speed_->text()); });
    connect(length_, &QLineEdit::editingFinished, this,
            [this] { emit lengthEntered(length_->text()); });

    settings_ = new QPushButton(settingsIcon(), QObject::tr("设置 "), this);
    settings_->setObjectName("button1067");
    settings_->setToolTip(QObject::tr("设置显示区相关参数"));
    settings_->setEnabled(false);  // the display settings dialog comes with its own work

    // Proportional columns: the lists take the width, captions and boxes what they need.
    row->addWidget(combos_[0], 4);
    row->addWidget(combos_[1], 4);
    row->addWidget(subCaption_, 0);
    row->addWidget(combos_[2], 4);
    row->addWidget(firstCaption_, 0);
    row->addWidget(speed_, 2);
    row->addWidget(combos_[3], 5);
    row->addWidget(secondCaption_, 0);
    row->addWidget(length_, 2);
    row->addWidget(combos_[4], 5);
    row->addStretch(1);
    row->addWidget(settings_, 0);
}

QComboBox* AnalysisBarWidget::combo(BarCombo c) const {
    switch (c) {
        case BarCombo::AnalysisType:
            return combos_[0];
        case BarCombo::DisplaySet:
            return combos_[1];
        case BarCombo::SubAnalysis:
            return combos_[2];
        case BarCombo::FirstChoice:
            return combos_[3];
        case BarCombo::SecondChoice:
            return combos_[4];
    }
    return nullptr;
}

void AnalysisBarWidget::fill(QComboBox* box, const BarComboState& s, int strip) {
    const size_t k =
        static_cast<size_t>(std::find(combos_.begin(), combos_.end(), box) - combos_.begin());
    const QSignalBlocker block(box);
    if (shown_[k].items != s.items || shown_[k].tooltips != s.tooltips || strips_[k] != strip) {
        box->clear();
        for (size_t i = 0; i < s.items.size(); ++i) {
            const QString text = qs(s.items[i]);
            if (strip)
                box->addItem(itemIcon(strip, static_cast<int>(i), text), text);
            else
                box->addItem(text);
            if (i < s.tooltips.size())
                box->setItemData(static_cast<int>(i), qs(s.tooltips[i]), Qt::ToolTipRole);
        }
        shown_[k] = s;
        strips_[k] = strip;
    }
    box->setCurrentIndex(s.selected);
    box->setVisible(s.visible);
}

void AnalysisBarWidget::showLayout(const BarLayout& L) {
    // Which icon strip a list carries follows from its contents' kind.
    const int type = L.type.selected;
    const bool integrity = type == 0, time = type == 1, frequency = type == 2;
    fill(combos_[0], L.type, 201);
    fill(combos_[1], L.displaySet, integrity ? 202 : (frequency ? 205 : 0));
    fill(combos_[2], L.sub, time ? 203 : (frequency ? 206 : 0));
    const bool averageScope = time && L.firstCaption == "选择范围";
    fill(combos_[3], L.first, averageScope ? 204 : 0);
    fill(combos_[4], L.second, 0);
    auto caption = [](QLabel* l, const std::string& text) {
        l->setText(qs(text));
        l->setVisible(!text.empty());
    };
    caption(subCaption_, L.subCaption);
    caption(firstCaption_, L.firstCaption);
    caption(secondCaption_, L.secondCaption);
    speed_->setVisible(L.speedAndLengthShown);
    length_->setVisible(L.speedAndLengthShown);
}

void AnalysisBarWidget::setTextGrey(QLineEdit* e, bool grey) {
    QPalette pal = e->palette();
    pal.setColor(QPalette::Text, grey ? QColor::fromRgb(kGreyText) : QColor(Qt::black));
    e->setPalette(pal);
}

void AnalysisBarWidget::showSpeedAndLength(const SpeedLengthView& v) {
    if (!v.applies) return;
    for (QLineEdit* e : {speed_, length_}) e->setEnabled(v.enabled);
    // Not while the user is typing into the box.
    if (!speed_->hasFocus() || !speed_->isModified()) speed_->setText(qs(v.speedText));
    if (!length_->hasFocus() || !length_->isModified()) length_->setText(qs(v.lengthText));
    setTextGrey(speed_, v.speedGrey);
    setTextGrey(length_, v.lengthGrey);
    update();
}

}  // namespace sondara::gui
