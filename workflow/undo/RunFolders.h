// Where the files of a journalled rename run were, in a few words for `undo --list`.
#pragma once
#include <string>

#include "workflow/undo/UndoJournal.h"

// The folder that held the run's files before it renamed them ("/home/me/Videos"). Files
// from several folders give how many and the deepest folder that holds them all ("3
// folders within /home/me/Videos"), or only how many when they share nothing but the
// root ("2 folders").
std::string RunFolderText(const TJournalRun& run);
