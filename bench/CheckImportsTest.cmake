# Runs the import check over saved listings: one of a program built without -static, which it
# must refuse naming exactly the DLLs that Windows would look for beside it; one of a program
# whose imports are all such DLLs written in mixed case, comctl32 among them, which it must accept
# with a manifest that names the common controls 6 assembly and refuse without, naming comctl32;
# one that imports version.dll, which Windows searches for beside the program whatever the
# manifest says; and one without any import table, which it must refuse rather than pass for want
# of anything to check. With the function lists, it must accept the system-only program and
# refuse one that imports a newer function and one whose import nobody reviewed, naming each.
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

set(manifest -DMANIFEST=${LISTINGS}/CommonControls.manifest)
foreach(case IN ITEMS
        "DynamicRuntime.txt;;libgcc_s_seh-1\\.dll libstdc\\+\\+-6\\.dll"
        "SystemOnly.txt;;ComCtl32\\.DLL"
        "VersionImport.txt;${manifest};VERSION\\.dll")
    list(GET case 0 listing)
    list(GET case 1 options)
    list(GET case 2 named)
    run_check(${listing} result output ${options})
    if(result EQUAL 0)
        message(FATAL_ERROR "the check accepted ${listing} ${options}:\n${output}")
    endif()
    if(NOT output MATCHES "may load from beside it: ${named}\n")
        message(FATAL_ERROR "the check did not name exactly ${named} for ${listing}:\n${output}")
    endif()
endforeach()

run_check(SystemOnly.txt result output ${manifest})
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
set(lists ${manifest} -DWINDOWS7=${WINDOWS7} -DNEWER=${NEWER})
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
message("the import check refuses DLLs Windows may take from beside the program, newer or "
    "unreviewed functions and empty listings")
