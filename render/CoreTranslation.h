#pragma once
// The language of the core's shown texts (SONDARA_TR): pane labels, information
// lines, mark labels, grid values. The window lets the application's translators
// translate them; the command line, which has no application to install one into,
// loads the program's English translation itself.
namespace sondara::render {

// The core's texts translated by the translators installed on the application.
void TranslateCoreTextsWithApplication();
// The core's texts in English from the embedded translation, no application needed;
// false (texts stay Chinese) when it cannot be loaded.
bool TranslateCoreTextsToEnglish();
// The core's texts in Chinese, as stored.
void KeepCoreTextsChinese();

// SONDARA_LANGUAGE asks for English ("en", "en_GB", ...).
bool EnglishAskedByEnvironment();

}  // namespace sondara::render
