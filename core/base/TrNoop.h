#pragma once
// Marks a text of the core that the desktop program shows in its widgets. Here it is
// the Chinese text itself, unchanged: the core compares, logs and stores it as it is.
// lupdate collects it (run with -tr-function-alias QT_TRANSLATE_NOOP+=SONDARA_TR_NOOP)
// and the window translates it where it turns it into a widget's text (trCore).
#define SONDARA_TR_NOOP(context, text) text
