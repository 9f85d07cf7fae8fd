# The tests whose subject Windows lacks, left out of the Windows build's run of the tests
# (scripts/test.sh prints their count by reason). Every other test of the media component,
# the workflow and morvane-cli runs there too.
#
# morvane_leave_out(<test binary> <reason> <Suite.Test names...>); the reason is one word.
set(MORVANE_LEFT_OUT_REASONS "")
macro(morvane_leave_out binary reason)
  list(APPEND MORVANE_LEFT_OUT_${binary} ${ARGN})
  list(APPEND MORVANE_LEFT_OUT_REASONS "${reason}")
  list(LENGTH ARGN _count)
  math(EXPR MORVANE_LEFT_OUT_COUNT_${reason} "0${MORVANE_LEFT_OUT_COUNT_${reason}} + ${_count}")
endmacro()

# A whole test binary left out, with the number of tests it holds.
macro(morvane_leave_out_binary binary reason count)
  list(APPEND MORVANE_LEFT_OUT_REASONS "${reason}")
  math(EXPR MORVANE_LEFT_OUT_COUNT_${reason} "0${MORVANE_LEFT_OUT_COUNT_${reason}} + ${count}")
  set(MORVANE_LEFT_OUT_COUNT_${reason} ${MORVANE_LEFT_OUT_COUNT_${reason}} PARENT_SCOPE)
  set(MORVANE_LEFT_OUT_REASONS ${MORVANE_LEFT_OUT_REASONS} PARENT_SCOPE)
endmacro()

# Tells how many tests each reason leaves out.
function(morvane_report_left_out)
  list(REMOVE_DUPLICATES MORVANE_LEFT_OUT_REASONS)
  set(total 0)
  foreach(reason IN LISTS MORVANE_LEFT_OUT_REASONS)
    math(EXPR total "${total} + ${MORVANE_LEFT_OUT_COUNT_${reason}}")
    message(STATUS "Windows: left out ${MORVANE_LEFT_OUT_COUNT_${reason}}: ${reason}")
  endforeach()
  message(STATUS "Windows: left out ${total} tests in all")
endfunction()

morvane_leave_out(workflow_bad_input_test FIFO "*/BadInputTest.*/Pipe")
morvane_leave_out(workflow_folder_walk_test FIFO_and_symbolic_links
  MediaFolderWalkTest.MediaFilesBelowTheFolderSortedByteByByte)
morvane_leave_out(workflow_undo_test FIFO UndoJournalTest.AJournalThatCannotBeWrittenIsReportedOnceAndNeverThrows)
morvane_leave_out(cli_program_test FIFO CliTest.InfoOnAPipeFailsInsteadOfWaitingForData)

morvane_leave_out(workflow_bad_input_test second_user WorkflowTest.FileWithoutReadPermissionGivesAnEmptyRow)
morvane_leave_out(workflow_folder_walk_test second_user MediaFolderWalkTest.AnUnreadableFolderIsReportedAndTheRestWalked)
morvane_leave_out(workflow_rename_copy_test second_user CopyTest.AFolderWithoutWritePermissionGetsNoPartialFile)

morvane_leave_out(cli_hardening_test signals "Signals/CliInterruptTest.EndsWithTheDoneRowsAndNoPartialFile/0"
  "Signals/CliInterruptTest.EndsWithTheDoneRowsAndNoPartialFile/1")
morvane_leave_out(cli_hardening_test mount_namespace
  CliHardeningTest.WithoutItsOwnFolderTheProgramIgnoresTheWorkingFoldersLibraries)
morvane_leave_out(workflow_hardening_test set_user_id HardeningTest.ACopyDoesNotPassOnSetUserOrGroupId)
morvane_leave_out(cli_options_test dev_full CliOptionsTest.OutputThatCannotBeWrittenFailsTheCommand)

morvane_leave_out(workflow_rename_copy_test symbolic_links CopyTest.CopyingAFileOntoItselfLeavesItIntact)
morvane_leave_out(cli_options_test symbolic_links CliOptionsTest.UniqueIsOnlyForTheCommandsThatChangeFiles)
morvane_leave_out(paths_test symbolic_links PathHelpersTest.ExistenceAndSizeOfFilesFoldersAndMissingNames
  PathHelpersTest.DotDotAfterALinkLeadsWhereTheSystemGoes)

# Expectations written in the POSIX form of names ("/" the only delimiter, no drive, no
# ".exe"); the Windows form is checked by the runs of morvane-cli on "C:\" and "Z:\" names.
morvane_leave_out(paths_test POSIX_names PathHelpersTest.IncludeTrailingDelimiter
  PathHelpersTest.RelativeNamesResolveAgainstTheCurrentDirectory PathHelpersTest.ExecutableAndItsFolder
  "Paths/PathSplit.WideAtTheLastDelimiter/*" "Paths/PathSplit.NarrowAgreesWithWide/*")
# The Windows DLLs carry decoders only; this case names the libx264 encoder.
morvane_leave_out(ffutils_media_text_test no_encoders "RealCodecs/CodecNameText.FromCodecOrTag/1")
