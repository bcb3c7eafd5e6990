# The tests' private temporary folder, listed before and after the suite:
#   cmake -DDIR=<folder> -DMODE=before|after -P TempFolderCheck.cmake
# "before" empties it and keeps its listing; "after" fails when anything is
# there that was not before, other than the per-user folder of the parts
# knowledge and its support files, which the library keeps there by design.
cmake_policy(VERSION 3.25)
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${DIR} ${DIR}/*)
list(FILTER entries EXCLUDE REGEX "^before\\.txt$")
list(SORT entries)
if(MODE STREQUAL "before")
  file(REMOVE_RECURSE ${DIR})
  file(MAKE_DIRECTORY ${DIR})
  # Open to all like /tmp: some tests run the tool as another user.
  execute_process(COMMAND chmod 1777 ${DIR} COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${DIR} ${DIR}/*)
  file(WRITE ${DIR}/before.txt "${entries}")
  return()
endif()
file(READ ${DIR}/before.txt before)
set(left "")
foreach(entry IN LISTS entries)
  if(entry IN_LIST before)
    continue()
  endif()
  if(entry MATCHES "^vellcfgrdr-[0-9]+(/support-[0-9a-f]+(/(FamilyInfo\\.txt|PartDescriptions\\.txt|PartInfo\\.sup|PartMapping\\.txt))?)?$")
    continue()
  endif()
  list(APPEND left ${entry})
endforeach()
if(left)
  list(JOIN left "\n  " text)
  message(FATAL_ERROR "left in the temporary folder ${DIR} by the tests:\n  ${text}")
endif()
message(STATUS "nothing left in ${DIR}")
