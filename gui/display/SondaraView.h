#pragma once
// The analysis view of a child window: the analysis selection bar along the top and
// the waveform display below it.
#include <QWidget>

namespace sondara::gui {

class DocumentHost;
class CWaveDisp;

class CSondaraView : public QWidget {
    Q_OBJECT
public:
    CSondaraView(DocumentHost& host, QWidget* parent = nullptr);
    ~CSondaraView() override;

    DocumentHost& host() { return host_; }
    CWaveDisp* display() const { return display_; }

    // A pending interactive operation (an open processing form, a mark being placed)
    // may ask to settle first; answers true when the command may proceed now.
    bool concludePendingOperation(QObject* requester, int commandId);

    // Handles a view command; false when this view has nothing to do for it.
    bool handleCommand(int id);
    // Enable and check state of a view command.
    struct CommandState {
        bool enabled = false;
        bool checked = false;
    };
    CommandState commandState(int id) const;

    static int liveViews();

signals:
    void commandRequested(int id);  // letter shortcuts and context menus

private:
    void refresh(int what);
    DocumentHost& host_;
    QWidget* bar_ = nullptr;
    CWaveDisp* display_ = nullptr;
};

}  // namespace sondara::gui
