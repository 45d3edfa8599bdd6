# Runs the import check over saved listings: one of a program built without -static, which it
# must refuse naming exactly the DLLs that are not Windows system DLLs, one of a program whose
# imports are all system DLLs written in mixed case, which it must accept, and one without any
# import table, which it must refuse rather than pass for want of anything to check. With the
# function lists, it must accept the system-only program and refuse one that imports a newer
# function and one whose import nobody reviewed, naming each.
#
#   cmake -DCHECK=CheckImports.cmake -DLISTINGS=testdata -DWINDOWS7=Windows7Imports.txt
#         -DNEWER=NewerFunctions.txt -P CheckImportsTest.cmake
cmake_minimum_required(VERSION 3.25)

function(run_check listing result_var output_var)
    execute_process(COMMAND "${CMAKE_COMMAND}" -DLISTING=${LISTINGS}/${listing} ${ARGN}
        -P "${CHECK}"
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(${result_var} "${result}" PARENT_SCOPE)
    set(${output_var} "${out}${err}" PARENT_SCOPE)
endfunction()

run_check(DynamicRuntime.txt result output)
if(result EQUAL 0)
    message(FATAL_ERROR "the check accepted a program that needs the MinGW runtime DLLs:\n${output}")
endif()
if(NOT output MATCHES "not Windows system DLLs: libgcc_s_seh-1\\.dll libstdc\\+\\+-6\\.dll\n")
    message(FATAL_ERROR "the check did not name exactly the foreign DLLs:\n${output}")
endif()

run_check(SystemOnly.txt result output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the check refused a program that imports only system DLLs:\n${output}")
endif()
if(NOT output MATCHES "imports: KERNEL32\\.dll msvcrt\\.dll USER32\\.dll ComCtl32\\.DLL")
    message(FATAL_ERROR "the check did not list the imports:\n${output}")
endif()

run_check(NoImports.txt result output)
if(result EQUAL 0)
    message(FATAL_ERROR "the check accepted a listing without any import:\n${output}")
endif()
set(lists -DWINDOWS7=${WINDOWS7} -DNEWER=${NEWER})
run_check(SystemOnly.txt result output ${lists})
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the check refused functions that Windows 7 exports:\n${output}")
endif()

run_check(NewerFunctions.txt result output ${lists})
if(result EQUAL 0)
    message(FATAL_ERROR "the check accepted a program that imports newer functions:\n${output}")
endif()
if(NOT output MATCHES "newer than Windows 7 SP1: user32\\.dll!GetDpiForWindow\n")
    message(FATAL_ERROR "the check did not name the newer function:\n${output}")
endif()
if(NOT output MATCHES "not on the reviewed Windows 7 SP1 list: kernel32\\.dll!SetThreadDescription\n")
    message(FATAL_ERROR "the check did not name the unreviewed function:\n${output}")
endif()
message("the import check refuses foreign DLLs, newer or unreviewed functions and empty listings")
