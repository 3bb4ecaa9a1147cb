#include "gui/interpret/InterpretationModel.h"

#include <algorithm>
#include <limits>

#include "core/base/FixedText.h"
#include "core/base/TextCodec.h"
#include "core/model/SondaraDoc.h"
#include "gui/app/Translation.h"

namespace sondara::gui {

namespace {

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

}  // namespace

InterpretationModel::InterpretationModel(QObject* parent) : QAbstractTableModel(parent) {}

void InterpretationModel::setResults(std::vector<PointInterpretation> results) {
    beginResetModel();
    results_ = std::move(results);
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

int InterpretationModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int InterpretationModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString InterpretationModel::defectsText(const PointInterpretation& r) {
    if (!r.error.empty()) return trCore(r.error);
    if (r.defects.empty()) return QObject::tr("无");
    QStringList parts;
    for (const ProposedDefect& d : r.defects)
        parts << QStringLiteral("%1m %2 β=%3")
                     .arg(d.depth, 0, 'f', 2)
                     .arg(kindText(d))
                     .arg(d.beta, 0, 'f', 2);
    return parts.join(QObject::tr("；"));
}

QString InterpretationModel::classText(int integrityClass) {
    static const QString names[] = {QStringLiteral("Ⅰ"), QStringLiteral("Ⅱ"), QStringLiteral("Ⅲ"),
                                    QStringLiteral("Ⅳ")};
    return integrityClass >= 1 && integrityClass <= 4 ? names[integrityClass - 1] : QString();
}

QString InterpretationModel::confidenceText(const PointInterpretation& r) {
    return uncertain(r) ? QObject::tr("存疑") : QObject::tr("清晰");
}

QVariant InterpretationModel::data(const QModelIndex& index, int role) const {
    const PointInterpretation* r = index.isValid() ? resultAt(index.row()) : nullptr;
    if (!r) return {};
    if (role == Qt::ToolTipRole) {
        if (!r->error.empty()) return trCore(r->error);
        if (index.column() == Confidence && !r->reason.empty()) return trCore(r->reason);
        if (index.column() == Defects) return defectsText(*r);
        return {};
    }
    if (role == Qt::TextAlignmentRole && index.column() != Defects && index.column() != Pile)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case Pile: {
            const CSondaraDoc* d = doc_ ? doc_() : nullptr;
            if (!d || !d->validPoint(r->point)) return QString();
            return QString::fromStdString(
                gbkToUtf8(textOf(d->points[static_cast<size_t>(r->point)].pileNo)));
        }
        case Point:
            return r->point + 1;
        case ToeDepth:
            if (!r->error.empty()) return QString();
            return r->toeFound ? QStringLiteral("%1m").arg(r->toeDepth, 0, 'f', 2)
                               : QObject::tr("未找到");
        case Defects:
            return defectsText(*r);
        case Class:
            return r->error.empty() ? classText(r->integrityClass) : QString();
        case Confidence:
            return confidenceText(*r);
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
        QT_TRANSLATE_NOOP("QObject", "桩底深度"), QT_TRANSLATE_NOOP("QObject", "缺陷"),
        QT_TRANSLATE_NOOP("QObject", "建议类别"), QT_TRANSLATE_NOOP("QObject", "可信度"),
        QT_TRANSLATE_NOOP("QObject", "残差")};
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
    std::vector<std::string> text;
    const CSondaraDoc* d = doc_ ? doc_() : nullptr;
    if (sortColumn_ == Pile) {
        text.resize(n);
        for (size_t i = 0; i < n; ++i)
            if (d && d->validPoint(results_[i].point))
                text[i] = textOf(d->points[static_cast<size_t>(results_[i].point)].pileNo);
    }
    for (size_t i = 0; i < n; ++i) {
        const PointInterpretation& r = results_[i];
        switch (sortColumn_) {
            case Point:
                key[i] = r.point;
                break;
            case ToeDepth:
                key[i] =
                    r.toeFound && r.error.empty() ? r.toeDepth : std::numeric_limits<double>::max();
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
    std::sort(order_.begin(), order_.end(), [&](int a, int b) {
        const auto ua = static_cast<size_t>(a), ub = static_cast<size_t>(b);
        if (sortColumn_ == Pile && text[ua] != text[ub])
            return (text[ua] < text[ub]) == (sortOrder_ == Qt::AscendingOrder);
        if (key[ua] != key[ub]) return (key[ua] < key[ub]) == (sortOrder_ == Qt::AscendingOrder);
        return results_[ua].point < results_[ub].point;
    });
}

}  // namespace sondara::gui
