#include "core/output/ImageExport.h"

#include <cstdio>

#include "core/base/TextCodec.h"
#include "core/base/TrNoop.h"

namespace sondara {

std::string SanitizeFileName(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    std::string out(text);
    for (char& c : out) switch (c) {
            case '\\':
            case '/':
            case '*':
            case '?':
            case '<':
            case '>':
            case '|':
            case '"':
                c = '_';
                break;
            default:
                break;
        }
    if (out.empty()) out = "_";
    return out;
}

std::string ImageSizeRefusal(int width, int height) {
    if (static_cast<long long>(width) * height <= kMaxImagePixels) return {};
    char b[160];
    std::snprintf(
        b, sizeof b,
        TrFormat(
            SONDARA_TR_NOOP("sondara", "图形尺寸%d×%d超过上限：宽×高最多%lld像素（如8192×8192）！"))
            .c_str(),
        width, height, kMaxImagePixels);
    return b;
}

std::vector<DataSelection> OfferedSelections(int paneCount, int checkedCount) {
    std::vector<DataSelection> out;
    if (paneCount > 0) out.push_back(DataSelection::CurrentDisplay);
    if (checkedCount > 0) out.push_back(DataSelection::CheckedPoints);
    return out;
}

ImageSize CurrentDisplaySize(const WaveDisplayModel& model) {
    if (model.paneCount() == 0) return {};
    const AnalysisSelection& s = model.selection();
    const PixelRect& r = model.pane(0).paneRect;
    const bool integrity = s.domain == AnalysisDomain::Integrity;
    if ((integrity && s.displaySet == DisplaySet::SingleTrace) || ShowsAverage(s) ||
        (s.domain == AnalysisDomain::Frequency &&
         IsValidCrossPower(s, model.document() ? model.document()->pointCount() : 0)))
        return {r.width(), r.height()};
    if (integrity && s.displaySet == DisplaySet::WaveTrain)
        return {r.width(), r.height() * model.paneCount()};
    return {};
}

std::vector<ExportItem> ExportItems(DataSelection sel, const CSondaraDoc& doc,
                                    const WaveDisplayModel& model) {
    std::vector<ExportItem> out;
    if (sel == DataSelection::CheckedPoints) {
        for (int p : doc.checkedList)
            if (p >= 0 && p < doc.pointCount()) out.push_back({ExportItem::Kind::CheckedPoint, p});
        return out;
    }
    const AnalysisSelection& s = model.selection();
    if (s.domain == AnalysisDomain::Integrity && s.displaySet == DisplaySet::WaveTrain) {
        if (model.paneCount() > 0) out.push_back({ExportItem::Kind::WaveTrain, 0});
        return out;
    }
    for (int i = 0; i < model.paneCount(); ++i) out.push_back({ExportItem::Kind::DisplayPane, i});
    return out;
}

std::string ExportFileName(const ExportItem& item, const std::string& folder,
                           const CSondaraDoc& doc, const WaveDisplayModel& model,
                           ImageFormat format) {
    const char* ext = ImageExtension(format);
    if (item.kind == ExportItem::Kind::WaveTrain) return folder + "波列." + ext;
    int point = item.index;
    if (item.kind == ExportItem::Kind::DisplayPane)
        point = item.index >= 0 && item.index < model.paneCount()
                    ? model.pane(item.index).pointIndex
                    : -1;
    std::string pile;
    if (point >= 0 && point < doc.pointCount())
        pile = gbkToUtf8(textOf(doc.points[static_cast<size_t>(point)].pileNo));
    return folder + "NO" + std::to_string(item.index + 1) + "：" + SanitizeFileName(pile) + "." +
           ext;
}

}  // namespace sondara
