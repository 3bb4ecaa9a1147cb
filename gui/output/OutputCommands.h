#pragma once
// The desktop's output commands: 保存图形, 生成报告 and 生成报表. Each asks what it
// needs (dialogs), builds its files with the same core and render code as the command
// line, writes them atomically and opens them with the desktop's default program.
#include <QString>
#include <functional>

class QWidget;

namespace sondara {
class WaveDisplayModel;
}

namespace sondara::gui {

class DocumentHost;

// The steps that meet the desktop, replaceable by tests: the save-file dialog and
// opening a file or folder with the default program.
struct OutputShell {
    // Returns the chosen path, or empty when the user cancels.
    std::function<QString(QWidget* parent, const QString& suggested, const QString& filter)> chooseSavePath;
    // True when a program took the file or folder.
    std::function<bool(const QString& path)> open;
    // Runs a dialog modally; returns whether it was accepted (tests answer it).
    std::function<bool(class QDialog& dialog)> exec;
};
OutputShell& outputShell();

// The suggested file: the project's folder (the user's home for a new project) and a
// name from the project name (the file name when it has none), e.g. "滨江花园-检测报告.docx".
QString SuggestedOutputPath(const DocumentHost& host, const QString& suffix, const QString& extension);

// `display` is the active analysis view's display model (null when none is open).
void runSaveImage(QWidget* parent, DocumentHost& host, WaveDisplayModel* display);
void runWordReport(QWidget* parent, DocumentHost& host, WaveDisplayModel* display);
void runExcelReport(QWidget* parent, DocumentHost& host);

}  // namespace sondara::gui
