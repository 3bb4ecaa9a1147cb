#include "core/app/CommandTable.h"

#include <algorithm>
#include <cctype>

namespace sondara {

const std::vector<CommandInfo>& allCommands() {
    static const std::vector<CommandInfo> k = {
        // 文件
        {CommandId::FileNew, "新建(&N)", "新建", "Ctrl+N"},
        {CommandId::FileOpen, "打开(&O)...", "打开", "Ctrl+O"},
        {CommandId::FileClose, "关闭(&C)", "关闭", ""},
        {CommandId::FileSave, "保存(&S)", "保存", "Ctrl+S"},
        {CommandId::FileSaveAs, "另存为(&A)...", "另存为", ""},
        {CommandId::FileSaveChecked, "选择保存(&L)...", "选择保存", ""},
        {CommandId::FileMerge, "文件合并(&M)...", "文件合并", ""},
        {CommandId::FileSaveResult, "保存结果", "", ""},
        {CommandId::FileSaveImage, "保存图形(&B)...", "保存图形", ""},
        {CommandId::FileWordReport, "生成报告(&W)...", "生成报告", ""},
        {CommandId::FileExcelReport, "生成报表(&E)...", "生成报表", ""},
        {CommandId::FileExportText, "导出波形文本", "导出波形文本", ""},
        {CommandId::FileImportTraces, "导入波形(&I)…", "导入波形", ""},
        {CommandId::FilePrint, "打印(&P)...", "打印", "Ctrl+P"},
        {CommandId::FilePrintPreview, "打印预览(&V)", "打印预览", ""},
        {CommandId::FilePrintSetup, "打印设置(&R)...", "打印设置", ""},
        {CommandId::FilePrintSetupNoDoc, "打印设置(&R)...", "打印设置", ""},
        {CommandId::FileRecent, "最近文件", "", ""},
        {CommandId::AppExit, "退出(&X)", "退出", ""},
        // 编辑
        {CommandId::EditUndo, "撤销(&U)", "撤销", "Ctrl+Z"},
        {CommandId::EditRedo, "重复(&R)", "重复", "Ctrl+Y"},
        {CommandId::EditRevert, "还原(&E)", "还原", ""},
        {CommandId::EditCut, "剪切(&T)", "剪切", "Ctrl+X"},
        {CommandId::EditCopy, "复制(&C)", "复制", "Ctrl+C"},
        {CommandId::EditPaste, "粘贴(&P)", "粘贴", "Ctrl+V"},
        {CommandId::EditCopyResult, "复制结果(&L)", "复制结果", ""},
        {CommandId::EditInsert, "插入(&I)", "插入", ""},
        {CommandId::EditAppend, "添加(&A)", "添加", ""},
        {CommandId::EditDelete, "删除(&D)", "删除", ""},
        {CommandId::EditMoveUp, "上移(&U)", "上移", ""},
        {CommandId::EditMoveDown, "下移(&W)", "下移", ""},
        {CommandId::EditSortAscending, "升序排列(&S)", "升序排列", ""},
        {CommandId::EditSortDescending, "降序排列(&N)", "降序排列", ""},
        {CommandId::EditCheckAll, "全部勾选(&H)", "全部勾选", ""},
        {CommandId::EditCheckNone, "全部不选(&O)", "全部不选", ""},
        {CommandId::EditCheckInvert, "全部反选(&V)", "全部反选", ""},
        {CommandId::EditSettings, "设置(&F)", "编辑设置", ""},
        // 查看
        {CommandId::ViewStatusBar, "状态栏(&S)", "显隐状态栏", ""},
        {CommandId::ViewMainToolbar, "主控制(&T)", "显隐主控制", ""},
        {CommandId::ViewDisplayToolbar, "显示调整(&D)", "显隐显示调整", ""},
        {CommandId::ViewProcessingToolbar, "波形处理(&A)", "显隐波形处理", ""},
        {CommandId::ViewAnalysisToolbar, "波形分析(&W)", "显隐波形分析", ""},
        {CommandId::ViewPointListPanel, "测点栏(&L)", "显隐测点栏", ""},
        {CommandId::ViewHistoryPanel, "处理过程(&R)", "显隐处理过程", ""},
        {CommandId::ViewInfoPanel, "信息栏(&B)", "显隐信息栏", ""},
        {CommandId::ViewCrossCursor, "十字(&O)", "十字游标", ""},
        {CommandId::ViewLineCursor, "竖线(&N)", "竖线游标", ""},
        {CommandId::ViewCursorInfo, "光标信息(&M)", "显隐游标信息", ""},
        {CommandId::ViewEditCurrent, "当前波形", "当前波形", ""},
        {CommandId::ViewEditAll, "全部波形", "全部波形", ""},
        // 波形处理
        {CommandId::ProcFilter, "数字滤波[F]", "数字滤波", ""},
        {CommandId::ProcAmplify, "波形放大[M]", "波形放大", ""},
        {CommandId::ProcRemoveDc, "去直流[B]", "去直流", ""},
        {CommandId::ProcSmooth, "平滑[L]", "平滑", ""},
        {CommandId::ProcIntegrate, "积分[I]", "积分", ""},
        {CommandId::ProcSimpleIntegrate, "简单积分(&S)", "简单积分", ""},
        {CommandId::ProcDifferentiate, "微分(&D)", "微分", ""},
        {CommandId::ProcRotate, "波形旋转[O]", "波形旋转", ""},
        {CommandId::ProcLinearZero, "线性归零[Z]", "线性归零", ""},
        {CommandId::ProcNonlinearZero, "非线性归零[N]", "非线性归零", ""},
        {CommandId::ProcZeroFront, "前清零[E]", "前清零", ""},
        {CommandId::ProcZeroBack, "后清零[K]", "后清零", ""},
        {CommandId::ProcLocalScale, "局部缩放[P]", "局部缩放", ""},
        {CommandId::ProcShift, "数据平移[V]", "数据平移", ""},
        {CommandId::ProcInvert, "波形反向[S]", "波形反向", ""},
        {CommandId::ProcUndo, "撤销(&D)", "撤销[波形处理]", ""},
        {CommandId::ProcEdit, "编辑(&T)", "编辑[波形处理]", ""},
        {CommandId::ProcDelete, "删除(&D)", "删除[波形处理]", ""},
        {CommandId::ProcClear, "清除(&C)", "清除[波形处理]", ""},
        {CommandId::ProcInsertFilter, "数字滤波", "插入.数字滤波", ""},
        {CommandId::ProcInsertAmplify, "波形放大", "插入.波形放大", ""},
        {CommandId::ProcInsertRemoveDc, "去直流", "插入.去直流", ""},
        {CommandId::ProcInsertSmooth, "平滑", "插入.平滑", ""},
        {CommandId::ProcInsertIntegrate, "积分", "插入.积分", ""},
        {CommandId::ProcInsertDifferentiate, "微分", "插入.微分", ""},
        {CommandId::ProcInsertRotate, "波形旋转", "插入.波形旋转", ""},
        {CommandId::ProcInsertLinearZero, "线性归零", "插入.线性归零", ""},
        {CommandId::ProcInsertNonlinearZero, "非线性归零", "插入.非线性归零", ""},
        {CommandId::ProcInsertZeroFront, "前清零", "插入.前清零", ""},
        {CommandId::ProcInsertZeroBack, "后清零", "插入.后清零", ""},
        {CommandId::ProcInsertLocalScale, "局部缩放", "插入.局部缩放", ""},
        {CommandId::ProcInsertShift, "数据平移", "插入.数据平移", ""},
        {CommandId::ProcInsertInvert, "波形反向", "插入.波形反向", ""},
        // 波形分析
        {CommandId::MarkHead, "桩头(&H)", "桩头", ""},
        {CommandId::MarkToe, "桩底(&T)", "桩底", ""},
        {CommandId::MarkAutoHead, "自动桩头", "自动桩头", ""},
        {CommandId::MarkAutoToe, "自动桩底", "自动桩底", ""},
        {CommandId::MarkInterpret, "自动判读(&J)", "自动判读", ""},
        {CommandId::DefectEnlargedBase, "扩底(&X)", "扩底", ""},
        {CommandId::DefectBulge, "扩径(&E)", "扩径", ""},
        {CommandId::DefectNecking, "缩径(&R)", "缩径", ""},
        {CommandId::DefectMudInclusion, "夹泥(&N)", "夹泥", ""},
        {CommandId::DefectSegregation, "离析(&D)", "离析", ""},
        {CommandId::DefectCrack, "裂缝(&C)", "裂缝", ""},
        {CommandId::DefectBreak, "断桩(&F)", "断桩", ""},
        {CommandId::DefectCustom, "自定义(&A)", "自定义", ""},
        {CommandId::MarkLine, "标记线(&M)", "标记线", ""},
        {CommandId::MarkEdit, "编辑(&I)", "编辑[波形分析]", ""},
        {CommandId::MarkDelete, "删除(&S)", "删除[波形分析]", ""},
        {CommandId::MarkClear, "清除(&L)", "清除[波形分析]", ""},
        // 显示调整
        {CommandId::DispFillNone, "不填充(&N)", "填充.不填充", ""},
        {CommandId::DispFillPositive, "正填充(&U)", "填充.正填充", ""},
        {CommandId::DispFillNegative, "负填充(&P)", "填充.负填充", ""},
        {CommandId::DispSpectrumLines, "谱线(&L)", "频谱显示.谱线", ""},
        {CommandId::DispSpectrumEnvelope, "包络(&E)", "频谱显示.包络", ""},
        {CommandId::DispAutoAdjust, "自动调节(&A)", "自动调节", ""},
        {CommandId::DispShowAll, "显示全部(&L)", "显示全部", ""},
        {CommandId::DispAlignHead, "对齐桩头(&H)", "横向位置.对其桩头", ""},
        {CommandId::DispRestorePosition, "还原显示(&E)", "横向位置.还原显示", ""},
        {CommandId::DispMoveLeft, "左移(&L)", "横向位置.左移", ""},
        {CommandId::DispMoveRight, "右移(&R)", "横向位置.右移", ""},
        {CommandId::DispFitToe, "对齐桩尾/自动伸缩(&T)", "横向比例.对齐桩尾/自动伸缩", ""},
        {CommandId::DispRestoreScale, "还原显示(&R)", "横向比例.还原显示", ""},
        {CommandId::DispStretchX, "拉伸(&E)", "横向比例.拉伸", ""},
        {CommandId::DispCompressX, "压缩(&C)", "横向比例.压缩", ""},
        {CommandId::DispAutoY, "自动(&U)", "竖向比例.自动", ""},
        {CommandId::DispStretchY, "拉伸(&E)", "竖向比例.拉伸", ""},
        {CommandId::DispCompressY, "压缩(&C)", "竖向比例.压缩", ""},
        // 窗口, 工具, 帮助
        {CommandId::WindowNew, "新建窗口(&N)", "新建窗口", ""},
        {CommandId::WindowCascade, "层叠(&C)", "层叠", ""},
        {CommandId::WindowTileHorizontal, "横向平铺(&T)", "横向平铺", ""},
        {CommandId::WindowTileVertical, "纵向平铺(&T)", "纵向平铺", ""},
        {CommandId::WindowArrangeIcons, "排列图标(&A)", "排列图标", ""},
        {CommandId::WindowCompare, "对照窗口(&O)", "对照窗口", ""},
        {CommandId::ToolTransfer, "传输(&R)", "传输", ""},
        {CommandId::ToolViewLog, "查看日志(&L)", "查看日志", ""},
        {CommandId::ToolCalculator, "计算器(&C)", "计算器", ""},
        {CommandId::ToolPaint, "画图(&P)", "画图板", ""},
        {CommandId::ToolNotepad, "记事本(&N)", "记事本", ""},
        {CommandId::HelpTopics, "帮助主题(&H)", "帮助主题", ""},
        {CommandId::HelpAbout, "关于(&A)...", "关于", ""},
        // reached by their accelerators only
        {CommandId::Help, "帮助", "帮助", "F1"},
        {CommandId::HelpContext, "上下文帮助", "帮助", "Shift+F1"},
        {CommandId::NextPane, "下一窗格", "下一窗格", "F6"},
        {CommandId::PrevPane, "前一窗格", "前一窗格", "Shift+F6"},
    };
    return k;
}

const CommandInfo* findCommand(CommandId id) {
    for (const CommandInfo& c : allCommands())
        if (c.id == id) return &c;
    return nullptr;
}

std::string commandPrompt(CommandId id) {
    // The long prompts of the string table; the other commands prompt with their
    // short name.
    switch (id) {
        case CommandId::ProcFilter:
            return "对波形数据进行数字滤波处理";
        case CommandId::ProcAmplify:
            return "对波形数据进行指数或现行规律放大处理";
        default:
            break;
    }
    const CommandInfo* c = findCommand(id);
    if (!c) return {};
    if (*c->shortName) return c->shortName;
    std::string t = c->menuText;
    // the menu text without its mnemonic: "保存结果", "打开(&O)..." -> "打开..."
    for (std::size_t a = t.find("(&"); a != std::string::npos; a = t.find("(&")) {
        const std::size_t b = t.find(')', a);
        if (b == std::string::npos) break;
        t.erase(a, b - a + 1);
    }
    t.erase(std::remove(t.begin(), t.end(), '&'), t.end());
    return t;
}

namespace {
MenuEntry cmd(CommandId id, std::string text = {}) {
    MenuEntry e;
    e.id = id;
    e.textOverride = std::move(text);
    return e;
}
MenuEntry sep() {
    return MenuEntry{};
}
MenuEntry sub(std::string title, std::vector<MenuEntry> items) {
    MenuEntry e;
    e.submenuTitle = std::move(title);
    e.children = std::move(items);
    return e;
}
// 插入: the same steps in the main menu and in the history panel's menu
std::vector<MenuEntry> insertStepEntries() {
    return {cmd(CommandId::ProcInsertFilter),        cmd(CommandId::ProcInsertAmplify),
            cmd(CommandId::ProcInsertRemoveDc),      cmd(CommandId::ProcInsertSmooth),
            cmd(CommandId::ProcInsertIntegrate),     cmd(CommandId::ProcInsertDifferentiate),
            cmd(CommandId::ProcInsertRotate),        cmd(CommandId::ProcInsertLinearZero),
            cmd(CommandId::ProcInsertNonlinearZero), cmd(CommandId::ProcInsertZeroFront),
            cmd(CommandId::ProcInsertZeroBack),      cmd(CommandId::ProcInsertLocalScale),
            cmd(CommandId::ProcInsertShift),         cmd(CommandId::ProcInsertInvert)};
}
}  // namespace

const std::vector<MenuDef>& mainMenus() {
    static const std::vector<MenuDef> k = {
        {"文件(&F)",
         {cmd(CommandId::FileNew),
          cmd(CommandId::FileOpen),
          cmd(CommandId::FileClose),
          cmd(CommandId::FileSave),
          cmd(CommandId::FileSaveAs),
          cmd(CommandId::FileSaveChecked),
          sep(),
          cmd(CommandId::FileMerge),
          cmd(CommandId::FileSaveResult),
          cmd(CommandId::FileSaveImage),
          cmd(CommandId::FileWordReport),
          cmd(CommandId::FileExcelReport),
          cmd(CommandId::FileExportText),
          cmd(CommandId::FileImportTraces),
          sep(),
          cmd(CommandId::FilePrint),
          cmd(CommandId::FilePrintPreview),
          cmd(CommandId::FilePrintSetup),
          sep(),
          cmd(CommandId::FileRecent),
          sep(),
          cmd(CommandId::AppExit)}},
        {"编辑(&E)",
         {cmd(CommandId::EditUndo),
          cmd(CommandId::EditRedo),
          cmd(CommandId::EditRevert),
          sep(),
          cmd(CommandId::EditCut),
          cmd(CommandId::EditCopy),
          cmd(CommandId::EditPaste),
          cmd(CommandId::EditCopyResult),
          cmd(CommandId::EditInsert),
          cmd(CommandId::EditAppend),
          cmd(CommandId::EditDelete),
          sep(),
          cmd(CommandId::EditMoveUp),
          cmd(CommandId::EditMoveDown),
          cmd(CommandId::EditSortAscending),
          cmd(CommandId::EditSortDescending),
          sep(),
          cmd(CommandId::EditCheckAll),
          cmd(CommandId::EditCheckNone),
          cmd(CommandId::EditCheckInvert),
          sep(),
          cmd(CommandId::EditSettings)}},
        {"查看(&V)",
         {cmd(CommandId::ViewStatusBar), cmd(CommandId::ViewMainToolbar),
          cmd(CommandId::ViewDisplayToolbar), cmd(CommandId::ViewProcessingToolbar),
          cmd(CommandId::ViewAnalysisToolbar), sep(), cmd(CommandId::ViewPointListPanel),
          cmd(CommandId::ViewHistoryPanel), cmd(CommandId::ViewInfoPanel), sep(),
          sub("游标", {cmd(CommandId::ViewCrossCursor), cmd(CommandId::ViewLineCursor)}),
          cmd(CommandId::ViewCursorInfo)}},
        {"波形处理(&W)",
         {cmd(CommandId::ProcFilter),
          cmd(CommandId::ProcAmplify),
          cmd(CommandId::ProcRemoveDc),
          cmd(CommandId::ProcSmooth),
          cmd(CommandId::ProcIntegrate),
          cmd(CommandId::ProcSimpleIntegrate),
          cmd(CommandId::ProcDifferentiate),
          sep(),
          cmd(CommandId::ProcRotate),
          cmd(CommandId::ProcLinearZero),
          cmd(CommandId::ProcNonlinearZero),
          cmd(CommandId::ProcZeroFront),
          cmd(CommandId::ProcZeroBack),
          cmd(CommandId::ProcLocalScale),
          cmd(CommandId::ProcShift),
          cmd(CommandId::ProcInvert),
          sep(),
          cmd(CommandId::ProcUndo),
          cmd(CommandId::ProcEdit),
          sub("插入(&N)", insertStepEntries()),
          cmd(CommandId::ProcDelete),
          cmd(CommandId::ProcClear)}},
        {"波形分析(&A)",
         {cmd(CommandId::MarkHead),
          cmd(CommandId::MarkToe),
          cmd(CommandId::MarkAutoHead),
          cmd(CommandId::MarkAutoToe),
          cmd(CommandId::MarkInterpret),
          sep(),
          cmd(CommandId::DefectEnlargedBase),
          cmd(CommandId::DefectBulge),
          cmd(CommandId::DefectNecking),
          cmd(CommandId::DefectMudInclusion),
          cmd(CommandId::DefectSegregation),
          cmd(CommandId::DefectCrack),
          cmd(CommandId::DefectBreak),
          cmd(CommandId::DefectCustom),
          sep(),
          cmd(CommandId::MarkLine),
          sep(),
          cmd(CommandId::MarkEdit),
          cmd(CommandId::MarkDelete),
          cmd(CommandId::MarkClear)}},
        {"显示调整(&D)",
         {sub("填充", {cmd(CommandId::DispFillNone), cmd(CommandId::DispFillPositive),
                       cmd(CommandId::DispFillNegative)}),
          sub("频谱显示",
              {cmd(CommandId::DispSpectrumLines), cmd(CommandId::DispSpectrumEnvelope)}),
          sep(), cmd(CommandId::DispAutoAdjust), cmd(CommandId::DispShowAll), sep(),
          sub("横向位置", {cmd(CommandId::DispAlignHead), cmd(CommandId::DispRestorePosition),
                           cmd(CommandId::DispMoveLeft), cmd(CommandId::DispMoveRight)}),
          sub("横向比例", {cmd(CommandId::DispFitToe), cmd(CommandId::DispRestoreScale),
                           cmd(CommandId::DispStretchX), cmd(CommandId::DispCompressX)}),
          sub("竖向比例", {cmd(CommandId::DispAutoY), cmd(CommandId::DispStretchY),
                           cmd(CommandId::DispCompressY)})}},
        {"窗口(&W)",
         {cmd(CommandId::WindowNew), cmd(CommandId::WindowCascade),
          cmd(CommandId::WindowTileHorizontal), cmd(CommandId::WindowTileVertical),
          cmd(CommandId::WindowArrangeIcons), cmd(CommandId::WindowCompare)}},
        {"工具(&T)",
         {cmd(CommandId::ToolTransfer), cmd(CommandId::ToolViewLog), sep(),
          cmd(CommandId::ToolCalculator), cmd(CommandId::ToolPaint), cmd(CommandId::ToolNotepad)}},
        {"帮助(&H)", {cmd(CommandId::HelpTopics), sep(), cmd(CommandId::HelpAbout)}},
    };
    return k;
}

const std::vector<MenuDef>& noDocumentMenus() {
    static const std::vector<MenuDef> k = {
        {"文件(&F)",
         {cmd(CommandId::FileNew), cmd(CommandId::FileOpen), cmd(CommandId::FileImportTraces),
          cmd(CommandId::FilePrintSetupNoDoc), sep(), cmd(CommandId::FileRecent), sep(),
          cmd(CommandId::AppExit)}},
        {"查看(&V)",
         {cmd(CommandId::ViewMainToolbar, "工具栏(&T)"), cmd(CommandId::ViewStatusBar)}},
        {"帮助(&H)",
         {cmd(CommandId::HelpTopics), sep(), cmd(CommandId::HelpAbout, "关于本软件(&A)...")}},
    };
    return k;
}

const MenuDef& contextMenu(int resource) {
    static const MenuDef insert{"波形处理(&W)", insertStepEntries()};
    static const MenuDef points{
        "测点操作(&W)",
        {cmd(CommandId::EditUndo), cmd(CommandId::EditDelete), cmd(CommandId::EditMoveUp),
         cmd(CommandId::EditMoveDown), cmd(CommandId::EditCheckAll), cmd(CommandId::EditCheckNone),
         cmd(CommandId::EditCheckInvert)}};
    static const MenuDef display{
        "显示区操作(&D)",
        {cmd(CommandId::MarkHead), cmd(CommandId::MarkToe),
         sub("缺陷(&X)", {cmd(CommandId::DefectEnlargedBase), cmd(CommandId::DefectBulge),
                          cmd(CommandId::DefectNecking), cmd(CommandId::DefectMudInclusion),
                          cmd(CommandId::DefectSegregation), cmd(CommandId::DefectCrack),
                          cmd(CommandId::DefectBreak), cmd(CommandId::DefectCustom)}),
         cmd(CommandId::MarkLine),
         sub("波形处理(&W)", {cmd(CommandId::ProcFilter), cmd(CommandId::ProcAmplify),
                              cmd(CommandId::ProcRemoveDc), cmd(CommandId::ProcSmooth),
                              cmd(CommandId::ProcIntegrate), cmd(CommandId::ProcDifferentiate)}),
         cmd(CommandId::DispMoveLeft), cmd(CommandId::DispMoveRight),
         cmd(CommandId::DispStretchX, "横向拉伸"), cmd(CommandId::DispCompressX, "横向压缩"),
         cmd(CommandId::DispStretchY, "竖向拉伸"), cmd(CommandId::DispCompressY, "竖向压缩")}};
    static const MenuDef table{"编辑(&E)", {cmd(CommandId::EditSettings)}};
    switch (resource) {
        case kMenuInsertStep:
            return insert;
        case kMenuPointList:
            return points;
        case kMenuDisplay:
            return display;
        default:
            return table;
    }
}

const std::vector<ToolbarDef>& toolbars() {
    using C = CommandId;
    static const std::vector<ToolbarDef> k = {
        {kToolbarMain,
         "主控制",
         {C::FileOpen,
          C::FileSave,
          C::None,
          C::FileSaveImage,
          C::FileWordReport,
          C::FileExcelReport,
          C::None,
          C::FilePrint,
          C::FilePrintPreview,
          C::None,
          C::EditUndo,
          C::EditRedo,
          C::None,
          C::EditCut,
          C::EditCopy,
          C::EditPaste,
          C::EditDelete,
          C::None,
          C::EditMoveUp,
          C::EditMoveDown,
          C::None,
          C::ViewPointListPanel,
          C::ViewHistoryPanel,
          C::ViewInfoPanel,
          C::ViewProcessingToolbar,
          C::ViewAnalysisToolbar,
          C::ViewDisplayToolbar,
          C::None,
          C::ToolTransfer,
          C::None,
          C::ViewEditCurrent,
          C::ViewEditAll,
          C::None,
          C::ViewCrossCursor,
          C::ViewLineCursor,
          C::None,
          C::HelpTopics,
          C::HelpAbout}},
        {kToolbarAnalysis,
         "波形分析",
         {C::MarkHead, C::MarkToe, C::None, C::DefectEnlargedBase, C::DefectBulge, C::DefectNecking,
          C::DefectMudInclusion, C::DefectSegregation, C::DefectCrack, C::DefectBreak,
          C::DefectCustom, C::None, C::MarkLine}},
        {kToolbarProcessing,
         "波形处理",
         {C::ProcFilter, C::ProcAmplify, C::ProcRemoveDc, C::ProcSmooth, C::ProcIntegrate, C::None,
          C::ProcRotate, C::ProcLinearZero, C::ProcNonlinearZero, C::ProcZeroFront, C::ProcZeroBack,
          C::ProcLocalScale, C::ProcShift, C::ProcInvert}},
        {kToolbarDisplay,
         "显示调整",
         {C::DispFillNone,
          C::DispFillPositive,
          C::DispFillNegative,
          C::None,
          C::DispSpectrumLines,
          C::DispSpectrumEnvelope,
          C::None,
          C::DispAutoAdjust,
          C::DispShowAll,
          C::None,
          C::DispAlignHead,
          C::DispRestorePosition,
          C::DispMoveLeft,
          C::DispMoveRight,
          C::None,
          C::DispFitToe,
          C::DispRestoreScale,
          C::DispStretchX,
          C::DispCompressX,
          C::None,
          C::DispAutoY,
          C::DispStretchY,
          C::DispCompressY}},
    };
    return k;
}

const std::vector<LetterShortcut>& letterShortcuts() {
    static const std::vector<LetterShortcut> k = {
        {'F', CommandId::ProcFilter},     {'M', CommandId::ProcAmplify},
        {'B', CommandId::ProcRemoveDc},   {'L', CommandId::ProcSmooth},
        {'I', CommandId::ProcIntegrate},  {'O', CommandId::ProcRotate},
        {'Z', CommandId::ProcLinearZero}, {'N', CommandId::ProcNonlinearZero},
        {'E', CommandId::ProcZeroFront},  {'K', CommandId::ProcZeroBack},
        {'P', CommandId::ProcLocalScale}, {'V', CommandId::ProcShift},
        {'S', CommandId::ProcInvert}};
    return k;
}

CommandId letterShortcutCommand(char key) {
    key = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    for (const LetterShortcut& s : letterShortcuts())
        if (s.key == key) return s.command;
    return CommandId::None;
}

}  // namespace sondara
