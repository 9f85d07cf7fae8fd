// The question asked before a copy runs, while the list shows its plan, and the seam
// through which it is answered: the program's runner shows it modally, tests answer it
// without a person.
#pragma once
#include <QString>
#include <functional>

class QMessageBox;

// True when the question was answered with "Copy".
using TQuestionRunner = std::function<bool(QMessageBox& question)>;

// Shows the question modally (the window and its naming options wait, so that what is
// copied is what the plan showed) and tells whether "Copy" was chosen.
bool AskModally(QMessageBox& question);

// Sets `question` up as "Copy file(s)": copy into `folder`? with the plan's `summary`, and
// the buttons "Copy" (the default) and "Cancel" (also Esc).
void SetUpCopyQuestion(QMessageBox& question, const QString& folder, const QString& summary);
