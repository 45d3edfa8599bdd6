# Prints a Windows program's size and the DLLs it imports, and fails when it imports a DLL that
# Windows might take from somewhere other than its own system folder. A program that needs, say,
# libstdc++-6.dll beside it does not start on a machine without it; and a program that imports a
# DLL Windows searches for (version.dll, uxtheme.dll) loads whatever file of that name lies
# beside it, a web page's download in the Downloads folder among them. The DLLs Windows always
# takes from the system folder are listed in KnownDlls.txt; comctl32 counts among them only when
# the program's manifest names the common controls 6 assembly, which Windows then takes from its
# side-by-side store.
#
# Given WINDOWS7 and NEWER, it also checks each imported function: Windows stops a program that
# imports a function its DLL lacks ("entry point not found") before it starts. So every import
# must be on the reviewed list of functions that Windows 7 SP1 exports (WINDOWS7), and none may
# be one of the newer functions the program looks up at run time instead (NEWER). Both lists
# hold one "dll!Function" a line, the DLL in lower case; "#" starts a comment.
#
#   cmake -DPROGRAM=Relingo.exe -DOBJDUMP=x86_64-w64-mingw32-objdump -P CheckImports.cmake
#   cmake -DLISTING=saved.txt -P CheckImports.cmake     (a saved "objdump -p" listing instead)
#   ... -DMANIFEST=saved.manifest     (with a listing: the manifest the program carries)
#   ... -DWINDOWS7=Windows7Imports.txt -DNEWER=NewerFunctions.txt
#   ... -DDEFERRED=shell32,ole32     (DLLs that must not be imported: loaded when needed)
cmake_minimum_required(VERSION 3.25)

function(read_list file out_var)
    file(STRINGS "${file}" lines)
    set(entries)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "#.*" "" line "${line}")
        string(STRIP "${line}" line)
        if(line)
            list(APPEND entries "${line}")
        endif()
    endforeach()
    set(${out_var} "${entries}" PARENT_SCOPE)
endfunction()
read_list("${CMAKE_CURRENT_LIST_DIR}/KnownDlls.txt" system_dlls)

if(DEFINED LISTING)
    file(READ "${LISTING}" listing)
    set(name "${LISTING}")
    set(manifest "")
    if(DEFINED MANIFEST)
        file(READ "${MANIFEST}" manifest)
    endif()
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
    # The manifest is UTF-8 text among the program's resources.
    file(STRINGS "${PROGRAM}" manifest REGEX "Microsoft\\.Windows\\.Common-Controls")
    file(SIZE "${PROGRAM}" bytes)
    math(EXPR kib "(${bytes} + 512) / 1024")
    message("${name}: ${bytes} bytes (${kib} KiB)")
else()
    message(FATAL_ERROR "usage: cmake -DPROGRAM=exe -DOBJDUMP=objdump -P CheckImports.cmake, "
        "or cmake -DLISTING=file -P CheckImports.cmake")
endif()

if(manifest MATCHES "name=\"Microsoft\\.Windows\\.Common-Controls\"")
    list(APPEND system_dlls comctl32)
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
# DLLs the program loads only when it first needs them, so that its start does not pay for them.
if(DEFINED DEFERRED)
    string(REPLACE "," ";" DEFERRED "${DEFERRED}")
    set(early)
    foreach(dll IN LISTS imports)
        string(TOLOWER "${dll}" base)
        string(REGEX REPLACE "\\.dll$" "" base "${base}")
        if(base IN_LIST DEFERRED)
            list(APPEND early "${dll}")
        endif()
    endforeach()
    if(early)
        list(JOIN early " " shown)
        message("${name} loads at start DLLs it should load when first needed: ${shown}")
        message(FATAL_ERROR "${name} imports what its start need not load")
    endif()
endif()
if(foreign)
    list(JOIN foreign " " shown)
    # Said in a plain message first, which CMake does not wrap, so the list stays on one line.
    message("${name} imports DLLs that Windows may load from beside it: ${shown}")
    message(FATAL_ERROR "${name} imports DLLs that Windows does not always take from its system "
        "folder: load them by their full name when needed, or, for comctl32, name the common "
        "controls 6 assembly in the manifest")
endif()

if(NOT DEFINED WINDOWS7 OR NOT DEFINED NEWER)
    return()
endif()

read_list("${WINDOWS7}" windows7)
read_list("${NEWER}" newer)

# The functions follow their DLL's name, a line each: address, hint, name. Only the import
# tables are read; the relocations after them run to many thousands of lines.
string(FIND "${listing}" "The Import Tables" start)
string(FIND "${listing}" "PE File Base Relocations" end)
if(start GREATER_EQUAL 0 AND end GREATER start)
    math(EXPR length "${end} - ${start}")
    string(SUBSTRING "${listing}" ${start} ${length} listing)
endif()
string(REPLACE ";" "," listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(dll "")
set(functions)
foreach(line IN LISTS lines)
    if(line MATCHES "DLL Name: ([^ \t]+)")
        string(TOLOWER "${CMAKE_MATCH_1}" dll)
    elseif(dll AND line MATCHES "^\t[0-9a-fA-F]+\t +[0-9]+ +([A-Za-z0-9_@?$]+)")
        list(APPEND functions "${dll}!${CMAKE_MATCH_1}")
    elseif(line STREQUAL "")
        set(dll "")
    endif()
endforeach()
if(NOT functions)
    message(FATAL_ERROR "no imported function found in the listing of ${name}")
endif()

set(too_new)
set(unreviewed)
foreach(function IN LISTS functions)
    if(function IN_LIST newer)
        list(APPEND too_new "${function}")
    elseif(NOT function IN_LIST windows7)
        list(APPEND unreviewed "${function}")
    endif()
endforeach()
list(LENGTH functions count)
message("${name} imports ${count} functions")
if(too_new)
    list(JOIN too_new " " shown)
    message("${name} imports functions newer than Windows 7 SP1: ${shown}")
endif()
if(unreviewed)
    list(JOIN unreviewed " " shown)
    message("${name} imports functions not on the reviewed Windows 7 SP1 list: ${shown}")
endif()
if(too_new OR unreviewed)
    message(FATAL_ERROR "${name} may not start on Windows 7 SP1")
endif()
