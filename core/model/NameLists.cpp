#include "core/model/NameLists.h"

#include <initializer_list>

#include "core/base/TextCodec.h"
#include "core/base/TrNoop.h"

namespace sondara {

namespace {
NameList build(std::initializer_list<const char*> names) {
    NameList l;
    for (const char* n : names) {
        l.utf8.emplace_back(n);
        l.gbk.push_back(utf8ToGbk(n));
    }
    return l;
}
}  // namespace

const NameList& PileTypeNames() {
    static const NameList l =
        build({SONDARA_TR_NOOP("sondara", "沉管灌注桩"), SONDARA_TR_NOOP("sondara", "钻孔灌注桩"),
               SONDARA_TR_NOOP("sondara", "人工挖孔灌注桩"), SONDARA_TR_NOOP("sondara", "扩底桩"),
               SONDARA_TR_NOOP("sondara", "夯拓桩"), SONDARA_TR_NOOP("sondara", "混凝土预制桩"),
               SONDARA_TR_NOOP("sondara", "预应力管桩"), SONDARA_TR_NOOP("sondara", "刚桩"),
               SONDARA_TR_NOOP("sondara", "粉喷桩"), SONDARA_TR_NOOP("sondara", "CFG桩")});
    return l;
}

const NameList& ClassNames() {
    static const NameList l =
        build({SONDARA_TR_NOOP("sondara", "未得出"), SONDARA_TR_NOOP("sondara", "I类桩"),
               SONDARA_TR_NOOP("sondara", "II类桩"), SONDARA_TR_NOOP("sondara", "III类桩"),
               SONDARA_TR_NOOP("sondara", "IV类桩")});
    return l;
}

const NameList& SensorNames() {
    static const NameList l =
        build({SONDARA_TR_NOOP("sondara", "加速度"), SONDARA_TR_NOOP("sondara", "速度"),
               SONDARA_TR_NOOP("sondara", "加速度→速度")});
    return l;
}

const NameList& DefectNames() {
    static const NameList l =
        build({SONDARA_TR_NOOP("sondara", "无缺陷"), SONDARA_TR_NOOP("sondara", "扩径"),
               SONDARA_TR_NOOP("sondara", "缩径"), SONDARA_TR_NOOP("sondara", "断桩"),
               SONDARA_TR_NOOP("sondara", "裂纹"), SONDARA_TR_NOOP("sondara", "夹泥"),
               SONDARA_TR_NOOP("sondara", "离析"), SONDARA_TR_NOOP("sondara", "扩底")});
    return l;
}

const NameList& ReportItemNames() {
    static const NameList l =
        build({SONDARA_TR_NOOP("sondara", "工程名称"), SONDARA_TR_NOOP("sondara", "检测单位"),
               SONDARA_TR_NOOP("sondara", "打印日期"), SONDARA_TR_NOOP("sondara", "波形数"),
               SONDARA_TR_NOOP("sondara", "文件名")});
    return l;
}

std::string ShownName(const NameList& list, std::string_view utf8) {
    for (const std::string& n : list.utf8)
        if (n == utf8) return TrText(n);
    return std::string(utf8);
}

std::string ShownName(const NameList& list, int index) {
    if (index < 0 || index >= list.count()) return {};
    return TrText(list.utf8[static_cast<size_t>(index)]);
}

std::string SourceName(const NameList& list, std::string_view shown) {
    for (const std::string& n : list.utf8)
        if (n == shown || TrText(n) == shown) return n;
    return std::string(shown);
}

}  // namespace sondara
