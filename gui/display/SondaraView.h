#pragma once
// The analysis view of a child window: the analysis selection bar along the top and
// the waveform display below it. It keeps the bar's choices (core AnalysisBar), hands
// the selection to the display, runs the display commands of the 显示调整 menu with
// their enable and check rules, and applies the wave speed and pile length typed into
// the bar.
#include <QWidget>
#include <vector>

#include "core/app/CommandIds.h"
#include "core/display/AnalysisBar.h"
#include "core/display/DisplayStates.h"
#include "core/model/SondaraDoc.h"

namespace sondara::gui {

class DocumentHost;
class CWaveDisp;
class AnalysisBarWidget;
class ViewContext;
class ViewProcessing;

class CSondaraView : public QWidget {
    Q_OBJECT
public:
    CSondaraView(DocumentHost& host, ViewContext& context, QWidget* parent = nullptr);
    ~CSondaraView() override;

    DocumentHost& host() { return host_; }
    ViewContext& context() { return context_; }
    CWaveDisp* display() const { return display_; }
    AnalysisBarWidget* analysisBar() const { return barWidget_; }
    const AnalysisBar& barModel() const { return bar_; }
    // The processing commands of this view (dialogs, docked forms, interaction).
    ViewProcessing* processing() const { return processing_; }
    // A docked processing form takes the analysis bar's place while it is open.
    void showDockedForm(QWidget* form);
    void hideDockedForm(QWidget* form);

    // A pending interactive operation (an open processing form, a mark being placed)
    // may ask to settle first; answers true when the command may proceed now.
    bool concludePendingOperation(QObject* requester, CommandId commandId);

    // Handles a view command (the display commands, 当前波形/全部波形); false when this
    // view has nothing to do for it. The fill commands and 包络 reach every view of the
    // document, 谱线 only the first one.
    bool handleCommand(CommandId id);
    // Enable and check state of a view command.
    struct CommandState {
        bool enabled = false;
        bool checked = false;
    };
    CommandState commandState(CommandId id) const;

signals:
    // A click (or ↑/↓) on a trace chose a point: the point list is to select it.
    void pointSelected(int pointIndex);

private:
    // Refreshes by the kind of change: a new point list rebuilds the bar's lists and
    // the panes; processing and marks re-read the panes of the changed points; a
    // selection rebuilds only a display whose panes follow the current point.
    void refresh(const DocChangeEvent& e);
    void showBarLayout();
    void applySelection();
    void showSpeedAndLength();
    void enterSpeed(const QString& text);
    void enterLength(const QString& text);
    std::vector<int> speedLengthTargets(bool& allPanes) const;
    void runDisplayCommand(DisplayCommand c);
    void openContextMenu(QPoint globalPos);
    DocumentHost& host_;
    ViewContext& context_;
    AnalysisBar bar_;
    AnalysisBarWidget* barWidget_ = nullptr;
    CWaveDisp* display_ = nullptr;
    ViewProcessing* processing_ = nullptr;
};

}  // namespace sondara::gui
