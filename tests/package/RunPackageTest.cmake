# Installs the built library into a fresh prefix, then configures, builds and runs the host project
# in this folder against it. Any failing step fails the test.
cmake_minimum_required(VERSION 3.20)
set(prefix ${ORV_WORK_DIR}/prefix)
set(hostbuild ${ORV_WORK_DIR}/host)
file(REMOVE_RECURSE ${ORV_WORK_DIR})

function(run_step)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "step failed (${rc}): ${ARGV}")
  endif()
endfunction()

run_step(${CMAKE_COMMAND} --install ${ORV_BUILD_DIR} --prefix ${prefix})

# Nothing internal is installed, and every installed header finds the headers it includes.
file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/*)
set(internal ${headers})
list(FILTER internal INCLUDE REGEX "/detail/|^orv/math/|/Config.h$|/PointFile.h$")
if(internal OR NOT "orv/GeometryTools.h" IN_LIST headers)
  message(FATAL_ERROR "wrong headers installed: ${headers}")
endif()
foreach(header ${headers})
  file(STRINGS ${prefix}/include/${header} includes REGEX "^#include \"")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
    if(NOT EXISTS ${prefix}/include/${included})
      message(FATAL_ERROR "installed ${header} includes ${included}, which is not installed")
    endif()
  endforeach()
endforeach()
# The README's C++ quick start (the first ```cpp block after "## Quick start (C++)"), built and run
# as a second host program.
file(READ ${ORV_README} readme)
string(FIND "${readme}" "## Quick start (C++)" at)
if(at LESS 0)
  message(FATAL_ERROR "README has no C++ quick start")
endif()
string(SUBSTRING "${readme}" ${at} -1 readme)
string(FIND "${readme}" "```cpp\n" begin)
string(SUBSTRING "${readme}" ${begin} -1 readme)
string(LENGTH "```cpp\n" fence)
string(SUBSTRING "${readme}" ${fence} -1 readme)
string(FIND "${readme}" "```" end)
string(SUBSTRING "${readme}" 0 ${end} quickstart)
file(WRITE ${ORV_WORK_DIR}/quickstart.cpp "${quickstart}")

run_step(${CMAKE_COMMAND} -S ${ORV_HOST_SOURCE} -B ${hostbuild}
         -DORV_QUICKSTART=${ORV_WORK_DIR}/quickstart.cpp -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${ORV_CXX_COMPILER}
         "-DCMAKE_CXX_FLAGS=${ORV_CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${ORV_EXE_LINKER_FLAGS}"
         -DCMAKE_BUILD_TYPE=${ORV_BUILD_TYPE})
run_step(${CMAKE_COMMAND} --build ${hostbuild})
run_step(${hostbuild}/orv_package_host)
run_step(${hostbuild}/orv_quickstart)
