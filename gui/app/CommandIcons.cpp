#include "gui/app/CommandIcons.h"

#include <QFile>

// The compiled-in SVGs live in a static library; make sure they are registered.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace sondara::gui {
namespace {

struct IconEntry {
    CommandId id;
    const char* file;   // drawing in :/icons/actions
    const char* theme;  // freedesktop icon name, or null for the program's own actions
};

// clang-format off
constexpr IconEntry kIcons[] = {
    {CommandId::FileNew, "FileNew", "document-new"},
    {CommandId::FileOpen, "FileOpen", "document-open"},
    {CommandId::FileClose, "FileClose", "window-close"},
    {CommandId::FileSave, "FileSave", "document-save"},
    {CommandId::FileSaveAs, "FileSaveAs", "document-save-as"},
    {CommandId::FileSaveChecked, "FileSaveChecked", nullptr},
    {CommandId::FileMerge, "FileMerge", nullptr},
    {CommandId::FileSaveResult, "FileSaveResult", nullptr},
    {CommandId::FileSaveImage, "FileSaveImage", nullptr},
    {CommandId::FileWordReport, "FileWordReport", nullptr},
    {CommandId::FileExcelReport, "FileExcelReport", nullptr},
    {CommandId::FileExportText, "FileExportText", nullptr},
    {CommandId::FileImportTraces, "FileImportTraces", "document-import"},
    {CommandId::FilePrint, "FilePrint", "document-print"},
    {CommandId::FilePrintPreview, "FilePrintPreview", "document-print-preview"},
    {CommandId::FilePrintSetup, "FilePrintSetup", nullptr},
    {CommandId::FilePrintSetupNoDoc, "FilePrintSetupNoDoc", nullptr},
    {CommandId::FileRecent, "FileRecent", "document-open-recent"},
    {CommandId::AppExit, "AppExit", "application-exit"},
    {CommandId::EditUndo, "EditUndo", "edit-undo"},
    {CommandId::EditRedo, "EditRedo", "edit-redo"},
    {CommandId::EditRevert, "EditRevert", "document-revert"},
    {CommandId::EditCut, "EditCut", "edit-cut"},
    {CommandId::EditCopy, "EditCopy", "edit-copy"},
    {CommandId::EditPaste, "EditPaste", "edit-paste"},
    {CommandId::EditCopyResult, "EditCopyResult", nullptr},
    {CommandId::EditInsert, "EditInsert", nullptr},
    {CommandId::EditAppend, "EditAppend", nullptr},
    {CommandId::EditDelete, "EditDelete", "edit-delete"},
    {CommandId::EditMoveUp, "EditMoveUp", "go-up"},
    {CommandId::EditMoveDown, "EditMoveDown", "go-down"},
    {CommandId::EditSortAscending, "EditSortAscending", "view-sort-ascending"},
    {CommandId::EditSortDescending, "EditSortDescending", "view-sort-descending"},
    {CommandId::EditCheckAll, "EditCheckAll", "edit-select-all"},
    {CommandId::EditCheckNone, "EditCheckNone", nullptr},
    {CommandId::EditCheckInvert, "EditCheckInvert", nullptr},
    {CommandId::EditSettings, "EditSettings", nullptr},
    {CommandId::ViewStatusBar, "ViewStatusBar", nullptr},
    {CommandId::ViewMainToolbar, "ViewMainToolbar", nullptr},
    {CommandId::ViewDisplayToolbar, "ViewDisplayToolbar", nullptr},
    {CommandId::ViewProcessingToolbar, "ViewProcessingToolbar", nullptr},
    {CommandId::ViewAnalysisToolbar, "ViewAnalysisToolbar", nullptr},
    {CommandId::ViewPointListPanel, "ViewPointListPanel", nullptr},
    {CommandId::ViewHistoryPanel, "ViewHistoryPanel", nullptr},
    {CommandId::ViewInfoPanel, "ViewInfoPanel", nullptr},
    {CommandId::ViewInterpretationPanel, "ViewInterpretationPanel", nullptr},
    {CommandId::ViewCrossCursor, "ViewCrossCursor", nullptr},
    {CommandId::ViewLineCursor, "ViewLineCursor", nullptr},
    {CommandId::ViewCursorInfo, "ViewCursorInfo", nullptr},
    {CommandId::ViewEditCurrent, "ViewEditCurrent", nullptr},
    {CommandId::ViewEditAll, "ViewEditAll", nullptr},
    {CommandId::ProcFilter, "ProcFilter", nullptr},
    {CommandId::ProcAmplify, "ProcAmplify", nullptr},
    {CommandId::ProcRemoveDc, "ProcRemoveDc", nullptr},
    {CommandId::ProcSmooth, "ProcSmooth", nullptr},
    {CommandId::ProcIntegrate, "ProcIntegrate", nullptr},
    {CommandId::ProcSimpleIntegrate, "ProcSimpleIntegrate", nullptr},
    {CommandId::ProcDifferentiate, "ProcDifferentiate", nullptr},
    {CommandId::ProcRotate, "ProcRotate", nullptr},
    {CommandId::ProcLinearZero, "ProcLinearZero", nullptr},
    {CommandId::ProcNonlinearZero, "ProcNonlinearZero", nullptr},
    {CommandId::ProcZeroFront, "ProcZeroFront", nullptr},
    {CommandId::ProcZeroBack, "ProcZeroBack", nullptr},
    {CommandId::ProcLocalScale, "ProcLocalScale", nullptr},
    {CommandId::ProcShift, "ProcShift", nullptr},
    {CommandId::ProcInvert, "ProcInvert", nullptr},
    {CommandId::ProcUndo, "ProcUndo", nullptr},
    {CommandId::ProcEdit, "ProcEdit", nullptr},
    {CommandId::ProcDelete, "ProcDelete", nullptr},
    {CommandId::ProcClear, "ProcClear", nullptr},
    {CommandId::ProcInsertFilter, "ProcInsertFilter", nullptr},
    {CommandId::ProcInsertAmplify, "ProcInsertAmplify", nullptr},
    {CommandId::ProcInsertRemoveDc, "ProcInsertRemoveDc", nullptr},
    {CommandId::ProcInsertSmooth, "ProcInsertSmooth", nullptr},
    {CommandId::ProcInsertIntegrate, "ProcInsertIntegrate", nullptr},
    {CommandId::ProcInsertDifferentiate, "ProcInsertDifferentiate", nullptr},
    {CommandId::ProcInsertRotate, "ProcInsertRotate", nullptr},
    {CommandId::ProcInsertLinearZero, "ProcInsertLinearZero", nullptr},
    {CommandId::ProcInsertNonlinearZero, "ProcInsertNonlinearZero", nullptr},
    {CommandId::ProcInsertZeroFront, "ProcInsertZeroFront", nullptr},
    {CommandId::ProcInsertZeroBack, "ProcInsertZeroBack", nullptr},
    {CommandId::ProcInsertLocalScale, "ProcInsertLocalScale", nullptr},
    {CommandId::ProcInsertShift, "ProcInsertShift", nullptr},
    {CommandId::ProcInsertInvert, "ProcInsertInvert", nullptr},
    {CommandId::MarkHead, "MarkHead", nullptr},
    {CommandId::MarkToe, "MarkToe", nullptr},
    {CommandId::MarkAutoHead, "MarkAutoHead", nullptr},
    {CommandId::MarkAutoToe, "MarkAutoToe", nullptr},
    {CommandId::MarkInterpret, "MarkInterpret", nullptr},
    {CommandId::DefectEnlargedBase, "DefectEnlargedBase", nullptr},
    {CommandId::DefectBulge, "DefectBulge", nullptr},
    {CommandId::DefectNecking, "DefectNecking", nullptr},
    {CommandId::DefectMudInclusion, "DefectMudInclusion", nullptr},
    {CommandId::DefectSegregation, "DefectSegregation", nullptr},
    {CommandId::DefectCrack, "DefectCrack", nullptr},
    {CommandId::DefectBreak, "DefectBreak", nullptr},
    {CommandId::DefectCustom, "DefectCustom", nullptr},
    {CommandId::MarkLine, "MarkLine", nullptr},
    {CommandId::MarkEdit, "MarkEdit", nullptr},
    {CommandId::MarkDelete, "MarkDelete", nullptr},
    {CommandId::MarkClear, "MarkClear", nullptr},
    {CommandId::DispFillNone, "DispFillNone", nullptr},
    {CommandId::DispFillPositive, "DispFillPositive", nullptr},
    {CommandId::DispFillNegative, "DispFillNegative", nullptr},
    {CommandId::DispSpectrumLines, "DispSpectrumLines", nullptr},
    {CommandId::DispSpectrumEnvelope, "DispSpectrumEnvelope", nullptr},
    {CommandId::DispAutoAdjust, "DispAutoAdjust", nullptr},
    {CommandId::DispShowAll, "DispShowAll", nullptr},
    {CommandId::DispAlignHead, "DispAlignHead", nullptr},
    {CommandId::DispRestorePosition, "DispRestorePosition", nullptr},
    {CommandId::DispMoveLeft, "DispMoveLeft", "go-previous"},
    {CommandId::DispMoveRight, "DispMoveRight", "go-next"},
    {CommandId::DispFitToe, "DispFitToe", nullptr},
    {CommandId::DispRestoreScale, "DispRestoreScale", nullptr},
    {CommandId::DispStretchX, "DispStretchX", nullptr},
    {CommandId::DispCompressX, "DispCompressX", nullptr},
    {CommandId::DispAutoY, "DispAutoY", nullptr},
    {CommandId::DispStretchY, "DispStretchY", nullptr},
    {CommandId::DispCompressY, "DispCompressY", nullptr},
    {CommandId::WindowNew, "WindowNew", "window-new"},
    {CommandId::WindowCascade, "WindowCascade", nullptr},
    {CommandId::WindowTileHorizontal, "WindowTileHorizontal", nullptr},
    {CommandId::WindowTileVertical, "WindowTileVertical", nullptr},
    {CommandId::WindowArrangeIcons, "WindowArrangeIcons", nullptr},
    {CommandId::WindowCompare, "WindowCompare", nullptr},
    {CommandId::ToolTransfer, "ToolTransfer", nullptr},
    {CommandId::ToolViewLog, "ToolViewLog", nullptr},
    {CommandId::ToolCalculator, "ToolCalculator", "accessories-calculator"},
    {CommandId::ToolPaint, "ToolPaint", nullptr},
    {CommandId::ToolNotepad, "ToolNotepad", "accessories-text-editor"},
    {CommandId::HelpTopics, "HelpTopics", "help-contents"},
    {CommandId::Help, "HelpTopics", "help-contents"},  // F1 opens the same help
    {CommandId::HelpContext, "HelpTopics", "help-contextual"},
    {CommandId::NextPane, "EditMoveDown", "go-next"},
    {CommandId::PrevPane, "EditMoveUp", "go-previous"},
    {CommandId::HelpAbout, "HelpAbout", "help-about"},
};
// clang-format on

const IconEntry* entryOf(CommandId id) {
    for (const IconEntry& e : kIcons)
        if (e.id == id) return &e;
    return nullptr;
}

void ensureResources() {
    static const bool done = (initIconResources(), true);
    (void)done;
}

}  // namespace

QString bundledIconPath(CommandId id) {
    ensureResources();
    const IconEntry* e = entryOf(id);
    if (!e) return {};
    QString path = QStringLiteral(":/icons/actions/%1.svg").arg(QLatin1String(e->file));
    return QFile::exists(path) ? path : QString();
}

QIcon commandIcon(CommandId id) {
    const IconEntry* e = entryOf(id);
    if (!e) return {};
    QIcon own(bundledIconPath(id));
    // the desktop's own icon for the standard actions, the program's drawing otherwise
    if (e->theme && QIcon::hasThemeIcon(QLatin1String(e->theme)))
        return QIcon::fromTheme(QLatin1String(e->theme), own);
    return own;
}

QIcon commandIcon(int id) {
    return commandIcon(static_cast<CommandId>(id));
}

QIcon analysisIcon(const QString& type) {
    ensureResources();
    QString path = QStringLiteral(":/icons/actions/Analysis%1.svg").arg(type);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QIcon applicationIcon() {
    ensureResources();
    return QIcon(QStringLiteral(":/icons/sondara.svg"));
}

}  // namespace sondara::gui
