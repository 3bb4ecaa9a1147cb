#include "gui/app/SondaraApp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>
#include <QUrl>
#include <algorithm>
#include <optional>
#include <utility>

#include "core/app/AppPaths.h"
#include "core/app/CommandTable.h"
#include "core/app/RunLog.h"
#include "core/base/ByteIo.h"
#include "core/fileio/ProjectFile.h"
#include "core/fileio/RecoveryStore.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/RecoveryListDialog.h"
#include "gui/app/RecoveryManager.h"
#include "gui/app/Translation.h"
#include "gui/app/UserSettings.h"
#include "gui/frame/MainFrame.h"
#include "gui/panels/PointListPanel.h"

// Resource registration must name the global initialisers.
static void initDesktopResources() {
    Q_INIT_RESOURCE(desktop);
}
static void initIconResourcesForRegistration() {
    Q_INIT_RESOURCE(icons);
}

namespace sondara::gui {

namespace {
CSondaraApp* g_app = nullptr;
constexpr int kRecentFiles = 4;
const char* kFilter = QT_TRANSLATE_NOOP("QObject", "QAR数据文件(*.qar);;所有文件 (*.*)");

}  // namespace

CSondaraApp* theApp() {
    return g_app;
}

void chooseInterfaceFont() {
    const QStringList families = QFontDatabase::families();
    if (families.contains("宋体") || families.contains("SimSun")) {
        QApplication::setFont(QFont(families.contains("宋体") ? "宋体" : "SimSun", 10));
        return;
    }
    for (const char* f :
         {"Noto Sans CJK SC", "Noto Serif CJK SC", "WenQuanYi Micro Hei", "Droid Sans Fallback"}) {
        if (families.contains(f)) {
            QApplication::setFont(QFont(f, 10));
            return;
        }
    }
    // any family that can write Chinese
    for (const QString& f : families) {
        if (QFontDatabase::writingSystems(f).contains(QFontDatabase::SimplifiedChinese)) {
            QApplication::setFont(QFont(f, 10));
            return;
        }
    }
}

namespace {
QTranslator* g_qtChinese = nullptr;
}  // namespace

bool loadQtChineseTranslations() {
    if (g_qtChinese) return true;
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qt_zh_CN pulls in qtbase_zh_CN and the other modules' files
    for (const char* name : {"qt_zh_CN", "qtbase_zh_CN"}) {
        auto* t = new QTranslator(QCoreApplication::instance());
        if (t->load(QString::fromLatin1(name), dir)) {
            QCoreApplication::installTranslator(t);
            g_qtChinese = t;
            return true;
        }
        delete t;
    }
    return false;
}

bool qtChineseTranslationsLoaded() {
    return g_qtChinese != nullptr;
}

void unloadQtChineseTranslations() {
    if (!g_qtChinese) return;
    QCoreApplication::removeTranslator(g_qtChinese);
    delete g_qtChinese;
    g_qtChinese = nullptr;
}

CSondaraApp::CSondaraApp() : recovery_(std::make_unique<RecoveryManager>()) {
    g_app = this;
}

CSondaraApp::~CSondaraApp() {
    recovery_->watch(nullptr);
    recovery_->waitForWorker();
    frame_.reset();
    host_.reset();
    if (g_app == this) g_app = nullptr;
}

QString CSondaraApp::programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString CSondaraApp::resourcePath(const QString& relative, QStringList* searched) {
    const QString bin = programFolder();
    QStringList candidates{QDir::cleanPath(bin + "/../share/sondara/" + relative),
                           bin + "/" + relative};
#ifdef SONDARA_SOURCE_RESOURCES
    candidates << QStringLiteral(SONDARA_SOURCE_RESOURCES) + "/" + relative;
#endif
    if (searched) *searched = candidates;
    for (const QString& c : candidates)
        if (QFileInfo::exists(c)) return c;
    return {};
}

namespace {
QByteArray bundledFile(const QString& resource) {
    initDesktopResources();
    QFile f(resource);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
bool writeWhole(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
}  // namespace

bool CSondaraApp::ensureFileTypeRegistration(const QString& programPath) {
    // The user-level copies of the installed menu entry, file type and icon, with
    // the menu entry pointing at this program.
    QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QString desktopPath = dataHome + "/applications/sondara.desktop";
    QString mimePath = dataHome + "/mime/packages/sondara-qar.xml";
    QString iconPath = dataHome + "/icons/hicolor/scalable/apps/sondara.svg";
    QString exec = QString("Exec=\"%1\" %f").arg(programPath);
    QFile existing(desktopPath);
    if (existing.open(QIODevice::ReadOnly)) {
        QString text = QString::fromUtf8(existing.readAll());
        if (text.contains(exec + "\n") && QFile::exists(mimePath)) return false;  // current
    }
    QString entry = QString::fromUtf8(bundledFile(":/desktop/sondara.desktop"));
    QStringList lines = entry.split('\n');
    for (QString& l : lines) {
        if (l.startsWith("Exec=")) l = exec;
        if (l.startsWith("TryExec=")) l = "TryExec=" + programPath;
    }
    writeWhole(desktopPath, lines.join('\n').toUtf8());
    writeWhole(mimePath, bundledFile(":/desktop/sondara-qar.xml"));
    initIconResourcesForRegistration();
    QFile icon(":/icons/sondara.svg");
    if (icon.open(QIODevice::ReadOnly)) writeWhole(iconPath, icon.readAll());
    // refresh the desktop's caches when the tools are there; nothing is reported
    if (qEnvironmentVariableIsSet("SONDARA_NO_DESKTOP_CACHE")) return true;
    QProcess::startDetached("update-mime-database", {dataHome + "/mime"});
    QProcess::startDetached("update-desktop-database", {dataHome + "/applications"});
    return true;
}

bool CSondaraApp::initInstance(const QStringList& arguments) {
    RunLog::instance().makeWritable();
    logLine("Start...");
    logLine(arguments.join(' ').toStdString());
    // Command-line tail: the text after the last double quote, trimmed. Qt hands the
    // arguments already split; rebuild the line the way the shell passed it.
    QString line = arguments.mid(1).join(' ').trimmed();
    int q = line.lastIndexOf('"');
    commandLineTail = (q >= 0 ? line.mid(q + 1) : line).trimmed();

    ensureFileTypeRegistration(QCoreApplication::applicationFilePath());
    logLine("软件启动");
    {
        QSettings s = userSettings();
        s.setValue("Version/VER0", 4);
        s.setValue("Version/VER1", 0);
        s.setValue("Version/VER2", 1);
        s.setValue("Version/VER3", 0);
    }
    logLine("Version=(4.0.1.0)");

    QtPrompter prompter(nullptr);
    loadOrWriteDefaults(editSettings, &prompter);
    loadOrWriteDefaults(cursorSettings, &prompter);
    loadOrWriteDefaults(autoHeadSettings, &prompter);

    frame_ = std::make_unique<CMainFrame>(*this);
    frame_->setAcceptDrops(true);

    // The first argument names the file; openDocumentFile applies the tail rule
    // when a path with blanks arrived in pieces. "--recover KEY": a window started for
    // one recovered document that the user chose in another window.
    QString file = arguments.size() > 1 ? arguments[1] : QString();
    if (file == "--recover") {
        recoverKey_ = arguments.size() > 2 ? arguments[2] : QString();
        file.clear();
    }
    // the file named always opens; the recoveries are offered after it, all at once
    startingUp_ = true;
    if (!file.isEmpty()) {
        openDocumentFile(file);
    } else {
        newDocument();
    }
    startingUp_ = false;
    offerRecoveries();
    // Maximised on the first start; afterwards where and how the user left it.
    const QByteArray geometry = userSettings().value("MainFrame/geometry").toByteArray();
    if (geometry.isEmpty() || !frame_->restoreGeometry(geometry))
        frame_->showMaximized();
    else
        frame_->show();
    return true;
}

void CSondaraApp::exitInstance() {
    // a clean exit leaves no recovery: the document was saved or its changes dropped
    recovery_->discard();
    recovery_->watch(nullptr);
    recovery_->waitForWorker();
    if (frame_) {
        QSettings s = userSettings();
        s.setValue("MainFrame/geometry", frame_->saveGeometry());
    }
    logLine("软件退出");
}

QStringList CSondaraApp::recentFiles() const {
    return userSettings().value("Recent File List/files").toStringList();
}

void CSondaraApp::addRecentFile(const QString& path) {
    QStringList l = recentFiles();
    QString abs = QFileInfo(path).absoluteFilePath();
    l.removeAll(abs);
    l.prepend(abs);
    while (l.size() > kRecentFiles) l.removeLast();
    QSettings s = userSettings();
    s.setValue("Recent File List/files", l);
    if (frame_) frame_->rebuildRecentFilesMenu();
}

bool CSondaraApp::saveModified() {
    if (!host_ || !host_->doc().modified) return true;
    auto r = QMessageBox::question(frame_.get(), "Sondara",
                                   QObject::tr("是否保存对 %1 的更改?").arg(host_->title()),
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (r == QMessageBox::Cancel) return false;
    if (r == QMessageBox::Yes) return saveDocument(false);
    recovery_->discard();  // the user drops the changes
    return true;
}

bool CSondaraApp::saveDocument(bool askForPath) {
    if (!host_) return false;
    // a data file holds at least one point: an empty one could not be opened again
    if (host_->doc().pointCount() == 0) {
        QMessageBox::warning(frame_.get(), "Sondara", trCore("没有测点，不能保存！"));
        return false;
    }
    QString path = host_->path();
    if (askForPath || path.isEmpty()) {
        path = QFileDialog::getSaveFileName(frame_.get(), QObject::tr("另存为"),
                                            path.isEmpty() ? host_->title() : path,
                                            QObject::tr(kFilter));
        if (path.isEmpty()) return false;
        if (QFileInfo(path).suffix().isEmpty()) path += ".qar";
    }
    // a file the user may not write is not replaced (the writer refuses it as well)
    if (IsReadOnlyTarget(QFile::encodeName(path).toStdString())) {
        QMessageBox::warning(frame_.get(), "Sondara",
                             QObject::tr("文件%1为只读，不能保存！").arg(path));
        return false;
    }
    std::string error;
    if (!WriteProject(host_->doc(), path.toStdString(), &error)) {
        QMessageBox::warning(frame_.get(), "Sondara",
                             QObject::tr("保存失败：%1\n%2").arg(path, trCore(error)));
        return false;
    }
    host_->doc().modified = false;
    recovery_->discard();  // also the files kept under the old name
    host_->setPath(path);  // the title follows: a new name, and no "*" any more
    addRecentFile(path);
    return true;
}

void CSondaraApp::replaceDocument(std::unique_ptr<DocumentHost> host) {
    if (frame_) frame_->closeAllChildWindows();
    if (frame_ && frame_->pointList())
        frame_->pointList()->clear();  // it shows the document being replaced
    host_ = std::move(host);
    recovery_->watch(host_.get());
    emit documentReplaced();
    if (frame_) {
        frame_->openChildWindow(true);
        frame_->refreshAllPanels();
    }
}

void CSondaraApp::closeDocument() {
    if (!saveModified()) return;
    replaceDocument(nullptr);  // no document: no child window opens
}

void CSondaraApp::newDocument() {
    if (!saveModified()) return;
    auto host = std::make_unique<DocumentHost>();
    replaceDocument(std::move(host));
}

DocumentHost* CSondaraApp::openDocumentFile(QString path) {
    // a path with blanks passed without quotes arrives cut at its first blank
    if (!path.contains('.') && !commandLineTail.isEmpty()) path = commandLineTail.trimmed();
    if (!saveModified()) return nullptr;
    logLine(path.toStdString());
    if (!QFileInfo::exists(path)) {
        commandLineTail.clear();
        if (!host_) newDocument();
        QMessageBox::information(frame_.get(), QString(), QObject::tr("文件路径错误"));
        return nullptr;
    }
    // Read first: a file that cannot be read never replaces the open document and
    // never becomes the file of a document (保存 would overwrite it with nothing).
    auto host = std::make_unique<DocumentHost>();
    std::string warning;
    const std::string error = ReadProject(host->doc(), path.toStdString(), &warning);
    commandLineTail.clear();
    if (!error.empty()) {
        if (!host_) newDocument();
        reportOpenFailure(trCore(error));
        return nullptr;
    }
    // A file that read only partly opens with the points read but stays unbound:
    // saving asks for a new name instead of overwriting the points that were lost.
    std::optional<RecoveryEntry> adopted;
    if (warning.empty()) {
        host->setPath(path);
        addRecentFile(path);
        // unsaved work on this file left by a program that ended without cleaning up
        // (the start offers every such file itself, after opening)
        RecoveryEntry e;
        const QFileInfo file(path);
        if (!startingUp_ &&
            FindOrphanedRecovery(recoveryDir(), file.absoluteFilePath().toStdString(), &e,
                                 recovery_->ownerName())) {
            if (savedAfter(e)) {
                RemoveRecovery(e);  // the file was saved after it: nothing to recover
            } else {
                const RecoveryChoice c = askRecovery(e);
                if (c == RecoveryChoice::Discard) {
                    RemoveRecovery(e);
                } else if (c == RecoveryChoice::Recover) {
                    if (auto recovered = loadRecovery(e)) {
                        recovered->setPath(path);
                        host = std::move(recovered);
                        adopted = e;
                    }
                }
            }
        }
    }
    replaceDocument(std::move(host));
    if (adopted) recovery_->adopt(*adopted);
    if (!warning.empty()) reportOpenFailure(trCore(warning));
    return host_.get();
}

bool CSondaraApp::savedAfter(const RecoveryEntry& e) {
    if (e.originalPath.empty()) return false;
    const QFileInfo file(QString::fromStdString(e.originalPath));
    const QFileInfo data(QString::fromStdString(e.dataPath));
    return file.exists() && data.lastModified() < file.lastModified();
}

RecoveryChoice CSondaraApp::askRecovery(const RecoveryEntry& e) {
    QMessageBox box(QMessageBox::Question, "Sondara",
                    QObject::tr("文件%1有未保存的修改（%2），是否恢复？")
                        .arg(recoveryDocumentName(e), recoveryTimeText(e)),
                    QMessageBox::NoButton, frame_.get());
    QPushButton* recover = box.addButton(QObject::tr("恢复"), QMessageBox::AcceptRole);
    QPushButton* drop = box.addButton(QObject::tr("放弃"), QMessageBox::DestructiveRole);
    recover->setAccessibleName(QObject::tr("恢复"));
    drop->setAccessibleName(QObject::tr("放弃"));
    box.setDefaultButton(recover);
    box.exec();
    if (box.clickedButton() == drop)
        return confirmDiscard({e}) ? RecoveryChoice::Discard : RecoveryChoice::Keep;
    // closed: asked again next time
    return box.clickedButton() == recover ? RecoveryChoice::Recover : RecoveryChoice::Keep;
}

bool CSondaraApp::confirmDiscard(const std::vector<RecoveryEntry>& entries) {
    QStringList names;
    for (const RecoveryEntry& e : entries) names << recoveryDocumentName(e);
    QMessageBox box(QMessageBox::Warning, "Sondara",
                    QObject::tr("放弃将永久删除以下文件中未保存的修改，无法找回：\n%1\n是否放弃？")
                        .arg(names.join('\n')),
                    QMessageBox::NoButton, frame_.get());
    QPushButton* drop = box.addButton(QObject::tr("放弃"), QMessageBox::DestructiveRole);
    QPushButton* keep = box.addButton(QObject::tr("取消"), QMessageBox::RejectRole);
    drop->setAccessibleName(QObject::tr("放弃"));
    keep->setAccessibleName(QObject::tr("取消"));
    box.setDefaultButton(keep);  // nothing is deleted by a quick Enter
    box.exec();
    return box.clickedButton() == drop;
}

std::unique_ptr<DocumentHost> CSondaraApp::loadRecovery(const RecoveryEntry& e) {
    auto host = std::make_unique<DocumentHost>();
    const std::string error = ReadRecovery(e, host->doc());
    if (!error.empty()) {
        SetRecoveryAside(e);
        logLine("恢复文件已损坏：" + e.dataPath + " " + error);
        QMessageBox::warning(frame_.get(), "Sondara",
                             QObject::tr("恢复文件已损坏，无法恢复：%1\n已保留为%2.bad")
                                 .arg(trCore(error), QString::fromStdString(e.dataPath)));
        return nullptr;
    }
    if (!e.originalPath.empty()) host->setPath(QString::fromStdString(e.originalPath));
    host->doc().modified = true;
    return host;
}

std::function<bool(const QString& key)>& CSondaraApp::recoveryWindowLauncher() {
    static std::function<bool(const QString&)> launch = [](const QString& key) {
        return QProcess::startDetached(QCoreApplication::applicationFilePath(), {"--recover", key});
    };
    return launch;
}

void CSondaraApp::offerRecoveries() {
    const std::string dir = recoveryDir();
    std::vector<RecoveryEntry> entries = ListOrphanedRecoveries(dir, recovery_->ownerName());
    auto recoverHere = [this](const RecoveryEntry& e) {
        if (auto recovered = loadRecovery(e)) {
            replaceDocument(std::move(recovered));
            recovery_->adopt(e);
        }
    };
    if (!recoverKey_.isEmpty()) {
        // this window was started for one document the user chose to recover
        const QString key = std::exchange(recoverKey_, QString());
        for (const RecoveryEntry& e : entries)
            if (QString::fromStdString(e.key) == key) {
                recoverHere(e);
                break;
            }
        PruneRecoveryLocks(dir);
        return;
    }
    const std::string current = host_ && !host_->path().isEmpty()
                                    ? QFileInfo(host_->path()).absoluteFilePath().toStdString()
                                    : std::string();
    // work on the file just opened that it was saved after is no work to recover
    std::erase_if(entries, [&](const RecoveryEntry& e) {
        if (current.empty() || e.originalPath != current || !savedAfter(e)) return false;
        RemoveRecovery(e);
        return true;
    });
    if (entries.empty()) {
        PruneRecoveryLocks(dir);
        return;
    }
    std::vector<RecoveryChoice> choices;
    if (entries.size() == 1) {
        choices.push_back(askRecovery(entries.front()));
    } else {
        RecoveryListDialog list(entries, frame_.get());
        list.exec();
        choices = list.choices();
        std::vector<RecoveryEntry> dropped;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (choices[i] == RecoveryChoice::Discard) dropped.push_back(entries[i]);
        if (!dropped.empty() && !confirmDiscard(dropped))
            for (RecoveryChoice& c : choices)
                if (c == RecoveryChoice::Discard) c = RecoveryChoice::Keep;
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (choices[i] == RecoveryChoice::Discard) RemoveRecovery(entries[i]);
    // The file named on the command line stays open: its own recovery takes its
    // window, every other recovered document opens in a window of its own. Without a
    // file named, the first recovered document takes this window.
    int here = -1;
    for (std::size_t i = 0; i < entries.size() && here < 0; ++i)
        if (choices[i] == RecoveryChoice::Recover && !current.empty() &&
            entries[i].originalPath == current)
            here = static_cast<int>(i);
    for (std::size_t i = 0; i < entries.size() && here < 0 && current.empty(); ++i)
        if (choices[i] == RecoveryChoice::Recover) here = static_cast<int>(i);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (choices[i] != RecoveryChoice::Recover) continue;
        if (static_cast<int>(i) == here) {
            recoverHere(entries[i]);
        } else if (!recoveryWindowLauncher()(QString::fromStdString(entries[i].key))) {
            // the files stay: offered again at the next start
            logLine("恢复窗口无法启动：" + entries[i].dataPath);
        }
    }
    PruneRecoveryLocks(dir);
}

void CSondaraApp::reportOpenFailure(const QString& message) {
    QMessageBox::critical(frame_.get(), QObject::tr("打开异常"), message);
}

void CSondaraApp::openCommand() {
    if (!saveModified()) return;
    if (host_) host_->doc().modified = false;
    QString path = QFileDialog::getOpenFileName(frame_.get(), QObject::tr("打开"), QString(),
                                                QObject::tr(kFilter));
    if (path.isEmpty()) return;
    openDocumentFile(path);  // reports a read failure itself, as for every other way of opening
}

void CSondaraApp::aboutDialog() {
    AboutDialog dlg(frame_.get());
    dlg.exec();
}

void CSondaraApp::helpTopics() {
    QStringList searched;
    const QString index = resourcePath("help/index.html", &searched);
    if (index.isEmpty()) {
        QStringList places;
        for (const QString& p : searched) places << QDir::toNativeSeparators(p);
        QMessageBox::warning(frame_.get(), QObject::tr("帮助主题"),
                             QObject::tr("找不到帮助文件。已查找：\n") + places.join('\n'));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(index)))
        QMessageBox::warning(
            frame_.get(), QObject::tr("帮助主题"),
            QObject::tr("无法打开浏览器显示帮助：\n") + QDir::toNativeSeparators(index));
}

void CSondaraApp::viewLog() {
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QString::fromStdString(RunLog::instance().path())));
}

}  // namespace sondara::gui
