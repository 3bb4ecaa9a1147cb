#include "gui/output/OutputCommands.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>
#include <ctime>

#include "core/app/AppPaths.h"
#include "core/base/TextCodec.h"
#include "core/output/DocxReport.h"
#include "core/output/ReportInfoJson.h"
#include "core/output/ReportTable.h"
#include "core/output/XlsxReport.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtPrompter.h"
#include "gui/output/ReportInfoDialog.h"
#include "gui/output/SaveImageDialog.h"
#include "gui/output/WaitingWindow.h"
#include "render/RenderItemToImage.h"

namespace sondara::gui {

namespace {

QString projectFolder(const DocumentHost& host) {
    const QFileInfo f(host.path());
    if (!host.path().isEmpty() && f.exists()) return f.absolutePath();
    return QDir::homePath();
}

// Opens a written file; without a program for it the user is told where it is.
void openOrTell(QWidget* parent, const QString& path) {
    if (outputShell().open(path)) return;
    QtPrompter(parent).info(
        (QObject::tr("文件已保存到：") + QDir::toNativeSeparators(path)).toStdString());
}

}  // namespace

OutputShell& outputShell() {
    static OutputShell shell{
        [](QWidget* parent, const QString& suggested, const QString& filter) {
            return QFileDialog::getSaveFileName(parent, QObject::tr("保存"), suggested, filter);
        },
        [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); },
        [](QDialog& d) { return d.exec() == QDialog::Accepted; },
    };
    return shell;
}

QString SuggestedOutputPath(const DocumentHost& host, const QString& suffix,
                            const QString& extension) {
    QString name =
        QString::fromStdString(TrimBlanks(gbkToUtf8(textOf(host.doc().info.projectName))));
    if (name.isEmpty()) name = QFileInfo(host.path()).completeBaseName();
    if (name.isEmpty()) name = "工程";
    name = QString::fromStdString(SanitizeFileName(name.toStdString()));
    return QDir(projectFolder(host)).filePath(name + "-" + suffix + "." + extension);
}

void runSaveImage(QWidget* parent, DocumentHost& host, WaveDisplayModel* display) {
    CSondaraDoc& doc = host.doc();
    if (doc.pointCount() == 0) return;
    QtPrompter prompter(parent);
    WaveDisplayModel fallback;
    WaveDisplayModel& model = display ? *display : fallback;
    const std::vector<DataSelection> offered = OfferedSelections(
        display ? display->paneCount() : 0, static_cast<int>(doc.checkedList.size()));
    if (offered.empty()) {
        prompter.info(kNothingToExport);
        return;
    }
    const QFileInfo file(host.path());
    const std::string home = QDir::homePath().toStdString() + "/";
    const std::string docFolder =
        !host.path().isEmpty() && file.exists() ? file.absolutePath().toStdString() + "/" : home;
    SaveImageForm form(offered, display ? CurrentDisplaySize(*display) : ImageSize{}, docFolder,
                       home);
    form.load(&prompter);
    SaveImageDialog dialog(form, parent);
    if (!outputShell().exec(dialog)) return;

    const SaveImageSettings& s = form.settings();
    const auto format = static_cast<ImageFormat>(s.format);
    const std::vector<ExportItem> items = ExportItems(form.selection(), doc, model);
    if (s.target == static_cast<int>(ImageTarget::Files)) {
        std::string folder = s.folder;
        if (folder.empty() || folder.back() != '/') folder += '/';
        WaitingWindow wait(QObject::tr("正在保存图形，请稍候..."), parent);
        wait.showNow();
        const std::vector<std::string> written =
            render::WriteItemImages(doc, model, items, folder, s.width, s.height, format,
                                    [&](int d, int t) { wait.setProgress(d, t); });
        wait.hide();
        if (written.empty()) {
            prompter.info(kCreateFileFailed);
            return;
        }
        outputShell().open(QString::fromStdString(folder));
        return;
    }
    // A Word document of the pictures.
    const QString path = outputShell().chooseSavePath(
        parent, SuggestedOutputPath(host, "图形", "docx"), QObject::tr("Word文件(*.docx)"));
    if (path.isEmpty()) return;
    WaitingWindow wait(kBuildingWordReport, parent);
    wait.showNow();
    std::vector<std::string> pictures =
        render::RenderItemsEncoded(doc, model, items, s.width, s.height, format,
                                   [&](int d, int t) { wait.setProgress(d, t); });
    std::erase_if(pictures, [](const std::string& p) { return p.empty(); });
    std::string error;
    const bool ok = !pictures.empty() &&
                    WritePictureDocument(pictures, ImageExtension(format), s.width, s.height,
                                         s.wordColumns, path.toStdString(), error);
    wait.hide();
    if (!ok) {
        prompter.info(error.empty() ? kCreateFileFailed : error);
        return;
    }
    openOrTell(parent, path);
}

void runWordReport(QWidget* parent, DocumentHost& host, WaveDisplayModel* display) {
    CSondaraDoc& doc = host.doc();
    if (doc.pointCount() == 0) return;
    QtPrompter prompter(parent);
    if (doc.checkedList.empty()) {
        prompter.info(kNoPointsForReport);
        return;
    }
    ReportInfo passed;
    ApplyProjectValues(doc, passed);
    const QString name = QString::fromStdString(gbkToUtf8(textOf(doc.info.projectName)));
    const QString unit = QString::fromStdString(gbkToUtf8(textOf(doc.info.testingUnit)));
    ReportInfoDialog dialog(name, unit, passed.totalPiles, parent);
    if (!outputShell().exec(dialog)) return;
    const QString path = outputShell().chooseSavePath(
        parent, SuggestedOutputPath(host, "检测报告", "docx"), QObject::tr("Word文件(*.docx)"));
    if (path.isEmpty()) return;
    const std::string templ = FindReportTemplate();
    if (templ.empty()) {
        prompter.info(QObject::tr("找不到报告模板 %1，请重新安装程序。")
                          .arg(kReportTemplateName)
                          .toStdString());
        return;
    }

    WaitingWindow wait(kBuildingWordReport, parent);
    wait.showNow();
    WordReportInput in;
    in.texts = dialog.texts();
    in.today = TodayLocal();
    // The figures show the points as the analysis view draws them; without a view the
    // report goes without figures.
    if (in.texts.produceFigures && display) {
        in.figures = render::RenderReportFigures(doc, *display,
                                                 [&](int d, int t) { wait.setProgress(d, t); });
    }
    std::string error;
    const bool ok = WriteWordReport(doc, in, templ, path.toStdString(), error);
    wait.hide();
    if (!ok) {
        prompter.info(
            QObject::tr("生成报告失败：%1").arg(QString::fromStdString(error)).toStdString());
        return;
    }
    openOrTell(parent, path);
}

void runExcelReport(QWidget* parent, DocumentHost& host) {
    CSondaraDoc& doc = host.doc();
    if (doc.pointCount() == 0) return;
    QtPrompter prompter(parent);
    if (doc.checkedList.empty()) {
        prompter.info(kNoPointsForTable);
        return;
    }
    const QString path = outputShell().chooseSavePath(
        parent, SuggestedOutputPath(host, "检测报表", "xlsx"), QObject::tr("Excel文件(*.xlsx)"));
    if (path.isEmpty()) return;
    std::string error;
    if (!WriteExcelReport(doc, path.toStdString(), error)) {
        prompter.info(
            QObject::tr("生成报表失败：%1").arg(QString::fromStdString(error)).toStdString());
        return;
    }
    openOrTell(parent, path);
}

}  // namespace sondara::gui
