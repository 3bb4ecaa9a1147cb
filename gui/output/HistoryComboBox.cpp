#include "gui/output/HistoryComboBox.h"

#include <QSettings>

#include "gui/app/UserSettings.h"

namespace sondara::gui {

HistoryComboBox::HistoryComboBox(const QString& key, const QStringList& fixed, QWidget* parent)
    : QComboBox(parent), key_(key), fixed_(fixed) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    reload();
    // The most recent text is shown; without a history the box starts empty.
    const QStringList h = history();
    setEditText(h.isEmpty() ? QString() : h.front());
}

QStringList HistoryComboBox::history() const {
    QSettings s = userSettings();
    QStringList h = s.value("ComboHistory/" + key_).toStringList();
    if (h.size() > kMaxEntries) h = h.mid(0, kMaxEntries);
    return h;
}

void HistoryComboBox::store(const QStringList& h) const {
    QSettings s = userSettings();
    s.setValue("ComboHistory/" + key_, h);
}

void HistoryComboBox::reload() {
    const QString text = currentText();
    clear();
    QStringList all = history();
    for (const QString& f : fixed_)
        if (!all.contains(f)) all << f;
    addItems(all);
    setEditText(text);
}

void HistoryComboBox::setTextRemembered(const QString& text) {
    if (text.isEmpty()) return;
    QStringList h = history();
    h.removeAll(text);
    h.prepend(text);
    store(h.mid(0, kMaxEntries));
    reload();
    setEditText(text);
}

void HistoryComboBox::remember() {
    setTextRemembered(currentText().trimmed());
}

}  // namespace sondara::gui
