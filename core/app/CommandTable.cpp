#include "core/app/CommandTable.h"

#include <algorithm>
#include <cctype>

namespace sondara {

const std::vector<CommandInfo>& allCommands() {
    static const std::vector<CommandInfo> k = {
        // 文件
        {CommandId::FileNew, SONDARA_TR_NOOP("sondara", "新建(&N)"),
         SONDARA_TR_NOOP("sondara", "新建"), "Ctrl+N"},
        {CommandId::FileOpen, SONDARA_TR_NOOP("sondara", "打开(&O)..."),
         SONDARA_TR_NOOP("sondara", "打开"), "Ctrl+O"},
        {CommandId::FileClose, SONDARA_TR_NOOP("sondara", "关闭(&C)"),
         SONDARA_TR_NOOP("sondara", "关闭"), ""},
        {CommandId::FileSave, SONDARA_TR_NOOP("sondara", "保存(&S)"),
         SONDARA_TR_NOOP("sondara", "保存"), "Ctrl+S"},
        {CommandId::FileSaveAs, SONDARA_TR_NOOP("sondara", "另存为(&A)..."),
         SONDARA_TR_NOOP("sondara", "另存为"), ""},
        {CommandId::FileSaveChecked, SONDARA_TR_NOOP("sondara", "选择保存(&L)..."),
         SONDARA_TR_NOOP("sondara", "选择保存"), ""},
        {CommandId::FileMerge, SONDARA_TR_NOOP("sondara", "文件合并(&M)..."),
         SONDARA_TR_NOOP("sondara", "文件合并"), ""},
        {CommandId::FileSaveResult, SONDARA_TR_NOOP("sondara", "保存结果"), "", ""},
        {CommandId::FileSaveImage, SONDARA_TR_NOOP("sondara", "保存图形(&B)..."),
         SONDARA_TR_NOOP("sondara", "保存图形"), ""},
        {CommandId::FileWordReport, SONDARA_TR_NOOP("sondara", "生成报告(&W)..."),
         SONDARA_TR_NOOP("sondara", "生成报告"), ""},
        {CommandId::FileExcelReport, SONDARA_TR_NOOP("sondara", "生成报表(&E)..."),
         SONDARA_TR_NOOP("sondara", "生成报表"), ""},
        {CommandId::FileExportText, SONDARA_TR_NOOP("sondara", "导出波形文本"),
         SONDARA_TR_NOOP("sondara", "导出波形文本"), ""},
        {CommandId::FileImportTraces, SONDARA_TR_NOOP("sondara", "导入波形(&I)…"),
         SONDARA_TR_NOOP("sondara", "导入波形"), ""},
        {CommandId::FilePrint, SONDARA_TR_NOOP("sondara", "打印(&P)..."),
         SONDARA_TR_NOOP("sondara", "打印"), "Ctrl+P"},
        {CommandId::FilePrintPreview, SONDARA_TR_NOOP("sondara", "打印预览(&V)"),
         SONDARA_TR_NOOP("sondara", "打印预览"), ""},
        {CommandId::FilePrintSetup, SONDARA_TR_NOOP("sondara", "打印设置(&R)..."),
         SONDARA_TR_NOOP("sondara", "打印设置"), ""},
        {CommandId::FilePrintSetupNoDoc, SONDARA_TR_NOOP("sondara", "打印设置(&R)..."),
         SONDARA_TR_NOOP("sondara", "打印设置"), ""},
        {CommandId::FileRecent, SONDARA_TR_NOOP("sondara", "最近文件"), "", ""},
        {CommandId::AppExit, SONDARA_TR_NOOP("sondara", "退出(&X)"),
         SONDARA_TR_NOOP("sondara", "退出"), ""},
        // 编辑
        {CommandId::EditUndo, SONDARA_TR_NOOP("sondara", "撤销(&U)"),
         SONDARA_TR_NOOP("sondara", "撤销"), "Ctrl+Z"},
        {CommandId::EditRedo, SONDARA_TR_NOOP("sondara", "重复(&R)"),
         SONDARA_TR_NOOP("sondara", "重复"), "Ctrl+Y"},
        {CommandId::EditRevert, SONDARA_TR_NOOP("sondara", "还原(&E)"),
         SONDARA_TR_NOOP("sondara", "还原"), ""},
        {CommandId::EditCut, SONDARA_TR_NOOP("sondara", "剪切(&T)"),
         SONDARA_TR_NOOP("sondara", "剪切"), "Ctrl+X"},
        {CommandId::EditCopy, SONDARA_TR_NOOP("sondara", "复制(&C)"),
         SONDARA_TR_NOOP("sondara", "复制"), "Ctrl+C"},
        {CommandId::EditPaste, SONDARA_TR_NOOP("sondara", "粘贴(&P)"),
         SONDARA_TR_NOOP("sondara", "粘贴"), "Ctrl+V"},
        {CommandId::EditCopyResult, SONDARA_TR_NOOP("sondara", "复制结果(&L)"),
         SONDARA_TR_NOOP("sondara", "复制结果"), ""},
        {CommandId::EditInsert, SONDARA_TR_NOOP("sondara", "插入(&I)"),
         SONDARA_TR_NOOP("sondara", "插入"), ""},
        {CommandId::EditAppend, SONDARA_TR_NOOP("sondara", "添加(&A)"),
         SONDARA_TR_NOOP("sondara", "添加"), ""},
        {CommandId::EditDelete, SONDARA_TR_NOOP("sondara", "删除(&D)"),
         SONDARA_TR_NOOP("sondara", "删除"), ""},
        {CommandId::EditMoveUp, SONDARA_TR_NOOP("sondara", "上移(&U)"),
         SONDARA_TR_NOOP("sondara", "上移"), ""},
        {CommandId::EditMoveDown, SONDARA_TR_NOOP("sondara", "下移(&W)"),
         SONDARA_TR_NOOP("sondara", "下移"), ""},
        {CommandId::EditSortAscending, SONDARA_TR_NOOP("sondara", "升序排列(&S)"),
         SONDARA_TR_NOOP("sondara", "升序排列"), ""},
        {CommandId::EditSortDescending, SONDARA_TR_NOOP("sondara", "降序排列(&N)"),
         SONDARA_TR_NOOP("sondara", "降序排列"), ""},
        {CommandId::EditCheckAll, SONDARA_TR_NOOP("sondara", "全部勾选(&H)"),
         SONDARA_TR_NOOP("sondara", "全部勾选"), ""},
        {CommandId::EditCheckNone, SONDARA_TR_NOOP("sondara", "全部不选(&O)"),
         SONDARA_TR_NOOP("sondara", "全部不选"), ""},
        {CommandId::EditCheckInvert, SONDARA_TR_NOOP("sondara", "全部反选(&V)"),
         SONDARA_TR_NOOP("sondara", "全部反选"), ""},
        {CommandId::EditSettings, SONDARA_TR_NOOP("sondara", "设置(&F)"),
         SONDARA_TR_NOOP("sondara", "编辑设置"), ""},
        // 查看
        {CommandId::ViewStatusBar, SONDARA_TR_NOOP("sondara", "状态栏(&S)"),
         SONDARA_TR_NOOP("sondara", "显隐状态栏"), ""},
        {CommandId::ViewMainToolbar, SONDARA_TR_NOOP("sondara", "主控制(&T)"),
         SONDARA_TR_NOOP("sondara", "显隐主控制"), ""},
        {CommandId::ViewDisplayToolbar, SONDARA_TR_NOOP("sondara", "显示调整(&D)"),
         SONDARA_TR_NOOP("sondara", "显隐显示调整"), ""},
        {CommandId::ViewProcessingToolbar, SONDARA_TR_NOOP("sondara", "波形处理(&A)"),
         SONDARA_TR_NOOP("sondara", "显隐波形处理"), ""},
        {CommandId::ViewAnalysisToolbar, SONDARA_TR_NOOP("sondara", "波形分析(&W)"),
         SONDARA_TR_NOOP("sondara", "显隐波形分析"), ""},
        {CommandId::ViewPointListPanel, SONDARA_TR_NOOP("sondara", "测点栏(&L)"),
         SONDARA_TR_NOOP("sondara", "显隐测点栏"), ""},
        {CommandId::ViewHistoryPanel, SONDARA_TR_NOOP("sondara", "处理过程(&R)"),
         SONDARA_TR_NOOP("sondara", "显隐处理过程"), ""},
        {CommandId::ViewInfoPanel, SONDARA_TR_NOOP("sondara", "信息栏(&B)"),
         SONDARA_TR_NOOP("sondara", "显隐信息栏"), ""},
        {CommandId::ViewCrossCursor, SONDARA_TR_NOOP("sondara", "十字(&O)"),
         SONDARA_TR_NOOP("sondara", "十字游标"), ""},
        {CommandId::ViewLineCursor, SONDARA_TR_NOOP("sondara", "竖线(&N)"),
         SONDARA_TR_NOOP("sondara", "竖线游标"), ""},
        {CommandId::ViewCursorInfo, SONDARA_TR_NOOP("sondara", "光标信息(&M)"),
         SONDARA_TR_NOOP("sondara", "显隐游标信息"), ""},
        {CommandId::ViewEditCurrent, SONDARA_TR_NOOP("sondara", "当前波形"),
         SONDARA_TR_NOOP("sondara", "当前波形"), ""},
        {CommandId::ViewEditAll, SONDARA_TR_NOOP("sondara", "全部波形"),
         SONDARA_TR_NOOP("sondara", "全部波形"), ""},
        // 波形处理
        {CommandId::ProcFilter, SONDARA_TR_NOOP("sondara", "数字滤波[F]"),
         SONDARA_TR_NOOP("sondara", "数字滤波"), ""},
        {CommandId::ProcAmplify, SONDARA_TR_NOOP("sondara", "波形放大[M]"),
         SONDARA_TR_NOOP("sondara", "波形放大"), ""},
        {CommandId::ProcRemoveDc, SONDARA_TR_NOOP("sondara", "去直流[B]"),
         SONDARA_TR_NOOP("sondara", "去直流"), ""},
        {CommandId::ProcSmooth, SONDARA_TR_NOOP("sondara", "平滑[L]"),
         SONDARA_TR_NOOP("sondara", "平滑"), ""},
        {CommandId::ProcIntegrate, SONDARA_TR_NOOP("sondara", "积分[I]"),
         SONDARA_TR_NOOP("sondara", "积分"), ""},
        {CommandId::ProcSimpleIntegrate, SONDARA_TR_NOOP("sondara", "简单积分(&S)"),
         SONDARA_TR_NOOP("sondara", "简单积分"), ""},
        {CommandId::ProcDifferentiate, SONDARA_TR_NOOP("sondara", "微分(&D)"),
         SONDARA_TR_NOOP("sondara", "微分"), ""},
        {CommandId::ProcRotate, SONDARA_TR_NOOP("sondara", "波形旋转[O]"),
         SONDARA_TR_NOOP("sondara", "波形旋转"), ""},
        {CommandId::ProcLinearZero, SONDARA_TR_NOOP("sondara", "线性归零[Z]"),
         SONDARA_TR_NOOP("sondara", "线性归零"), ""},
        {CommandId::ProcNonlinearZero, SONDARA_TR_NOOP("sondara", "非线性归零[N]"),
         SONDARA_TR_NOOP("sondara", "非线性归零"), ""},
        {CommandId::ProcZeroFront, SONDARA_TR_NOOP("sondara", "前清零[E]"),
         SONDARA_TR_NOOP("sondara", "前清零"), ""},
        {CommandId::ProcZeroBack, SONDARA_TR_NOOP("sondara", "后清零[K]"),
         SONDARA_TR_NOOP("sondara", "后清零"), ""},
        {CommandId::ProcLocalScale, SONDARA_TR_NOOP("sondara", "局部缩放[P]"),
         SONDARA_TR_NOOP("sondara", "局部缩放"), ""},
        {CommandId::ProcShift, SONDARA_TR_NOOP("sondara", "数据平移[V]"),
         SONDARA_TR_NOOP("sondara", "数据平移"), ""},
        {CommandId::ProcInvert, SONDARA_TR_NOOP("sondara", "波形反向[S]"),
         SONDARA_TR_NOOP("sondara", "波形反向"), ""},
        {CommandId::ProcUndo, SONDARA_TR_NOOP("sondara", "撤销(&D)"),
         SONDARA_TR_NOOP("sondara", "撤销[波形处理]"), ""},
        {CommandId::ProcEdit, SONDARA_TR_NOOP("sondara", "编辑(&T)"),
         SONDARA_TR_NOOP("sondara", "编辑[波形处理]"), ""},
        {CommandId::ProcDelete, SONDARA_TR_NOOP("sondara", "删除(&D)"),
         SONDARA_TR_NOOP("sondara", "删除[波形处理]"), ""},
        {CommandId::ProcClear, SONDARA_TR_NOOP("sondara", "清除(&C)"),
         SONDARA_TR_NOOP("sondara", "清除[波形处理]"), ""},
        {CommandId::ProcInsertFilter, SONDARA_TR_NOOP("sondara", "数字滤波"),
         SONDARA_TR_NOOP("sondara", "插入.数字滤波"), ""},
        {CommandId::ProcInsertAmplify, SONDARA_TR_NOOP("sondara", "波形放大"),
         SONDARA_TR_NOOP("sondara", "插入.波形放大"), ""},
        {CommandId::ProcInsertRemoveDc, SONDARA_TR_NOOP("sondara", "去直流"),
         SONDARA_TR_NOOP("sondara", "插入.去直流"), ""},
        {CommandId::ProcInsertSmooth, SONDARA_TR_NOOP("sondara", "平滑"),
         SONDARA_TR_NOOP("sondara", "插入.平滑"), ""},
        {CommandId::ProcInsertIntegrate, SONDARA_TR_NOOP("sondara", "积分"),
         SONDARA_TR_NOOP("sondara", "插入.积分"), ""},
        {CommandId::ProcInsertDifferentiate, SONDARA_TR_NOOP("sondara", "微分"),
         SONDARA_TR_NOOP("sondara", "插入.微分"), ""},
        {CommandId::ProcInsertRotate, SONDARA_TR_NOOP("sondara", "波形旋转"),
         SONDARA_TR_NOOP("sondara", "插入.波形旋转"), ""},
        {CommandId::ProcInsertLinearZero, SONDARA_TR_NOOP("sondara", "线性归零"),
         SONDARA_TR_NOOP("sondara", "插入.线性归零"), ""},
        {CommandId::ProcInsertNonlinearZero, SONDARA_TR_NOOP("sondara", "非线性归零"),
         SONDARA_TR_NOOP("sondara", "插入.非线性归零"), ""},
        {CommandId::ProcInsertZeroFront, SONDARA_TR_NOOP("sondara", "前清零"),
         SONDARA_TR_NOOP("sondara", "插入.前清零"), ""},
        {CommandId::ProcInsertZeroBack, SONDARA_TR_NOOP("sondara", "后清零"),
         SONDARA_TR_NOOP("sondara", "插入.后清零"), ""},
        {CommandId::ProcInsertLocalScale, SONDARA_TR_NOOP("sondara", "局部缩放"),
         SONDARA_TR_NOOP("sondara", "插入.局部缩放"), ""},
        {CommandId::ProcInsertShift, SONDARA_TR_NOOP("sondara", "数据平移"),
         SONDARA_TR_NOOP("sondara", "插入.数据平移"), ""},
        {CommandId::ProcInsertInvert, SONDARA_TR_NOOP("sondara", "波形反向"),
         SONDARA_TR_NOOP("sondara", "插入.波形反向"), ""},
        // 波形分析
        {CommandId::MarkHead, SONDARA_TR_NOOP("sondara", "桩头(&H)"),
         SONDARA_TR_NOOP("sondara", "桩头"), ""},
        {CommandId::MarkToe, SONDARA_TR_NOOP("sondara", "桩底(&T)"),
         SONDARA_TR_NOOP("sondara", "桩底"), ""},
        {CommandId::MarkAutoHead, SONDARA_TR_NOOP("sondara", "自动桩头"),
         SONDARA_TR_NOOP("sondara", "自动桩头"), ""},
        {CommandId::MarkAutoToe, SONDARA_TR_NOOP("sondara", "自动桩底"),
         SONDARA_TR_NOOP("sondara", "自动桩底"), ""},
        {CommandId::MarkInterpret, SONDARA_TR_NOOP("sondara", "自动判读(&J)"),
         SONDARA_TR_NOOP("sondara", "自动判读"), ""},
        {CommandId::DefectEnlargedBase, SONDARA_TR_NOOP("sondara", "扩底(&X)"),
         SONDARA_TR_NOOP("sondara", "扩底"), ""},
        {CommandId::DefectBulge, SONDARA_TR_NOOP("sondara", "扩径(&E)"),
         SONDARA_TR_NOOP("sondara", "扩径"), ""},
        {CommandId::DefectNecking, SONDARA_TR_NOOP("sondara", "缩径(&R)"),
         SONDARA_TR_NOOP("sondara", "缩径"), ""},
        {CommandId::DefectMudInclusion, SONDARA_TR_NOOP("sondara", "夹泥(&N)"),
         SONDARA_TR_NOOP("sondara", "夹泥"), ""},
        {CommandId::DefectSegregation, SONDARA_TR_NOOP("sondara", "离析(&D)"),
         SONDARA_TR_NOOP("sondara", "离析"), ""},
        {CommandId::DefectCrack, SONDARA_TR_NOOP("sondara", "裂缝(&C)"),
         SONDARA_TR_NOOP("sondara", "裂缝"), ""},
        {CommandId::DefectBreak, SONDARA_TR_NOOP("sondara", "断桩(&F)"),
         SONDARA_TR_NOOP("sondara", "断桩"), ""},
        {CommandId::DefectCustom, SONDARA_TR_NOOP("sondara", "自定义(&A)"),
         SONDARA_TR_NOOP("sondara", "自定义"), ""},
        {CommandId::MarkLine, SONDARA_TR_NOOP("sondara", "标记线(&M)"),
         SONDARA_TR_NOOP("sondara", "标记线"), ""},
        {CommandId::MarkEdit, SONDARA_TR_NOOP("sondara", "编辑(&I)"),
         SONDARA_TR_NOOP("sondara", "编辑[波形分析]"), ""},
        {CommandId::MarkDelete, SONDARA_TR_NOOP("sondara", "删除(&S)"),
         SONDARA_TR_NOOP("sondara", "删除[波形分析]"), ""},
        {CommandId::MarkClear, SONDARA_TR_NOOP("sondara", "清除(&L)"),
         SONDARA_TR_NOOP("sondara", "清除[波形分析]"), ""},
        // 显示调整
        {CommandId::DispFillNone, SONDARA_TR_NOOP("sondara", "不填充(&N)"),
         SONDARA_TR_NOOP("sondara", "填充.不填充"), ""},
        {CommandId::DispFillPositive, SONDARA_TR_NOOP("sondara", "正填充(&U)"),
         SONDARA_TR_NOOP("sondara", "填充.正填充"), ""},
        {CommandId::DispFillNegative, SONDARA_TR_NOOP("sondara", "负填充(&P)"),
         SONDARA_TR_NOOP("sondara", "填充.负填充"), ""},
        {CommandId::DispSpectrumLines, SONDARA_TR_NOOP("sondara", "谱线(&L)"),
         SONDARA_TR_NOOP("sondara", "频谱显示.谱线"), ""},
        {CommandId::DispSpectrumEnvelope, SONDARA_TR_NOOP("sondara", "包络(&E)"),
         SONDARA_TR_NOOP("sondara", "频谱显示.包络"), ""},
        {CommandId::DispAutoAdjust, SONDARA_TR_NOOP("sondara", "自动调节(&A)"),
         SONDARA_TR_NOOP("sondara", "自动调节"), ""},
        {CommandId::DispShowAll, SONDARA_TR_NOOP("sondara", "显示全部(&L)"),
         SONDARA_TR_NOOP("sondara", "显示全部"), ""},
        {CommandId::DispAlignHead, SONDARA_TR_NOOP("sondara", "对齐桩头(&H)"),
         SONDARA_TR_NOOP("sondara", "横向位置.对其桩头"), ""},
        {CommandId::DispRestorePosition, SONDARA_TR_NOOP("sondara", "还原显示(&E)"),
         SONDARA_TR_NOOP("sondara", "横向位置.还原显示"), ""},
        {CommandId::DispMoveLeft, SONDARA_TR_NOOP("sondara", "左移(&L)"),
         SONDARA_TR_NOOP("sondara", "横向位置.左移"), ""},
        {CommandId::DispMoveRight, SONDARA_TR_NOOP("sondara", "右移(&R)"),
         SONDARA_TR_NOOP("sondara", "横向位置.右移"), ""},
        {CommandId::DispFitToe, SONDARA_TR_NOOP("sondara", "对齐桩尾/自动伸缩(&T)"),
         SONDARA_TR_NOOP("sondara", "横向比例.对齐桩尾/自动伸缩"), ""},
        {CommandId::DispRestoreScale, SONDARA_TR_NOOP("sondara", "还原显示(&R)"),
         SONDARA_TR_NOOP("sondara", "横向比例.还原显示"), ""},
        {CommandId::DispStretchX, SONDARA_TR_NOOP("sondara", "拉伸(&E)"),
         SONDARA_TR_NOOP("sondara", "横向比例.拉伸"), ""},
        {CommandId::DispCompressX, SONDARA_TR_NOOP("sondara", "压缩(&C)"),
         SONDARA_TR_NOOP("sondara", "横向比例.压缩"), ""},
        {CommandId::DispAutoY, SONDARA_TR_NOOP("sondara", "自动(&U)"),
         SONDARA_TR_NOOP("sondara", "竖向比例.自动"), ""},
        {CommandId::DispStretchY, SONDARA_TR_NOOP("sondara", "拉伸(&E)"),
         SONDARA_TR_NOOP("sondara", "竖向比例.拉伸"), ""},
        {CommandId::DispCompressY, SONDARA_TR_NOOP("sondara", "压缩(&C)"),
         SONDARA_TR_NOOP("sondara", "竖向比例.压缩"), ""},
        // 窗口, 工具, 帮助
        {CommandId::WindowNew, SONDARA_TR_NOOP("sondara", "新建窗口(&N)"),
         SONDARA_TR_NOOP("sondara", "新建窗口"), ""},
        {CommandId::WindowCascade, SONDARA_TR_NOOP("sondara", "层叠(&C)"),
         SONDARA_TR_NOOP("sondara", "层叠"), ""},
        {CommandId::WindowTileHorizontal, SONDARA_TR_NOOP("sondara", "横向平铺(&T)"),
         SONDARA_TR_NOOP("sondara", "横向平铺"), ""},
        {CommandId::WindowTileVertical, SONDARA_TR_NOOP("sondara", "纵向平铺(&T)"),
         SONDARA_TR_NOOP("sondara", "纵向平铺"), ""},
        {CommandId::WindowArrangeIcons, SONDARA_TR_NOOP("sondara", "排列图标(&A)"),
         SONDARA_TR_NOOP("sondara", "排列图标"), ""},
        {CommandId::WindowCompare, SONDARA_TR_NOOP("sondara", "对照窗口(&O)"),
         SONDARA_TR_NOOP("sondara", "对照窗口"), ""},
        {CommandId::ToolTransfer, SONDARA_TR_NOOP("sondara", "传输(&R)"),
         SONDARA_TR_NOOP("sondara", "传输"), ""},
        {CommandId::ToolViewLog, SONDARA_TR_NOOP("sondara", "查看日志(&L)"),
         SONDARA_TR_NOOP("sondara", "查看日志"), ""},
        {CommandId::ToolCalculator, SONDARA_TR_NOOP("sondara", "计算器(&C)"),
         SONDARA_TR_NOOP("sondara", "计算器"), ""},
        {CommandId::ToolPaint, SONDARA_TR_NOOP("sondara", "画图(&P)"),
         SONDARA_TR_NOOP("sondara", "画图板"), ""},
        {CommandId::ToolNotepad, SONDARA_TR_NOOP("sondara", "记事本(&N)"),
         SONDARA_TR_NOOP("sondara", "记事本"), ""},
        {CommandId::HelpTopics, SONDARA_TR_NOOP("sondara", "帮助主题(&H)"),
         SONDARA_TR_NOOP("sondara", "帮助主题"), ""},
        {CommandId::HelpAbout, SONDARA_TR_NOOP("sondara", "关于(&A)..."),
         SONDARA_TR_NOOP("sondara", "关于"), ""},
        // reached by their accelerators only
        {CommandId::Help, SONDARA_TR_NOOP("sondara", "帮助"), SONDARA_TR_NOOP("sondara", "帮助"),
         "F1"},
        {CommandId::HelpContext, SONDARA_TR_NOOP("sondara", "上下文帮助"),
         SONDARA_TR_NOOP("sondara", "帮助"), "Shift+F1"},
        {CommandId::NextPane, SONDARA_TR_NOOP("sondara", "下一窗格"),
         SONDARA_TR_NOOP("sondara", "下一窗格"), "F6"},
        {CommandId::PrevPane, SONDARA_TR_NOOP("sondara", "前一窗格"),
         SONDARA_TR_NOOP("sondara", "前一窗格"), "Shift+F6"},
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
            return SONDARA_TR_NOOP("sondara", "对波形数据进行数字滤波处理");
        case CommandId::ProcAmplify:
            return SONDARA_TR_NOOP("sondara", "对波形数据进行指数或现行规律放大处理");
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
        {SONDARA_TR_NOOP("sondara", "文件(&F)"),
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
        {SONDARA_TR_NOOP("sondara", "编辑(&E)"),
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
        {SONDARA_TR_NOOP("sondara", "查看(&V)"),
         {cmd(CommandId::ViewStatusBar), cmd(CommandId::ViewMainToolbar),
          cmd(CommandId::ViewDisplayToolbar), cmd(CommandId::ViewProcessingToolbar),
          cmd(CommandId::ViewAnalysisToolbar), sep(), cmd(CommandId::ViewPointListPanel),
          cmd(CommandId::ViewHistoryPanel), cmd(CommandId::ViewInfoPanel), sep(),
          sub(SONDARA_TR_NOOP("sondara", "游标"),
              {cmd(CommandId::ViewCrossCursor), cmd(CommandId::ViewLineCursor)}),
          cmd(CommandId::ViewCursorInfo)}},
        {SONDARA_TR_NOOP("sondara", "波形处理(&W)"),
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
          sub(SONDARA_TR_NOOP("sondara", "插入(&N)"), insertStepEntries()),
          cmd(CommandId::ProcDelete),
          cmd(CommandId::ProcClear)}},
        {SONDARA_TR_NOOP("sondara", "波形分析(&A)"),
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
        {SONDARA_TR_NOOP("sondara", "显示调整(&D)"),
         {sub(SONDARA_TR_NOOP("sondara", "填充"),
              {cmd(CommandId::DispFillNone), cmd(CommandId::DispFillPositive),
               cmd(CommandId::DispFillNegative)}),
          sub(SONDARA_TR_NOOP("sondara", "频谱显示"),
              {cmd(CommandId::DispSpectrumLines), cmd(CommandId::DispSpectrumEnvelope)}),
          sep(), cmd(CommandId::DispAutoAdjust), cmd(CommandId::DispShowAll), sep(),
          sub(SONDARA_TR_NOOP("sondara", "横向位置"),
              {cmd(CommandId::DispAlignHead), cmd(CommandId::DispRestorePosition),
               cmd(CommandId::DispMoveLeft), cmd(CommandId::DispMoveRight)}),
          sub(SONDARA_TR_NOOP("sondara", "横向比例"),
              {cmd(CommandId::DispFitToe), cmd(CommandId::DispRestoreScale),
               cmd(CommandId::DispStretchX), cmd(CommandId::DispCompressX)}),
          sub(SONDARA_TR_NOOP("sondara", "竖向比例"),
              {cmd(CommandId::DispAutoY), cmd(CommandId::DispStretchY),
               cmd(CommandId::DispCompressY)})}},
        {SONDARA_TR_NOOP("sondara", "窗口(&W)"),
         {cmd(CommandId::WindowNew), cmd(CommandId::WindowCascade),
          cmd(CommandId::WindowTileHorizontal), cmd(CommandId::WindowTileVertical),
          cmd(CommandId::WindowArrangeIcons), cmd(CommandId::WindowCompare)}},
        {SONDARA_TR_NOOP("sondara", "工具(&T)"),
         {cmd(CommandId::ToolTransfer), cmd(CommandId::ToolViewLog), sep(),
          cmd(CommandId::ToolCalculator), cmd(CommandId::ToolPaint), cmd(CommandId::ToolNotepad)}},
        {SONDARA_TR_NOOP("sondara", "帮助(&H)"),
         {cmd(CommandId::HelpTopics), sep(), cmd(CommandId::HelpAbout)}},
    };
    return k;
}

const std::vector<MenuDef>& noDocumentMenus() {
    static const std::vector<MenuDef> k = {
        {SONDARA_TR_NOOP("sondara", "文件(&F)"),
         {cmd(CommandId::FileNew), cmd(CommandId::FileOpen), cmd(CommandId::FileImportTraces),
          cmd(CommandId::FilePrintSetupNoDoc), sep(), cmd(CommandId::FileRecent), sep(),
          cmd(CommandId::AppExit)}},
        {SONDARA_TR_NOOP("sondara", "查看(&V)"),
         {cmd(CommandId::ViewMainToolbar, SONDARA_TR_NOOP("sondara", "工具栏(&T)")),
          cmd(CommandId::ViewStatusBar)}},
        {SONDARA_TR_NOOP("sondara", "帮助(&H)"),
         {cmd(CommandId::HelpTopics), sep(),
          cmd(CommandId::HelpAbout, SONDARA_TR_NOOP("sondara", "关于本软件(&A)..."))}},
    };
    return k;
}

const MenuDef& contextMenu(int resource) {
    static const MenuDef insert{SONDARA_TR_NOOP("sondara", "波形处理(&W)"), insertStepEntries()};
    static const MenuDef points{
        SONDARA_TR_NOOP("sondara", "测点操作(&W)"),
        {cmd(CommandId::EditUndo), cmd(CommandId::EditDelete), cmd(CommandId::EditMoveUp),
         cmd(CommandId::EditMoveDown), cmd(CommandId::EditCheckAll), cmd(CommandId::EditCheckNone),
         cmd(CommandId::EditCheckInvert)}};
    static const MenuDef display{
        SONDARA_TR_NOOP("sondara", "显示区操作(&D)"),
        {cmd(CommandId::MarkHead), cmd(CommandId::MarkToe),
         sub(SONDARA_TR_NOOP("sondara", "缺陷(&X)"),
             {cmd(CommandId::DefectEnlargedBase), cmd(CommandId::DefectBulge),
              cmd(CommandId::DefectNecking), cmd(CommandId::DefectMudInclusion),
              cmd(CommandId::DefectSegregation), cmd(CommandId::DefectCrack),
              cmd(CommandId::DefectBreak), cmd(CommandId::DefectCustom)}),
         cmd(CommandId::MarkLine),
         sub(SONDARA_TR_NOOP("sondara", "波形处理(&W)"),
             {cmd(CommandId::ProcFilter), cmd(CommandId::ProcAmplify), cmd(CommandId::ProcRemoveDc),
              cmd(CommandId::ProcSmooth), cmd(CommandId::ProcIntegrate),
              cmd(CommandId::ProcDifferentiate)}),
         cmd(CommandId::DispMoveLeft), cmd(CommandId::DispMoveRight),
         cmd(CommandId::DispStretchX, SONDARA_TR_NOOP("sondara", "横向拉伸")),
         cmd(CommandId::DispCompressX, SONDARA_TR_NOOP("sondara", "横向压缩")),
         cmd(CommandId::DispStretchY, SONDARA_TR_NOOP("sondara", "竖向拉伸")),
         cmd(CommandId::DispCompressY, SONDARA_TR_NOOP("sondara", "竖向压缩"))}};
    static const MenuDef table{SONDARA_TR_NOOP("sondara", "编辑(&E)"),
                               {cmd(CommandId::EditSettings)}};
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
         SONDARA_TR_NOOP("sondara", "主控制"),
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
         SONDARA_TR_NOOP("sondara", "波形分析"),
         {C::MarkHead, C::MarkToe, C::None, C::DefectEnlargedBase, C::DefectBulge, C::DefectNecking,
          C::DefectMudInclusion, C::DefectSegregation, C::DefectCrack, C::DefectBreak,
          C::DefectCustom, C::None, C::MarkLine}},
        {kToolbarProcessing,
         SONDARA_TR_NOOP("sondara", "波形处理"),
         {C::ProcFilter, C::ProcAmplify, C::ProcRemoveDc, C::ProcSmooth, C::ProcIntegrate, C::None,
          C::ProcRotate, C::ProcLinearZero, C::ProcNonlinearZero, C::ProcZeroFront, C::ProcZeroBack,
          C::ProcLocalScale, C::ProcShift, C::ProcInvert}},
        {kToolbarDisplay,
         SONDARA_TR_NOOP("sondara", "显示调整"),
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
