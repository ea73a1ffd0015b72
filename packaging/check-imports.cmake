# Fails when a shipped program imports a library that Windows does not
# protect. Such a library is looked for first in the program's own folder,
# and the runtime's folder is one every user may add files to; the libraries
# below are KnownDLLs, always taken from the system folder together with
# what they import. A program whose manifest asks for Common Controls 6 (the
# configurator) gets comctl32 from the system's side-by-side store, which is
# looked in before the program's folder.
#   cmake -DOBJDUMP=... -DPROGRAMS="a.exe;b.exe" -DMANIFESTED="b.exe" -P check-imports.cmake
cmake_minimum_required(VERSION 3.21)
set(protected advapi32 comdlg32 gdi32 kernel32 msvcrt ole32 oleaut32 psapi shell32 shlwapi user32)
set(failed "")
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND ${OBJDUMP} -p ${program} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot read the import table of ${program}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  foreach(line IN LISTS imports)
    string(REGEX REPLACE "DLL Name: ([^.]+)\\.[dD][lL][lL]" "\\1" library "${line}")
    string(TOLOWER "${library}" library)
    message(STATUS "${program}: ${library}")
    if(library STREQUAL "comctl32" AND program IN_LIST MANIFESTED)
      continue()
    endif()
    if(NOT library IN_LIST protected)
      list(APPEND failed "${program} imports ${library}")
    endif()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "Imports of libraries Windows does not protect (load them from the system folder at run "
                      "time instead):\n${failed}")
endif()
