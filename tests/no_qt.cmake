# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a file of the core includes a Qt header or the driver links a Qt library.
file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/tools/*.h
     ${SOURCE_DIR}/tools/*.cpp)
foreach(file ${sources})
  if(file MATCHES "/src/platform/qt/" OR file MATCHES "/src/main\\.cpp$")
    continue()
  endif()
  file(STRINGS ${file} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
  if(hits)
    message(FATAL_ERROR "${file} includes Qt: ${hits}")
  endif()
endforeach()
execute_process(COMMAND ldd ${DRIVER} OUTPUT_VARIABLE libs RESULT_VARIABLE rc)
if(libs MATCHES "libQt")
  message(FATAL_ERROR "vantrel-script links Qt:\n${libs}")
endif()
message(STATUS "core and driver are free of Qt")
