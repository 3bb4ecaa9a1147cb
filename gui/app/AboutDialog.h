#pragma once
// 关于本软件: the program's icon, name, version and licence, and the libraries it
// links with their versions and licences.
#include <QDialog>

class QTextBrowser;

namespace sondara::gui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The libraries table as HTML (also what the dialog shows).
    static QString librariesHtml();

private:
    QTextBrowser* libraries_ = nullptr;
};

}  // namespace sondara::gui
