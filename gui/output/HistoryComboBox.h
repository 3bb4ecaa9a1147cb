#pragma once
// An editable combo box that remembers the texts entered in it (per control, in the
// user's settings): the most recent first, each once, at most 20.
#include <QComboBox>
#include <QString>

namespace sondara::gui {

class HistoryComboBox : public QComboBox {
    Q_OBJECT
public:
    // `key` names the history; `fixed` entries are always offered after the history.
    HistoryComboBox(const QString& key, const QStringList& fixed = {}, QWidget* parent = nullptr);

    // Puts the current text at the front of the history and stores it.
    void remember();
    // Adds a text to the history (front) and shows it.
    void setTextRemembered(const QString& text);

    static constexpr int kMaxEntries = 20;

private:
    void reload();
    QStringList history() const;
    void store(const QStringList& h) const;

    QString key_;
    QStringList fixed_;
};

}  // namespace sondara::gui
