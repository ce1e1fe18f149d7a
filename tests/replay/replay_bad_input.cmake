# velkaro-replay on bad input: malformed records are reported and skipped
# (exit 0); an unreadable log, a plug-in that cannot be loaded, a missing
# folder and a bad command line end with a non-zero status and a message.
#
# Extra variables: FIXTURES (this folder), EXAMPLES.

include(${CMAKE_CURRENT_LIST_DIR}/replay_support.cmake)

fresh_dir(${WORK})
set(log ${EXAMPLES}/velkaro-day.adi)

# Four broken records among six: each reported with its number and field.
run_replay(--dir ${WORK} --plugin ${PLUGIN} ${FIXTURES}/malformed.adi)
expect_status(0)
expect_in(STDERR "record 2, QSO_DATE" "record 3, CALL: missing" "record 5, TIME_ON"
          "record 6, SRX_STRING: the length 30 runs past the end")
expect_in(STDOUT "6 records, 2 QSOs replayed, 4 skipped as malformed"
          "40m\t 1\t 1\t 1\t 0\t 0\n" "Total\t 1\t 1\t 1\t 0\t 0\n" "QSOs accepted:        1\n"
          "NO CONTEST BAND: 1\n" "Contestant: UA3VLK \n" "25.05.2025")
file(READ ${WORK}/err.txt report)
string(FIND "${report}" "R3ABE  599  020   NO CONTEST BAND !!!" at)
if(at EQUAL -1)
  fail("err.txt lacks the 20 m QSO: ${report}")
endif()

# A log cut in the middle of a record: the records before the cut are
# replayed, the cut one is skipped.
file(READ ${log} whole LIMIT 20000)
string(REGEX MATCH "<EOR>\n$" ends_whole "${whole}")
if(ends_whole)
  message(FATAL_ERROR "choose another cut: 20000 bytes end a record")
endif()
file(WRITE ${WORK}/truncated.adi "${whole}")
run_replay(--dir ${WORK} --plugin ${PLUGIN} ${WORK}/truncated.adi)
expect_status(0)
expect_in(STDERR "record skipped")
expect_in(STDOUT "1 skipped as malformed" "Total\t ")

# An empty log is a contest without QSOs.
file(WRITE ${WORK}/empty.adi "")
run_replay(--dir ${WORK} --plugin ${PLUGIN} --call R3AB ${WORK}/empty.adi)
expect_status(0)
expect_in(STDOUT "Total\t 0\t 0\t 0\t 0\t 0\n" "Score:  = 0")
expect_in(STDERR "no ADIF records")

# Unreadable logs.
run_replay(--dir ${WORK} --plugin ${PLUGIN} ${WORK}/no-such-log.adi)
expect_status(nonzero)
expect_in(STDERR "cannot read the log")
run_replay(--dir ${WORK} --plugin ${PLUGIN} ${WORK})
expect_status(nonzero)
expect_in(STDERR "cannot read the log")

# A plug-in that cannot be loaded: a missing path, a file that is no library.
run_replay(--dir ${WORK} --plugin ${WORK}/no-such-plugin ${log})
expect_status(nonzero)
expect_in(STDERR "cannot load the plug-in")
run_replay(--dir ${WORK} --plugin ${log} ${log})
expect_status(nonzero)
expect_in(STDERR "cannot load the plug-in")

# A folder that does not exist.
run_replay(--dir ${WORK}/no-such-folder --plugin ${PLUGIN} ${log})
expect_status(nonzero)
expect_in(STDERR "cannot change to the folder")

# The command line.
run_replay(--help)
expect_status(0)
expect_in(STDOUT "Usage: velkaro-replay")
run_replay(--frobnicate ${log})
expect_status(2)
run_replay(--plugin ${PLUGIN})
expect_status(2)
expect_in(STDERR "no log given")
run_replay(--date 2025-02-30 ${log})
expect_status(2)
run_replay(${log} --dir)
expect_status(2)

file(REMOVE_RECURSE ${WORK})
