#pragma once
// The running program opened on a project written for the test: the common set-up
// of the desktop tests, with the accessors they share.
#include <gtest/gtest.h>

#include <QSize>
#include <memory>
#include <string>

#include "core/display/AnalysisBar.h"
#include "core/model/SondaraDoc.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "support/TestSupport.h"

namespace sondara::gui {

// A trace as a pile test gives it: the blow at the head (sample 40), an echo of
// height `echo` from the toe (sample 300), 512 samples, no marks.
TestPoint pileTrace(const char* pile, int speed, float echo);

// SetUp sends the run log into the test's folder; a derived SetUp then opens the
// program with launch() or open(). TearDown drops the changes, closes the program
// and restores the log.
struct GuiFixture : ::testing::Test {
    test::TempDir dir;
    std::unique_ptr<CSondaraApp> app;
    std::string project;  // the project file the program opened

    void SetUp() override;
    void TearDown() override;

    // Writes d as the project file and starts the program with it.
    void launch(CSondaraDoc d);
    // launch(), then shows the frame at `size` unless it is empty, and runs the
    // pending events.
    void open(CSondaraDoc d, QSize size = {});
    // Makes a click on a trace select its point, as the frame's point list does.
    void selectPointOnClick();

    CMainFrame& frame() { return *app->frame(); }
    CSondaraView* view() { return frame().activeAnalysisView(); }
    CWaveDisp* disp() { return view()->display(); }
    WaveDisplayModel& model() { return disp()->model(); }
    CSondaraDoc& doc() { return app->document()->doc(); }

    // Picks entry `index` of the bar's combo `c` as a user would.
    void choose(CSondaraView* v, BarCombo c, int index);
    void choose(BarCombo c, int index) { choose(view(), c, index); }
};

// Removes the stored analysis bar choices and display settings, so that a test
// starts from the defaults and leaves none of its own.
void forgetDisplaySettings();

}  // namespace sondara::gui
