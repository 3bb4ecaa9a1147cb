#pragma once
// The application object: start-up and shutdown, the open document, the
// application-level commands (新建, 打开, 保存, 关于, 帮助主题, 查看日志) and the
// settings it holds for the whole run.
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "core/app/CommandIds.h"
#include "core/app/SettingsFile.h"

namespace sondara {
struct RecoveryEntry;
}

namespace sondara::gui {

class CMainFrame;
class DocumentHost;
class RecoveryManager;
enum class RecoveryChoice;

class CSondaraApp : public QObject {
    Q_OBJECT
public:
    CSondaraApp();
    ~CSondaraApp() override;

    // The start-up sequence; false when the program cannot start.
    bool initInstance(const QStringList& arguments);
    void exitInstance();

    CMainFrame* frame() const { return frame_.get(); }
    DocumentHost* document() const { return host_.get(); }
    RecoveryManager* recovery() const { return recovery_.get(); }

    // Opening by path (command line, recent files, dropped files, 打开). A file that
    // cannot be read is reported in a "打开异常" box and leaves the open document as
    // it was; null then.
    DocumentHost* openDocumentFile(QString path);
    void newDocument();
    void openCommand();
    bool saveDocument(bool askForPath);
    // Lets the open document save its changes; false when the user cancels.
    bool saveModified();
    void closeDocument();
    void aboutDialog();
    void helpTopics();
    void viewLog();

    // Offers the recovery files left by programs that ended without cleaning up (never
    // those of a program still running): one question for one file, one list for
    // several. 放弃 deletes after a confirmation that says the changes are gone for
    // good. A recovered document of the open file takes this window (the file named
    // on the command line always opens); any other opens in a window of its own
    // (recoveryWindowLauncher), or here when no file was named.
    void offerRecoveries();
    // Starts a window for one recovered document ("--recover KEY"); false when it
    // could not start. Replaceable for tests.
    static std::function<bool(const QString& key)>& recoveryWindowLauncher();

    QStringList recentFiles() const;
    void addRecentFile(const QString& path);

    // Application-wide state.
    CommandId lastCommandId = CommandId::None;
    QString lastCommandName;
    QString commandLineTail;
    EditSettings editSettings;
    CursorSettings cursorSettings;
    AutoHeadSettings autoHeadSettings;

    // The ".qar" registration with the desktop (a .desktop file and a MIME type);
    // rewritten only when the program path differs. Returns whether it wrote.
    static bool ensureFileTypeRegistration(const QString& programPath);
    static QString programFolder();
    // A file the program ships (help/index.html, templates/..., samples/...): the
    // installed share/sondara folder beside bin/, the program folder itself, or the
    // sources of a build tree. Empty when none has it; `searched` lists where it looked.
    static QString resourcePath(const QString& relative, QStringList* searched = nullptr);

signals:
    void documentReplaced();

private:
    void reportOpenFailure(const QString& message);
    // Asks "文件%s有未保存的修改（%s），是否恢复？" (恢复 / 放弃, 放弃 confirmed).
    RecoveryChoice askRecovery(const RecoveryEntry& e);
    // Asks whether the unsaved changes of the files are to be deleted for good.
    bool confirmDiscard(const std::vector<RecoveryEntry>& entries);
    // The recovered document (bound to its original path, modified); a damaged
    // recovery is reported and set aside: null then.
    std::unique_ptr<DocumentHost> loadRecovery(const RecoveryEntry& e);
    // The original file was saved after the recovery was written.
    static bool savedAfter(const RecoveryEntry& e);
    bool startingUp_ = false;
    QString recoverKey_;
    void replaceDocument(std::unique_ptr<DocumentHost> host);
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<DocumentHost> host_;
    std::unique_ptr<RecoveryManager> recovery_;
};

// The global application object.
CSondaraApp* theApp();

// Picks a CJK font for the interface when "宋体" is not installed.
void chooseInterfaceFont();

// Loads Qt's own Chinese texts (file dialogs, message box buttons) from Qt's
// translations folder; false when they are not installed.
bool loadQtChineseTranslations();
bool qtChineseTranslationsLoaded();
void unloadQtChineseTranslations();

}  // namespace sondara::gui
