// The four ways of getting the creation time of every file of a list, each timed as a whole.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "workflow/RenamingWorkflow.h"

class TCustomDecoder;

struct TMethodRun {
  double Seconds = 0;                      // wall time of the whole list
  double CpuSeconds = 0;                   // processor time of the whole list, all threads
  std::vector<std::string> CreationTimes;  // one per file, in list order
  std::string Error;                       // set when the method could not run
};

class TLookupMethods {
 public:
  // The workflow must use `decoder`, have its libraries loaded, and outlive this object.
  // `scratchFolder` receives the children's output.
  TLookupMethods(TRenamingWorkflow& workflow, TCustomDecoder& decoder, std::string cliPath,
                 std::string scratchFolder);

  // (a) open, probe, read the dictionary, close; in this process.
  TMethodRun Bare(const std::vector<std::string>& files) const;
  // (b) `morvane-cli list` run in this process: decoder, information text, line search,
  // list lines; the libraries are already loaded.
  TMethodRun CliInProcess(const std::vector<std::string>& files) const;
  // (c) one `morvane-cli list` process over the whole list, start and library load included.
  TMethodRun CliProcess(const std::vector<std::string>& files) const;
  // One morvane-cli process with these arguments, for its start cost; no values.
  TMethodRun CliCommand(const std::vector<std::string>& arguments) const;
  // (d) one ffprobe process per file; the time is that of the children alone.
  TMethodRun FfprobePerFile(const std::vector<std::string>& files) const;

 private:
  TRenamingWorkflow& Workflow_;
  TCustomDecoder& Decoder_;
  std::string CliPath_;
  std::string OutputFile_;
};

// Where the decoder path of (b) spends its time, in seconds summed over the list.
struct TDecoderSteps {
  double LoadFile = 0;      // open, probe and the decoder's bookkeeping
  double FileInfoText = 0;  // the report
  double LineSearch = 0;    // trimming, line buffer, " : " to " = ", key search
  double CloseFile = 0;
  std::size_t Found = 0;  // files whose creation time the search found
};
TDecoderSteps MeasureDecoderSteps(TCustomDecoder& decoder, const std::vector<std::string>& files);

// The creation-time values of `morvane-cli list` output, one per line, in line order.
std::vector<std::string> ListOutputCreationTimes(const std::string& output);
