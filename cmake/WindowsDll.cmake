# Windows additions to the two DLLs, included from the top-level CMakeLists after the targets exist.

# The version-information block of the geometry library's DLL, from the project version.
enable_language(RC)
set(ORV_DLL_FILE_NAME
    ${CMAKE_SHARED_LIBRARY_PREFIX}ORVRWGeometryTools${CMAKE_SHARED_LIBRARY_SUFFIX})
configure_file(${PROJECT_SOURCE_DIR}/orv/ORVRWGeometryTools.rc.in
               ${PROJECT_BINARY_DIR}/ORVRWGeometryTools.rc @ONLY)
target_sources(ORVRWGeometryTools PRIVATE ${PROJECT_BINARY_DIR}/ORVRWGeometryTools.rc)

# MinGW-w64: the DLLs and programs use the compiler's shared C++ runtime (one libstdc++ for the
# libraries and the host, as a host built with the same compiler has). Its DLLs are copied next to
# the programs of the build and installed beside the libraries, where the Windows loader looks.
if(MINGW)
  set(ORV_MINGW_RUNTIME_DLLS)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(IS_ABSOLUTE "${path}" AND EXISTS "${path}")
      get_filename_component(path "${path}" REALPATH)
      list(APPEND ORV_MINGW_RUNTIME_DLLS ${path})
    endif()
  endforeach()
  file(COPY ${ORV_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  install(FILES ${ORV_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
