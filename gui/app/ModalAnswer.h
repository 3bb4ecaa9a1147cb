#pragma once

namespace sondara::gui {

// Answers the window that is open modally with its default button (OK with the values
// shown), or accepts it when it has none. Nothing open: nothing happens. For callers
// that drive the program without a person at it (the start-up command hook, tests).
void answerActiveModalWithDefault();

}  // namespace sondara::gui
