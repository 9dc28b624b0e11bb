# Fails when IMAGE imports a library by name that Windows would look for in the program's own
# folder before the system folder: anything but the system's known DLLs (which are always taken
# from the system folder) and the common controls (resolved side by side through the manifest).
set(allowed
  advapi32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
  psapi.dll rpcrt4.dll shell32.dll shlwapi.dll user32.dll ws2_32.dll ntdll.dll
  comctl32.dll)
execute_process(COMMAND ${OBJDUMP} -p ${IMAGE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not read the import table of ${IMAGE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
if(NOT names)
  message(FATAL_ERROR "no import table found in ${IMAGE}")
endif()
foreach(entry ${names})
  string(REPLACE "DLL Name: " "" dll "${entry}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  list(FIND allowed "${dll}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "${IMAGE} imports ${dll}, which Windows would look for beside the program first: load it from the system folder when needed instead")
  endif()
endforeach()
