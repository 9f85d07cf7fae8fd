// The main window's two choosers and the seam through which they are answered. The window
// hands each configured dialog to a runner; the program's runner shows it modally, tests
// answer it without a person.
#pragma once
#include <QStringList>
#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

// The chosen full paths, or nothing when the dialog was cancelled.
using TDialogRunner = std::function<std::optional<QStringList>(QFileDialog& dialog)>;

// Shows the dialog modally and returns its chosen paths when it was confirmed. The dialog
// keeps no selection once it returns.
std::optional<QStringList> RunDialogModally(QFileDialog& dialog);

// The file-open dialog: several existing files or folders, resizable, name filters matched
// without regard to letter case. Its filters are set by the window.
QFileDialog* MakeOpenDialog(QWidget* owner);
// The folder chooser of a copy, "Copy into folder": one existing folder.
QFileDialog* MakeFolderDialog(QWidget* owner);
