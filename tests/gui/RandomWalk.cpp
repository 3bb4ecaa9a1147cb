#include "RandomWalk.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "core/app/CommandTable.h"
#include "core/base/FixedText.h"
#include "core/fileio/ProjectFile.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "gui/instrument/TransferDialog.h"
#include "gui/processing/StepDockForm.h"
#include "support/TestSupport.h"

namespace sondara::gui {

namespace {

std::string describe(CommandId id) {
    std::ostringstream s;
    s << toInt(id);
    if (const CommandInfo* c = findCommand(id)) {
        std::string text = c->menuText;
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        s << ' ' << (text.empty() ? c->shortName : text);
    }
    return s.str();
}

std::string widgetName(QWidget* w) {
    std::string s = w->metaObject()->className();
    if (!w->windowTitle().isEmpty()) s += " '" + w->windowTitle().toStdString() + "'";
    return s;
}

// Commands that replace or drop the whole document: run less often, so that the walk
// spends its steps on the document rather than on empty windows.
bool replacesDocument(CommandId id) {
    using C = CommandId;
    return id == C::FileNew || id == C::FileOpen || id == C::FileClose || id == C::EditRevert;
}

template <class T>
std::string fieldDiff(const char* name, int point, const T& a, const T& b) {
    if (a == b) return {};
    std::ostringstream s;
    s << "point " << point << ": " << name << " differs";
    return s.str();
}

}  // namespace

// ---- document checks ----------------------------------------------------------------

std::string checkDocumentInvariants(const CSondaraDoc& d) {
    std::ostringstream err;
    const int n = d.pointCount();
    if (d.info.pointCount != n)
        err << "header point count " << d.info.pointCount << " but " << n << " points; ";
    std::vector<int> ticked;
    for (int i = 0; i < n; ++i)
        if (d.points[i].checked != 0) ticked.push_back(i);
    if (d.checkedList != ticked) {
        err << "checked list {";
        for (int i : d.checkedList) err << i << ' ';
        err << "} but ticked points {";
        for (int i : ticked) err << i << ' ';
        err << "}; ";
    }
    if (d.currentPoint < -1 || d.currentPoint >= n)
        err << "current point " << d.currentPoint << " outside 0.." << n - 1 << "; ";
    const int piles = d.pileCount();
    if (d.currentPile < -1 || d.currentPile >= std::max(piles, 0))
        if (!(d.currentPile == -1))
            err << "current pile " << d.currentPile << " outside 0.." << piles - 1 << "; ";
    if (d.selectionMode < 0 || d.selectionMode > 2)
        err << "selection mode " << d.selectionMode << "; ";
    if (d.selectionMode != 0 && !d.validPoint(d.currentPoint))
        err << "selection mode " << d.selectionMode << " without a current point; ";
    for (int m : d.pileMembers)
        if (!d.validPoint(m)) err << "pile member " << m << " outside the list; ";
    for (int i = 0; i < n; ++i) {
        const TestPoint& p = d.points[i];
        if (p.waveletMarkPanes.size() != p.waveletMarkPositions.size())
            err << "point " << i << ": wavelet mark lists of different lengths; ";
        const int count = p.sampleCount();
        if (count <= 0) continue;  // a point without a trace carries no marks to check
        if (p.headIndex < 0 || p.headIndex >= count)
            err << "point " << i << ": head " << p.headIndex << " off the trace of " << count
                << "; ";
        // head and toe both 0: a trace whose marks were never placed (a pasted test point)
        if (p.toeIndex <= p.headIndex && !(p.headIndex == 0 && p.toeIndex == 0))
            err << "point " << i << ": toe " << p.toeIndex << " not after head " << p.headIndex
                << "; ";
        for (const PileMark& m : p.defects)
            if (m.position < 0 || m.position >= count)
                err << "point " << i << ": defect at " << m.position << " off the trace of "
                    << count << "; ";
    }
    return err.str();
}

namespace {

// Which part of a point's stored parameters differs: a view's display state, the
// display range or the parameters of the last processing step.
std::string lastParamsDiff(int point, const ProcessStep& a, const ProcessStep& b) {
    if (a == b) return {};
    std::ostringstream s;
    s << "point " << point << ": ";
    for (int k = 0; k < kViewStateSlots; ++k)
        if (!(a.viewStates[k] == b.viewStates[k])) {
            const DisplayState &x = a.viewStates[k], &y = b.viewStates[k];
            s << "display state of view slot " << k << " differs (fill " << x.fill << '/' << y.fill
              << ", position " << x.positionMode << '/' << y.positionMode << " offset " << x.xOffset
              << '/' << y.xOffset << ", h scale " << x.hScaleMode << ':' << x.hScale << '/'
              << y.hScaleMode << ':' << y.hScale << ", v scale " << x.vScaleMode << ':' << x.vScale
              << '/' << y.vScaleMode << ':' << y.vScale << ")";
            return s.str();
        }
    if (a.rangeMax != b.rangeMax || a.rangeMin != b.rangeMin) {
        s << "display range differs (" << a.rangeMin << ".." << a.rangeMax << " against "
          << b.rangeMin << ".." << b.rangeMax << ")";
        return s.str();
    }
    s << "parameters of the last processing step differ (kind " << a.kind << '/' << b.kind << ")";
    return s.str();
}

// The first difference between the points of two documents (empty: none). With
// `positions` false a defect's position is not compared (it is derived on reading).
std::string comparePoints(const CSondaraDoc& d, const CSondaraDoc& back, bool positions) {
    if (back.pointCount() != d.pointCount())
        return std::to_string(d.pointCount()) + " points against " +
               std::to_string(back.pointCount());
    for (int i = 0; i < d.pointCount(); ++i) {
        const TestPoint& a = d.points[i];
        const TestPoint& b = back.points[i];
        bool fixedEqual = true;
        forEachFixedField(a, b, [&](const auto& x, const auto& y) {
            if (!(x == y)) fixedEqual = false;
        });
        if (!fixedEqual) return "point " + std::to_string(i) + ": pile fields differ";
        auto marks = [positions](std::vector<PileMark> m) {
            if (!positions)
                for (PileMark& x : m) x.position = 0;
            return m;
        };
        for (const std::string& s :
             {fieldDiff("raw trace", i, a.rawSamples, b.rawSamples),
              fieldDiff("processed trace", i, a.samples, b.samples),
              fieldDiff("processing chain", i, a.steps, b.steps),
              fieldDiff("defects", i, marks(a.defects), marks(b.defects)),
              fieldDiff("spectrum marks", i, a.spectrumMarks, b.spectrumMarks),
              fieldDiff("correlation marks", i, a.correlationMarks, b.correlationMarks),
              fieldDiff("wavelet marks", i, a.waveletMarkPositions, b.waveletMarkPositions),
              fieldDiff("check box", i, a.checked, b.checked)})
            if (!s.empty()) return s;
        if (!positions) continue;
        // two documents read from files: the rest of the record too
        for (const std::string& s :
             {lastParamsDiff(i, a.lastParams, b.lastParams),
              fieldDiff("head and toe flags", i, std::make_pair(a.headSetFlag, a.toeSetFlag),
                        std::make_pair(b.headSetFlag, b.toeSetFlag)),
              fieldDiff("wavelet mark panes", i, a.waveletMarkPanes, b.waveletMarkPanes),
              fieldDiff("record text", i, a.extraText, b.extraText)})
            if (!s.empty()) return s;
    }
    return {};
}

CSondaraDoc copyOf(const CSondaraDoc& d) {
    CSondaraDoc copy;
    copy.info = d.info;
    copy.points = d.points;
    copy.originalInfo = d.originalInfo;
    copy.originalPoints = d.originalPoints;
    return copy;
}

}  // namespace

std::string savedBytes(const CSondaraDoc& d, const std::string& folder, bool remembered) {
    if (d.pointCount() == 0) return "<no points>";
    CSondaraDoc copy = copyOf(d);
    if (!remembered)
        for (TestPoint& p : copy.points) {
            // the parameters a processing window remembers for the next one, kept also
            // when it is cancelled (no change of the project, so not in the history);
            // the display states and ranges stored beside them stay compared
            ProcessStep kept;
            kept.viewStates = p.lastParams.viewStates;
            kept.rangeMax = p.lastParams.rangeMax;
            kept.rangeMin = p.lastParams.rangeMin;
            p.lastParams = kept;
        }
    const std::string path = folder + "/walk-bytes.qar";
    std::string error;
    if (!WriteProject(copy, path, &error)) return "<not saved: " + error + ">";
    return test::readFile(path);
}

std::string describeDifference(const std::string& bytesA, const std::string& bytesB,
                               const std::string& folder) {
    if (bytesA.front() == '<' || bytesB.front() == '<')
        return bytesA.substr(0, 40) + " against " + bytesB.substr(0, 40);
    const std::string a = folder + "/walk-diff-a.qar", b = folder + "/walk-diff-b.qar";
    test::writeFile(a, bytesA);
    test::writeFile(b, bytesB);
    CSondaraDoc da, db;
    std::string warning;
    ReadProject(da, a, &warning);
    ReadProject(db, b, &warning);
    std::string diff = comparePoints(da, db, true);
    if (diff.empty() && !(da.info == db.info)) diff = "the project header differs";
    if (diff.empty()) {
        CSondaraDoc oa, ob;
        oa.points = da.originalPoints;
        ob.points = db.originalPoints;
        diff = comparePoints(oa, ob, true);
        if (!diff.empty()) diff = "original set: " + diff;
    }
    return diff.empty() ? "a byte outside the compared fields differs" : diff;
}

std::string checkEmptyNotSaved(const CSondaraDoc& d, const std::string& folder) {
    CSondaraDoc copy = copyOf(d);
    const std::string path = folder + "/walk-empty.qar";
    std::remove(path.c_str());
    std::string error;
    if (WriteProject(copy, path, &error)) return "a document without points was saved";
    if (QFileInfo::exists(QString::fromStdString(path)))
        return "a refused save of an empty document left a file";
    return error == "没有测点，不能保存！" ? "" : "an empty document refused with: " + error;
}

std::string checkSavedDocument(const CSondaraDoc& d, const std::string& folder) {
    CSondaraDoc copy = copyOf(d);
    const std::string first = folder + "/walk-check.qar", second = folder + "/walk-check-2.qar";
    std::string error;
    if (!WriteProject(copy, first, &error)) return "writing the document failed: " + error;
    CSondaraDoc back;
    std::string warning;
    const std::string readError = ReadProject(back, first, &warning);
    if (!readError.empty()) return "reading the saved document failed: " + readError;
    // a defect's position is read back from its depth (from the head as it is then),
    // so only the rest of the mark must come back unchanged
    if (std::string diff = comparePoints(d, back, false); !diff.empty())
        return diff + " after saving and reading back";
    // The depths follow every change of the head, the speed and the interval, so a
    // defect reopens where it was drawn (where the point has a speed and an interval
    // to place it with; without them the stored position is kept anyway).
    for (int i = 0; i < d.pointCount(); ++i) {
        const TestPoint& a = d.points[i];
        if (!(a.waveSpeed != 0 && a.sampleInterval != 0.0f && std::isfinite(a.sampleInterval)))
            continue;
        for (int j = 0; j < a.defectCount(); ++j)
            if (back.points[i].defects[j].position != a.defects[j].position)
                return "point " + std::to_string(i) + ": defect drawn at " +
                       std::to_string(a.defects[j].position) + " reopens at " +
                       std::to_string(back.points[i].defects[j].position);
    }
    // A defect's position is derived from its depth on reading, so the first read may
    // move marks; from then on writing and reading must be a fixed point.
    if (!WriteProject(back, second, &error)) return "writing the read document failed: " + error;
    CSondaraDoc again;
    if (const std::string e = ReadProject(again, second, &warning); !e.empty())
        return "reading the document saved a second time failed: " + e;
    const std::string third = folder + "/walk-check-3.qar";
    if (!WriteProject(again, third, &error)) return "writing the read document failed: " + error;
    if (test::readFile(second) != test::readFile(third))
        return "the document read back does not save to the same bytes";
    return {};
}

// ---- the walk -------------------------------------------------------------------------

UrlSink::UrlSink() {
    for (const char* scheme : {"file", "http", "https", "mailto"})
        QDesktopServices::setUrlHandler(scheme, this, "setSource");
}

UrlSink::~UrlSink() {
    for (const char* scheme : {"file", "http", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(scheme);
}

void UrlSink::doSetSource(const QUrl&, QTextDocument::ResourceType) {
    ++opened;
}

bool RandomWalk::excluded(CommandId id) {
    using C = CommandId;
    switch (id) {
        case C::AppExit:     // leaves the process
        case C::FileRecent:  // opens files of earlier sessions, outside the walk's folder
        case C::HelpTopics:  // the browser
        case C::Help:
        case C::HelpContext:  // the what's-this mode waits for a click on a control
        case C::ToolCalculator:
        case C::ToolPaint:
        case C::ToolNotepad:
        case C::ToolViewLog:  // the text editor
            return true;
        default:
            return false;
    }
}

RandomWalk::RandomWalk(CSondaraApp& app, Options o) : app_(app), o_(std::move(o)), rng_(o_.seed) {
    for (const CommandInfo& c : allCommands())
        if (!excluded(c.id) && app_.frame()->commands().find(c.id)) commands_list_.push_back(c.id);
    std::sort(commands_list_.begin(), commands_list_.end());
    commands_list_.erase(std::unique(commands_list_.begin(), commands_list_.end()),
                         commands_list_.end());
}

void RandomWalk::note(const std::string& s) {
    std::string line = "#" + std::to_string(step_) + " " + s;
    last_.push_back(line);
    while (last_.size() > 20) last_.pop_front();
}

void RandomWalk::fail(const std::string& what) {
    if (!failure_.empty()) return;
    std::ostringstream s;
    s << "random walk failed at step " << step_ << " (seed " << o_.seed << "): " << what
      << "\nlast steps:\n";
    for (const std::string& l : last_) s << "  " << l << '\n';
    s << "replay: SONDARA_WALK_SEED=" << o_.seed << " SONDARA_WALK_STEPS=" << step_
      << " (scripts/soak.sh " << step_ << ' ' << o_.seed << ")";
    failure_ = s.str();
    finished_ = true;
}

std::string RandomWalk::run() {
    // the same walk whatever ran before it: nothing on the clipboard
    QApplication::clipboard()->clear();
    QEventLoop loop;
    loop_ = &loop;
    stepStart_ = std::chrono::steady_clock::now();
    QTimer::singleShot(0, &urls_, [this] { tick(); });
    loop.exec();
    loop_ = nullptr;
    // leave nothing open behind
    while (QWidget* w = QApplication::activeModalWidget()) {
        w->close();
        QApplication::processEvents();
        if (QApplication::activeModalWidget() == w) break;
    }
    return failure_;
}

// Each tick schedules the next one first: a command that opens a dialog or a docked
// form runs an event loop of its own, and the next tick answers inside it.
void RandomWalk::tick() {
    if (!loop_) return;
    // the walk's own object carries the timer: none fires after the walk is gone
    QTimer::singleShot(0, &urls_, [this] { tick(); });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - stepStart_).count();
    if (!finished_ && seconds > o_.maxStepSeconds)
        fail("step " + std::to_string(step_) + " still running after " +
             std::to_string(static_cast<int>(seconds)) + " s");

    if (QWidget* w = QApplication::activeModalWidget()) {
        ++depth_;
        answerModal(w);
        --depth_;
        return;
    }
    if (finished_ || step_ >= o_.steps) {
        finished_ = true;
        // unwind: cancel a docked processing form whose loop is still running
        if (depth_ > 0) {
            finishDockedForm(true);
            return;
        }
        loop_->quit();
        loop_ = nullptr;
        return;
    }
    if (depth_ >= 3) {  // deep enough: close what is open instead of starting more
        finishDockedForm(pick(2) == 0);
        return;
    }
    // a docked processing form waits for its 确定 or 取消 as often as for other gestures
    if (depth_ > 0 && chance(40) && finishDockedForm(chance(50))) return;
    const bool top = depth_ == 0;
    if (top) stepStart_ = std::chrono::steady_clock::now();
    ++depth_;
    ++step_;
    step();
    --depth_;
    if (finished_) return;
    if (top || !QApplication::activeModalWidget()) check("after the step");
}

void RandomWalk::check(const char* when) {
    DocumentHost* host = app_.document();
    if (!host) {
        baselineValid_ = false;  // the next document starts its own history
        return;
    }
    const CSondaraDoc& d = host->doc();
    // a step taken while a docked form waits may have emptied the history (新建, 打开)
    // or gone back to the original points: the start of the history is not known then
    if (&d != baselineDoc_ || (depth_ != 0 && (!d.canUndo() || reverted_))) baselineValid_ = false;
    std::string e = checkDocumentInvariants(d);
    if (!e.empty()) {
        fail(std::string(when) + ": " + e);
        return;
    }
    if (depth_ != 0 || QApplication::activeModalWidget()) return;
    // a document without points cannot be saved (a data file holds at least one)
    if (o_.saveEvery > 0 && step_ % o_.saveEvery == 0) {
        e = d.pointCount() > 0 ? checkSavedDocument(d, o_.folder)
                               : checkEmptyNotSaved(d, o_.folder);
        if (!e.empty()) {
            fail(e);
            return;
        }
    }
    followHistory(d);
    if (o_.undoEvery > 0 && step_ % o_.undoEvery == 0 && d.canUndo()) undoEverything();
}

void RandomWalk::followHistory(const CSondaraDoc& d) {
    // 还原 goes back to the file's original points and cannot be undone; a history
    // that dropped its oldest steps cannot go back to where it started
    if (reverted_ || d.undoSteps().size() >= kUndoMaxSteps) baselineValid_ = false;
    reverted_ = false;
    if (!d.canUndo()) {
        baseline_ = savedBytes(d, o_.folder, false);
        baselineValid_ = true;
        baselineDoc_ = &d;
    }
}

// Undoes every step through 编辑 → 撤销; where the history is whole the document must
// save to the bytes it saved to when the history was empty. Half the time the steps
// are redone through 恢复, which must give back the bytes before the undoing.
void RandomWalk::undoEverything() {
    CMainFrame& f = *app_.frame();
    const CSondaraDoc& d = app_.document()->doc();
    const bool compare = baselineValid_;
    const std::string before = savedBytes(d, o_.folder, false);
    const std::size_t steps = d.undoSteps().size();
    note("undo all " + std::to_string(steps) + " steps" + (compare ? "" : " (not compared)"));
    ++undoChecks_;
    std::size_t undone = 0;
    while (app_.document() && app_.document()->doc().canUndo()) {
        const std::size_t left = app_.document()->doc().undoSteps().size();
        f.runCommand(CommandId::EditUndo);
        if (QApplication::activeModalWidget()) return;  // answered by the next tick
        if (!app_.document() || app_.document()->doc().undoSteps().size() >= left) {
            fail("撤销 does not take a step off the history (" + std::to_string(left) + " left)");
            return;
        }
        ++undone;
    }
    if (!app_.document()) return;
    const CSondaraDoc& after = app_.document()->doc();
    if (std::string e = checkDocumentInvariants(after); !e.empty()) {
        fail("after undoing everything: " + e);
        return;
    }
    const std::string start = savedBytes(after, o_.folder, false);
    if (compare && start != baseline_) {
        fail("undoing all " + std::to_string(undone) +
             " steps does not give back the document where the history began: " +
             describeDifference(baseline_, start, o_.folder));
        return;
    }
    baseline_ = start;
    baselineValid_ = true;
    baselineDoc_ = &after;
    // the next change starts a new history here; a long one is not redone, so that it
    // never reaches the bound where the oldest steps go
    if (!compare || steps > 120 || chance(50)) return;
    // the steps undone here, not those an earlier 撤销 of the walk left on the redo list
    note("redo the " + std::to_string(undone) + " steps");
    for (std::size_t k = 0; k < undone && app_.document(); ++k) {
        const std::size_t left = app_.document()->doc().redoSteps().size();
        f.runCommand(CommandId::EditRedo);
        if (QApplication::activeModalWidget()) return;
        if (!app_.document() || app_.document()->doc().redoSteps().size() >= left) {
            fail("恢复 does not take a step off the redo list (" + std::to_string(left) + " left)");
            return;
        }
    }
    if (!app_.document()) return;
    const std::string again = savedBytes(app_.document()->doc(), o_.folder, false);
    if (again != before)
        fail("redoing the " + std::to_string(undone) +
             " steps does not give back the document before the undoing: " +
             describeDifference(before, again, o_.folder));
}

void RandomWalk::step() {
    const int r = pick(100);
    CMainFrame& f = *app_.frame();
    if (r < 55) {
        runRandomCommand();
    } else if (r < 63) {
        selectPoint(false);
    } else if (r < 67) {
        selectPoint(true);
    } else if (r < 76) {
        clickDisplay(false);
    } else if (r < 84) {
        clickDisplay(true);
    } else if (r < 88) {
        pressKey();
    } else if (r < 95) {
        note("undo");
        f.runCommand(CommandId::EditUndo);
    } else {
        note("redo");
        f.runCommand(CommandId::EditRedo);
    }
}

void RandomWalk::runRandomCommand() {
    CMainFrame& f = *app_.frame();
    std::vector<CommandId> enabled;
    for (CommandId id : commands_list_)
        if (f.commands().isEnabled(id)) {
            // the commands that replace the document come up a quarter as often
            if (replacesDocument(id) && pick(4) != 0) continue;
            enabled.push_back(id);
        }
    if (enabled.empty()) {
        note("no command enabled");
        return;
    }
    const CommandId id = enabled[pick(static_cast<int>(enabled.size()))];
    note("command " + describe(id));
    ++commands_;
    if (id == CommandId::EditRevert) reverted_ = true;
    const bool hardware = id == CommandId::ToolTransfer;
    const bool before = cancelOnly_;
    if (hardware) cancelOnly_ = true;
    f.runCommand(id);
    cancelOnly_ = before;
}

void RandomWalk::selectPoint(bool pile) {
    DocumentHost* host = app_.document();
    if (!host || host->doc().pointCount() == 0) {
        note("select: no points");
        return;
    }
    const CSondaraDoc& d = host->doc();
    if (pile) {
        const int ordinal = pick(d.pileCount());
        note("select pile " + std::to_string(ordinal));
        app_.frame()->onPileSelected(ordinal);
    } else {
        const int index = pick(d.pointCount());
        note("select point " + std::to_string(index));
        app_.frame()->onPointSelected(index);
    }
}

void RandomWalk::clickDisplay(bool drag) {
    CSondaraView* v = app_.frame()->activeAnalysisView();
    CWaveDisp* disp = v ? v->display() : nullptr;
    if (!disp || disp->width() < 4 || disp->height() < 4) {
        note("display: none shown");
        return;
    }
    const QPoint a(pick(disp->width()), pick(disp->height()));
    if (!drag) {
        note("click display at " + std::to_string(a.x()) + "," + std::to_string(a.y()));
        QTest::mouseClick(disp, Qt::LeftButton, {}, a);
        return;
    }
    const QPoint b(pick(disp->width()), pick(disp->height()));
    note("drag in display " + std::to_string(a.x()) + "," + std::to_string(a.y()) + " -> " +
         std::to_string(b.x()) + "," + std::to_string(b.y()));
    QPointer<CWaveDisp> alive(disp);
    auto send = [&](QEvent::Type t, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
        if (!alive) return;
        QMouseEvent e(t, QPointF(p), QPointF(disp->mapToGlobal(p)), button, held, Qt::NoModifier);
        QApplication::sendEvent(disp, &e);
    };
    send(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    const int moves = 1 + pick(4);
    for (int i = 1; i <= moves; ++i)
        send(QEvent::MouseMove, a + (b - a) * i / moves, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
}

void RandomWalk::pressKey() {
    static const Qt::Key keys[] = {Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down,
                                   Qt::Key_Escape, Qt::Key_Return, Qt::Key_PageUp, Qt::Key_PageDown,
                                   Qt::Key_Home,   Qt::Key_End,    Qt::Key_Tab};
    CSondaraView* v = app_.frame()->activeAnalysisView();
    QWidget* target = v ? static_cast<QWidget*>(v->display()) : app_.frame();
    const Qt::Key k = keys[pick(static_cast<int>(std::size(keys)))];
    note("key " + QKeySequence(k).toString().toStdString());
    QTest::keyClick(target, k);
}

// ---- answers --------------------------------------------------------------------------

bool RandomWalk::answerModal(QWidget* w) {
    if (w == lastModal_) {
        // still open after an answer (a refused value, a warning): after a few tries
        // the user gives up
        if (++modalAttempts_ > 3) {
            note("  give up on " + widgetName(w));
            if (auto* d = qobject_cast<QDialog*>(w))
                d->reject();
            else
                w->close();
            return true;
        }
    } else {
        lastModal_ = w;
        modalAttempts_ = 0;
    }
    ++dialogs_;
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        answerMessageBox(box);
        return true;
    }
    if (auto* fd = qobject_cast<QFileDialog*>(w)) {
        answerFileDialog(fd);
        return true;
    }
    auto* d = qobject_cast<QDialog*>(w);
    if (!d) {
        note("  close " + widgetName(w));
        w->close();
        return true;
    }
    // print dialogs reach a printer, the transfer reaches the instrument: cancel only
    if (cancelOnly_ || finished_ || qobject_cast<QPrintDialog*>(d) ||
        qobject_cast<QPrintPreviewDialog*>(d) || qobject_cast<TransferDialog*>(d)) {
        note("  cancel " + widgetName(d));
        d->reject();
        return true;
    }
    answerDialog(d);
    return true;
}

void RandomWalk::answerMessageBox(QMessageBox* box) {
    const QList<QAbstractButton*> buttons = box->buttons();
    std::string text = box->text().toStdString();
    std::replace(text.begin(), text.end(), '\n', ' ');
    if (buttons.isEmpty() || finished_) {
        note("  message '" + text + "': close");
        box->close();
        return;
    }
    QAbstractButton* b = buttons[pick(static_cast<int>(buttons.size()))];
    if (cancelOnly_) b = box->escapeButton() ? box->escapeButton() : b;
    note("  message '" + text + "': " + b->text().toStdString());
    b->click();
}

void RandomWalk::answerFileDialog(QFileDialog* fd) {
    const int r = pick(3);
    if (r == 0 || finished_ || cancelOnly_) {
        note("  file dialog '" + fd->windowTitle().toStdString() + "': cancel");
        fd->reject();
        return;
    }
    const QDir folder(QString::fromStdString(o_.folder));
    QString answer;
    if (fd->fileMode() == QFileDialog::Directory) {
        folder.mkpath("out");
        answer = r == 1 ? folder.path() : folder.filePath("out");
    } else if (fd->acceptMode() == QFileDialog::AcceptOpen) {
        // an earlier saved file of the walk, the project itself, or a file of rubbish
        QStringList files = folder.entryList({"*.qar"}, QDir::Files, QDir::Name);
        if (r == 2 || files.isEmpty()) {
            test::writeFile(folder.filePath("rubbish.qar").toStdString(),
                            "QAR16 not a project at all");
            answer = folder.filePath("rubbish.qar");
        } else {
            answer = folder.filePath(files[pick(static_cast<int>(files.size()))]);
        }
    } else {
        answer = folder.filePath(QString("saved-%1").arg(++fileCounter_ % 4));
        if (r == 2) answer += ".qar";
    }
    note("  file dialog '" + fd->windowTitle().toStdString() +
         "': " + QDir(folder).relativeFilePath(answer).toStdString());
    fd->selectFile(answer);
    static_cast<QDialog*>(fd)->accept();
}

std::string RandomWalk::randomText() {
    static const char* texts[] = {"",     "0",    "-1",   "1",     "3.5",  "abc",  "1e9",
                                  "-0.0", " 12 ", "9999", "65536", "中文", "0.001"};
    switch (pick(3)) {
        case 0:
            return std::to_string(std::uniform_int_distribution<int>(-1000, 100000)(rng_));
        case 1: {
            std::string s;
            const int n = 1 + pick(70);
            for (int i = 0; i < n; ++i) s += pick(3) == 0 ? "桩" : std::string(1, 'a' + pick(26));
            return s;
        }
        default:
            return texts[pick(static_cast<int>(std::size(texts)))];
    }
}

void RandomWalk::fillFields(QWidget* w) {
    std::ostringstream what;
    for (QLineEdit* e : w->findChildren<QLineEdit*>()) {
        if (!e->isVisible() || !e->isEnabled() || e->isReadOnly()) continue;
        if (qobject_cast<QAbstractSpinBox*>(e->parentWidget())) continue;
        if (auto* c = qobject_cast<QComboBox*>(e->parentWidget()); c && !chance(30)) continue;
        if (!chance(60)) continue;
        const std::string t = randomText();
        e->setText(QString::fromStdString(t));
        emit e->editingFinished();
        what << " '" << t << "'";
    }
    for (QSpinBox* s : w->findChildren<QSpinBox*>()) {
        if (!s->isVisible() || !s->isEnabled() || !chance(60)) continue;
        s->setValue(std::uniform_int_distribution<int>(s->minimum(), s->maximum())(rng_));
        what << ' ' << s->value();
    }
    for (QDoubleSpinBox* s : w->findChildren<QDoubleSpinBox*>()) {
        if (!s->isVisible() || !s->isEnabled() || !chance(60)) continue;
        s->setValue(std::uniform_real_distribution<double>(s->minimum(), s->maximum())(rng_));
        what << ' ' << s->value();
    }
    for (QComboBox* c : w->findChildren<QComboBox*>()) {
        if (!c->isVisible() || !c->isEnabled() || c->count() == 0 || !chance(50)) continue;
        const int i = pick(c->count());
        c->setCurrentIndex(i);
        emit c->activated(i);
        what << " [" << i << ']';
    }
    for (QCheckBox* c : w->findChildren<QCheckBox*>()) {
        if (!c->isVisible() || !c->isEnabled() || !chance(30)) continue;
        c->click();
        what << " toggled";
    }
    for (QRadioButton* c : w->findChildren<QRadioButton*>()) {
        if (!c->isVisible() || !c->isEnabled() || !chance(20)) continue;
        c->click();
        what << " radio";
    }
    note("  fields:" + what.str());
}

namespace {

QAbstractButton* findButton(QWidget* w, bool ok) {
    for (QDialogButtonBox* box : w->findChildren<QDialogButtonBox*>()) {
        for (QAbstractButton* b : box->buttons()) {
            const QDialogButtonBox::ButtonRole role = box->buttonRole(b);
            if (ok ? (role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::YesRole)
                   : (role == QDialogButtonBox::RejectRole || role == QDialogButtonBox::NoRole))
                if (b->isVisible() && b->isEnabled()) return b;
        }
    }
    static const QStringList okTexts{"确定", "确认", "OK", "&OK", "是", "保存"};
    static const QStringList cancelTexts{"取消", "Cancel", "&Cancel", "关闭", "否"};
    for (QPushButton* b : w->findChildren<QPushButton*>()) {
        if (!b->isVisible() || !b->isEnabled()) continue;
        QString t = b->text();
        t.remove('&');
        const QStringList& wanted = ok ? okTexts : cancelTexts;
        for (const QString& x : wanted)
            if (t.startsWith(QString(x).remove('&'))) return b;
    }
    return nullptr;
}

}  // namespace

void RandomWalk::answerDialog(QDialog* d) {
    const int r = pick(10);
    if (r < 3) {
        note("  cancel " + widgetName(d));
        if (QAbstractButton* b = findButton(d, false))
            b->click();
        else
            d->reject();
        return;
    }
    if (r >= 6) {
        note("  fill " + widgetName(d));
        fillFields(d);
        // a field may have closed the dialog or opened a question over it
        if (QApplication::activeModalWidget() != d) return;
    }
    note("  OK " + widgetName(d));
    if (QAbstractButton* b = findButton(d, true))
        b->click();
    else
        d->accept();
}

bool RandomWalk::finishDockedForm(bool cancel) {
    for (StepDockForm* form : app_.frame()->findChildren<StepDockForm*>()) {
        if (!form->isVisible()) continue;
        if (!cancel) fillFields(form);
        note(std::string("  docked form: ") + (cancel ? "cancel" : "OK"));
        QPushButton* b = cancel ? form->cancelButton() : form->okButton();
        if (b) b->click();
        return true;
    }
    return false;
}

}  // namespace sondara::gui
