# Each subsystem folder holds portable files (x.cpp) and Win32 files (x_win.cpp).
# The portable ones form the core library that every build and test uses; the
# Win32 ones are compiled only into zirn.exe.
function(zirn_collect out_portable out_win)
  set(portable)
  set(win)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp)
    foreach(f IN LISTS found)
      if(f MATCHES "_win\\.cpp$")
        list(APPEND win ${f})
      else()
        list(APPEND portable ${f})
      endif()
    endforeach()
  endforeach()
  set(${out_portable} ${portable} PARENT_SCOPE)
  set(${out_win} ${win} PARENT_SCOPE)
endfunction()
