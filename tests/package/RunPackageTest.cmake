# Installs the built library into a fresh prefix, then configures, builds and runs the host project
# in this folder against it. Any failing step fails the test.
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
run_step(${CMAKE_COMMAND} -S ${ORV_HOST_SOURCE} -B ${hostbuild}
         -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${ORV_CXX_COMPILER}
         "-DCMAKE_CXX_FLAGS=${ORV_CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${ORV_EXE_LINKER_FLAGS}"
         -DCMAKE_BUILD_TYPE=${ORV_BUILD_TYPE})
run_step(${CMAKE_COMMAND} --build ${hostbuild})
run_step(${hostbuild}/orv_package_host)
