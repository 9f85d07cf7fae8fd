# The tests whose subject Windows lacks, left out of the Windows build's run of the tests
# (scripts/test.sh prints their count by reason). Every other test of the media component,
# the workflow and morvane-cli runs there too.
#
# morvane_leave_out(<test binary> <reason> <Suite.Test names...>); the reason is one word.
# The count of tests left out per reason is kept in global properties, so that any folder
# of tests can add to it.
function(morvane_count_left_out reason count)
  set_property(GLOBAL APPEND PROPERTY MORVANE_LEFT_OUT_REASONS ${reason})
  get_property(before GLOBAL PROPERTY MORVANE_LEFT_OUT_COUNT_${reason})
  math(EXPR after "0${before} + ${count}")
  set_property(GLOBAL PROPERTY MORVANE_LEFT_OUT_COUNT_${reason} ${after})
endfunction()

macro(morvane_leave_out binary reason)
  list(APPEND MORVANE_LEFT_OUT_${binary} ${ARGN})
  set(_left_out ${ARGN})
  list(LENGTH _left_out _count)
  morvane_count_left_out(${reason} ${_count})
endmacro()

# Tells how many tests each reason leaves out.
function(morvane_report_left_out)
  get_property(reasons GLOBAL PROPERTY MORVANE_LEFT_OUT_REASONS)
  list(REMOVE_DUPLICATES reasons)
  set(total 0)
  foreach(reason IN LISTS reasons)
    get_property(count GLOBAL PROPERTY MORVANE_LEFT_OUT_COUNT_${reason})
    math(EXPR total "${total} + ${count}")
    message(STATUS "Windows: left out ${count}: ${reason}")
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

# Stops by POSIX signals at chosen moments; under Wine their stand-in is not timed reliably.
morvane_leave_out(cli_hardening_test signals "Signals/CliInterruptTest.*"
  CliHardeningTest.AnInterruptedCopyOfManyFilesLeavesOnlyWholeCopiesAndNoTemporaryFile)
morvane_leave_out(cli_hardening_test resource_limits CliHardeningTest.AFileSizeLimitFailsTheRowInsteadOfEndingTheProcess)
morvane_leave_out(cli_options_test terminal CliOptionsTest.ProgressShowsOnATerminalOnly)
morvane_leave_out(cli_hardening_test mount_namespace
  CliHardeningTest.WithoutItsOwnFolderTheProgramIgnoresTheWorkingFoldersLibraries)
morvane_leave_out(cli_options_test dev_full CliOptionsTest.OutputThatCannotBeWrittenFailsTheCommand)

morvane_leave_out(workflow_rename_copy_test symbolic_links CopyTest.CopyingAFileOntoItselfLeavesItIntact)
morvane_leave_out(cli_options_test symbolic_links CliOptionsTest.UniqueIsOnlyForTheCommandsThatChangeFiles)
morvane_leave_out(paths_test symbolic_links PathHelpersTest.ExistenceAndSizeOfFilesFoldersAndMissingNames
  PathHelpersTest.DotDotAfterALinkLeadsWhereTheSystemGoes)
# Wine makes no symbolic links ("Function not implemented").
morvane_leave_out(platform_contract_test symbolic_links FolderListingTest.ALinkIsListedAsALinkAndNotOpenedBelow)
morvane_leave_out(workflow_folder_pattern_test symbolic_links
  FolderPatternTest.AFolderThatIsASymbolicLinkIsRefusedAndNothingGoesThroughIt)
morvane_leave_out(workflow_folder_walk_test symbolic_links MediaFolderWalkTest.AFolderSwappedForALinkDuringTheWalkIsNotFollowed)
morvane_leave_out(workflow_folder_walk_test symbolic_links MediaFolderWalkTest.FilesLeftOutAreCountedByKindAndSidecarsOfMediaAreNot)
morvane_leave_out(cli_options_test symbolic_links CliRecursiveTest.AFolderIsWalkedForItsMediaFilesWithRecursive
  CliRecursiveTest.CopyWalksTheFolderAndLeavesItAsItIs CliRecursiveTest.WithoutRecursiveAFolderIsNotARegularFileAndSaysToUseRecursive)

# Names with characters that Windows does not allow in names (\ * ? < > | and control
# characters), names and paths beyond Windows' limits, and the POSIX texts of errors and
# permission bits.
morvane_leave_out(workflow_rename_copy_test POSIX_name_characters RenameTest.CharactersOtherThanTheColonStayInTheName)
morvane_leave_out(cli_hardening_test POSIX_name_characters CliHardeningTest.ControlCharactersOfANameReachTheTerminalAsBlanks)
morvane_leave_out(cli_command_line_test POSIX_name_characters
  CliCommandLineTest.DiagnosticsNameTheProgramAndBlankControlCharacters)
morvane_leave_out(file_info_text_test POSIX_name_characters FileInfoTextTest.ALineBreakInTheFileNameCannotForgeALine)
morvane_leave_out(cli_program_test POSIX_name_characters CliTest.NamesWithBlanksNonAsciiLeadingDashAndTabs)
morvane_leave_out(workflow_hardening_test POSIX_path_limit HardeningTest.NamesUpToTheSystemsPathLimitAreReadRenamedAndCopied
  HardeningTest.ANameBeyondThePathLimitCannotBeRead)
morvane_leave_out(decoder_test POSIX_path_limit DecoderTest.ANameTooLongForTheNameBufferFailsWithAClearMessage)
morvane_leave_out(workflow_bad_input_test POSIX_path_limit WorkflowTest.TenKilobyteCreationTimeDoesNotBreakTheRow)
morvane_leave_out(picture_file_test POSIX_error_texts PictureFileTest.AFailedWriteSaysWhyAndLeavesNoPartialFile)
morvane_leave_out(workflow_undo_test POSIX_modes UndoJournalTest.RecordsReadBackWithEveryByteOfTheirPaths)

# AV1: the libraries decode it only through an outside decoder library, which the Windows
# DLLs are built without.
morvane_leave_out(frame_walk_test components_not_in_the_DLLs "Clips/FrameWalkTest.EveryWalkGivesTheForwardWalksFrames/Av1InMatroska")
# The Windows DLLs carry decoders and demuxers only; these cases name encoders or a muxer.
morvane_leave_out(ffutils_media_text_test no_encoders_or_muxers "RealCodecs/CodecNameText.FromCodecOrTag/1"
  "RealCodecs/CodecNameText.FromCodecOrTag/3")
morvane_leave_out(ffutils_codec_options_test no_encoders_or_muxers CodecOptionsTest.OutputContextTakesEncodingOptions)
