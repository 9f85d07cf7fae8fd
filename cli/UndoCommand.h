// morvane-cli undo: puts back the files of a journalled rename run, or lists the runs.
#pragma once
#include <iosfwd>
#include <string>

// `runId` empty: the most recent run not yet undone. Writes one row per file (current path,
// old path, result) and returns the exit status: 0 when every file went back, 1 otherwise.
int RunUndo(const std::string& runId, std::ostream& out, std::ostream& err);
// One line per journalled run, oldest first.
int ListUndoRuns(std::ostream& out, std::ostream& err);
