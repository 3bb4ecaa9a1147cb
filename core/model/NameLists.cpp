#include "core/model/NameLists.h"

#include <initializer_list>

#include "core/base/TextCodec.h"

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
        build({"沉管灌注桩", "钻孔灌注桩", "人工挖孔灌注桩", "扩底桩", "夯拓桩", "混凝土预制桩",
               "预应力管桩", "刚桩", "粉喷桩", "CFG桩"});
    return l;
}

const NameList& ClassNames() {
    static const NameList l = build({"未得出", "I类桩", "II类桩", "III类桩", "IV类桩"});
    return l;
}

const NameList& SensorNames() {
    static const NameList l = build({"加速度", "速度", "加速度→速度"});
    return l;
}

const NameList& DefectNames() {
    static const NameList l =
        build({"无缺陷", "扩径", "缩径", "断桩", "裂纹", "夹泥", "离析", "扩底"});
    return l;
}

const NameList& ReportItemNames() {
    static const NameList l = build({"工程名称", "检测单位", "打印日期", "波形数", "文件名"});
    return l;
}

}  // namespace sondara
