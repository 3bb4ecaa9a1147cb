#include "render/QtTextMetrics.h"

#include <QString>
#include <QStringList>

namespace sondara::render {

QFont DisplayFont() {
    QFont f;
    // Song-style serif first, as the instrument's own screens look; any CJK font after.
    f.setFamilies(QStringList{"宋体", "SimSun", "Noto Serif CJK SC", "Noto Sans CJK SC",
                              "WenQuanYi Micro Hei", "Droid Sans Fallback"});
    f.setPixelSize(14);
    f.setWeight(QFont::Normal);
    f.setStyleStrategy(QFont::PreferDefault);
    return f;
}

QtTextMetrics::QtTextMetrics(const QFont& font) : font_(font), metrics_(font) {}

int QtTextMetrics::textWidth(std::string_view utf8) const {
    constexpr size_t kRemembered = 512;  // readouts change with the cursor: keep the cache small
    const std::string key(utf8);
    if (auto it = widths_.find(key); it != widths_.end()) return it->second;
    const int w = metrics_.horizontalAdvance(
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    if (widths_.size() >= kRemembered) widths_.clear();
    widths_.emplace(key, w);
    return w;
}

int QtTextMetrics::lineHeight() const {
    return metrics_.height();
}

}  // namespace sondara::render
