<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>QObject</name>
    <message>
        <source>测点栏</source>
        <translation>Point List</translation>
    </message>
    <message>
        <source>处理过程</source>
        <translation>Processing History</translation>
    </message>
    <message>
        <source>信息栏</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>自动桩头设置</source>
        <translation>Auto Pile Head Settings</translation>
    </message>
    <message>
        <source>桩头取值</source>
        <translation>Pile head pick</translation>
    </message>
    <message>
        <source>正向</source>
        <translation>Positive</translation>
    </message>
    <message>
        <source>负向</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>忽略点数</source>
        <translation>Points to skip</translation>
    </message>
    <message>
        <source>起始比例</source>
        <translation>Start ratio</translation>
    </message>
    <message>
        <source>（0~100）</source>
        <translation>(0–100)</translation>
    </message>
    <message>
        <source>缺省</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>自动桩底</source>
        <translation>Auto Pile Toe</translation>
    </message>
    <message>
        <source>缺陷设置</source>
        <translation>Defect Settings</translation>
    </message>
    <message>
        <source>缺陷名称(&amp;N)</source>
        <translation>Defect &amp;name</translation>
    </message>
    <message>
        <source>位置(&amp;P)</source>
        <translation>&amp;Position</translation>
    </message>
    <message>
        <source>备注信息(&amp;R)</source>
        <translation>&amp;Remarks</translation>
    </message>
    <message>
        <source>%1（编译时 %2）</source>
        <translation>%1 (built with %2)</translation>
    </message>
    <message>
        <source>Qt 中文翻译 (qt6-translations-l10n)</source>
        <translation>Qt Chinese translations (qt6-translations-l10n)</translation>
    </message>
    <message>
        <source>libjpeg-turbo (libjpeg)（JPEG 图片）</source>
        <translation>libjpeg-turbo (libjpeg) (JPEG images)</translation>
    </message>
    <message>
        <source>IJG 许可与 BSD 3-Clause</source>
        <translation>IJG licence and BSD 3-Clause</translation>
    </message>
    <message>
        <source>libzip（Word 报告的 zip 包）</source>
        <translation>libzip (zip package of the Word report)</translation>
    </message>
    <message>
        <source>pugixml（Word 报告的 XML）</source>
        <translation>pugixml (XML of the Word report)</translation>
    </message>
    <message>
        <source>libxlsxwriter（Excel 报表）</source>
        <translation>libxlsxwriter (Excel table)</translation>
    </message>
    <message>
        <source>C++ 标准库 (libstdc++) 与 C 库 (glibc)</source>
        <translation>C++ standard library (libstdc++) and C library (glibc)</translation>
    </message>
    <message>
        <source>GPL 3.0 附运行库例外 / LGPL 2.1</source>
        <translation>GPL 3.0 with runtime library exception / LGPL 2.1</translation>
    </message>
    <message>
        <source>Noto Sans CJK 字体（界面字体，如已安装）</source>
        <translation>Noto Sans CJK fonts (interface font, when installed)</translation>
    </message>
    <message>
        <source>&lt;tr&gt;&lt;th&gt;组件&lt;/th&gt;&lt;th&gt;版本&lt;/th&gt;&lt;th&gt;许可&lt;/th&gt;&lt;/tr&gt;</source>
        <translation>&lt;tr&gt;&lt;th&gt;Component&lt;/th&gt;&lt;th&gt;Version&lt;/th&gt;&lt;th&gt;Licence&lt;/th&gt;&lt;/tr&gt;</translation>
    </message>
    <message>
        <source>关于本软件</source>
        <translation>About Sondara</translation>
    </message>
    <message>
        <source>程序图标</source>
        <translation>Program icon</translation>
    </message>
    <message>
        <source>版本 %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>使用的库(&amp;L)：</source>
        <translation>&amp;Libraries used:</translation>
    </message>
    <message>
        <source>使用的库</source>
        <translation>Libraries used</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>QAR数据文件</source>
        <translation>QAR data file</translation>
    </message>
    <message>
        <source>QAR数据文件(*.qar);;所有文件 (*.*)</source>
        <translation>QAR data files (*.qar);;All files (*.*)</translation>
    </message>
    <message>
        <source>是否保存对 %1 的更改?</source>
        <translation>Save the changes to %1?</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>保存失败：%1
%2</source>
        <translation>Saving failed: %1
%2</translation>
    </message>
    <message>
        <source>文件路径错误</source>
        <translation>Wrong file path</translation>
    </message>
    <message>
        <source>（未命名）</source>
        <translation>(untitled)</translation>
    </message>
    <message>
        <source>文件%1有未保存的修改（%2），是否恢复？</source>
        <translation>File %1 has unsaved changes (%2). Recover them?</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Recover</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>恢复文件已损坏，无法恢复：%1
已保留为%2.bad</source>
        <translation>The recovery file is damaged and cannot be recovered: %1
Kept as %2.bad</translation>
    </message>
    <message>
        <source>打开异常</source>
        <translation>Cannot Open File</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>帮助主题</source>
        <translation>Help Topics</translation>
    </message>
    <message>
        <source>找不到帮助文件。已查找：
</source>
        <translation>Help files not found. Looked in:
</translation>
    </message>
    <message>
        <source>无法打开浏览器显示帮助：
</source>
        <translation>Cannot open a browser to show the help:
</translation>
    </message>
    <message>
        <source>设置 </source>
        <translation>Settings </translation>
    </message>
    <message>
        <source>设置显示区相关参数</source>
        <translation>Set the parameters of the display area</translation>
    </message>
    <message>
        <source>请选择要保存的测点</source>
        <translation>Please choose the points to save</translation>
    </message>
    <message>
        <source>选择保存</source>
        <translation>Save Checked Points</translation>
    </message>
    <message>
        <source>保存完成</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>保存失败</source>
        <translation>Saving failed</translation>
    </message>
    <message>
        <source>选择加载文件</source>
        <translation>Choose Files to Load</translation>
    </message>
    <message>
        <source>多选</source>
        <translation>Choose Several</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>导出波形文件</source>
        <translation>Export Waveform File</translation>
    </message>
    <message>
        <source>数据头(测点数、波形长度)</source>
        <translation>Data header (point count, trace length)</translation>
    </message>
    <message>
        <source>每点声时(us)</source>
        <translation>Time of each sample (µs)</translation>
    </message>
    <message>
        <source>导出内容</source>
        <translation>Export values</translation>
    </message>
    <message>
        <source>量化值</source>
        <translation>Raw counts</translation>
    </message>
    <message>
        <source>毫伏值</source>
        <translation>Millivolts</translation>
    </message>
    <message>
        <source>分隔符</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>当前测点</source>
        <translation>Current point</translation>
    </message>
    <message>
        <source>勾选测点</source>
        <translation>Checked points</translation>
    </message>
    <message>
        <source>所有测点</source>
        <translation>All points</translation>
    </message>
    <message>
        <source>数据来源</source>
        <translation>Data source</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>保存路径</source>
        <translation>Save path</translation>
    </message>
    <message>
        <source>全部缺省</source>
        <translation>All Defaults</translation>
    </message>
    <message>
        <source>文本文件(*.txt);;任意文件(*.*)</source>
        <translation>Text files (*.txt);;All files (*.*)</translation>
    </message>
    <message>
        <source>保存结果</source>
        <translation>Save Results</translation>
    </message>
    <message>
        <source>QAR结果文件(*.rpc);;所有文件 (*.*)</source>
        <translation>QAR result files (*.rpc);;All files (*.*)</translation>
    </message>
    <message>
        <source>导入波形</source>
        <translation>Import Traces</translation>
    </message>
    <message>
        <source>文件：</source>
        <translation>Files: </translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>采样间隔(&amp;T)(us)：</source>
        <translation>Sample in&amp;terval (µs):</translation>
    </message>
    <message>
        <source>文件中没有，必须填写</source>
        <translation>Not in the file, required</translation>
    </message>
    <message>
        <source>文件中已给出</source>
        <translation>Given in the file</translation>
    </message>
    <message>
        <source>加速度</source>
        <translation>Acceleration</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Velocity</translation>
    </message>
    <message>
        <source>传感器类型(&amp;S)：</source>
        <translation>&amp;Sensor type:</translation>
    </message>
    <message>
        <source>传感器类型：</source>
        <translation>Sensor type:</translation>
    </message>
    <message>
        <source>桩长(&amp;L)(m)：</source>
        <translation>Pile &amp;length (m):</translation>
    </message>
    <message>
        <source>波速(&amp;V)(m/s)：</source>
        <translation>Wa&amp;ve speed (m/s):</translation>
    </message>
    <message>
        <source>可不填</source>
        <translation>Optional</translation>
    </message>
    <message>
        <source>波形文本 (*.txt *.csv *.tsv *.dat);;所有文件 (*)</source>
        <translation>Waveform text (*.txt *.csv *.tsv *.dat);;All files (*)</translation>
    </message>
    <message>
        <source>数据传输</source>
        <translation>Data Transfer</translation>
    </message>
    <message>
        <source>MIR-QAR分析仪</source>
        <translation>MIR-QAR analyser</translation>
    </message>
    <message>
        <source>连接状态</source>
        <translation>Connection status</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>工程名称</source>
        <translation>Project name</translation>
    </message>
    <message>
        <source>测点数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>检测日期</source>
        <translation>Test date</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>选择范围</source>
        <translation>Selection range</translation>
    </message>
    <message>
        <source>从“选择范围”区添加被选中的文件到“传输文件”</source>
        <translation>Add the selected files of &quot;Selection range&quot; to &quot;Files to transfer&quot;</translation>
    </message>
    <message>
        <source>从“传输文件”区删除被选中的文件</source>
        <translation>Remove the selected files from &quot;Files to transfer&quot;</translation>
    </message>
    <message>
        <source>添加“选择范围”区所有文件到“传输文件”</source>
        <translation>Add all files of &quot;Selection range&quot; to &quot;Files to transfer&quot;</translation>
    </message>
    <message>
        <source>删除“传输文件”区所有文件</source>
        <translation>Remove all files from &quot;Files to transfer&quot;</translation>
    </message>
    <message>
        <source>传输文件</source>
        <translation>Files to transfer</translation>
    </message>
    <message>
        <source>存放目录</source>
        <translation>Target folder</translation>
    </message>
    <message>
        <source>传输进度</source>
        <translation>Transfer progress</translation>
    </message>
    <message>
        <source>开始传输</source>
        <translation>Start Transfer</translation>
    </message>
    <message>
        <source>关 闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>选择存放目录</source>
        <translation>Choose the Target Folder</translation>
    </message>
    <message>
        <source>正在结束操作，是否强行终止操作？
警告：强行终止将导致软件异常退出！</source>
        <translation>The operation is finishing. Force it to stop?
Warning: forcing it to stop makes the program quit abnormally!</translation>
    </message>
    <message>
        <source>传输尚未完成，是否终止尚未完成的传输？</source>
        <translation>The transfer has not finished. Stop the unfinished transfer?</translation>
    </message>
    <message>
        <source>判读结果</source>
        <translation>Interpretation Results</translation>
    </message>
    <message>
        <source>正在自动判读……</source>
        <translation>Interpreting…</translation>
    </message>
    <message>
        <source>自动判读</source>
        <translation>Auto Interpretation</translation>
    </message>
    <message>
        <source>正在自动判读……（%1/%2）</source>
        <translation>Interpreting… (%1/%2)</translation>
    </message>
    <message>
        <source>扩径</source>
        <translation>Bulging</translation>
    </message>
    <message>
        <source>断桩</source>
        <translation>Broken Pile</translation>
    </message>
    <message>
        <source>缩径</source>
        <translation>Necking</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>存疑</source>
        <translation>Doubtful</translation>
    </message>
    <message>
        <source>清晰</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>未找到</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>桩号</source>
        <translation>Pile No.</translation>
    </message>
    <message>
        <source>测点</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>桩底深度</source>
        <translation>Toe depth</translation>
    </message>
    <message>
        <source>缺陷</source>
        <translation>Defects</translation>
    </message>
    <message>
        <source>建议类别</source>
        <translation>Suggested class</translation>
    </message>
    <message>
        <source>可信度</source>
        <translation>Confidence</translation>
    </message>
    <message>
        <source>残差</source>
        <translation>Residual</translation>
    </message>
    <message>
        <source>尚未自动判读</source>
        <translation>Not interpreted yet</translation>
    </message>
    <message>
        <source>采用(&amp;Y)</source>
        <translation>Appl&amp;y</translation>
    </message>
    <message>
        <source>采用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>全部采用(&amp;Q)</source>
        <translation>Apply &amp;All</translation>
    </message>
    <message>
        <source>全部采用</source>
        <translation>Apply All</translation>
    </message>
    <message>
        <source>采用所有可信度为“清晰”的建议</source>
        <translation>Apply every suggestion whose confidence is &quot;Clear&quot;</translation>
    </message>
    <message>
        <source>共%1个测点，存疑%2个。</source>
        <translation>%1 points, %2 doubtful. </translation>
    </message>
    <message>
        <source>场地平均波速 %1 m/s（取自%2个Ⅰ类测点），仅供参考，未写入工程。</source>
        <translation>Site average wave speed %1 m/s (from %2 class I points), for reference only, not written into the project.</translation>
    </message>
    <message>
        <source>桩底清晰且已填桩长的Ⅰ类测点不足五个，未求场地平均波速。</source>
        <translation>Fewer than five class I points with a clear toe and a known pile length: no site average wave speed.</translation>
    </message>
    <message>
        <source>文件已保存到：</source>
        <translation>File saved to: </translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>正在保存图形，请稍候...</source>
        <translation>Saving the images, please wait...</translation>
    </message>
    <message>
        <source>Word文件(*.docx)</source>
        <translation>Word files (*.docx)</translation>
    </message>
    <message>
        <source>找不到报告模板 %1，请重新安装程序。</source>
        <translation>Report template %1 not found. Please reinstall the program.</translation>
    </message>
    <message>
        <source>生成报告失败：%1</source>
        <translation>Creating the report failed: %1</translation>
    </message>
    <message>
        <source>Excel文件(*.xlsx)</source>
        <translation>Excel files (*.xlsx)</translation>
    </message>
    <message>
        <source>生成报表失败：%1</source>
        <translation>Creating the table failed: %1</translation>
    </message>
    <message>
        <source>工程信息</source>
        <translation>Project Information</translation>
    </message>
    <message>
        <source>%1：</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>强度等级</source>
        <translation>Concrete grade</translation>
    </message>
    <message>
        <source>浇筑日期</source>
        <translation>Casting date</translation>
    </message>
    <message>
        <source>桩径</source>
        <translation>Pile diameter</translation>
    </message>
    <message>
        <source>总桩数</source>
        <translation>Total piles</translation>
    </message>
    <message>
        <source>地质概况：</source>
        <translation>Geology:</translation>
    </message>
    <message>
        <source>地质概况</source>
        <translation>Geology</translation>
    </message>
    <message>
        <source>生成附图</source>
        <translation>Include figures</translation>
    </message>
    <message>
        <source>保存图形</source>
        <translation>Save Image</translation>
    </message>
    <message>
        <source>目标位置</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>图形文件</source>
        <translation>Image files</translation>
    </message>
    <message>
        <source>Word文件</source>
        <translation>Word file</translation>
    </message>
    <message>
        <source>目标文件夹</source>
        <translation>Destination folder</translation>
    </message>
    <message>
        <source>文件格式:</source>
        <translation>File format:</translation>
    </message>
    <message>
        <source>当前显示</source>
        <translation>Current display</translation>
    </message>
    <message>
        <source>选中波形</source>
        <translation>Selected traces</translation>
    </message>
    <message>
        <source>数据选择:</source>
        <translation>Data:</translation>
    </message>
    <message>
        <source>文件大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>图形尺寸:</source>
        <translation>Image size:</translation>
    </message>
    <message>
        <source>Word中列数:</source>
        <translation>Columns in Word:</translation>
    </message>
    <message>
        <source>默认</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>日历</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>操作影响范围</source>
        <translation>Scope of operations</translation>
    </message>
    <message>
        <source>当前波形</source>
        <translation>Current Trace</translation>
    </message>
    <message>
        <source>全部波形</source>
        <translation>All Traces</translation>
    </message>
    <message>
        <source>桩长/波速：</source>
        <translation>Pile length/wave speed:</translation>
    </message>
    <message>
        <source>多道波形数：</source>
        <translation>Traces in multi-trace view:</translation>
    </message>
    <message>
        <source>显示标号</source>
        <translation>Show labels</translation>
    </message>
    <message>
        <source>显示模拟桩</source>
        <translation>Show simulated pile</translation>
    </message>
    <message>
        <source>选择参数项</source>
        <translation>Choose parameters</translation>
    </message>
    <message>
        <source>备选项</source>
        <translation>Available</translation>
    </message>
    <message>
        <source>已选项</source>
        <translation>Chosen</translation>
    </message>
    <message>
        <source>恢复文件间隔(&amp;R)（秒）：</source>
        <translation>&amp;Recovery file interval (s):</translation>
    </message>
    <message>
        <source>恢复文件间隔（秒）</source>
        <translation>Recovery file interval (s)</translation>
    </message>
    <message>
        <source>显示桩</source>
        <translation>Show piles</translation>
    </message>
    <message>
        <source>显示测点</source>
        <translation>Show points</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>测点编号</source>
        <translation>Point No.</translation>
    </message>
    <message>
        <source>：</source>
        <translation>:</translation>
    </message>
    <message>
        <source>定制表头</source>
        <translation>Customise Header Table</translation>
    </message>
    <message>
        <source>表格线(&amp;L)</source>
        <translation>Grid &amp;lines</translation>
    </message>
    <message>
        <source>行数(&amp;R)：</source>
        <translation>&amp;Rows:</translation>
    </message>
    <message>
        <source>列数(&amp;C)：</source>
        <translation>&amp;Columns:</translation>
    </message>
    <message>
        <source>每行高度（厘米）(&amp;H)：</source>
        <translation>Row &amp;height (cm):</translation>
    </message>
    <message>
        <source>表头预览</source>
        <translation>Header table preview</translation>
    </message>
    <message>
        <source>表头项</source>
        <translation>Header table item</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>波形</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>幅值谱</source>
        <translation>Amplitude spectrum</translation>
    </message>
    <message>
        <source>功率谱</source>
        <translation>Power spectrum</translation>
    </message>
    <message>
        <source>倒频谱</source>
        <translation>Cepstrum</translation>
    </message>
    <message>
        <source>对数谱</source>
        <translation>Log spectrum</translation>
    </message>
    <message>
        <source>页边距（厘米）</source>
        <translation>Margins (cm)</translation>
    </message>
    <message>
        <source>上(&amp;T)：</source>
        <translation>&amp;Top:</translation>
    </message>
    <message>
        <source>下(&amp;B)：</source>
        <translation>&amp;Bottom:</translation>
    </message>
    <message>
        <source>左(&amp;L)：</source>
        <translation>&amp;Left:</translation>
    </message>
    <message>
        <source>右(&amp;R)：</source>
        <translation>&amp;Right:</translation>
    </message>
    <message>
        <source>波形排列</source>
        <translation>Trace layout</translation>
    </message>
    <message>
        <source>自动(&amp;A)</source>
        <translation>&amp;Auto</translation>
    </message>
    <message>
        <source>行数(&amp;W)：</source>
        <translation>Ro&amp;ws:</translation>
    </message>
    <message>
        <source>起始页(&amp;S)：</source>
        <translation>&amp;Start page:</translation>
    </message>
    <message>
        <source>表头(&amp;E)</source>
        <translation>Header tabl&amp;e</translation>
    </message>
    <message>
        <source>页眉(&amp;H)</source>
        <translation>&amp;Header</translation>
    </message>
    <message>
        <source>页脚(&amp;F)</source>
        <translation>&amp;Footer</translation>
    </message>
    <message>
        <source>页码(&amp;N)</source>
        <translation>Page &amp;numbers</translation>
    </message>
    <message>
        <source>页  眉(&amp;D)：</source>
        <translation>Hea&amp;der text:</translation>
    </message>
    <message>
        <source>页  脚(&amp;O)：</source>
        <translation>F&amp;ooter text:</translation>
    </message>
    <message>
        <source>顶部居左</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>顶部居中</source>
        <translation>Top centre</translation>
    </message>
    <message>
        <source>顶部居右</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>底部居左</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>底部居中</source>
        <translation>Bottom centre</translation>
    </message>
    <message>
        <source>底部居右</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>格式(&amp;M)：</source>
        <translation>For&amp;mat:</translation>
    </message>
    <message>
        <source>位置(&amp;P)：</source>
        <translation>&amp;Position:</translation>
    </message>
    <message>
        <source>打印项(&amp;I)：</source>
        <translation>Print &amp;items:</translation>
    </message>
    <message>
        <source>字体(&amp;Z)...</source>
        <translation>Te&amp;xt Font...</translation>
    </message>
    <message>
        <source>表头(&amp;G)...</source>
        <translation>Confi&amp;gure Header Table...</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>正在打印...</source>
        <translation>Printing...</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>正在打印第 %1 页（共 %2 页）</source>
        <translation>Printing page %1 of %2</translation>
    </message>
    <message>
        <source>无法在打印机上开始打印。</source>
        <translation>Cannot start printing on the printer.</translation>
    </message>
    <message>
        <source>打印到 PDF 文件</source>
        <translation>Print to PDF File</translation>
    </message>
    <message>
        <source>打印.pdf</source>
        <translation>print.pdf</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>无法写入文件：</source>
        <translation>Cannot write the file: </translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Print Setup</translation>
    </message>
    <message>
        <source>打印机</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>PDF 文件（未安装打印机）</source>
        <translation>PDF file (no printer installed)</translation>
    </message>
    <message>
        <source>名称(&amp;N)：</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>纸张</source>
        <translation>Paper</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>大小(&amp;Z)：</source>
        <translation>Si&amp;ze:</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>纵向(&amp;O)</source>
        <translation>P&amp;ortrait</translation>
    </message>
    <message>
        <source>横向(&amp;A)</source>
        <translation>L&amp;andscape</translation>
    </message>
    <message>
        <source> 打印</source>
        <translation> Print</translation>
    </message>
    <message>
        <source> 页面</source>
        <translation> Page</translation>
    </message>
    <message>
        <source>默认(&amp;D)</source>
        <translation>&amp;Defaults</translation>
    </message>
    <message>
        <source>详细信息</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>对当前波形处理信息进行编辑</source>
        <translation>Edit the selected processing step</translation>
    </message>
    <message>
        <source>插入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>在当前波形处理前面插入新的操作</source>
        <translation>Insert a new step before the selected processing step</translation>
    </message>
    <message>
        <source>删除当前波形处理信息</source>
        <translation>Delete the selected processing step</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>清除所有波形处理信息</source>
        <translation>Clear all processing steps</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>撤销最后一次波形处理操作</source>
        <translation>Undo the last processing step</translation>
    </message>
    <message>
        <source>波形处理(&amp;W)</source>
        <translation>&amp;Processing</translation>
    </message>
    <message>
        <source>无法打开并口 %1：%2</source>
        <translation>Cannot open the parallel port %1: %2</translation>
    </message>
    <message>
        <source>已采用%1个测点的判读结果，其中%2个为备选解释</source>
        <translation>Adopted the interpretation of %1 point(s), %2 of them an alternative reading</translation>
    </message>
    <message>
        <source>已采用%1个测点的判读结果</source>
        <translation>Adopted the interpretation of %1 point(s)</translation>
    </message>
    <message>
        <source>没有可采用的判读结果</source>
        <translation>No interpretation could be adopted</translation>
    </message>
    <message>
        <source>%1m（未找到桩底反射）</source>
        <translation>%1 m (no toe echo found)</translation>
    </message>
    <message>
        <source>%1类，桩底 %2，缺陷：%3，证据差 %4</source>
        <translation>class %1, toe %2, changes: %3, evidence gap %4</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>存疑：%1</source>
        <translation>Uncertain: %1</translation>
    </message>
    <message>
        <source>其他可能的解释（证据差越小越接近所选解释）：</source>
        <translation>Other possible readings (the smaller the evidence gap, the closer to the chosen one):</translation>
    </message>
    <message>
        <source>已采用</source>
        <translation>Adopted</translation>
    </message>
    <message>
        <source>已采用（备选%1）</source>
        <translation>Adopted (alternative %1)</translation>
    </message>
    <message>
        <source>无法判读</source>
        <translation>Not interpretable</translation>
    </message>
    <message>
        <source>%1（%2种其他解释）</source>
        <translation>%1 (%2 other readings)</translation>
    </message>
    <message>
        <source>存疑原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>桩长说明</source>
        <translation>Length Remark</translation>
    </message>
    <message>
        <source>把选中各行的建议写入桩头、桩底、缺陷和完整性类别（选了备选解释的行写入该解释）</source>
        <translation>Write the proposals of the selected rows as head, toe, defects and integrity class (a row with an alternative chosen writes that alternative)</translation>
    </message>
    <message>
        <source>备选解释</source>
        <translation>Alternative readings</translation>
    </message>
    <message>
        <source>当前行的其他可能解释：选中一种，完整性分析波形上以另一种颜色叠加其拟合波形</source>
        <translation>Other possible readings of the current row: choose one to overlay its fitted trace in a second colour on the integrity trace</translation>
    </message>
    <message>
        <source>备选解释(&amp;K)：</source>
        <translation>Alternative &amp;readings:</translation>
    </message>
    <message>
        <source>所选解释：%1类，桩底 %2</source>
        <translation>Chosen reading: class %1, toe %2</translation>
    </message>
    <message>
        <source>文件%1为只读，不能保存！</source>
        <translation>The file %1 is read-only and cannot be saved.</translation>
    </message>
    <message>
        <source>文件中没有采样间隔</source>
        <translation>The files give no sample interval</translation>
    </message>
    <message>
        <source>文件中的采样间隔(us)：%1</source>
        <translation>Sample interval in the files (us): %1</translation>
    </message>
    <message>
        <source>恢复未保存的修改</source>
        <translation>Recover unsaved changes</translation>
    </message>
    <message>
        <source>以下文件有未保存的修改，是上次未正常结束的程序留下的。请选择每个文件的处理方式：</source>
        <translation>These files have unsaved changes left by a program that did not end normally. Choose what to do with each file:</translation>
    </message>
    <message>
        <source>恢复文件</source>
        <translation>Recovery files</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>修改时间</source>
        <translation>Changed at</translation>
    </message>
    <message>
        <source>处理</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>暂不处理</source>
        <translation>Decide later</translation>
    </message>
    <message>
        <source>全部恢复</source>
        <translation>Recover all</translation>
    </message>
    <message>
        <source>全部放弃</source>
        <translation>Discard all</translation>
    </message>
    <message>
        <source>以后再说</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>放弃将永久删除以下文件中未保存的修改，无法找回：
%1
是否放弃？</source>
        <translation>Discarding deletes the unsaved changes of these files for good; they cannot be recovered:
%1
Discard them?</translation>
    </message>
</context>
<context>
    <name>sondara</name>
    <message>
        <source>新建(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>打开(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>选择保存(&amp;L)...</source>
        <translation>Save Chec&amp;ked Points...</translation>
    </message>
    <message>
        <source>选择保存</source>
        <translation>Save Checked Points</translation>
    </message>
    <message>
        <source>文件合并(&amp;M)...</source>
        <translation>&amp;Merge Files...</translation>
    </message>
    <message>
        <source>文件合并</source>
        <translation>Merge Files</translation>
    </message>
    <message>
        <source>保存结果</source>
        <translation>Save Results</translation>
    </message>
    <message>
        <source>保存图形(&amp;B)...</source>
        <translation>Save Ima&amp;ge...</translation>
    </message>
    <message>
        <source>保存图形</source>
        <translation>Save Image</translation>
    </message>
    <message>
        <source>生成报告(&amp;W)...</source>
        <translation>&amp;Word Report...</translation>
    </message>
    <message>
        <source>生成报告</source>
        <translation>Word Report</translation>
    </message>
    <message>
        <source>生成报表(&amp;E)...</source>
        <translation>&amp;Excel Table...</translation>
    </message>
    <message>
        <source>生成报表</source>
        <translation>Excel Table</translation>
    </message>
    <message>
        <source>导出波形文本</source>
        <translation>Export Waveform Text</translation>
    </message>
    <message>
        <source>导入波形(&amp;I)…</source>
        <translation>&amp;Import Traces…</translation>
    </message>
    <message>
        <source>导入波形</source>
        <translation>Import Traces</translation>
    </message>
    <message>
        <source>打印(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>打印预览(&amp;V)</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>打印设置(&amp;R)...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Print Setup</translation>
    </message>
    <message>
        <source>最近文件</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>撤销(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重复(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>重复</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>还原(&amp;E)</source>
        <translation>R&amp;evert</translation>
    </message>
    <message>
        <source>还原</source>
        <translation>Revert</translation>
    </message>
    <message>
        <source>剪切(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>复制结果(&amp;L)</source>
        <translation>Copy Resu&amp;lts</translation>
    </message>
    <message>
        <source>复制结果</source>
        <translation>Copy Results</translation>
    </message>
    <message>
        <source>插入(&amp;I)</source>
        <translation>&amp;Insert</translation>
    </message>
    <message>
        <source>插入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>添加(&amp;A)</source>
        <translation>&amp;Append</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Append</translation>
    </message>
    <message>
        <source>删除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>上移(&amp;U)</source>
        <translation>&amp;Move Up</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move Up</translation>
    </message>
    <message>
        <source>下移(&amp;W)</source>
        <translation>Move Do&amp;wn</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move Down</translation>
    </message>
    <message>
        <source>升序排列(&amp;S)</source>
        <translation>&amp;Sort Ascending</translation>
    </message>
    <message>
        <source>升序排列</source>
        <translation>Sort Ascending</translation>
    </message>
    <message>
        <source>降序排列(&amp;N)</source>
        <translation>Sort Desce&amp;nding</translation>
    </message>
    <message>
        <source>降序排列</source>
        <translation>Sort Descending</translation>
    </message>
    <message>
        <source>全部勾选(&amp;H)</source>
        <translation>C&amp;heck All</translation>
    </message>
    <message>
        <source>全部勾选</source>
        <translation>Check All</translation>
    </message>
    <message>
        <source>全部不选(&amp;O)</source>
        <translation>Check N&amp;one</translation>
    </message>
    <message>
        <source>全部不选</source>
        <translation>Check None</translation>
    </message>
    <message>
        <source>全部反选(&amp;V)</source>
        <translation>In&amp;vert Checks</translation>
    </message>
    <message>
        <source>全部反选</source>
        <translation>Invert Checks</translation>
    </message>
    <message>
        <source>设置(&amp;F)</source>
        <translation>Settin&amp;gs...</translation>
    </message>
    <message>
        <source>编辑设置</source>
        <translation>Edit Settings</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>显隐状态栏</source>
        <translation>Show/Hide Status Bar</translation>
    </message>
    <message>
        <source>显隐判读结果</source>
        <translation>Show/Hide Interpretation Results</translation>
    </message>
    <message>
        <source>主控制(&amp;T)</source>
        <translation>&amp;Main Controls</translation>
    </message>
    <message>
        <source>显隐主控制</source>
        <translation>Show/Hide Main Controls</translation>
    </message>
    <message>
        <source>显示调整(&amp;D)</source>
        <translation>&amp;Display</translation>
    </message>
    <message>
        <source>显隐显示调整</source>
        <translation>Show/Hide Display Toolbar</translation>
    </message>
    <message>
        <source>波形处理(&amp;A)</source>
        <translation>Waveform &amp;Processing</translation>
    </message>
    <message>
        <source>显隐波形处理</source>
        <translation>Show/Hide Processing Toolbar</translation>
    </message>
    <message>
        <source>波形分析(&amp;W)</source>
        <translation>Waveform &amp;Analysis</translation>
    </message>
    <message>
        <source>显隐波形分析</source>
        <translation>Show/Hide Analysis Toolbar</translation>
    </message>
    <message>
        <source>测点栏(&amp;L)</source>
        <translation>Point &amp;List</translation>
    </message>
    <message>
        <source>显隐测点栏</source>
        <translation>Show/Hide Point List</translation>
    </message>
    <message>
        <source>处理过程(&amp;R)</source>
        <translation>Processing &amp;History</translation>
    </message>
    <message>
        <source>显隐处理过程</source>
        <translation>Show/Hide Processing History</translation>
    </message>
    <message>
        <source>信息栏(&amp;B)</source>
        <translation>&amp;Information</translation>
    </message>
    <message>
        <source>显隐信息栏</source>
        <translation>Show/Hide Information</translation>
    </message>
    <message>
        <source>十字(&amp;O)</source>
        <translation>&amp;Crosshair</translation>
    </message>
    <message>
        <source>十字游标</source>
        <translation>Crosshair Cursor</translation>
    </message>
    <message>
        <source>竖线(&amp;N)</source>
        <translation>&amp;Vertical Line</translation>
    </message>
    <message>
        <source>竖线游标</source>
        <translation>Vertical Line Cursor</translation>
    </message>
    <message>
        <source>光标信息(&amp;M)</source>
        <translation>Cursor &amp;Readout</translation>
    </message>
    <message>
        <source>显隐游标信息</source>
        <translation>Show/Hide Cursor Readout</translation>
    </message>
    <message>
        <source>当前波形</source>
        <translation>Current Trace</translation>
    </message>
    <message>
        <source>全部波形</source>
        <translation>All Traces</translation>
    </message>
    <message>
        <source>数字滤波[F]</source>
        <translation>Digital Filter [F]</translation>
    </message>
    <message>
        <source>数字滤波</source>
        <translation>Digital Filter</translation>
    </message>
    <message>
        <source>波形放大[M]</source>
        <translation>Amplification [M]</translation>
    </message>
    <message>
        <source>波形放大</source>
        <translation>Amplification</translation>
    </message>
    <message>
        <source>去直流[B]</source>
        <translation>Remove DC Offset [B]</translation>
    </message>
    <message>
        <source>去直流</source>
        <translation>Remove DC Offset</translation>
    </message>
    <message>
        <source>平滑[L]</source>
        <translation>Smoothing [L]</translation>
    </message>
    <message>
        <source>平滑</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>积分[I]</source>
        <translation>Integration [I]</translation>
    </message>
    <message>
        <source>积分</source>
        <translation>Integration</translation>
    </message>
    <message>
        <source>简单积分(&amp;S)</source>
        <translation>&amp;Simple Integration</translation>
    </message>
    <message>
        <source>简单积分</source>
        <translation>Simple Integration</translation>
    </message>
    <message>
        <source>微分(&amp;D)</source>
        <translation>Diffe&amp;rentiation</translation>
    </message>
    <message>
        <source>微分</source>
        <translation>Differentiation</translation>
    </message>
    <message>
        <source>波形旋转[O]</source>
        <translation>Rotation [O]</translation>
    </message>
    <message>
        <source>波形旋转</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>线性归零[Z]</source>
        <translation>Linear Zeroing [Z]</translation>
    </message>
    <message>
        <source>线性归零</source>
        <translation>Linear Zeroing</translation>
    </message>
    <message>
        <source>非线性归零[N]</source>
        <translation>Nonlinear Zeroing [N]</translation>
    </message>
    <message>
        <source>非线性归零</source>
        <translation>Nonlinear Zeroing</translation>
    </message>
    <message>
        <source>前清零[E]</source>
        <translation>Zero Before [E]</translation>
    </message>
    <message>
        <source>前清零</source>
        <translation>Zero Before</translation>
    </message>
    <message>
        <source>后清零[K]</source>
        <translation>Zero After [K]</translation>
    </message>
    <message>
        <source>后清零</source>
        <translation>Zero After</translation>
    </message>
    <message>
        <source>局部缩放[P]</source>
        <translation>Local Scaling [P]</translation>
    </message>
    <message>
        <source>局部缩放</source>
        <translation>Local Scaling</translation>
    </message>
    <message>
        <source>数据平移[V]</source>
        <translation>Data Shift [V]</translation>
    </message>
    <message>
        <source>数据平移</source>
        <translation>Data Shift</translation>
    </message>
    <message>
        <source>波形反向[S]</source>
        <translation>Invert Polarity [S]</translation>
    </message>
    <message>
        <source>波形反向</source>
        <translation>Invert Polarity</translation>
    </message>
    <message>
        <source>撤销(&amp;D)</source>
        <translation>&amp;Undo Step</translation>
    </message>
    <message>
        <source>撤销[波形处理]</source>
        <translation>Undo [Processing]</translation>
    </message>
    <message>
        <source>编辑(&amp;T)</source>
        <translation>&amp;Edit Step</translation>
    </message>
    <message>
        <source>编辑[波形处理]</source>
        <translation>Edit [Processing]</translation>
    </message>
    <message>
        <source>删除[波形处理]</source>
        <translation>Delete [Processing]</translation>
    </message>
    <message>
        <source>清除(&amp;C)</source>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>清除[波形处理]</source>
        <translation>Clear [Processing]</translation>
    </message>
    <message>
        <source>插入.数字滤波</source>
        <translation>Insert: Digital Filter</translation>
    </message>
    <message>
        <source>插入.波形放大</source>
        <translation>Insert: Amplification</translation>
    </message>
    <message>
        <source>插入.去直流</source>
        <translation>Insert: Remove DC Offset</translation>
    </message>
    <message>
        <source>插入.平滑</source>
        <translation>Insert: Smoothing</translation>
    </message>
    <message>
        <source>插入.积分</source>
        <translation>Insert: Integration</translation>
    </message>
    <message>
        <source>插入.微分</source>
        <translation>Insert: Differentiation</translation>
    </message>
    <message>
        <source>插入.波形旋转</source>
        <translation>Insert: Rotation</translation>
    </message>
    <message>
        <source>插入.线性归零</source>
        <translation>Insert: Linear Zeroing</translation>
    </message>
    <message>
        <source>插入.非线性归零</source>
        <translation>Insert: Nonlinear Zeroing</translation>
    </message>
    <message>
        <source>插入.前清零</source>
        <translation>Insert: Zero Before</translation>
    </message>
    <message>
        <source>插入.后清零</source>
        <translation>Insert: Zero After</translation>
    </message>
    <message>
        <source>插入.局部缩放</source>
        <translation>Insert: Local Scaling</translation>
    </message>
    <message>
        <source>插入.数据平移</source>
        <translation>Insert: Data Shift</translation>
    </message>
    <message>
        <source>插入.波形反向</source>
        <translation>Insert: Invert Polarity</translation>
    </message>
    <message>
        <source>桩头(&amp;H)</source>
        <translation>Pile &amp;Head</translation>
    </message>
    <message>
        <source>桩头</source>
        <translation>Pile Head</translation>
    </message>
    <message>
        <source>桩底(&amp;T)</source>
        <translation>Pile &amp;Toe</translation>
    </message>
    <message>
        <source>桩底</source>
        <translation>Pile Toe</translation>
    </message>
    <message>
        <source>自动桩头</source>
        <translation>Auto Pile Head</translation>
    </message>
    <message>
        <source>自动桩底</source>
        <translation>Auto Pile Toe</translation>
    </message>
    <message>
        <source>自动判读(&amp;J)</source>
        <translation>Auto &amp;Interpretation</translation>
    </message>
    <message>
        <source>自动判读</source>
        <translation>Auto Interpretation</translation>
    </message>
    <message>
        <source>扩底(&amp;X)</source>
        <translation>Enlarged &amp;Base</translation>
    </message>
    <message>
        <source>扩底</source>
        <translation>Enlarged Base</translation>
    </message>
    <message>
        <source>扩径(&amp;E)</source>
        <translation>Bul&amp;ging</translation>
    </message>
    <message>
        <source>扩径</source>
        <translation>Bulging</translation>
    </message>
    <message>
        <source>缩径(&amp;R)</source>
        <translation>&amp;Necking</translation>
    </message>
    <message>
        <source>缩径</source>
        <translation>Necking</translation>
    </message>
    <message>
        <source>夹泥(&amp;N)</source>
        <translation>&amp;Mud Inclusion</translation>
    </message>
    <message>
        <source>夹泥</source>
        <translation>Mud Inclusion</translation>
    </message>
    <message>
        <source>离析(&amp;D)</source>
        <translation>&amp;Segregation</translation>
    </message>
    <message>
        <source>离析</source>
        <translation>Segregation</translation>
    </message>
    <message>
        <source>裂缝(&amp;C)</source>
        <translation>&amp;Crack</translation>
    </message>
    <message>
        <source>裂缝</source>
        <translation>Crack</translation>
    </message>
    <message>
        <source>断桩(&amp;F)</source>
        <translation>B&amp;roken Pile</translation>
    </message>
    <message>
        <source>断桩</source>
        <translation>Broken Pile</translation>
    </message>
    <message>
        <source>自定义(&amp;A)</source>
        <translation>C&amp;ustom Defect</translation>
    </message>
    <message>
        <source>自定义</source>
        <translation>Custom Defect</translation>
    </message>
    <message>
        <source>标记线(&amp;M)</source>
        <translation>Mar&amp;k Line</translation>
    </message>
    <message>
        <source>标记线</source>
        <translation>Mark Line</translation>
    </message>
    <message>
        <source>编辑(&amp;I)</source>
        <translation>&amp;Edit Mark</translation>
    </message>
    <message>
        <source>编辑[波形分析]</source>
        <translation>Edit [Analysis]</translation>
    </message>
    <message>
        <source>删除(&amp;S)</source>
        <translation>&amp;Delete Mark</translation>
    </message>
    <message>
        <source>删除[波形分析]</source>
        <translation>Delete [Analysis]</translation>
    </message>
    <message>
        <source>清除(&amp;L)</source>
        <translation>Cle&amp;ar Marks</translation>
    </message>
    <message>
        <source>清除[波形分析]</source>
        <translation>Clear [Analysis]</translation>
    </message>
    <message>
        <source>不填充(&amp;N)</source>
        <translation>&amp;No Fill</translation>
    </message>
    <message>
        <source>填充.不填充</source>
        <translation>Fill: No Fill</translation>
    </message>
    <message>
        <source>正填充(&amp;U)</source>
        <translation>&amp;Positive Fill</translation>
    </message>
    <message>
        <source>填充.正填充</source>
        <translation>Fill: Positive</translation>
    </message>
    <message>
        <source>负填充(&amp;P)</source>
        <translation>N&amp;egative Fill</translation>
    </message>
    <message>
        <source>填充.负填充</source>
        <translation>Fill: Negative</translation>
    </message>
    <message>
        <source>谱线(&amp;L)</source>
        <translation>Spectral &amp;Lines</translation>
    </message>
    <message>
        <source>频谱显示.谱线</source>
        <translation>Spectrum: Lines</translation>
    </message>
    <message>
        <source>包络(&amp;E)</source>
        <translation>&amp;Envelope</translation>
    </message>
    <message>
        <source>频谱显示.包络</source>
        <translation>Spectrum: Envelope</translation>
    </message>
    <message>
        <source>自动调节(&amp;A)</source>
        <translation>&amp;Auto Adjust</translation>
    </message>
    <message>
        <source>自动调节</source>
        <translation>Auto Adjust</translation>
    </message>
    <message>
        <source>显示全部(&amp;L)</source>
        <translation>Show A&amp;ll</translation>
    </message>
    <message>
        <source>显示全部</source>
        <translation>Show All</translation>
    </message>
    <message>
        <source>对齐桩头(&amp;H)</source>
        <translation>Align Pile &amp;Heads</translation>
    </message>
    <message>
        <source>横向位置.对其桩头</source>
        <translation>Horizontal Position: Align Pile Heads</translation>
    </message>
    <message>
        <source>还原显示(&amp;E)</source>
        <translation>R&amp;estore</translation>
    </message>
    <message>
        <source>横向位置.还原显示</source>
        <translation>Horizontal Position: Restore</translation>
    </message>
    <message>
        <source>左移(&amp;L)</source>
        <translation>Move &amp;Left</translation>
    </message>
    <message>
        <source>横向位置.左移</source>
        <translation>Horizontal Position: Move Left</translation>
    </message>
    <message>
        <source>右移(&amp;R)</source>
        <translation>Move &amp;Right</translation>
    </message>
    <message>
        <source>横向位置.右移</source>
        <translation>Horizontal Position: Move Right</translation>
    </message>
    <message>
        <source>对齐桩尾/自动伸缩(&amp;T)</source>
        <translation>Fit to Pile &amp;Toe</translation>
    </message>
    <message>
        <source>横向比例.对齐桩尾/自动伸缩</source>
        <translation>Horizontal Scale: Fit to Pile Toe</translation>
    </message>
    <message>
        <source>还原显示(&amp;R)</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>横向比例.还原显示</source>
        <translation>Horizontal Scale: Restore</translation>
    </message>
    <message>
        <source>拉伸(&amp;E)</source>
        <translation>Str&amp;etch</translation>
    </message>
    <message>
        <source>横向比例.拉伸</source>
        <translation>Horizontal Scale: Stretch</translation>
    </message>
    <message>
        <source>压缩(&amp;C)</source>
        <translation>&amp;Compress</translation>
    </message>
    <message>
        <source>横向比例.压缩</source>
        <translation>Horizontal Scale: Compress</translation>
    </message>
    <message>
        <source>自动(&amp;U)</source>
        <translation>A&amp;uto</translation>
    </message>
    <message>
        <source>竖向比例.自动</source>
        <translation>Vertical Scale: Auto</translation>
    </message>
    <message>
        <source>竖向比例.拉伸</source>
        <translation>Vertical Scale: Stretch</translation>
    </message>
    <message>
        <source>竖向比例.压缩</source>
        <translation>Vertical Scale: Compress</translation>
    </message>
    <message>
        <source>新建窗口(&amp;N)</source>
        <translation>&amp;New Window</translation>
    </message>
    <message>
        <source>新建窗口</source>
        <translation>New Window</translation>
    </message>
    <message>
        <source>层叠(&amp;C)</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>层叠</source>
        <translation>Cascade</translation>
    </message>
    <message>
        <source>横向平铺(&amp;T)</source>
        <translation>Tile &amp;Horizontally</translation>
    </message>
    <message>
        <source>横向平铺</source>
        <translation>Tile Horizontally</translation>
    </message>
    <message>
        <source>纵向平铺(&amp;T)</source>
        <translation>&amp;Tile Vertically</translation>
    </message>
    <message>
        <source>纵向平铺</source>
        <translation>Tile Vertically</translation>
    </message>
    <message>
        <source>排列图标(&amp;A)</source>
        <translation>&amp;Arrange Icons</translation>
    </message>
    <message>
        <source>排列图标</source>
        <translation>Arrange Icons</translation>
    </message>
    <message>
        <source>对照窗口(&amp;O)</source>
        <translation>C&amp;ompare Windows</translation>
    </message>
    <message>
        <source>对照窗口</source>
        <translation>Compare Windows</translation>
    </message>
    <message>
        <source>传输(&amp;R)</source>
        <translation>T&amp;ransfer</translation>
    </message>
    <message>
        <source>传输</source>
        <translation>Transfer</translation>
    </message>
    <message>
        <source>查看日志(&amp;L)</source>
        <translation>View &amp;Log</translation>
    </message>
    <message>
        <source>查看日志</source>
        <translation>View Log</translation>
    </message>
    <message>
        <source>计算器(&amp;C)</source>
        <translation>&amp;Calculator</translation>
    </message>
    <message>
        <source>计算器</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>画图(&amp;P)</source>
        <translation>&amp;Paint</translation>
    </message>
    <message>
        <source>画图板</source>
        <translation>Paint</translation>
    </message>
    <message>
        <source>记事本(&amp;N)</source>
        <translation>&amp;Notepad</translation>
    </message>
    <message>
        <source>记事本</source>
        <translation>Notepad</translation>
    </message>
    <message>
        <source>帮助主题(&amp;H)</source>
        <translation>&amp;Help Topics</translation>
    </message>
    <message>
        <source>帮助主题</source>
        <translation>Help Topics</translation>
    </message>
    <message>
        <source>关于(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>上下文帮助</source>
        <translation>Context Help</translation>
    </message>
    <message>
        <source>下一窗格</source>
        <translation>Next Pane</translation>
    </message>
    <message>
        <source>前一窗格</source>
        <translation>Previous Pane</translation>
    </message>
    <message>
        <source>对波形数据进行数字滤波处理</source>
        <translation>Apply a digital filter to the waveform data</translation>
    </message>
    <message>
        <source>对波形数据进行指数或现行规律放大处理</source>
        <translation>Amplify the waveform data by an exponential or linear law</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>游标</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>波形处理(&amp;W)</source>
        <translation>&amp;Processing</translation>
    </message>
    <message>
        <source>插入(&amp;N)</source>
        <translation>&amp;Insert</translation>
    </message>
    <message>
        <source>波形分析(&amp;A)</source>
        <translation>&amp;Analysis</translation>
    </message>
    <message>
        <source>填充</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>频谱显示</source>
        <translation>Spectrum Display</translation>
    </message>
    <message>
        <source>横向位置</source>
        <translation>Horizontal Position</translation>
    </message>
    <message>
        <source>横向比例</source>
        <translation>Horizontal Scale</translation>
    </message>
    <message>
        <source>竖向比例</source>
        <translation>Vertical Scale</translation>
    </message>
    <message>
        <source>窗口(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>关于本软件(&amp;A)...</source>
        <translation>&amp;About Sondara...</translation>
    </message>
    <message>
        <source>测点操作(&amp;W)</source>
        <translation>&amp;Points</translation>
    </message>
    <message>
        <source>显示区操作(&amp;D)</source>
        <translation>&amp;Display Area</translation>
    </message>
    <message>
        <source>缺陷(&amp;X)</source>
        <translation>Defe&amp;cts</translation>
    </message>
    <message>
        <source>横向拉伸</source>
        <translation>Stretch Horizontally</translation>
    </message>
    <message>
        <source>横向压缩</source>
        <translation>Compress Horizontally</translation>
    </message>
    <message>
        <source>竖向拉伸</source>
        <translation>Stretch Vertically</translation>
    </message>
    <message>
        <source>竖向压缩</source>
        <translation>Compress Vertically</translation>
    </message>
    <message>
        <source>主控制</source>
        <translation>Main Controls</translation>
    </message>
    <message>
        <source>波形分析</source>
        <translation>Waveform Analysis</translation>
    </message>
    <message>
        <source>波形处理</source>
        <translation>Waveform Processing</translation>
    </message>
    <message>
        <source>显示调整</source>
        <translation>Display Adjustment</translation>
    </message>
    <message>
        <source>--Dorvanel仪器 服务于中国建设</source>
        <translation>--Dorvanel Instruments, serving construction in China</translation>
    </message>
    <message>
        <source>Dorvanel低应变法基桩完整性检测分析软件V1.0</source>
        <translation>Dorvanel Low-Strain Pile Integrity Testing and Analysis Software V1.0</translation>
    </message>
    <message>
        <source>指定桩长(m)</source>
        <translation>Pile length (m)</translation>
    </message>
    <message>
        <source>指定波速(m/s)</source>
        <translation>Wave speed (m/s)</translation>
    </message>
    <message>
        <source>设置位置错误</source>
        <translation>Wrong position</translation>
    </message>
    <message>
        <source>桩头位置应设置在桩尾之前！</source>
        <translation>The pile head must be before the toe!</translation>
    </message>
    <message>
        <source>桩尾位置应设置在桩头之后！</source>
        <translation>The pile toe must be after the head!</translation>
    </message>
    <message>
        <source>此设置产生超范围缺陷，是否让系统自动删除掉？</source>
        <translation>This leaves defects outside the pile. Delete them automatically?</translation>
    </message>
    <message>
        <source>数据错误！</source>
        <translation>Data error!</translation>
    </message>
    <message>
        <source>缺陷位置不能超出桩体！</source>
        <translation>A defect cannot lie outside the pile!</translation>
    </message>
    <message>
        <source>缺陷间距过小！</source>
        <translation>The defects are too close together!</translation>
    </message>
    <message>
        <source>是否要清除所有标记？</source>
        <translation>Clear all marks?</translation>
    </message>
    <message>
        <source>桩长设置值为零，是否继续？</source>
        <translation>The pile length is zero. Continue?</translation>
    </message>
    <message>
        <source>版权所有 © Dorvanel，保留所有权利。</source>
        <translation>Copyright © Dorvanel. All rights reserved.</translation>
    </message>
    <message>
        <source>写设置文件失败！</source>
        <translation>Writing the settings file failed!</translation>
    </message>
    <message>
        <source>所传输的文件不是测桩仪数据文件！</source>
        <translation>The transferred file is not a data file of the pile tester!</translation>
    </message>
    <message>
        <source>文件内容记录错误，空文件或非低应变数据文件！</source>
        <translation>Wrong file content: empty, or not a low-strain data file!</translation>
    </message>
    <message>
        <source>文件异常，测点数[%d]不合理！</source>
        <translation>Damaged file: the point count [%d] is not plausible!</translation>
    </message>
    <message>
        <source>测点数据不完整，[%d]个测点第[%d]个测点以后数据丢失！</source>
        <translation>Incomplete point data: of [%d] points, the data after point [%d] are lost!</translation>
    </message>
    <message>
        <source>保存完成</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>保存失败</source>
        <translation>Saving failed</translation>
    </message>
    <message>
        <source> (空格)</source>
        <translation> (space)</translation>
    </message>
    <message>
        <source>参数填写有误！</source>
        <translation>Wrong parameters!</translation>
    </message>
    <message>
        <source>分隔符不能为空！</source>
        <translation>The separator cannot be empty!</translation>
    </message>
    <message>
        <source>分隔符不能包含特殊字符（%）！</source>
        <translation>The separator cannot contain the special character (%)!</translation>
    </message>
    <message>
        <source>保存路径设置错误！</source>
        <translation>Wrong save path!</translation>
    </message>
    <message>
        <source>无当前测点数据！</source>
        <translation>No current point data!</translation>
    </message>
    <message>
        <source>无勾选测点数据！</source>
        <translation>No checked point data!</translation>
    </message>
    <message>
        <source>无有效测点数据！</source>
        <translation>No valid point data!</translation>
    </message>
    <message>
        <source>文件路径设置错误！</source>
        <translation>Wrong file path!</translation>
    </message>
    <message>
        <source>是否打开已导出文件？</source>
        <translation>Open the exported file?</translation>
    </message>
    <message>
        <source>导出完成</source>
        <translation>Export finished</translation>
    </message>
    <message>
        <source>采样间隔填写有误！</source>
        <translation>Wrong sample interval!</translation>
    </message>
    <message>
        <source>桩长填写有误！</source>
        <translation>Wrong pile length!</translation>
    </message>
    <message>
        <source>波速填写有误！</source>
        <translation>Wrong wave speed!</translation>
    </message>
    <message>
        <source>接收文件失败！</source>
        <translation>Receiving the file failed!</translation>
    </message>
    <message>
        <source>当前文件夹中无任何文件！</source>
        <translation>The current folder holds no files!</translation>
    </message>
    <message>
        <source>请选择所要传输的文件!</source>
        <translation>Please choose the files to transfer!</translation>
    </message>
    <message>
        <source>获取文件%s失败！</source>
        <translation>Fetching file %s failed!</translation>
    </message>
    <message>
        <source>QAR文件传输结束!</source>
        <translation>QAR file transfer finished!</translation>
    </message>
    <message>
        <source>尚未连接。</source>
        <translation>Not connected.</translation>
    </message>
    <message>
        <source>写入文件%s失败！</source>
        <translation>Writing file %s failed!</translation>
    </message>
    <message>
        <source>是否将数据还原到原始状态？
注：该项操作不可撤销！</source>
        <translation>Revert the data to the original state?
Note: this cannot be undone!</translation>
    </message>
    <message>
        <source>原始数据不完整，不能还原！</source>
        <translation>The original data are incomplete and cannot be restored!</translation>
    </message>
    <message>
        <source>   没有用于生成位图的备选项，请确保以
下两项中至少一项满足：
   1：测点列表有被“√”选中的数据；
   2：显示区有波形显示。</source>
        <translation>   There is nothing to make an image of. Make sure that
at least one of the following holds:
   1: the point list has points checked (√);
   2: the display area shows a waveform.</translation>
    </message>
    <message>
        <source>创建文件失败！</source>
        <translation>Creating the file failed!</translation>
    </message>
    <message>
        <source>创建Word2000服务失败!</source>
        <translation>Starting the Word service failed!</translation>
    </message>
    <message>
        <source>正在创建Word报告，请稍候...</source>
        <translation>Creating the Word report, please wait...</translation>
    </message>
    <message>
        <source>   没有用于打印的备选项，请确保以下信息
和“打印设置”中的相关设置相符：
   1：测点列表有被“√”选中的数据；
   2：显示区有波形显示。</source>
        <translation>   There is nothing to print. Make sure that the following
matches the settings of &quot;Print Setup&quot;:
   1: the point list has points checked (√);
   2: the display area shows a waveform.</translation>
    </message>
    <message>
        <source>无可打印数据，请在“打印设置”→“页面”中设置打印项。</source>
        <translation>Nothing to print: choose the print items in &quot;Print Setup&quot; → &quot;Page&quot;.</translation>
    </message>
    <message>
        <source>页边距过大，页面上没有打印区域！</source>
        <translation>The margins are too large: no printable area is left on the page!</translation>
    </message>
    <message>
        <source>报告编号</source>
        <translation>Report No.</translation>
    </message>
    <message>
        <source>工程名称</source>
        <translation>Project name</translation>
    </message>
    <message>
        <source>工程地址</source>
        <translation>Project address</translation>
    </message>
    <message>
        <source>建设单位</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>设计单位</source>
        <translation>Designer</translation>
    </message>
    <message>
        <source>施工单位</source>
        <translation>Contractor</translation>
    </message>
    <message>
        <source>监理单位</source>
        <translation>Supervisor</translation>
    </message>
    <message>
        <source>监督单位</source>
        <translation>Quality authority</translation>
    </message>
    <message>
        <source>委托单位</source>
        <translation>Commissioned by</translation>
    </message>
    <message>
        <source>桩基类型</source>
        <translation>Pile type</translation>
    </message>
    <message>
        <source>检测单位</source>
        <translation>Testing company</translation>
    </message>
    <message>
        <source>检测人员</source>
        <translation>Tested by</translation>
    </message>
    <message>
        <source>请选择要生成报告的测点</source>
        <translation>Please choose the points for the report</translation>
    </message>
    <message>
        <source>请选择要生成报表的测点</source>
        <translation>Please choose the points for the table</translation>
    </message>
    <message>
        <source>图形尺寸设置不合理！</source>
        <translation>The image size is not reasonable!</translation>
    </message>
    <message>
        <source>显示设置</source>
        <translation>Display Settings</translation>
    </message>
    <message>
        <source>  操作控制  </source>
        <translation>  Operation  </translation>
    </message>
    <message>
        <source>  图形参数  </source>
        <translation>  Graph Parameters  </translation>
    </message>
    <message>
        <source>编辑“测点信息”影响范围</source>
        <translation>Scope of edits in &quot;Point Information&quot;</translation>
    </message>
    <message>
        <source>单个测点</source>
        <translation>Single point</translation>
    </message>
    <message>
        <source>多个测点</source>
        <translation>Several points</translation>
    </message>
    <message>
        <source>该部分设置“测点信息”区编辑参数操作的影响范围：</source>
        <translation>This sets which points an edit in the &quot;Point Information&quot; grid changes:</translation>
    </message>
    <message>
        <source>●单个测点→ 只改变被修改的测点；</source>
        <translation>● Single point → only the edited point changes;</translation>
    </message>
    <message>
        <source>●多个测点→ “测点信息”区列出的所有测点同时修改。</source>
        <translation>● Several points → every point listed in &quot;Point Information&quot; changes together.</translation>
    </message>
    <message>
        <source>请输入一个有效日期，如2026-11-05。</source>
        <translation>Please enter a valid date, such as 2026-11-05.</translation>
    </message>
    <message>
        <source>完整性分析</source>
        <translation>Integrity</translation>
    </message>
    <message>
        <source>时域分析</source>
        <translation>Time domain</translation>
    </message>
    <message>
        <source>频域分析</source>
        <translation>Frequency domain</translation>
    </message>
    <message>
        <source>小波分析</source>
        <translation>Wavelet</translation>
    </message>
    <message>
        <source>分析桩身完整性</source>
        <translation>Analyse the integrity of the pile shaft</translation>
    </message>
    <message>
        <source>在时间域对波形进行分析</source>
        <translation>Analyse the waveform in the time domain</translation>
    </message>
    <message>
        <source>在频率域对波形进行分析</source>
        <translation>Analyse the waveform in the frequency domain</translation>
    </message>
    <message>
        <source>对波形进行小波分析</source>
        <translation>Wavelet analysis of the waveform</translation>
    </message>
    <message>
        <source>单道分析</source>
        <translation>Single trace</translation>
    </message>
    <message>
        <source>多道分析</source>
        <translation>Multiple traces</translation>
    </message>
    <message>
        <source>所选桩</source>
        <translation>Selected pile</translation>
    </message>
    <message>
        <source>选中测点</source>
        <translation>Checked points</translation>
    </message>
    <message>
        <source>所有测点</source>
        <translation>All points</translation>
    </message>
    <message>
        <source>波列显示</source>
        <translation>Trace stack</translation>
    </message>
    <message>
        <source>框选方式选中的单个测点</source>
        <translation>The single point selected in the list</translation>
    </message>
    <message>
        <source>框选方式选中测点附近的多个测点</source>
        <translation>Several points around the point selected in the list</translation>
    </message>
    <message>
        <source>框选方式选中桩内包含的所有测点</source>
        <translation>All points of the pile selected in the list</translation>
    </message>
    <message>
        <source>勾选方式(√)选中的测点</source>
        <translation>The points checked (√)</translation>
    </message>
    <message>
        <source>所有的测点</source>
        <translation>All points</translation>
    </message>
    <message>
        <source>所有测点的波列图</source>
        <translation>A trace stack of all points</translation>
    </message>
    <message>
        <source>平均值</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>自相关</source>
        <translation>Autocorrelation</translation>
    </message>
    <message>
        <source>互相关</source>
        <translation>Cross-correlation</translation>
    </message>
    <message>
        <source>多道波形平均</source>
        <translation>Average of several traces</translation>
    </message>
    <message>
        <source>单道自相关</source>
        <translation>Autocorrelation of one trace</translation>
    </message>
    <message>
        <source>两道互相关</source>
        <translation>Cross-correlation of two traces</translation>
    </message>
    <message>
        <source>框选方式选中的桩内包含的所有测点</source>
        <translation>All points of the pile selected in the list</translation>
    </message>
    <message>
        <source>幅值谱</source>
        <translation>Amplitude spectrum</translation>
    </message>
    <message>
        <source>自功率谱</source>
        <translation>Auto power spectrum</translation>
    </message>
    <message>
        <source>互功率谱</source>
        <translation>Cross power spectrum</translation>
    </message>
    <message>
        <source>倒频谱</source>
        <translation>Cepstrum</translation>
    </message>
    <message>
        <source>对数谱</source>
        <translation>Log spectrum</translation>
    </message>
    <message>
        <source>幅值谱分析</source>
        <translation>Amplitude spectrum analysis</translation>
    </message>
    <message>
        <source>自功率谱分析</source>
        <translation>Auto power spectrum analysis</translation>
    </message>
    <message>
        <source>互功率谱分析</source>
        <translation>Cross power spectrum analysis</translation>
    </message>
    <message>
        <source>倒频谱分析</source>
        <translation>Cepstrum analysis</translation>
    </message>
    <message>
        <source>对数谱分析</source>
        <translation>Log spectrum analysis</translation>
    </message>
    <message>
        <source>测点栏中</source>
        <translation>In the point list:</translation>
    </message>
    <message>
        <source>波速(m/s)</source>
        <translation>Wave speed (m/s)</translation>
    </message>
    <message>
        <source>桩长(m)</source>
        <translation>Pile length (m)</translation>
    </message>
    <message>
        <source>分析类型</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>选择范围</source>
        <translation>Selection range</translation>
    </message>
    <message>
        <source>测点1</source>
        <translation>Point 1</translation>
    </message>
    <message>
        <source>测点2</source>
        <translation>Point 2</translation>
    </message>
    <message>
        <source>小波基</source>
        <translation>Wavelet</translation>
    </message>
    <message>
        <source>小波大小</source>
        <translation>Wavelet size</translation>
    </message>
    <message>
        <source>小波级数</source>
        <translation>Levels</translation>
    </message>
    <message>
        <source>自动调整</source>
        <translation>Adjust automatically</translation>
    </message>
    <message>
        <source>桩长不变</source>
        <translation>Keep pile length</translation>
    </message>
    <message>
        <source>波速不变</source>
        <translation>Keep wave speed</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>桩数</source>
        <translation>Piles</translation>
    </message>
    <message>
        <source>测点数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>桩号</source>
        <translation>Pile No.</translation>
    </message>
    <message>
        <source>桩径(mm)</source>
        <translation>Diameter (mm)</translation>
    </message>
    <message>
        <source>检测日期</source>
        <translation>Test date</translation>
    </message>
    <message>
        <source>检测时间</source>
        <translation>Test time</translation>
    </message>
    <message>
        <source>浇筑日期</source>
        <translation>Casting date</translation>
    </message>
    <message>
        <source>桩型</source>
        <translation>Pile type</translation>
    </message>
    <message>
        <source>传感器类型</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>采样间隔(us)</source>
        <translation>Interval (µs)</translation>
    </message>
    <message>
        <source>采样长度</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>增益</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>触发电平</source>
        <translation>Trigger level</translation>
    </message>
    <message>
        <source>完整性判别</source>
        <translation>Integrity class</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>横向伸缩</source>
        <translation>Horizontal scale</translation>
    </message>
    <message>
        <source>竖向伸缩</source>
        <translation>Vertical scale</translation>
    </message>
    <message>
        <source>工程信息</source>
        <translation>Project Information</translation>
    </message>
    <message>
        <source>测点信息</source>
        <translation>Point Information</translation>
    </message>
    <message>
        <source>分析参数</source>
        <translation>Analysis Parameters</translation>
    </message>
    <message>
        <source>低通滤波</source>
        <translation>Low-pass filter</translation>
    </message>
    <message>
        <source>高通滤波</source>
        <translation>High-pass filter</translation>
    </message>
    <message>
        <source>带通滤波</source>
        <translation>Band-pass filter</translation>
    </message>
    <message>
        <source>带阻滤波</source>
        <translation>Band-stop filter</translation>
    </message>
    <message>
        <source>低通</source>
        <translation>Low-pass</translation>
    </message>
    <message>
        <source>高通</source>
        <translation>High-pass</translation>
    </message>
    <message>
        <source>带通</source>
        <translation>Band-pass</translation>
    </message>
    <message>
        <source>带阻</source>
        <translation>Band-stop</translation>
    </message>
    <message>
        <source>上限频率(Hz)</source>
        <translation>Upper cut-off (Hz)</translation>
    </message>
    <message>
        <source>上限(Hz)</source>
        <translation>Upper (Hz)</translation>
    </message>
    <message>
        <source>下限频率(Hz)</source>
        <translation>Lower cut-off (Hz)</translation>
    </message>
    <message>
        <source>下限(Hz)</source>
        <translation>Lower (Hz)</translation>
    </message>
    <message>
        <source>指数放大</source>
        <translation>Exponential amplification</translation>
    </message>
    <message>
        <source>线性放大</source>
        <translation>Linear amplification</translation>
    </message>
    <message>
        <source>指数</source>
        <translation>Exponential</translation>
    </message>
    <message>
        <source>线性</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>放大系数</source>
        <translation>Amplification factor</translation>
    </message>
    <message>
        <source>系数</source>
        <translation>Factor</translation>
    </message>
    <message>
        <source>放大延迟(m)</source>
        <translation>Amplification delay (m)</translation>
    </message>
    <message>
        <source>延迟(m)</source>
        <translation>Delay (m)</translation>
    </message>
    <message>
        <source>去直流范围</source>
        <translation>DC removal range</translation>
    </message>
    <message>
        <source>整个波形</source>
        <translation>Whole trace</translation>
    </message>
    <message>
        <source>部分波形</source>
        <translation>Part of the trace</translation>
    </message>
    <message>
        <source>整个</source>
        <translation>Whole</translation>
    </message>
    <message>
        <source>部分</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>起始位置(m)</source>
        <translation>Start position (m)</translation>
    </message>
    <message>
        <source>波形平滑</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>平滑点数</source>
        <translation>Smoothing points</translation>
    </message>
    <message>
        <source>整体波形</source>
        <translation>Whole trace</translation>
    </message>
    <message>
        <source>整体</source>
        <translation>Whole</translation>
    </message>
    <message>
        <source>旋转角度(°)</source>
        <translation>Rotation angle (°)</translation>
    </message>
    <message>
        <source>角度(°)</source>
        <translation>Angle (°)</translation>
    </message>
    <message>
        <source>桩尾以后</source>
        <translation>After the toe</translation>
    </message>
    <message>
        <source>桩尾</source>
        <translation>Toe</translation>
    </message>
    <message>
        <source>起始点(m)</source>
        <translation>Start (m)</translation>
    </message>
    <message>
        <source>终止点(m)</source>
        <translation>End (m)</translation>
    </message>
    <message>
        <source>缩放系数</source>
        <translation>Scale factor</translation>
    </message>
    <message>
        <source>平移范围</source>
        <translation>Shift range</translation>
    </message>
    <message>
        <source>横向平移(m)</source>
        <translation>Horizontal shift (m)</translation>
    </message>
    <message>
        <source>横向(m)</source>
        <translation>Horizontal (m)</translation>
    </message>
    <message>
        <source>竖向平移(mV)</source>
        <translation>Vertical shift (mV)</translation>
    </message>
    <message>
        <source>竖向(mV)</source>
        <translation>Vertical (mV)</translation>
    </message>
    <message>
        <source>起始(m)</source>
        <translation>Start (m)</translation>
    </message>
    <message>
        <source>终止(m)</source>
        <translation>End (m)</translation>
    </message>
    <message>
        <source>请设置为上限频率大于下限频率！</source>
        <translation>The upper cut-off must be above the lower cut-off!</translation>
    </message>
    <message>
        <source>放大系数应在(1~1000)之间</source>
        <translation>The amplification factor must be between 1 and 1000</translation>
    </message>
    <message>
        <source>平滑点数应在(0~32)之间！</source>
        <translation>The smoothing points must be between 0 and 32!</translation>
    </message>
    <message>
        <source>旋转角度应在(-90°~90°)之间</source>
        <translation>The rotation angle must be between -90° and 90°</translation>
    </message>
    <message>
        <source>前清零位置应在桩头之前！</source>
        <translation>The zero-before position must be before the pile head!</translation>
    </message>
    <message>
        <source>后清零位置应在桩尾之后！</source>
        <translation>The zero-after position must be after the pile toe!</translation>
    </message>
    <message>
        <source>起始点应小于终止点！</source>
        <translation>The start must be before the end!</translation>
    </message>
    <message>
        <source>缩放系数应在（0.0001~10000）之间！</source>
        <translation>The scale factor must be between 0.0001 and 10000!</translation>
    </message>
    <message>
        <source>请输入一个整数。</source>
        <translation>Please enter a whole number.</translation>
    </message>
    <message>
        <source>请输入一个数字。</source>
        <translation>Please enter a number.</translation>
    </message>
    <message>
        <source>上限频率</source>
        <translation>Upper cut-off</translation>
    </message>
    <message>
        <source>下限频率</source>
        <translation>Lower cut-off</translation>
    </message>
    <message>
        <source>整体归零</source>
        <translation>Whole trace zeroed</translation>
    </message>
    <message>
        <source>部分归零</source>
        <translation>Part of the trace zeroed</translation>
    </message>
    <message>
        <source>桩尾后归零</source>
        <translation>Zeroed after the toe</translation>
    </message>
    <message>
        <source>起始位置</source>
        <translation>Start position</translation>
    </message>
    <message>
        <source>部分去直流</source>
        <translation>DC removed from part of the trace</translation>
    </message>
    <message>
        <source>整体去直流</source>
        <translation>DC removed from the whole trace</translation>
    </message>
    <message>
        <source>前清零位置</source>
        <translation>Zero-before position</translation>
    </message>
    <message>
        <source>后清零位置</source>
        <translation>Zero-after position</translation>
    </message>
    <message>
        <source>部分平移</source>
        <translation>Part of the trace shifted</translation>
    </message>
    <message>
        <source>整体平移</source>
        <translation>Whole trace shifted</translation>
    </message>
    <message>
        <source>终止位置</source>
        <translation>End position</translation>
    </message>
    <message>
        <source>横向平移</source>
        <translation>Horizontal shift</translation>
    </message>
    <message>
        <source>竖向平移</source>
        <translation>Vertical shift</translation>
    </message>
    <message>
        <source>部分旋转</source>
        <translation>Part of the trace rotated</translation>
    </message>
    <message>
        <source>整体旋转</source>
        <translation>Whole trace rotated</translation>
    </message>
    <message>
        <source>旋转角度</source>
        <translation>Rotation angle</translation>
    </message>
    <message>
        <source>放大延迟</source>
        <translation>Amplification delay</translation>
    </message>
    <message>
        <source>起始点</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>终止点</source>
        <translation>End</translation>
    </message>
    <message>
        <source>前置零</source>
        <translation>Zero Before</translation>
    </message>
    <message>
        <source>后置零</source>
        <translation>Zero After</translation>
    </message>
    <message>
        <source>动态缩放</source>
        <translation>Dynamic Scaling</translation>
    </message>
    <message>
        <source>&lt;不一致&gt;</source>
        <translation>&lt;differs&gt;</translation>
    </message>
    <message>
        <source>窗体停靠</source>
        <translation>Dock the window</translation>
    </message>
    <message>
        <source>窗体弹出</source>
        <translation>Pop the window out</translation>
    </message>
    <message>
        <source>锤击后的波形太短</source>
        <translation>The trace after the blow is too short</translation>
    </message>
    <message>
        <source>判读失败</source>
        <translation>Interpretation failed</translation>
    </message>
    <message>
        <source>未找到桩底反射</source>
        <translation>No toe reflection found</translation>
    </message>
    <message>
        <source>拟合较差</source>
        <translation>Poor fit</translation>
    </message>
    <message>
        <source>噪声较大</source>
        <translation>Noisy trace</translation>
    </message>
    <message>
        <source>测点不存在</source>
        <translation>The point does not exist</translation>
    </message>
    <message>
        <source>动态游标：</source>
        <translation>Moving cursor:</translation>
    </message>
    <message>
        <source>静态游标：</source>
        <translation>Fixed cursor:</translation>
    </message>
    <message>
        <source>没有测点，不能保存！</source>
        <translation>The project has no points and cannot be saved.</translation>
    </message>
    <message>
        <source>判读结果(&amp;I)</source>
        <translation>In&amp;terpretation Results</translation>
    </message>
    <message>
        <source>文件%s为只读，不能保存！</source>
        <translation>The file %s is read-only and cannot be saved.</translation>
    </message>
    <message>
        <source>桩底按反射</source>
        <translation>Toe at the echo</translation>
    </message>
    <message>
        <source>桩底按桩长</source>
        <translation>Toe at the entered length</translation>
    </message>
    <message>
        <source>少一处变化</source>
        <translation>One change fewer</translation>
    </message>
    <message>
        <source>无阻抗变化</source>
        <translation>No impedance change</translation>
    </message>
    <message>
        <source>短桩</source>
        <translation>Short pile</translation>
    </message>
    <message>
        <source>传感器类型未知</source>
        <translation>Unknown sensor type</translation>
    </message>
    <message>
        <source>桩长短于设计</source>
        <translation>Pile shorter than entered</translation>
    </message>
    <message>
        <source>桩长长于设计</source>
        <translation>Pile longer than entered</translation>
    </message>
    <message>
        <source>数据异常</source>
        <translation>Invalid data</translation>
    </message>
    <message>
        <source>波形削顶</source>
        <translation>Clipped trace</translation>
    </message>
    <message>
        <source>波速或桩长不合理</source>
        <translation>Implausible wave speed or pile length</translation>
    </message>
    <message>
        <source>多种解释</source>
        <translation>Several readings</translation>
    </message>
    <message>
        <source>类别临界</source>
        <translation>Class on a border</translation>
    </message>
    <message>
        <source>缺陷:</source>
        <translation>Defects:</translation>
    </message>
    <message>
        <source>相关标记:</source>
        <translation>Correlation marks:</translation>
    </message>
    <message>
        <source>频谱标记:</source>
        <translation>Spectrum marks:</translation>
    </message>
    <message>
        <source>小波标记:</source>
        <translation>Wavelet marks:</translation>
    </message>
    <message>
        <source>桩号:</source>
        <translation>Pile No.:</translation>
    </message>
    <message>
        <source>桩径=</source>
        <translation>Dia.=</translation>
    </message>
    <message>
        <source>桩长=</source>
        <translation>Length=</translation>
    </message>
    <message>
        <source>波速=</source>
        <translation>Speed=</translation>
    </message>
    <message>
        <source>采样间隔=</source>
        <translation>Interval=</translation>
    </message>
    <message>
        <source>采样长度=</source>
        <translation>Samples=</translation>
    </message>
    <message>
        <source>增益=</source>
        <translation>Gain=</translation>
    </message>
    <message>
        <source>触发电平=</source>
        <translation>Trigger=</translation>
    </message>
    <message>
        <source>检测单位:</source>
        <translation>Testing company:</translation>
    </message>
    <message>
        <source>工程名称:</source>
        <translation>Project:</translation>
    </message>
    <message>
        <source>频率分辨率:</source>
        <translation>Frequency resolution:</translation>
    </message>
    <message>
        <source>原始信号</source>
        <translation>original signal</translation>
    </message>
    <message>
        <source>重构信号</source>
        <translation>Reconstructed signal</translation>
    </message>
    <message>
        <source>第%d级 平滑信号</source>
        <translation>Level %d approximation</translation>
    </message>
    <message>
        <source>第%d级 细节信号</source>
        <translation>Level %d detail</translation>
    </message>
    <message>
        <source>沉管灌注桩</source>
        <translation>Driven cast-in-place pile</translation>
    </message>
    <message>
        <source>钻孔灌注桩</source>
        <translation>Bored cast-in-place pile</translation>
    </message>
    <message>
        <source>人工挖孔灌注桩</source>
        <translation>Hand-dug pile</translation>
    </message>
    <message>
        <source>扩底桩</source>
        <translation>Belled pile</translation>
    </message>
    <message>
        <source>夯拓桩</source>
        <translation>Rammed expanded pile</translation>
    </message>
    <message>
        <source>混凝土预制桩</source>
        <translation>Precast concrete pile</translation>
    </message>
    <message>
        <source>预应力管桩</source>
        <translation>Prestressed pipe pile</translation>
    </message>
    <message>
        <source>刚桩</source>
        <translation>Steel pile</translation>
    </message>
    <message>
        <source>粉喷桩</source>
        <translation>Dry jet mixing pile</translation>
    </message>
    <message>
        <source>CFG桩</source>
        <translation>CFG pile</translation>
    </message>
    <message>
        <source>未得出</source>
        <translation>Not determined</translation>
    </message>
    <message>
        <source>I类桩</source>
        <translation>Class I</translation>
    </message>
    <message>
        <source>II类桩</source>
        <translation>Class II</translation>
    </message>
    <message>
        <source>III类桩</source>
        <translation>Class III</translation>
    </message>
    <message>
        <source>IV类桩</source>
        <translation>Class IV</translation>
    </message>
    <message>
        <source>加速度</source>
        <translation>Acceleration</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Velocity</translation>
    </message>
    <message>
        <source>加速度→速度</source>
        <translation>Acceleration→velocity</translation>
    </message>
    <message>
        <source>无缺陷</source>
        <translation>No defect</translation>
    </message>
    <message>
        <source>裂纹</source>
        <translation>Crack</translation>
    </message>
    <message>
        <source>打印日期</source>
        <translation>Print date</translation>
    </message>
    <message>
        <source>波形数</source>
        <translation>Traces</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>反向:是</source>
        <translation>Reversed: yes</translation>
    </message>
    <message>
        <source>反向:否</source>
        <translation>Reversed: no</translation>
    </message>
    <message>
        <source>去直流:是</source>
        <translation>DC removed: yes</translation>
    </message>
    <message>
        <source>去直流:否</source>
        <translation>DC removed: no</translation>
    </message>
    <message>
        <source>起始点:</source>
        <translation>from:</translation>
    </message>
    <message>
        <source>积分次数:</source>
        <translation>Integrations:</translation>
    </message>
    <message>
        <source>微分次数:</source>
        <translation>Differentiations:</translation>
    </message>
    <message>
        <source>低通:</source>
        <translation>Low-pass:</translation>
    </message>
    <message>
        <source>高通:</source>
        <translation>High-pass:</translation>
    </message>
    <message>
        <source>带通:</source>
        <translation>Band-pass:</translation>
    </message>
    <message>
        <source>带阻:</source>
        <translation>Band-stop:</translation>
    </message>
    <message>
        <source>线性归零:是</source>
        <translation>Linear zeroing: yes</translation>
    </message>
    <message>
        <source>非线性归零:是</source>
        <translation>Nonlinear zeroing: yes</translation>
    </message>
    <message>
        <source>平滑点数:</source>
        <translation>Smoothing points:</translation>
    </message>
    <message>
        <source>前清零:</source>
        <translation>Zero before:</translation>
    </message>
    <message>
        <source>后清零:</source>
        <translation>Zero after:</translation>
    </message>
    <message>
        <source>数据平移:</source>
        <translation>Data shift:</translation>
    </message>
    <message>
        <source>横向:</source>
        <translation>horizontal:</translation>
    </message>
    <message>
        <source>纵向:</source>
        <translation>vertical:</translation>
    </message>
    <message>
        <source>范围</source>
        <translation>range</translation>
    </message>
    <message>
        <source>波形旋转:</source>
        <translation>Rotation:</translation>
    </message>
    <message>
        <source>指数放大:</source>
        <translation>Exponential amplification:</translation>
    </message>
    <message>
        <source>线性放大:</source>
        <translation>Linear amplification:</translation>
    </message>
    <message>
        <source>延迟:</source>
        <translation>delay:</translation>
    </message>
    <message>
        <source>局部缩放:</source>
        <translation>Local scaling:</translation>
    </message>
    <message>
        <source>实测</source>
        <translation>Measured</translation>
    </message>
    <message>
        <source>拟合</source>
        <translation>Fitted</translation>
    </message>
    <message>
        <source>备选</source>
        <translation>Alternative</translation>
    </message>
    <message>
        <source>&lt;空行&gt;</source>
        <translation>&lt;blank line&gt;</translation>
    </message>
    <message>
        <source>桩径</source>
        <translation>Pile diameter</translation>
    </message>
    <message>
        <source>桩长</source>
        <translation>Pile length</translation>
    </message>
    <message>
        <source>波速</source>
        <translation>Wave speed</translation>
    </message>
    <message>
        <source>采样间隔</source>
        <translation>Sample interval</translation>
    </message>
    <message>
        <source>缺陷/标记线</source>
        <translation>Defects/marker lines</translation>
    </message>
    <message>
        <source>频率分辨率</source>
        <translation>Frequency resolution</translation>
    </message>
    <message>
        <source>工程名称：</source>
        <translation>Project: </translation>
    </message>
    <message>
        <source>检测单位：</source>
        <translation>Testing company: </translation>
    </message>
    <message>
        <source>打印日期：</source>
        <translation>Print date: </translation>
    </message>
    <message>
        <source>波形数：</source>
        <translation>Traces: </translation>
    </message>
    <message>
        <source>文件名：</source>
        <translation>File name: </translation>
    </message>
    <message>
        <source>第%d页</source>
        <translation>Page %d</translation>
    </message>
    <message>
        <source>共%d页 第%d页</source>
        <translation>%d pages, page %d</translation>
    </message>
    <message>
        <source>图形尺寸%d×%d超过上限：宽×高最多%lld像素（如8192×8192）！</source>
        <translation>The picture size %d×%d is over the limit: width×height is at most %lld pixels (e.g. 8192×8192)!</translation>
    </message>
</context>
</TS>
