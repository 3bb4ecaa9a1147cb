#include "gui/interpret/InterpretationModel.h"

#include <QColor>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/base/FixedText.h"
#include "core/base/TextCodec.h"
#include "core/model/SondaraDoc.h"
#include "gui/app/Translation.h"

namespace sondara::gui {

namespace {

// Rows the engineer has adopted: a pale green, still legible under every text colour.
const QColor kAdoptedRowColour{226, 243, 226};
// The confidence word of an uncertain row, so that the rows to look at stand out.
const QColor kUncertainTextColour{176, 84, 0};

QString kindText(const ProposedDefect& d) {
    if (d.kind == ImpedanceChangeKind::Widening) return QObject::tr("扩径");
    return d.beta < 0.6 ? QObject::tr("断桩") : QObject::tr("缩径");
}

bool uncertain(const PointInterpretation& r) {
    return !r.error.empty() || r.confidence != sondara::Confidence::Clear;
}

double smallestBeta(const PointInterpretation& r) {
    double b = 1.0;
    for (const ProposedDefect& d : r.defects)
        if (d.kind == ImpedanceChangeKind::Narrowing) b = std::min(b, d.beta);
    return b;
}

// A run of digits at i: its value's digits without leading zeros, and where it ends.
QStringView digitRun(const QString& s, qsizetype& i) {
    const qsizetype start = i;
    while (i < s.size() && s[i].isDigit()) ++i;
    qsizetype first = start;
    while (first + 1 < i && s[first] == u'0') ++first;
    return QStringView(s).mid(first, i - first);
}

}  // namespace

InterpretationModel::InterpretationModel(QObject* parent) : QAbstractTableModel(parent) {}

void InterpretationModel::setResults(std::vector<PointInterpretation> results) {
    beginResetModel();
    results_ = std::move(results);
    chosen_.assign(results_.size(), kChosenReading);
    adopted_.assign(results_.size(), kNotAdopted);
    order_.resize(results_.size());
    for (size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int>(i);
    applyOrder();
    endResetModel();
}

const PointInterpretation* InterpretationModel::resultAt(int row) const {
    if (row < 0 || row >= static_cast<int>(order_.size())) return nullptr;
    return &results_[static_cast<size_t>(order_[static_cast<size_t>(row)])];
}

int InterpretationModel::rowOfPoint(int point) const {
    for (size_t row = 0; row < order_.size(); ++row)
        if (results_[static_cast<size_t>(order_[row])].point == point) return static_cast<int>(row);
    return -1;
}

int InterpretationModel::chosenAlternative(int row) const {
    if (row < 0 || row >= static_cast<int>(order_.size())) return kChosenReading;
    return chosen_[static_cast<size_t>(order_[static_cast<size_t>(row)])];
}

void InterpretationModel::setChosenAlternative(int row, int k) {
    const PointInterpretation* r = resultAt(row);
    if (!r) return;
    if (k < kChosenReading || k >= static_cast<int>(r->alternatives.size())) k = kChosenReading;
    int& c = chosen_[static_cast<size_t>(order_[static_cast<size_t>(row)])];
    if (c == k) return;
    c = k;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

PointInterpretation InterpretationModel::readingToAdopt(int row) const {
    const PointInterpretation* r = resultAt(row);
    if (!r) return {};
    PointInterpretation out = *r;
    const int k = chosenAlternative(row);
    if (k < 0) return out;
    const InterpretationAlternative& a = r->alternatives[static_cast<size_t>(k)];
    out.integrityClass = a.integrityClass;
    out.toeFound = a.toeFound;
    out.toeTime = a.toeTime;
    out.toeIndex = a.toeIndex;
    out.toeDepth = a.toeDepth;
    out.defects = a.defects;
    out.fitted = a.fitted;
    out.profile.clear();  // the fitted pile belongs to the other reading
    return out;
}

void InterpretationModel::markAdopted(int point, int alternative) {
    const int row = rowOfPoint(point);
    if (row < 0) return;
    adopted_[static_cast<size_t>(order_[static_cast<size_t>(row)])] =
        std::max(alternative, kChosenReading);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int InterpretationModel::adoptedReading(int row) const {
    if (row < 0 || row >= static_cast<int>(order_.size())) return kNotAdopted;
    return adopted_[static_cast<size_t>(order_[static_cast<size_t>(row)])];
}

int InterpretationModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int InterpretationModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString InterpretationModel::defectsText(const std::vector<ProposedDefect>& defects) {
    if (defects.empty()) return QObject::tr("无");
    QStringList parts;
    for (const ProposedDefect& d : defects)
        parts << QStringLiteral("%1 %2 β=%3")
                     .arg(depthText(d.depth))
                     .arg(kindText(d))
                     .arg(d.beta, 0, 'f', 2);
    return parts.join(QObject::tr("；"));
}

QString InterpretationModel::defectsText(const PointInterpretation& r) {
    if (!r.error.empty()) return trCore(r.error);
    return defectsText(r.defects);
}

QString InterpretationModel::classText(int integrityClass) {
    static const QString names[] = {QStringLiteral("Ⅰ"), QStringLiteral("Ⅱ"), QStringLiteral("Ⅲ"),
                                    QStringLiteral("Ⅳ")};
    return integrityClass >= 1 && integrityClass <= 4 ? names[integrityClass - 1] : QString();
}

QString InterpretationModel::confidenceText(const PointInterpretation& r) {
    return uncertain(r) ? QObject::tr("存疑") : QObject::tr("清晰");
}

// A depth from a wave speed no pile has is unknown: a dash, never "nan".
QString InterpretationModel::depthText(double depth) {
    return std::isfinite(depth) ? QStringLiteral("%1m").arg(depth, 0, 'f', 2) : QStringLiteral("—");
}

QString InterpretationModel::toeText(bool found, double depth) {
    if (!std::isfinite(depth)) return found ? depthText(depth) : QObject::tr("未找到");
    if (found) return depthText(depth);
    if (depth > 0.0) return QObject::tr("%1m（未找到桩底反射）").arg(depth, 0, 'f', 2);
    return QObject::tr("未找到");
}

QString InterpretationModel::alternativeText(const InterpretationAlternative& a) {
    QString s = QObject::tr("%1类，桩底 %2，缺陷：%3，证据差 %4")
                    .arg(classText(a.integrityClass), toeText(a.toeFound, a.toeDepth),
                         defectsText(a.defects))
                    .arg(a.evidenceGap, 0, 'f', 1);
    if (!a.label.empty()) s += QObject::tr("（%1）").arg(trCore(a.label));
    return s;
}

QString InterpretationModel::toolTip(const PointInterpretation& r) {
    if (!r.error.empty()) return trCore(r.error);
    QStringList lines;
    if (uncertain(r) && !r.reason.empty()) lines << QObject::tr("存疑：%1").arg(trCore(r.reason));
    if (!r.lengthRemark.empty()) lines << trCore(r.lengthRemark);
    if (!r.alternatives.empty()) {
        lines << QObject::tr("其他可能的解释（证据差越小越接近所选解释）：");
        for (size_t k = 0; k < r.alternatives.size(); ++k)
            lines << QStringLiteral("%1. %2").arg(k + 1).arg(alternativeText(r.alternatives[k]));
    }
    return lines.join(u'\n');
}

int InterpretationModel::naturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView x = digitRun(a, i), y = digitRun(b, j);
            if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y); c != 0) return c < 0 ? -1 : 1;
            continue;
        }
        const QChar x = a[i].toCaseFolded(), y = b[j].toCaseFolded();
        if (x != y) return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    return QString::compare(a, b);  // equal but for case or leading zeros: still an order
}

QString InterpretationModel::pileText(const PointInterpretation& r) const {
    const CSondaraDoc* d = doc_ ? doc_() : nullptr;
    if (!d || !d->validPoint(r.point)) return QString();
    return QString::fromStdString(
        gbkToUtf8(textOf(d->points[static_cast<size_t>(r.point)].pileNo)));
}

QVariant InterpretationModel::data(const QModelIndex& index, int role) const {
    const PointInterpretation* r = index.isValid() ? resultAt(index.row()) : nullptr;
    if (!r) return {};
    const int column = index.column();
    switch (role) {
        case Qt::ToolTipRole: {
            QString tip = toolTip(*r);
            if (column == Defects && r->error.empty())
                tip = tip.isEmpty() ? defectsText(*r) : defectsText(*r) + u'\n' + tip;
            return tip.isEmpty() ? QVariant() : QVariant(tip);
        }
        case Qt::BackgroundRole:
            return adoptedReading(index.row()) != kNotAdopted ? QVariant(kAdoptedRowColour)
                                                              : QVariant();
        case Qt::ForegroundRole:
            return column == Confidence && uncertain(*r) ? QVariant(kUncertainTextColour)
                                                         : QVariant();
        case Qt::TextAlignmentRole:
            if (column == Point || column == ToeDepth || column == Residual)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            if (column == Class || column == Confidence)
                return int(Qt::AlignHCenter | Qt::AlignVCenter);
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::DisplayRole:
            break;
        default:
            return {};
    }
    switch (column) {
        case Pile:
            return pileText(*r);
        case Point:
            return r->point + 1;
        case Adopted: {
            const int a = adoptedReading(index.row());
            if (a == kNotAdopted) return QString();
            return a == kChosenReading ? QObject::tr("已采用")
                                       : QObject::tr("已采用（备选%1）").arg(a + 1);
        }
        case ToeDepth:
            return r->error.empty() ? toeText(r->toeFound, r->toeDepth) : QString();
        case Defects:
            return defectsText(*r);
        case Class:
            return r->error.empty() ? classText(r->integrityClass) : QString();
        case Confidence:
            return confidenceText(*r);
        case Reason:
            if (!r->error.empty()) return QObject::tr("无法判读");
            if (!uncertain(*r)) return QString();
            return r->alternatives.empty() ? trCore(r->reason)
                                           : QObject::tr("%1（%2种其他解释）")
                                                 .arg(trCore(r->reason))
                                                 .arg(r->alternatives.size());
        case LengthRemark:
            return r->error.empty() ? trCore(r->lengthRemark) : QString();
        case Residual:
            return r->error.empty() ? QString::number(r->residual, 'f', 3) : QString();
        default:
            return {};
    }
}

QVariant InterpretationModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Vertical) return section + 1;
    static const char* names[] = {
        QT_TRANSLATE_NOOP("QObject", "桩号"),     QT_TRANSLATE_NOOP("QObject", "测点"),
        QT_TRANSLATE_NOOP("QObject", "采用"),     QT_TRANSLATE_NOOP("QObject", "桩底深度"),
        QT_TRANSLATE_NOOP("QObject", "缺陷"),     QT_TRANSLATE_NOOP("QObject", "建议类别"),
        QT_TRANSLATE_NOOP("QObject", "可信度"),   QT_TRANSLATE_NOOP("QObject", "存疑原因"),
        QT_TRANSLATE_NOOP("QObject", "桩长说明"), QT_TRANSLATE_NOOP("QObject", "残差")};
    static_assert(std::size(names) == ColumnCount);
    return section >= 0 && section < ColumnCount ? QObject::tr(names[section]) : QVariant();
}

void InterpretationModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // the selection and the current row follow their results to the new rows
    const QModelIndexList before = persistentIndexList();
    std::vector<int> held;
    held.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& i : before) held.push_back(order_[static_cast<size_t>(i.row())]);
    sortColumn_ = column;
    sortOrder_ = order;
    applyOrder();
    std::vector<int> rowOf(order_.size());
    for (size_t row = 0; row < order_.size(); ++row)
        rowOf[static_cast<size_t>(order_[row])] = static_cast<int>(row);
    QModelIndexList after;
    for (qsizetype k = 0; k < before.size(); ++k)
        after << index(rowOf[static_cast<size_t>(held[static_cast<size_t>(k)])],
                       before[k].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void InterpretationModel::applyOrder() {
    // One key per result, made once per sort; equal keys keep the document's order.
    const size_t n = results_.size();
    std::vector<double> key(n, 0.0);
    std::vector<QString> text;
    if (sortColumn_ == Pile || sortColumn_ == Reason || sortColumn_ == LengthRemark) {
        text.resize(n);
        for (size_t i = 0; i < n; ++i) {
            const PointInterpretation& r = results_[i];
            text[i] = sortColumn_ == Pile     ? pileText(r)
                      : sortColumn_ == Reason ? (uncertain(r) ? trCore(r.reason) : QString())
                                              : trCore(r.lengthRemark);
        }
    }
    for (size_t i = 0; i < n; ++i) {
        const PointInterpretation& r = results_[i];
        switch (sortColumn_) {
            case Point:
                key[i] = r.point;
                break;
            case Adopted:
                key[i] = adopted_[i];
                break;
            case ToeDepth:
                key[i] = r.error.empty() && (r.toeFound || r.toeDepth > 0.0)
                             ? r.toeDepth
                             : std::numeric_limits<double>::max();
                break;
            case Defects:
                key[i] = smallestBeta(r);
                break;
            case Class:
                key[i] = r.integrityClass;
                break;
            case Confidence:
                key[i] = uncertain(r) ? 0.0 : 1.0;
                break;
            case Residual:
                key[i] = r.residual;
                break;
            default:
                key[i] = 0.0;
                break;
        }
    }
    const bool ascending = sortOrder_ == Qt::AscendingOrder;
    std::sort(order_.begin(), order_.end(), [&](int a, int b) {
        const auto ua = static_cast<size_t>(a), ub = static_cast<size_t>(b);
        if (!text.empty())
            if (const int c = naturalCompare(text[ua], text[ub]); c != 0)
                return (c < 0) == ascending;
        if (key[ua] != key[ub]) return (key[ua] < key[ub]) == ascending;
        return results_[ua].point < results_[ub].point;
    });
}

}  // namespace sondara::gui
