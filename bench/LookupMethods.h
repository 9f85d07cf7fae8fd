// The ways of getting the creation time of every file of a list, each timed as a whole.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "workflow/RenamingWorkflow.h"

class TFFDecoder;

struct TMethodRun {
  double Seconds = 0;                      // wall time of the whole list
  double CpuSeconds = 0;                   // processor time of the whole list, all threads
  std::vector<std::string> CreationTimes;  // one per file, in list order
  std::string Output;                      // a child's standard output
  std::string Error;                       // set when the method could not run
};

class TLookupMethods {
 public:
  // The workflow must use `decoder`, have its libraries loaded, and outlive this object.
  // `scratchFolder` receives the children's output.
  TLookupMethods(TRenamingWorkflow& workflow, TFFDecoder& decoder, std::string cliPath,
                 std::string scratchFolder);

  // Open, read the dictionary, close; in this process, without and with the stream probe.
  TMethodRun OpenOnly(const std::vector<std::string>& files) const;
  TMethodRun Bare(const std::vector<std::string>& files) const;
  // `morvane-cli list OPTIONS FILES` run in this process: the lookups and the list lines,
  // with the libraries already loaded.
  TMethodRun CliInProcess(const std::vector<std::string>& files, const std::vector<std::string>& options) const;
  // One `morvane-cli list OPTIONS FILES` process, start and library load included.
  TMethodRun CliProcess(const std::vector<std::string>& files, const std::vector<std::string>& options) const;
  // One morvane-cli process with these arguments, for its start cost; no values.
  TMethodRun CliCommand(const std::vector<std::string>& arguments) const;
  // One ExifTool process in batch mode over the whole list. Its values are the creation
  // time in its own form and zone, so only their presence can be compared.
  TMethodRun ExifToolBatch(const std::vector<std::string>& files) const;
  // One ffprobe process per file; the time is that of the children alone.
  TMethodRun FfprobePerFile(const std::vector<std::string>& files) const;

 private:
  TRenamingWorkflow& Workflow_;
  TFFDecoder& Decoder_;
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
// The values of `exiftool -s3` output for `files` files, one per file in order; empty for
// a file that gave none.
std::vector<std::string> ExifToolValues(const std::string& output, std::size_t files);
