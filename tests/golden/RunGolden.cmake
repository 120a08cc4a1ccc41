# Feeds every *.batch file of DIR to probex-calc --batch, and runs probex-calc
# with the arguments of every *.args file (one a line), and compares the
# output with the matching *.expected file, byte for byte, and the exit
# status with the .status file (0 without one).
#
# Every file is run and every difference reported before the test fails;
# the output of a file that differs is written to OUT/<file>.actual (OUT is
# a folder of the build tree, emptied of earlier outputs first), so that the
# source tree is left as it was.
file(GLOB inputs ${DIR}/*.batch ${DIR}/*.args)
if(NOT inputs)
  message(FATAL_ERROR "no golden files in ${DIR}")
endif()
if(NOT OUT)
  message(FATAL_ERROR "OUT: no folder for the outputs")
endif()
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})

set(failures "")
foreach(input ${inputs})
  get_filename_component(name ${input} NAME)
  string(REGEX REPLACE "\\.(batch|args)$" "" stem ${input})
  if(input MATCHES "\\.batch$")
    execute_process(COMMAND ${CALC} --batch INPUT_FILE ${input}
                    OUTPUT_VARIABLE actual RESULT_VARIABLE status)
  else()
    file(STRINGS ${input} arguments)
    execute_process(COMMAND ${CALC} ${arguments} OUTPUT_VARIABLE actual RESULT_VARIABLE status)
  endif()

  set(expected_file ${stem}.expected)
  set(expected "")
  if(EXISTS ${expected_file})
    file(READ ${expected_file} expected)
  else()
    list(APPEND failures "${name}: no ${expected_file}")
  endif()
  if(EXISTS ${expected_file} AND NOT actual STREQUAL expected)
    file(WRITE ${OUT}/${name}.actual "${actual}")
    list(APPEND failures "${name}: output differs: diff ${expected_file} ${OUT}/${name}.actual")
  endif()

  set(status_file ${stem}.status)
  set(expected_status 0)
  if(EXISTS ${status_file})
    file(STRINGS ${status_file} expected_status LIMIT_COUNT 1)
  endif()
  if(NOT status EQUAL expected_status)
    list(APPEND failures "${name}: exit status ${status}, expected ${expected_status}")
  endif()
endforeach()

if(failures)
  list(LENGTH failures count)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${count} golden differences:\n  ${text}")
endif()
