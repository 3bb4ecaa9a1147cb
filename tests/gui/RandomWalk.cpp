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
    s << "point " << point << ": " << name << " differs after saving and reading back";
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

std::string checkSavedDocument(const CSondaraDoc& d, const std::string& folder) {
    CSondaraDoc copy;
    copy.info = d.info;
    copy.points = d.points;
    copy.originalInfo = d.originalInfo;
    copy.originalPoints = d.originalPoints;
    const std::string first = folder + "/walk-check.qar", second = folder + "/walk-check-2.qar";
    std::string error;
    if (!WriteProject(copy, first, &error)) return "writing the document failed: " + error;
    CSondaraDoc back;
    std::string warning;
    const std::string readError = ReadProject(back, first, &warning);
    if (!readError.empty()) return "reading the saved document failed: " + readError;
    if (back.pointCount() != d.pointCount())
        return "saved " + std::to_string(d.pointCount()) + " points, read back " +
               std::to_string(back.pointCount());
    for (int i = 0; i < d.pointCount(); ++i) {
        const TestPoint& a = d.points[i];
        const TestPoint& b = back.points[i];
        std::string diff;
        bool fixedEqual = true;
        forEachFixedField(a, b, [&](const auto& x, const auto& y) {
            if (!(x == y)) fixedEqual = false;
        });
        if (!fixedEqual)
            return "point " + std::to_string(i) + ": pile fields differ after reading back";
        // a defect's position is read back from its depth (from the head as it is then),
        // so only the rest of the mark must come back unchanged
        auto withoutPositions = [](std::vector<PileMark> marks) {
            for (PileMark& m : marks) m.position = 0;
            return marks;
        };
        for (const std::string& s :
             {fieldDiff("raw trace", i, a.rawSamples, b.rawSamples),
              fieldDiff("processed trace", i, a.samples, b.samples),
              fieldDiff("processing chain", i, a.steps, b.steps),
              fieldDiff("defects", i, withoutPositions(a.defects), withoutPositions(b.defects)),
              fieldDiff("spectrum marks", i, a.spectrumMarks, b.spectrumMarks),
              fieldDiff("correlation marks", i, a.correlationMarks, b.correlationMarks),
              fieldDiff("wavelet marks", i, a.waveletMarkPositions, b.waveletMarkPositions),
              fieldDiff("check box", i, a.checked, b.checked)})
            if (!s.empty()) return s;
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
    if (!host) return;
    const CSondaraDoc& d = host->doc();
    std::string e = checkDocumentInvariants(d);
    if (!e.empty()) {
        fail(std::string(when) + ": " + e);
        return;
    }
    // an empty document saves but does not read back (the reader refuses a count of 0):
    // a known limit of the file format, not checked here
    if (depth_ == 0 && o_.saveEvery > 0 && step_ % o_.saveEvery == 0 && d.pointCount() > 0) {
        e = checkSavedDocument(d, o_.folder);
        if (!e.empty()) fail(e);
    }
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
