# Makes Relingo's Windows Installer package with wixl, from folders that hold what the release ZIPs
# hold:
#   MAIN_DIR     Relingo.exe, RelingoControls.ocx and its manifest of the package's processor
#   X86_DIR      for ARCH x64: the 32-bit RelingoControls.ocx and its manifest, which the package
#                installs beside the 64-bit program for 32-bit hosts
#   SOURCE_DIR   the source tree (USING.md, LICENSE, the icon, installer/Relingo.wxs.in)
#   VERSION      the product version; ARCH x64 or x86; OUTPUT the package to write
# The controls' registration is the package's own registry table, the keys DllRegisterServer
# writes (com/Registration.cpp), in the registry view of each server. Two runs over the same
# files give the same bytes: the codes are made from the version, the processor and
# SOURCE_DATE_EPOCH, and every time the tools write is that time.
#   cmake -DMAIN_DIR=... [-DX86_DIR=...] -DSOURCE_DIR=... -DVERSION=... -DARCH=... -DOUTPUT=...
#         -DWORK_DIR=... -P MakeInstaller.cmake
include(${CMAKE_CURRENT_LIST_DIR}/SourceDateEpoch.cmake)

function(run)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE result
        OUTPUT_QUIET ERROR_VARIABLE errors)
    if(result)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "failed (${result}): ${command}\n${errors}")
    endif()
endfunction()

foreach(tool wixl msibuild faketime touch)
    find_program(${tool}_program ${tool})
    if(NOT ${tool}_program)
        message(FATAL_ERROR "${tool} was not found (Debian packages wixl, msitools, faketime); "
            "tools/package installs them")
    endif()
endforeach()
if(NOT ARCH MATCHES "^(x64|x86)$")
    message(FATAL_ERROR "ARCH must be x64 or x86, not \"${ARCH}\"")
endif()
if(ARCH STREQUAL "x64" AND NOT X86_DIR)
    message(FATAL_ERROR "the x64 package carries the 32-bit controls too: give X86_DIR")
endif()

# The upgrade code is the product's for ever; a package of a higher version replaces any
# package of Relingo, of either processor, that has it.
set(upgrade_code 6A1F5E0C-3B7D-4C52-9E84-2D0B71C6F3A9)
relingo_source_date_epoch(epoch ${SOURCE_DIR})
function(code variable name)
    string(UUID uuid NAMESPACE ${upgrade_code} NAME "${name}" TYPE SHA1 UPPER)
    set(${variable} ${uuid} PARENT_SCOPE)
endfunction()
# A new product code for every version and processor, as a major upgrade needs; component codes
# that stay with their files from version to version.
code(PRODUCT_CODE "product ${VERSION} ${ARCH}")
code(package_code "package ${VERSION} ${ARCH} ${epoch}")
foreach(component PROGRAM GUIDE REFERENCE CONTROLS CONTROLS32 START_MENU)
    code(GUID_${component} "component ${component} ${ARCH}")
endforeach()
set(UPGRADE_CODE ${upgrade_code})

# ---- The controls' registration, as DllRegisterServer writes it ----

set(library_id {3DA8ADE9-0E3B-4D40-BA98-B25D361B3DFC})
set(library_version 1.0)
set(typelib_marshaler {00020424-0000-0000-C000-000000000046})
set(dispatch_marshaler {00020420-0000-0000-C000-000000000046})

# One key under HKLM\Software\Classes with its values, each "name=data" ("=data" for the key's
# default value); a key without values is made on install and removed on uninstall.
function(key variable path)
    set(xml "${${variable}}")
    string(APPEND xml "            <RegistryKey Root=\"HKLM\" Key=\"Software\\Classes\\${path}\">\n")
    if(ARGN)
        foreach(value IN LISTS ARGN)
            string(FIND "${value}" "=" split)
            string(SUBSTRING "${value}" 0 ${split} name)
            math(EXPR split "${split} + 1")
            string(SUBSTRING "${value}" ${split} -1 data)
            if(name STREQUAL "")
                string(APPEND xml "              <RegistryValue Type=\"string\" Value=\"${data}\"/>\n")
            else()
                string(APPEND xml
                    "              <RegistryValue Name=\"${name}\" Type=\"string\" Value=\"${data}\"/>\n")
            endif()
        endforeach()
    else()
        string(APPEND xml "              <RegistryValue Name=\"*\" Type=\"string\"/>\n")
    endif()
    string(APPEND xml "            </RegistryKey>\n")
    set(${variable} "${xml}" PARENT_SCOPE)
endfunction()

# with_prog_ids: whether to write the ProgIDs, which 32-bit and 64-bit programs share.
function(control_class variable server clsid name prog_id bitmap misc_status with_prog_ids)
    set(xml "${${variable}}")
    set(root CLSID\\${clsid})
    key(xml ${root} "=${name}")
    key(xml ${root}\\InprocServer32 "=${server}" "ThreadingModel=Apartment")
    key(xml ${root}\\ProgID "=${prog_id}.1")
    key(xml ${root}\\VersionIndependentProgID "=${prog_id}")
    key(xml ${root}\\Control)
    key(xml ${root}\\ToolboxBitmap32 "=${server}, ${bitmap}")
    key(xml ${root}\\MiscStatus "=0")
    key(xml ${root}\\MiscStatus\\1 "=${misc_status}")
    key(xml ${root}\\TypeLib "=${library_id}")
    key(xml ${root}\\Version "=${library_version}")
    if(with_prog_ids)
        foreach(id ${prog_id} ${prog_id}.1)
            key(xml ${id} "=${name}")
            key(xml ${id}\\CLSID "=${clsid}")
        endforeach()
        key(xml ${prog_id}\\CurVer "=${prog_id}.1")
    endif()
    set(${variable} "${xml}" PARENT_SCOPE)
endfunction()

function(interface variable iid name marshaler)
    set(xml "${${variable}}")
    set(root Interface\\${iid})
    key(xml ${root} "=${name}")
    key(xml ${root}\\ProxyStubClsid32 "=${marshaler}")
    key(xml ${root}\\ProxyStubClsid "=${marshaler}")
    key(xml ${root}\\TypeLib "=${library_id}" "Version=${library_version}")
    set(${variable} "${xml}" PARENT_SCOPE)
endfunction()

# server: the formatted name of the installed file; folder: its installed folder; platform:
# win64 or win32; with_prog_ids: as for control_class.
function(controls_registry variable server folder platform with_prog_ids)
    set(xml "")
    # OLEMISC_ACTIVATEWHENVISIBLE | SETCLIENTSITEFIRST | INSIDEOUT | CANTLINKINSIDE |
    # RECOMPOSEONRESIZE, and INVISIBLEATRUNTIME for the dialog.
    control_class(xml ${server} {07F6BF6D-B822-4943-A4DC-EAC4397DB0AD} "FileNameBox Control"
        Relingo.FileNameBox 1 131473 ${with_prog_ids})
    control_class(xml ${server} {7BB7A227-56FE-4EDA-AD8F-A955F6A0D2B5} "FilOpDlg Control"
        Relingo.FilOpDlg 2 132497 ${with_prog_ids})
    set(library TypeLib\\${library_id}\\${library_version})
    key(xml ${library} "=Relingo controls: FileNameBox and FilOpDlg")
    key(xml ${library}\\FLAGS "=0")
    key(xml ${library}\\HELPDIR "=${folder}")
    key(xml ${library}\\0\\${platform} "=${server}")
    interface(xml {4FFEC6C6-0DEC-447F-BF60-703803A9D532} IFileNameBox ${typelib_marshaler})
    interface(xml {B3EDC894-E1C9-419A-B49C-4BE18E9C2645} IFilOpDlg ${typelib_marshaler})
    interface(xml {0B2BF4B9-C7C5-4478-927C-E2DF7213DCDD} DFileNameBoxEvents
        ${dispatch_marshaler})
    set(${variable} "${xml}" PARENT_SCOPE)
endfunction()

# ---- The package ----

# wixl takes the files by names relative to the folder it runs in, the work folder.
set(STAGE files)
if(ARCH STREQUAL "x64")
    set(ARCH_TEMPLATE x64)
    set(PROGRAM_FILES ProgramFiles64Folder)
    set(WIN64 yes)
    controls_registry(CONTROLS_REGISTRY "[#RelingoControls.ocx]" "[INSTALLDIR]" win64 ON)
    # The ProgIDs are one key for both registry views, written once with the 64-bit server's.
    controls_registry(registry32 "[#RelingoControls32.ocx]" "[INSTALLDIR32]" win32 OFF)
    set(X86_CONTROLS_FOLDER "      <Directory Id=\"ProgramFilesFolder\">
        <Directory Id=\"INSTALLDIR32\" Name=\"Relingo\">
          <Component Id=\"Controls32\" Guid=\"${GUID_CONTROLS32}\" Win64=\"no\">
            <File Id=\"RelingoControls32.ocx\" Name=\"RelingoControls.ocx\" Source=\"${STAGE}/x86/RelingoControls.ocx\" KeyPath=\"yes\"/>
            <File Id=\"RelingoControls32.manifest\" Name=\"RelingoControls.manifest\" Source=\"${STAGE}/x86/RelingoControls.manifest\"/>
${registry32}          </Component>
        </Directory>
      </Directory>")
    set(X86_CONTROLS_REF "      <ComponentRef Id=\"Controls32\"/>")
else()
    set(ARCH_TEMPLATE Intel)
    set(PROGRAM_FILES ProgramFilesFolder)
    set(WIN64 no)
    controls_registry(CONTROLS_REGISTRY "[#RelingoControls.ocx]" "[INSTALLDIR]" win32 ON)
    set(X86_CONTROLS_FOLDER "")
    set(X86_CONTROLS_REF "")
endif()

# The files are staged with the sources' time: the cabinet keeps each file's time.
get_filename_component(WORK_DIR ${WORK_DIR} ABSOLUTE)
file(REMOVE_RECURSE ${WORK_DIR})
set(staging ${WORK_DIR}/${STAGE})
file(MAKE_DIRECTORY ${staging}/main ${staging}/x86)
foreach(file Relingo.exe RelingoControls.ocx RelingoControls.manifest)
    file(COPY ${MAIN_DIR}/${file} DESTINATION ${staging}/main)
endforeach()
file(COPY ${SOURCE_DIR}/USING.md ${SOURCE_DIR}/LICENSE ${SOURCE_DIR}/main_window/res/Relingo.ico
    DESTINATION ${staging}/main)
file(COPY ${SOURCE_DIR}/docs/CONTROLS.md DESTINATION ${staging}/main/docs)
if(ARCH STREQUAL "x64")
    file(COPY ${X86_DIR}/RelingoControls.ocx ${X86_DIR}/RelingoControls.manifest
        DESTINATION ${staging}/x86)
endif()
file(GLOB_RECURSE staged ${staging}/*)
run(${touch_program} -d @${epoch} ${staged})

configure_file(${SOURCE_DIR}/installer/Relingo.wxs.in ${WORK_DIR}/Relingo.wxs @ONLY)

set(ENV{TZ} UTC)
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
string(TIMESTAMP stamp "%Y-%m-%d %H:%M:%S" UTC)
get_filename_component(OUTPUT ${OUTPUT} ABSOLUTE)
get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
run(${faketime_program} -f "@${stamp}" ${wixl_program} -a ${ARCH} -o ${OUTPUT} Relingo.wxs)
# wixl gives every package a random package code: the summary is written again with one made
# from the version, the processor and the commit.
# (The summary's template "<processor>;1033" holds a semicolon, which a CMake list cannot carry
# to a command; a small script passes it.)
file(WRITE ${WORK_DIR}/summary.sh "exec \"$1\" \"$2\" -s Relingo Relingo \"$3;1033\" \"$4\"\n")
run(${faketime_program} -f "@${stamp}" sh summary.sh ${msibuild_program} ${OUTPUT}
    ${ARCH_TEMPLATE} {${package_code}})
message(STATUS "${OUTPUT}")
