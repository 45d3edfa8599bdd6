# Prints a Windows program's size and the DLLs it imports, and fails when any of them is not a
# Windows system DLL: a program that needs, say, libstdc++-6.dll or libwinpthread-1.dll beside it
# does not start on a machine without them.
#
#   cmake -DPROGRAM=Relingo.exe -DOBJDUMP=x86_64-w64-mingw32-objdump -P CheckImports.cmake
#   cmake -DLISTING=saved.txt -P CheckImports.cmake     (a saved "objdump -p" listing instead)
cmake_minimum_required(VERSION 3.25)

# DLLs that every Windows installation has, compared without regard to case. imm32 is the input
# method manager, which the name box's IMEMode works through.
set(system_dlls
    kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 comctl32 comdlg32 version msvcrt
    uxtheme shlwapi ntdll imm32)

if(DEFINED LISTING)
    file(READ "${LISTING}" listing)
    set(name "${LISTING}")
elseif(DEFINED PROGRAM AND DEFINED OBJDUMP)
    if(NOT EXISTS "${PROGRAM}")
        message(FATAL_ERROR "${PROGRAM} does not exist")
    endif()
    execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}"
        OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed (${status}): ${errors}")
    endif()
    get_filename_component(name "${PROGRAM}" NAME)
    file(SIZE "${PROGRAM}" bytes)
    math(EXPR kib "(${bytes} + 512) / 1024")
    message("${name}: ${bytes} bytes (${kib} KiB)")
else()
    message(FATAL_ERROR "usage: cmake -DPROGRAM=exe -DOBJDUMP=objdump -P CheckImports.cmake, "
        "or cmake -DLISTING=file -P CheckImports.cmake")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" entries "${listing}")
set(imports)
set(foreign)
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^DLL Name: " "" dll "${entry}")
    string(STRIP "${dll}" dll)
    list(APPEND imports "${dll}")
    string(TOLOWER "${dll}" base)
    string(REGEX REPLACE "\\.dll$" "" base "${base}")
    if(NOT base IN_LIST system_dlls)
        list(APPEND foreign "${dll}")
    endif()
endforeach()

# A listing without a single import is not a program's: objdump failed quietly or changed its
# format, and "no foreign DLL" would then mean nothing.
if(NOT imports)
    message(FATAL_ERROR "no imported DLL found in the listing of ${name}")
endif()
list(JOIN imports " " shown)
message("${name} imports: ${shown}")
if(foreign)
    list(JOIN foreign " " shown)
    # Said in a plain message first, which CMake does not wrap, so the list stays on one line.
    message("${name} imports DLLs that are not Windows system DLLs: ${shown}")
    message(FATAL_ERROR "${name} needs more than the system's DLLs")
endif()
