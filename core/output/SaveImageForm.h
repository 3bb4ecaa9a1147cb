#pragma once
// What the 保存图形 dialog does with its controls, without the window: the size list
// and its rules, the column count, the choices offered, 默认 and 确定.
#include <string>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/output/SaveImageSettings.h"

namespace sondara {

class Prompter;

inline constexpr const char* kBadImageSize = SONDARA_TR_NOOP("sondara", "图形尺寸设置不合理！");

class SaveImageForm {
public:
    // `offered`: the selections the caller offers (at least one); `displaySize`: the
    // size of the current display; `defaultFolder`: the document's folder when its
    // file exists, else the fallback folder; `fallbackFolder` replaces a stored folder
    // that no longer exists.
    SaveImageForm(std::vector<DataSelection> offered, ImageSize displaySize,
                  std::string defaultFolder, std::string fallbackFolder);

    // Reads the settings file (writing the defaults when there is none) and applies
    // the opening rules.
    void load(Prompter* prompter);
    // Takes these values as if read from the file.
    void setSettings(const SaveImageSettings& s);
    const SaveImageSettings& settings() const { return s_; }
    const std::vector<DataSelection>& offered() const { return offered_; }

    // The size list: all 12 sizes with one column, else the four heights at 530 / c.
    std::vector<std::string> sizeEntries() const;
    std::string sizeText() const;  // "%d×%d"
    // A chosen entry or typed text: width and height from its first two runs of
    // digits; a typed text with fewer than two numbers changes nothing.
    void setSizeText(const std::string& text, bool typed);
    // The number in the text, limited to 1..30; the size list follows.
    void setColumnsText(const std::string& text);
    std::string columnsText() const { return std::to_string(s_.wordColumns); }
    // 当前显示 takes the size of the current display.
    void setSelection(DataSelection sel);
    DataSelection selection() const;  // the current one if offered, else the first
    void setFormat(ImageFormat f) { s_.format = static_cast<int>(f); }
    void setTarget(ImageTarget t) { s_.target = static_cast<int>(t); }
    void setFolder(std::string folder) { s_.folder = std::move(folder); }
    bool folderEnabled() const { return s_.target == static_cast<int>(ImageTarget::Files); }

    void restoreDefaults();  // 默认
    // 确定: checks the size ("图形尺寸设置不合理！", or a picture above the pixel cap:
    // ImageSizeRefusal; false: the dialog stays), writes
    // the settings file ("写设置文件失败！" on failure; the dialog still closes).
    bool accept(Prompter& prompter);

private:
    void applyColumnRule();

    std::vector<DataSelection> offered_;
    ImageSize displaySize_;
    std::string defaultFolder_, fallbackFolder_;
    SaveImageSettings s_;
};

// Width of a picture with c pictures per row.
inline int ColumnWidth(int columns) {
    return kWordPageWidth / (columns < 1 ? 1 : columns);
}

}  // namespace sondara
