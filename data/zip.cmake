# Makes the zip of the Windows program or of the web page: installs the build,
# stripped, into a staging directory and packs it with Info-ZIP's zip: every
# file dated by the last commit (package-date.cmake), in name order, with fixed
# modes and without zip's extra fields (owner, access and change times). strip
# writes the same time into a Windows program's PE header, in place of the
# clock's. CPack's ZIP would add the files in the order the file system lists
# them, with their owners, so two builds could differ.
# Usage: cmake -DBUILD_DIR=DIR -DNAME=NAME [-DOUTPUT=OUT] [-DZIP=PATH] -P zip.cmake
#   writes OUT/NAME.zip (OUT: the build directory DIR unless given; PATH: zip's)
include(${CMAKE_CURRENT_LIST_DIR}/package-date.cmake)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  message(FATAL_ERROR "zip: no SOURCE_DATE_EPOCH, and no git history to take it from")
endif()
if(NOT OUTPUT)
  set(OUTPUT ${BUILD_DIR})
endif()
if(NOT ZIP)
  set(ZIP zip)
endif()
set(stage ${OUTPUT}/${NAME}.stage)
set(zip ${OUTPUT}/${NAME}.zip)
file(REMOVE_RECURSE ${stage} ${zip})

# run(COMMAND...): runs a step, and stops with its output when it fails.
function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${stage} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "zip: ${ARGN} failed (${status}):\n${output}")
  endif()
endfunction()

file(MAKE_DIRECTORY ${stage})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage}/${NAME} --strip)
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${stage} ${stage}/*)  # sorted by name
# cmake-lint: disable=E1126
# (cmake-lint 0.6 predates file(CHMOD), of CMake 3.19, and takes its form for a mistake; to the end of
# this file.)
foreach(file IN LISTS files)
  if(file MATCHES "\\.exe$")
    file(CHMOD ${stage}/${file} FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
         WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD ${stage}/${file} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
run(touch -d @$ENV{SOURCE_DATE_EPOCH} ${files})
# zip writes local times: in UTC they are the commit's. -X: no extra fields, -D: no directory entries.
run(${CMAKE_COMMAND} -E env TZ=UTC ${ZIP} -X -D -9 -q ${zip} ${files})
file(REMOVE_RECURSE ${stage})
message(STATUS "zip: ${zip}")
