# The example contest end to end: the built velkaro-replay drives the built
# plug-in over examples/velkaro-day.adi in a scratch folder, and the result
# text, err.txt and the Cabrillo file must equal examples/expected byte for
# byte. A second run with the Cabrillo switch off and the plug-in found by
# default gives the same table and report and no Cabrillo file.
#
# Extra variable: EXAMPLES (the examples folder).

include(${CMAKE_CURRENT_LIST_DIR}/replay_support.cmake)

set(expected ${EXAMPLES}/expected)
file(GLOB cabrillo_expected RELATIVE ${expected} ${expected}/*.cbr)
list(LENGTH cabrillo_expected count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one .cbr file in ${expected}, found ${count}")
endif()

# The summary's numbers, counted from the expected files.
file(STRINGS ${expected}/${cabrillo_expected} qso_lines REGEX "^QSO: ")
list(LENGTH qso_lines accepted)
file(STRINGS ${expected}/err.txt dupe_lines REGEX "   DUPE !!!")
list(LENGTH dupe_lines dupes)
file(STRINGS ${expected}/err.txt report_lines REGEX "^QSO: ")
list(LENGTH report_lines report_count)
math(EXPR rejected "${report_count} - ${dupes}")

# With the Cabrillo switch on.
set(dir ${WORK}/cabrillo)
fresh_dir(${dir})
file(COPY ${EXAMPLES}/Plugins DESTINATION ${dir})
run_replay(--dir ${dir} --cabrillo --plugin ${PLUGIN} --result-file ${dir}/result.txt
           ${EXAMPLES}/velkaro-day.adi)
expect_status(0)
if(NOT RUN_ERR STREQUAL "")
  fail("the example should replay without a diagnostic")
endif()
expect_same_file(${dir}/result.txt ${expected}/result.txt)
expect_same_file(${dir}/err.txt ${expected}/err.txt)
expect_same_file(${dir}/${cabrillo_expected} ${expected}/${cabrillo_expected})
# The terminal gets the table in UTF-8 ("День велкаро") and the summary.
expect_in(STDOUT "\tДень велкаро 25.05.2025\n" "\tQSOs\tPoints\tCW\tSSB\tRTTY\n"
          "QSOs accepted:        ${accepted}\n" "QSOs rejected:        ${rejected}\n"
          " DUPE lines" "${dupes} DUPE lines" "0 skipped as malformed"
          "Cabrillo file: " "${cabrillo_expected}")

# With the switch off, the plug-in found beside the tool, call and date given.
set(dir ${WORK}/plain)
fresh_dir(${dir})
file(COPY ${EXAMPLES}/Plugins DESTINATION ${dir})
run_replay(--dir=${dir} --call UA3VLK --date 2025-05-25 --result-file ${dir}/result.txt
           ${EXAMPLES}/velkaro-day.adi)
expect_status(0)
expect_same_file(${dir}/result.txt ${expected}/result.txt)
expect_same_file(${dir}/err.txt ${expected}/err.txt)
file(GLOB stray ${dir}/*.cbr)
if(stray)
  fail("no Cabrillo file is written with the switch off, found ${stray}")
endif()

file(REMOVE_RECURSE ${WORK})
