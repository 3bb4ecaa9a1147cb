#include "core/processing/ProcessingCommands.h"

#include "core/processing/Positions.h"
#include "core/processing/StepForm.h"

namespace sondara {

const std::vector<ProcessingCommand>& ProcessingCommands() {
    using C = CommandId;
    using E = ChainEdit;
    using K = ProcessKind;
    static const std::vector<ProcessingCommand> table{
        {C::ProcFilter, E::NewOperation, K::Filter},
        {C::ProcAmplify, E::NewOperation, K::Amplify},
        {C::ProcRemoveDc, E::NewOperation, K::RemoveDc},
        {C::ProcSmooth, E::NewOperation, K::Smooth},
        {C::ProcIntegrate, E::NewOperation, K::Integrate},
        {C::ProcSimpleIntegrate, E::NewOperation, K::SimpleIntegrate},
        {C::ProcDifferentiate, E::NewOperation, K::Differentiate},
        {C::ProcRotate, E::NewOperation, K::Rotate},
        {C::ProcLinearZero, E::NewOperation, K::LinearZero},
        {C::ProcNonlinearZero, E::NewOperation, K::NonlinearZero},
        {C::ProcZeroFront, E::NewOperation, K::FrontZero},
        {C::ProcZeroBack, E::NewOperation, K::BackZero},
        {C::ProcLocalScale, E::NewOperation, K::LocalScale},
        {C::ProcShift, E::NewOperation, K::Shift},
        {C::ProcInvert, E::NewOperation, K::Reverse},
        {C::ProcInsertFilter, E::Insert, K::Filter},
        {C::ProcInsertAmplify, E::Insert, K::Amplify},
        {C::ProcInsertRemoveDc, E::Insert, K::RemoveDc},
        {C::ProcInsertSmooth, E::Insert, K::Smooth},
        {C::ProcInsertIntegrate, E::Insert, K::Integrate},
        {C::ProcInsertDifferentiate, E::Insert, K::Differentiate},
        {C::ProcInsertRotate, E::Insert, K::Rotate},
        {C::ProcInsertLinearZero, E::Insert, K::LinearZero},
        {C::ProcInsertNonlinearZero, E::Insert, K::NonlinearZero},
        {C::ProcInsertZeroFront, E::Insert, K::FrontZero},
        {C::ProcInsertZeroBack, E::Insert, K::BackZero},
        {C::ProcInsertLocalScale, E::Insert, K::LocalScale},
        {C::ProcInsertShift, E::Insert, K::Shift},
        {C::ProcInsertInvert, E::Insert, K::Reverse},
        {C::ProcEdit, E::Edit, K::None},
        {C::ProcDelete, E::Delete, K::None},
        {C::ProcClear, E::Clear, K::None},
        {C::ProcUndo, E::Undo, K::None},
    };
    return table;
}

std::optional<ProcessingCommand> ProcessingCommandOf(CommandId id) {
    for (const ProcessingCommand& c : ProcessingCommands())
        if (c.id == id) return c;
    return std::nullopt;
}

std::vector<ProcessingCommand> InsertCommands() {
    std::vector<ProcessingCommand> out;
    for (const ProcessingCommand& c : ProcessingCommands())
        if (c.edit == ChainEdit::Insert) out.push_back(c);
    return out;
}

bool DockAllowed(AnalysisDomain domain, bool showsAverage) {
    return domain == AnalysisDomain::Integrity ||
           (domain == AnalysisDomain::TimeAnalysis && showsAverage);
}

bool ForcesPopup(ProcessKind kind, AnalysisDomain domain, bool showsAverage) {
    switch (kind) {
        case ProcessKind::Filter:
        case ProcessKind::Amplify:
        case ProcessKind::RemoveDc:
        case ProcessKind::Smooth: return !DockAllowed(domain, showsAverage);
        default: return false;
    }
}

void PrefillNewStep(ProcessStep& step, int cursor, const TestPoint& first) {
    switch (step.processKind()) {
        case ProcessKind::RemoveDc:
            if (cursor >= 0) step.dcStart = cursor;
            break;
        case ProcessKind::Rotate:
            if (cursor >= 0) step.rotStart = cursor;
            break;
        case ProcessKind::LinearZero:
            if (cursor >= 0) step.linZeroStart = cursor;
            break;
        case ProcessKind::NonlinearZero:
            if (cursor >= 0) step.nonlinZeroStart = cursor;
            break;
        case ProcessKind::FrontZero:
            if (cursor >= 0) step.frontZeroEnd = cursor;
            break;
        case ProcessKind::BackZero:
            if (cursor >= 0) step.backZeroStart = cursor;
            break;
        case ProcessKind::Amplify: step.ampStart = SampleOfDepth(first, 0.0, false); break;
        default: break;
    }
}

HistoryButtons HistoryButtonStates(int entries, bool hasTargets, int selected) {
    HistoryButtons b;
    const bool listed = entries > 0 && hasTargets;
    b.clearUndo = listed;
    b.editInsertDelete = listed && selected >= 0 && selected < entries;
    return b;
}

}  // namespace sondara
