# Puts a stand-in for every file that the medium's model files name into that generation's source directory.
# cmake -DMEDIUM=<medium> -DPLACEHOLDER_DLL=<dll> -DCOM_MONITOR=<dll> -DUSB_MONITOR=<dll> -DPROCESSOR=<dll>
#       [-DPLACEHOLDER_DLL64=<dll> -DCOM_MONITOR64=<dll> -DUSB_MONITOR64=<dll> -DPROCESSOR64=<dll>]
#       -P PlaceDriverFiles.cmake
# The x64 stand-ins, when given, fill the x64 folder from the .x64 sections; without them (the PE32
# edition's own medium) those sections are left out.
cmake_minimum_required(VERSION 3.20)

set(directory_98 win98)
set(directory_NT winnt)
set(directory_2K winnt)
set(directory_XP winnt)
set(directory_2003 win2003)
set(directory_Vista Vista)
set(directory_x64 x64)

# Keys whose values are files on the medium; "0" means none.
set(file_keys DRIVERPATH DATAFILE CONFIGFILE HELPFILE DATAFILEDLLNAME DATAOEMUIDLL DATAOEMUNIDLL DATAOEMUNIINI
    PROCESSORDLLNAME COMMONITORPDLLNAME COMMONITORPUIDLLNAME USBMONITORPDLLNAME USBMONITORPUIDLLNAME)

function(place directory name key)
    string(TOUPPER "${name}" upper)
    set(target "${MEDIUM}/${directory}/${upper}")
    string(TOUPPER "${key}" key)
    # The x64 folder gets the x64 builds of the stand-ins.
    set(bits "")
    if(directory STREQUAL "x64")
        set(bits 64)
    endif()
    if(key MATCHES "PROCESSORDLLNAME$")
        configure_file("${PROCESSOR${bits}}" "${target}" COPYONLY)
    elseif(key STREQUAL "COMMONITORPDLLNAME")
        configure_file("${COM_MONITOR${bits}}" "${target}" COPYONLY)
    elseif(key STREQUAL "USBMONITORPDLLNAME")
        configure_file("${USB_MONITOR${bits}}" "${target}" COPYONLY)
    elseif(upper MATCHES "\\.(DLL|DRV)$")
        configure_file("${PLACEHOLDER_DLL${bits}}" "${target}" COPYONLY)
    else()
        file(WRITE "${target}" "Placeholder for ${upper}, a file of the VORL printer drivers.\r\n")
    endif()
endfunction()

file(GLOB model_files "${MEDIUM}/DRVCONFIG/setup*.ini")
foreach(model_file ${model_files})
    file(STRINGS "${model_file}" lines)
    set(directory "")
    foreach(line ${lines})
        string(STRIP "${line}" line)
        if(line MATCHES "^\\[(.*)\\]$")
            set(directory "")
            if(CMAKE_MATCH_1 MATCHES "\\.(98|NT|2K|XP|2003|Vista|x64)$")
                set(directory "${directory_${CMAKE_MATCH_1}}")
            endif()
            if(directory STREQUAL "x64" AND NOT PROCESSOR64)
                set(directory "")
            endif()
        elseif(directory AND line MATCHES "^(STD|GDI)?([A-Za-z]+)=(.+)$")
            string(TOUPPER "${CMAKE_MATCH_2}" key)
            set(value "${CMAKE_MATCH_3}")
            list(FIND file_keys "${key}" known)
            string(SUBSTRING "${value}" 0 1 first)
            if(NOT known EQUAL -1 AND NOT first STREQUAL "0")
                place("${directory}" "${value}" "${key}")
            endif()
        endif()
    endforeach()
endforeach()

# The system's own unidriver files that setup takes from the medium when Windows has no copy of them.
place(win98 ICONLIB.DLL ICONLIB)
place(win98 UNIDRV.DLL UNIDRV)
# The colour library that the 98/Me drivers of the ZMX-M530 and ZMX-R510 load; no model file names it.
place(win98 DMCOLOR.DLL DMCOLOR)
set(ddk_directories winnt win2003 Vista)
if(PROCESSOR64)
    list(APPEND ddk_directories x64)
endif()
foreach(directory ${ddk_directories})
    foreach(name TTFSUB.GPD STDNAMES.GPD UNIRES.DLL)
        place(${directory} ${name} SYSTEM)
    endforeach()
endforeach()
