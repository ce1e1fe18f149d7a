# Helpers for the end-to-end replay tests, run as `cmake -P` scripts:
# run velkaro-replay (under EMULATOR when set, e.g. wine) with a time limit
# and check its exit status, output and files.
#
# Variables every script gets: REPLAY (the tool), PLUGIN (the library),
# WORK (a scratch folder of its own), optional EMULATOR.

foreach(var REPLAY PLUGIN WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

# Runs the tool with the given arguments; sets RUN_STATUS, RUN_OUT, RUN_ERR.
function(run_replay)
  execute_process(
    COMMAND ${EMULATOR} ${REPLAY} ${ARGN}
    TIMEOUT 90
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
  set(RUN_STATUS "${status}" PARENT_SCOPE)
  set(RUN_OUT "${out}" PARENT_SCOPE)
  set(RUN_ERR "${err}" PARENT_SCOPE)
  set(RUN_ARGS "${ARGN}" PARENT_SCOPE)
endfunction()

function(fail what)
  message(FATAL_ERROR "${what}\n  arguments: ${RUN_ARGS}\n  exit: ${RUN_STATUS}\n"
                      "--- stdout ---\n${RUN_OUT}\n--- stderr ---\n${RUN_ERR}")
endfunction()

function(expect_status want)
  if(want STREQUAL "nonzero")
    if(RUN_STATUS STREQUAL "0" OR NOT RUN_STATUS MATCHES "^[0-9]+$")
      fail("expected a non-zero exit status")
    endif()
  elseif(NOT RUN_STATUS STREQUAL want)
    fail("expected exit status ${want}")
  endif()
endfunction()

# expect_in(STDOUT|STDERR text...): each text occurs in that stream.
function(expect_in stream)
  if(stream STREQUAL "STDOUT")
    set(haystack "${RUN_OUT}")
  else()
    set(haystack "${RUN_ERR}")
  endif()
  foreach(needle IN LISTS ARGN)
    string(FIND "${haystack}" "${needle}" at)
    if(at EQUAL -1)
      fail("expected ${stream} to contain \"${needle}\"")
    endif()
  endforeach()
endfunction()

function(expect_same_file got want)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${got}" "${want}"
                  RESULT_VARIABLE differs)
  if(differs)
    fail("${got} differs from ${want} (the scratch folder ${WORK} is kept)")
  endif()
endfunction()

function(fresh_dir dir)
  file(REMOVE_RECURSE "${dir}")
  file(MAKE_DIRECTORY "${dir}")
endfunction()
