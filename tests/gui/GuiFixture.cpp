#include "GuiFixture.h"

#include <QApplication>
#include <QComboBox>
#include <cmath>
#include <cstdio>

#include "core/app/AppPaths.h"
#include "core/app/RunLog.h"
#include "core/display/DisplayOptions.h"
#include "core/fileio/ProjectFile.h"
#include "gui/display/AnalysisBarWidget.h"
#include "support/Fixtures.h"

namespace sondara::gui {

TestPoint pileTrace(const char* pile, int speed, float echo) {
    TestPoint p = test::simplePoint(pile, 2);
    const int n = 512, head = 40, toe = 300;
    p.rawSamples.assign(n, 0.0f);
    for (int i = 0; i < 30; ++i) {
        const float s = static_cast<float>(std::sin(M_PI * i / 30));
        p.rawSamples[head + i] = 100.0f * s;
        p.rawSamples[toe + i] = echo * s;
    }
    p.samples = p.rawSamples;
    p.recordedLength = n;
    p.headIndex = head;
    p.toeIndex = toe;
    p.waveSpeed = static_cast<std::int16_t>(speed);
    p.pileLength = 10.4f;
    return p;
}

void GuiFixture::SetUp() {
    RunLog::instance().setPath(dir.file("log.txt"));
}

void GuiFixture::TearDown() {
    if (app->document()) app->document()->doc().modified = false;
    app.reset();
    RunLog::instance().setPath(logFilePath());
}

void GuiFixture::launch(CSondaraDoc d) {
    project = dir.file("p.qar");
    ASSERT_TRUE(WriteProject(d, project));
    app = std::make_unique<CSondaraApp>();
    ASSERT_TRUE(app->initInstance({"sondara", QString::fromStdString(project)}));
}

void GuiFixture::open(CSondaraDoc d, QSize size) {
    ASSERT_NO_FATAL_FAILURE(launch(std::move(d)));
    if (!size.isEmpty()) {
        frame().resize(size);
        frame().show();
    }
    QApplication::processEvents();
}

void GuiFixture::selectPointOnClick() {
    QObject::connect(view(), &CSondaraView::pointSelected, &frame(),
                     [this](int i) { frame().onPointListNotify(0, i); });
}

void GuiFixture::choose(CSondaraView* v, BarCombo c, int index) {
    QComboBox* box = v->analysisBar()->combo(c);
    ASSERT_LT(index, box->count());
    box->setCurrentIndex(index);
    emit box->activated(index);
    QApplication::processEvents();
}

void forgetDisplaySettings() {
    std::remove(analysisChoicesFile().path().c_str());
    std::remove(displayOptionsFile().path().c_str());
}

}  // namespace sondara::gui
