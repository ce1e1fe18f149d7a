# Tests that fail today for a known reason, shown as "Disabled" by ctest until
# the reason is mended. Each line names the reason.

# A reset that runs out of memory at its very first allocation cannot record
# the contest's own call, so the contest's Cabrillo file goes to VARNO.cbr
# instead of the name this test expects.
set_tests_properties(OutOfMemoryTest.EachAllocationFailingOnce PROPERTIES DISABLED TRUE)
