#include "core/output/SaveImageForm.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/base/Prompter.h"

namespace sondara {

namespace {

std::string sizeString(int w, int h) {
    return std::to_string(w) + "×" + std::to_string(h);
}

// The first `max` runs of decimal digits, each capped so that it cannot overflow.
std::vector<long> digitRuns(const std::string& text, size_t max) {
    std::vector<long> out;
    size_t i = 0;
    while (i < text.size() && out.size() < max) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        long v = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            if (v < 1000000000L) v = v * 10 + (text[i] - '0');
            ++i;
        }
        out.push_back(v);
    }
    return out;
}

bool folderExists(const std::string& f) {
    std::error_code ec;
    return !f.empty() && std::filesystem::is_directory(f, ec);
}

}  // namespace

SaveImageForm::SaveImageForm(std::vector<DataSelection> offered, ImageSize displaySize,
                             std::string defaultFolder, std::string fallbackFolder)
    : offered_(std::move(offered)),
      displaySize_(displaySize),
      defaultFolder_(std::move(defaultFolder)),
      fallbackFolder_(std::move(fallbackFolder)) {
    if (offered_.empty()) offered_.push_back(DataSelection::CurrentDisplay);
    s_.folder = defaultFolder_;
}

void SaveImageForm::load(Prompter* prompter) {
    SaveImageSettings s;
    if (!loadSaveImageSettings(s)) {
        s = SaveImageSettings{};
        saveSaveImageSettings(s, prompter);
    }
    setSettings(s);
}

void SaveImageForm::setSettings(const SaveImageSettings& s) {
    s_ = s;
    if (!s_.folder.empty() && !folderExists(s_.folder)) s_.folder = fallbackFolder_;
    if (s_.folder.empty()) s_.folder = defaultFolder_;
    s_.wordColumns = std::clamp(s_.wordColumns, 1, kMaxWordColumns);
    applyColumnRule();
}

std::vector<std::string> SaveImageForm::sizeEntries() const {
    std::vector<std::string> out;
    if (s_.wordColumns <= 1) {
        for (const ImageSize& z : kImageSizes) out.push_back(sizeString(z.width, z.height));
    } else {
        for (int h : {145, 200, 270, 400})
            out.push_back(sizeString(ColumnWidth(s_.wordColumns), h));
    }
    return out;
}

std::string SaveImageForm::sizeText() const {
    return sizeString(s_.width, s_.height);
}

void SaveImageForm::setSizeText(const std::string& text, bool typed) {
    const std::vector<long> n = digitRuns(text, 2);
    if (n.size() < 2) {
        (void)typed;  // a chosen entry always holds two numbers; a typed half is ignored
        return;
    }
    s_.width = static_cast<std::int32_t>(n[0]);
    s_.height = static_cast<std::int32_t>(n[1]);
    applyColumnRule();
}

void SaveImageForm::setColumnsText(const std::string& text) {
    // "the number in the text": a leading sign is honoured so that "-3" gives 1.
    long v = 0;
    const std::vector<long> n = digitRuns(text, 1);
    if (!n.empty()) v = n[0];
    const size_t firstDigit = text.find_first_of("0123456789");
    if (firstDigit != std::string::npos && firstDigit > 0 && text[firstDigit - 1] == '-') v = -v;
    s_.wordColumns = static_cast<std::int32_t>(std::clamp<long>(v, 1, kMaxWordColumns));
    applyColumnRule();
}

void SaveImageForm::setSelection(DataSelection sel) {
    s_.dataSelection = static_cast<int>(sel);
    if (sel == DataSelection::CurrentDisplay) {
        s_.width = displaySize_.width;
        s_.height = displaySize_.height;
        applyColumnRule();
    }
}

DataSelection SaveImageForm::selection() const {
    for (DataSelection d : offered_)
        if (static_cast<int>(d) == s_.dataSelection) return d;
    return offered_.front();
}

void SaveImageForm::restoreDefaults() {
    s_ = SaveImageSettings{};
    s_.folder = defaultFolder_;
    s_.dataSelection = static_cast<int>(offered_.front());
}

bool SaveImageForm::accept(Prompter& prompter) {
    if (s_.width < 1 || s_.width > kMaxImageSide || s_.height < 1 || s_.height > kMaxImageSide) {
        prompter.info(kBadImageSize);
        return false;
    }
    applyColumnRule();
    if (const std::string tooLarge = ImageSizeRefusal(s_.width, s_.height); !tooLarge.empty()) {
        prompter.info(tooLarge);
        return false;
    }
    s_.dataSelection = static_cast<int>(selection());
    saveSaveImageSettings(s_, &prompter);
    return true;
}

void SaveImageForm::applyColumnRule() {
    if (s_.wordColumns > 1) s_.width = ColumnWidth(s_.wordColumns);
}

}  // namespace sondara
