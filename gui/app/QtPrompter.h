#pragma once
// Shows core messages and questions as modal message boxes.
#include <QWidget>

#include "core/base/Prompter.h"

namespace sondara::gui {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void info(const std::string& text) override;
    bool askYesNo(const std::string& text) override;

private:
    QWidget* parent_;
};

}  // namespace sondara::gui
