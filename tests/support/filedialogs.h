#pragma once
// Answers to the Load and Save dialogs, given before the click that opens
// them modally: they act once the dialog is up, as a user would.

#include <QString>

namespace tavtest {

// The next Save dialog gets `name` typed and OK, or Cancel for an empty name.
void answerSaveDialog(const QString &name);
// The next Load dialog gets its file in `row` chosen and OK.
void answerLoadDialog(int row = 0);

} // namespace tavtest
