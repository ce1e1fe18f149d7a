# Fails unless the library's dynamic symbol table defines exactly the host's
# ten entry names.
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(found "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] +" "" name "${line}")
  list(APPEND found ${name})
endforeach()
list(SORT found)
set(expected AddData0 CheckCall0 GetExchgCount0 GetNumberOfSets GetResult0 GetSetName
    IsValidExchg0 RemoveData0 ResetStats0 SetupSet0)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "exports are [${found}], expected [${expected}]")
endif()
