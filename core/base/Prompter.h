#pragma once
// How core operations show a message or ask a Yes/No question without knowing the
// user interface. The GUI answers with message boxes, the CLI with its --yes/--no
// options, tests with a scripted prompter that records the texts.
#include <string>

namespace sondara {

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void info(const std::string& text) = 0;      // UTF-8 text
    virtual bool askYesNo(const std::string& text) = 0;  // true = Yes
};

// Shows nothing and answers every question with a fixed answer.
class SilentPrompter : public Prompter {
public:
    explicit SilentPrompter(bool answer = false) : answer_(answer) {}
    void info(const std::string&) override {}
    bool askYesNo(const std::string&) override { return answer_; }

private:
    bool answer_;
};

}  // namespace sondara
