# The count of tests that the Windows build leaves out, by reason: those of test sources
# that need POSIX as a whole (morvane_posix_only_tests). Single tests that need what a
# system lacks skip themselves, naming it (support/TestNeeds.h). The count per reason is
# kept in global properties, so that any folder of tests can add to it.
function(morvane_count_left_out reason count)
  set_property(GLOBAL APPEND PROPERTY MORVANE_LEFT_OUT_REASONS ${reason})
  get_property(before GLOBAL PROPERTY MORVANE_LEFT_OUT_COUNT_${reason})
  math(EXPR after "0${before} + ${count}")
  set_property(GLOBAL PROPERTY MORVANE_LEFT_OUT_COUNT_${reason} ${after})
endfunction()

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
