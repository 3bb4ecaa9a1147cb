#pragma once
// The defect dialog (缺陷设置) of 自定义 and of editing a defect: an editable name list
// (the seven defect names and the names typed before), the read-only depth of the
// position and a remark box. Texts go in, the two typed texts come out; trimming,
// the 49-byte cut and the kind of the name are the mark operations' business.
#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace sondara::gui {

class DefectDialog : public QDialog {
    Q_OBJECT
public:
    // `choices`: the names offered; `depthText`: "%0.2fm" of the position.
    DefectDialog(const QStringList& choices, const QString& depthText, QWidget* parent = nullptr);

    void setName(const QString& name);
    void setRemark(const QString& remark);
    QString name() const;
    QString remark() const;

    QComboBox* nameBox() const { return name_; }
    QLineEdit* positionBox() const { return position_; }
    QPlainTextEdit* remarkBox() const { return remark_; }

    // The names remembered from earlier entries (kept in the user's settings).
    static std::vector<std::string> loadNameHistory();
    // The names offered: the defect names, then the remembered ones.
    static QStringList nameChoices();
    static void rememberName(const QString& name);

private:
    QComboBox* name_;
    QLineEdit* position_;
    QPlainTextEdit* remark_;
};

}  // namespace sondara::gui
