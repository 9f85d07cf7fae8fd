// The window's read of picked files, added to those listed: the workflow reads them on its
// worker threads, driven from a thread of its own, so that the window keeps repainting and
// a click on Cancel or a press of Esc is seen at once, even while a slow file is being read.
#include <QEventLoop>
#include <QMetaObject>
#include <exception>
#include <thread>

#include "window/FileNameText.h"
#include "window/MainWindow.h"
#include "window/ProgressStrip.h"
#include "workflow/RenamingWorkflow.h"

void TfrmDecoder::ReadOnWorkers(const std::vector<std::string>& files) {
  const TProgressEvent progress = Workflow_->OnProgress;
  // The workflow's events arrive on the reading thread; the window takes them up in order.
  // The reading thread waits for each step to be shown, so that a stop asked for at a step
  // keeps exactly the rows read before it (the worker threads read on meanwhile).
  Workflow_->OnProgress = [this](std::size_t index, std::size_t count, const std::string& fileName) {
    QMetaObject::invokeMethod(
        this, [this, index, count, fileName] { Progress_->Step(ProgressVerb_, index, count, DisplayFileName(fileName)); },
        Qt::BlockingQueuedConnection);
  };
  Workflow_->OnRowRead = [this](const TFileRow& row) {
    QMetaObject::invokeMethod(this, [this, row] { RowsRead_.push_back(row); }, Qt::QueuedConnection);
  };
  RowsRead_ = Workflow_->Rows();
  Reading_ = true;
  ShowRows();
  QEventLoop loop;
  std::exception_ptr failure;
  {
    std::jthread reader([&] {
      try {
        ReadNew_ = Workflow_->AddFiles(files);
      } catch (...) {
        failure = std::current_exception();
      }
      // Queued behind the thread's last row, so that every row is taken up before the end.
      QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
  }
  Reading_ = false;
  RowsRead_.clear();
  Workflow_->OnRowRead = nullptr;
  Workflow_->OnProgress = progress;
  if (failure) std::rethrow_exception(failure);
}
