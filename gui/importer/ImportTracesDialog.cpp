#include "gui/importer/ImportTracesDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/app/Translation.h"
#include "gui/frame/CommandRegistry.h"
#include "gui/frame/MainFrame.h"

namespace sondara::gui {

namespace {
constexpr const char* kTitle = QT_TRANSLATE_NOOP("QObject", "导入波形");

// A message of the import, "中文 / English" after the file's path: both halves in the
// Chinese window as always, the English half in the English window.
QString importMessage(const std::string& message, const std::vector<std::string>& paths) {
    const QString text = trCore(message);
    if (QObject::tr(kTitle) == QString::fromUtf8(kTitle)) return text;
    std::string prefix;
    for (const std::string& p : paths)
        if (message.compare(0, p.size() + 2, p + ": ") == 0) prefix = p + ": ";
    const std::size_t half = message.rfind(" / ");
    if (half == std::string::npos || half < prefix.size()) return text;
    return QString::fromUtf8(prefix + message.substr(half + 3));
}

QLineEdit* addField(QFormLayout* form, const QString& caption, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    auto* label = new QLabel(caption, parent);
    label->setBuddy(edit);
    edit->setAccessibleName(QString(caption).remove('&'));
    form->addRow(label, edit);
    return edit;
}
}  // namespace

ImportTracesDialog::ImportTracesDialog(const QStringList& files, bool intervalNeeded,
                                       const std::vector<double>& intervalsRead, QWidget* parent)
    : QDialog(parent), intervalNeeded_(intervalNeeded) {
    setWindowTitle(QObject::tr(kTitle));
    auto* v = new QVBoxLayout(this);
    QStringList names;
    for (const QString& f : files) names << QFileInfo(f).fileName();
    auto* what = new QLabel(QObject::tr("文件：") + names.join(QObject::tr("，")), this);
    what->setWordWrap(true);
    v->addWidget(what);
    QStringList read;
    for (double us : intervalsRead) read << QString::number(us, 'g', 10);
    auto* readLabel = new QLabel(
        read.isEmpty() ? QObject::tr("文件中没有采样间隔")
                       : QObject::tr("文件中的采样间隔(us)：%1").arg(read.join(QObject::tr("，"))),
        this);
    readLabel->setObjectName("intervalsRead");
    readLabel->setWordWrap(true);
    v->addWidget(readLabel);
    auto* form = new QFormLayout;
    interval_ = addField(form, QObject::tr("采样间隔(&T)(us)："), this);
    interval_->setPlaceholderText(intervalNeeded ? QObject::tr("文件中没有，必须填写")
                                                 : QObject::tr("文件中已给出"));
    interval_->setEnabled(intervalNeeded);
    if (!intervalNeeded && read.size() == 1) interval_->setText(read[0]);
    sensor_ = new QComboBox(this);
    sensor_->addItems({QObject::tr("加速度"), QObject::tr("速度")});
    auto* sensorLabel = new QLabel(QObject::tr("传感器类型(&S)："), this);
    sensorLabel->setBuddy(sensor_);
    sensor_->setAccessibleName(QObject::tr("传感器类型："));
    form->addRow(sensorLabel, sensor_);
    length_ = addField(form, QObject::tr("桩长(&L)(m)："), this);
    speed_ = addField(form, QObject::tr("波速(&V)(m/s)："), this);
    length_->setPlaceholderText(QObject::tr("可不填"));
    speed_->setPlaceholderText(QObject::tr("可不填"));
    v->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImportTracesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ImportTracesDialog::reject);
    v->addWidget(buttons);
}

void ImportTracesDialog::accept() {
    TraceImportForm f;
    f.interval = interval_->isEnabled() ? interval_->text().toStdString() : std::string();
    f.sensor = sensor_->currentIndex();
    f.length = length_->text().toStdString();
    f.speed = speed_->text().toStdString();
    f.intervalNeeded = intervalNeeded_;
    const std::string message = readTraceImportForm(f, options_);
    if (!message.empty()) {
        QMessageBox::warning(this, QObject::tr(kTitle), trCore(message));
        return;
    }
    QDialog::accept();
}

void runImportTraces(CMainFrame& frame) {
    const QStringList files = QFileDialog::getOpenFileNames(
        &frame, QObject::tr(kTitle), QString(),
        QObject::tr("波形文本 (*.txt *.csv *.tsv *.dat);;所有文件 (*)"));
    if (!files.isEmpty()) importTraces(frame, files);
}

void importTraces(CMainFrame& frame, const QStringList& files) {
    CSondaraApp& app = frame.app();
    std::vector<std::string> paths;
    for (const QString& f : files) paths.push_back(QFile::encodeName(f).toStdString());

    // a first reading tells whether the files give their sample interval, and which
    bool needsInterval = false;
    std::vector<double> intervalsRead;
    CSondaraDoc trial;
    std::string message = ImportTraceFiles(trial, paths, {}, &needsInterval, &intervalsRead);
    if (!message.empty() && !needsInterval) {
        QMessageBox::warning(&frame, QObject::tr(kTitle), importMessage(message, paths));
        return;
    }
    ImportTracesDialog dlg(files, needsInterval, intervalsRead, &frame);
    if (dlg.exec() != QDialog::Accepted) return;
    message = ImportTraceFiles(trial, paths, dlg.options());
    if (!message.empty()) {
        QMessageBox::warning(&frame, QObject::tr(kTitle), importMessage(message, paths));
        return;
    }
    // the open project's changes are saved or dropped once, as the user answers
    if (!app.saveModified()) return;
    if (DocumentHost* old = app.document()) old->doc().setModified(false);
    app.newDocument();
    if (DocumentHost* h = app.document())
        ImportTraceFiles(h->doc(), paths, dlg.options());  // announces the new point list
}

namespace {
const CommandModuleRegistrar kRegistrar([](CommandRegistry& r, CMainFrame& frame) {
    CMainFrame* f = &frame;
    r.add({CommandId::FileImportTraces, [f] { runImportTraces(*f); }, {}, {}});
});
}  // namespace

}  // namespace sondara::gui
