#pragma once
// The processing commands of one analysis view: new operations, edit, insert, delete,
// clear and undo through the commit sequence, the run of a parameter window as a pop-up
// dialog or as a docked form (with switching between them), the display's interactive
// rotation, shift and range selection while a docked form is open, and the settling of
// an open docked form when another command comes (ConcludePendingOperation).
//
// A docked run keeps its caller waiting in a local event loop; the view, the display
// and the form keep handling events meanwhile. Whatever ends the form (its buttons,
// Esc/Enter in the display, another command, another child window activated, the
// child window closed) ends the loop, and a command that ended it runs afterwards.
//
// User-interface thread only. Owned by its view (a child QObject).
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <vector>

#include "core/processing/ProcessingChain.h"
#include "core/processing/StepForm.h"

class QTimer;
class QMdiSubWindow;

namespace sondara::gui {

class CSondaraView;
class CWaveDisp;
class DocumentHost;
class ProcessInteraction;
class StepDockForm;

class ViewProcessing : public QObject {
    Q_OBJECT
public:
    ViewProcessing(CSondaraView& view, DocumentHost& host, CWaveDisp& display);
    ~ViewProcessing() override;

    // Application-wide: 0 pop-up, 1 docked. Every operation starts as a pop-up.
    static int& dialogMode();
    // While set the pop-ups grey their switch button.
    static bool& dockDisabled();

    // Runs a processing command; false when `id` is none.
    bool run(int id);
    bool enabled(int id) const;

    // Proceed (true) or defer (false). An open docked form is ended as cancelled; the
    // command (when a requester is given) runs once the docked run has unwound.
    bool concludePendingOperation(QObject* requester, int commandId);

    // 0 before a form is shown, the kind while it is shown, -1 once it has ended.
    int activeDockedKind() const { return activeKind_; }
    StepDockForm* shownForm() const;
    ProcessInteraction* interaction() const { return interaction_; }
    // Where deferred commands go (default: the main frame's posted commands).
    std::function<void(int)> postCommand;

private:
    struct Context {
        std::vector<int> targets;
        AnalysisDomain domain = AnalysisDomain::Integrity;
        bool showsAverage = false;
    };
    Context context() const;
    void commit(CommitRequest request, ProcessKind dialogKind);
    DialogResult runStepDialog(ProcessStep& step, const PreviewFn& preview);
    int runDocked(ProcessStep& step, const PreviewFn& preview);
    StepDockForm* formFor(ProcessKind kind);
    void endForm(int result);
    void finishFromForm(int result);
    void interactiveModeFor(const ProcessStep& step);
    void onDragChanged();
    void onStaticCursor();
    void onActivePaneChanged();
    void onChoiceChanged(int choice);
    void previewDrag();
    void restoreTargets();
    void serveDeferred();
    float paneMillivoltsPerRow(bool popupRule) const;
    TestPoint referencePoint(int point) const;
    QMdiSubWindow* subWindow() const;
    bool eventFilter(QObject* o, QEvent* e) override;

    CSondaraView& view_;
    DocumentHost& host_;
    CWaveDisp& display_;
    ProcessInteraction* interaction_ = nullptr;
    std::map<int, StepDockForm*> forms_;
    // the pending docked operation
    int activeKind_ = 0;
    int dockResult_ = 2;
    std::vector<int> targets_;
    TestPoint dockRef_;  // the first target's head and scale, for the form's check
    ProcessStep* pendingStep_ = nullptr;
    const PreviewFn* pendingPreview_ = nullptr;
    QEventLoop* loop_ = nullptr;
    bool closeAfter_ = false;
    // deferred commands
    std::vector<int> deferred_;
    QTimer* deferTimer_ = nullptr;
    QMetaObject::Connection areaActivation_;
    QPointer<QObject>
        watched_;  // the child window, as an object: it is only compared and unfiltered
};

}  // namespace sondara::gui
