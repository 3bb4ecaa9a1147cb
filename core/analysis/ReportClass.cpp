#include "core/analysis/ReportClass.h"

namespace sondara {

int ReportClass(std::span<const PileMark> defects) {
    int result = static_cast<int>(ReportGrade::Intact);
    for (const PileMark& m : defects) {
        switch (static_cast<DefectKind>(m.kind)) {
            case DefectKind::Break:
                return static_cast<int>(ReportGrade::Severe);  // nothing lowers it back
            case DefectKind::Necking:
            case DefectKind::Crack:
            case DefectKind::SoilInclusion:
            case DefectKind::Segregation:
            case DefectKind::OwnName:
                result = static_cast<int>(ReportGrade::Defective);
                break;
            default:
                break;
        }
    }
    return result;
}

const char* ReportClassText(int value) {
    switch (value) {
        case 0:
            return "Ⅰ";
        case 1:
            return "Ⅱ/Ⅲ";
        case 2:
            return "Ⅳ";
        default:
            return "";
    }
}

}  // namespace sondara
