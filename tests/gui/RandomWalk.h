#pragma once
// A seeded random walk through the running window: it runs enabled commands through
// the frame's normal route, answers every dialog and question they raise with a
// random choice, selects points, piles and panes, drags in the display, presses keys,
// undoes and redoes, and checks the document after every step.
#include <QObject>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <chrono>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "core/app/CommandIds.h"
#include "core/model/SondaraDoc.h"

class QDialog;
class QEventLoop;
class QFileDialog;
class QMessageBox;
class QWidget;

namespace sondara::gui {

class CSondaraApp;
class CMainFrame;

// What is wrong with the document (empty: nothing): the point count of the header,
// the checked list against the points' check boxes, the selection inside the list,
// every point's head before its toe and its marks on its trace.
std::string checkDocumentInvariants(const CSondaraDoc& d);

// What differs between the document in memory and the same document written and
// read back (empty: nothing).
std::string checkSavedDocument(const CSondaraDoc& d, const std::string& folder);

// A document without points is refused by the writer, with its message, and no file
// is left (empty: so).
std::string checkEmptyNotSaved(const CSondaraDoc& d, const std::string& folder);

// The bytes the document saves to (written into `folder`); a document without points
// cannot be saved and gives "<no points>". Without `remembered` the parameters each
// point remembers for the next processing window are left out (a cancelled window
// changes them too, and that is not a change the history undoes).
std::string savedBytes(const CSondaraDoc& d, const std::string& folder, bool remembered = true);
// The first difference between two saved documents, for a failure message.
std::string describeDifference(const std::string& bytesA, const std::string& bytesB,
                               const std::string& folder);

// Swallows the URLs the program would hand to the desktop (reports, help, the log):
// a walk never starts another program. (A text browser's setSource slot receives
// them; its loading is replaced by a count.)
class UrlSink : public QTextBrowser {
public:
    UrlSink();
    ~UrlSink() override;
    int opened = 0;

protected:
    void doSetSource(const QUrl& url, QTextDocument::ResourceType type) override;
};

class RandomWalk {
public:
    struct Options {
        unsigned seed = 1;
        int steps = 300;
        int saveEvery = 20;          // the saved-and-read-back comparison, every so many steps
        int undoEvery = 30;          // undo everything (and maybe redo it), every so many steps
        std::string folder;          // every file the walk writes or offers lies in here
        double maxStepSeconds = 60;  // a step that takes longer is reported as hanging
    };

    RandomWalk(CSondaraApp& app, Options o);

    // Runs the walk; the failure (with the seed and the last steps) or empty.
    std::string run();

    int stepsRun() const { return step_; }
    int dialogsAnswered() const { return dialogs_; }
    int commandsRun() const { return commands_; }
    int undoChecks() const { return undoChecks_; }
    // The last steps, oldest first.
    const std::deque<std::string>& lastSteps() const { return last_; }

    // The commands the walk never runs: they leave the process, start other programs
    // or open files outside the walk's folder.
    static bool excluded(CommandId id);

private:
    void tick();
    void step();
    bool answerModal(QWidget* w);
    void answerMessageBox(QMessageBox* box);
    void answerFileDialog(QFileDialog* fd);
    void answerDialog(QDialog* d);
    void fillFields(QWidget* w);
    bool finishDockedForm(bool cancel);
    void runRandomCommand();
    void selectPoint(bool pile);
    void clickDisplay(bool drag);
    void pressKey();
    void check(const char* when);
    void followHistory(const CSondaraDoc& d);
    void undoEverything();
    void fail(const std::string& what);
    void note(const std::string& s);
    std::string randomText();
    int pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }

    CSondaraApp& app_;
    Options o_;
    std::mt19937 rng_;
    UrlSink urls_;
    std::vector<CommandId> commands_list_;
    std::deque<std::string> last_;
    std::string failure_;
    QEventLoop* loop_ = nullptr;
    int step_ = 0;
    int depth_ = 0;
    int dialogs_ = 0;
    int commands_ = 0;
    int fileCounter_ = 0;
    // The saved bytes of the document when its undo history was last empty: undoing
    // everything must come back to them. Not valid after a change that cannot be undone
    // (还原) or when the history dropped its oldest steps, until the history is empty again.
    std::string baseline_;
    bool baselineValid_ = false;
    const CSondaraDoc* baselineDoc_ = nullptr;  // the document the baseline belongs to
    bool reverted_ = false;                     // 还原 ran since the last check
    int undoChecks_ = 0;
    bool cancelOnly_ = false;  // the running command acts on hardware: cancel whatever it asks
    bool finished_ = false;
    QPointer<QWidget> lastModal_;
    int modalAttempts_ = 0;
    std::chrono::steady_clock::time_point stepStart_;
};

}  // namespace sondara::gui
