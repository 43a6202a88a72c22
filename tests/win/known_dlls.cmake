# Fails when a deliverable imports a library that is no KnownDLL: the loader
# looks for such a library in the program's folder first, where anyone who
# can write there could put one of that name (and have it run elevated).
# Run with -DOBJDUMP=... -DFILES=a;b.
set(known advapi32 clbcatq combase comdlg32 coml2 gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
  normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32)
foreach(file ${FILES})
  execute_process(COMMAND ${OBJDUMP} -p ${file} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${file}: its headers could not be read")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
  if(NOT imports)
    message(FATAL_ERROR "${file}: no imports found, so nothing was checked")
  endif()
  foreach(import ${imports})
    string(REGEX REPLACE "DLL Name: ([^.]+)\\.[dD][lL][lL].*" "\\1" name "${import}")
    string(TOLOWER "${name}" name)
    list(FIND known "${name}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${file} imports ${name}.dll, which is no KnownDLL: load it from System32 instead")
    endif()
  endforeach()
  message(STATUS "${file}: ${imports}")
endforeach()
