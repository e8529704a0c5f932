# Helpers shared by every subsystem. A subsystem folder holds a Qt-free engine
# at the top and its widgets in ui/; both are picked up by globbing, so adding a
# source file needs no CMake edit.

set(QUILLET_DATA_DIRS "Syntax Definitions" "Code Templates" "Macros" "Languages" "Docs")

function(quillet_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(QUILLET_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(QUILLET_SANITIZE)
        # Every finding stops the program, so a test that meets one fails.
        target_compile_options(${target} PRIVATE
            -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

set(QUILLET_SOURCE_ROOT "${PROJECT_SOURCE_DIR}/src")

# quillet_include_root(<target> <source dir>)
# Gives <target> an include folder of its own in the build tree that holds links
# to the headers directly in <source dir>, under the same path as below src/
# (src/text/ui/TarnMemo.h becomes <root>/text/ui/TarnMemo.h). Subfolders are
# left out, so an engine's root never shows its ui/ headers. The root is part of
# the target's interface: a library sees exactly the headers of itself and of
# the libraries it links, and an include from any other layer fails to compile.
function(quillet_include_root target dir)
    file(RELATIVE_PATH rel "${QUILLET_SOURCE_ROOT}" "${dir}")
    if(rel MATCHES "^\\.\\.")
        message(FATAL_ERROR "quillet_include_root: ${dir} is not below ${QUILLET_SOURCE_ROOT}")
    endif()
    set(root "${PROJECT_BINARY_DIR}/include/${target}")
    # Rebuilt on every configure, so a removed header leaves no stale link.
    file(REMOVE_RECURSE "${root}")
    file(MAKE_DIRECTORY "${root}/${rel}")
    file(GLOB headers CONFIGURE_DEPENDS "${dir}/*.h")
    foreach(header IN LISTS headers)
        get_filename_component(name "${header}" NAME)
        file(CREATE_LINK "${header}" "${root}/${rel}/${name}" SYMBOLIC)
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE "${root}")
    else()
        target_include_directories(${target} PUBLIC "${root}")
    endif()
endfunction()

# quillet_library(<target> <source dir> [QT] [DEPENDS targets...])
# Builds every .cpp directly in <source dir> into a static library. QT links
# Qt Widgets and turns on moc; without it the library must not see Qt at all.
# A folder without sources yet becomes an interface library.
function(quillet_library target dir)
    cmake_parse_arguments(ARG "QT" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
    file(GLOB headers CONFIGURE_DEPENDS "${dir}/*.h")
    if(sources)
        add_library(${target} STATIC ${sources} ${headers})
        target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
        quillet_warnings(${target})
        if(ARG_QT)
            set_target_properties(${target} PROPERTIES AUTOMOC ON)
            target_link_libraries(${target} PUBLIC Qt6::Widgets Qt6::Network Qt6::PrintSupport)
        endif()
    else()
        add_library(${target} INTERFACE)
        target_link_libraries(${target} INTERFACE ${ARG_DEPENDS})
        if(ARG_QT)
            target_link_libraries(${target} INTERFACE Qt6::Widgets Qt6::Network Qt6::PrintSupport)
        endif()
    endif()
    quillet_include_root(${target} "${dir}")
endfunction()

# quillet_subsystem(<name> [DEPENDS engines...] [UI_DEPENDS ui libraries...])
# Defines quillet_<name> from src/<name>/*.cpp and quillet_<name>_ui from
# src/<name>/ui/*.cpp. Includes are named from src/ ("text/MemoSource.h") and
# resolve through the include roots of the libraries a target links.
function(quillet_subsystem name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;UI_DEPENDS" ${ARGN})
    quillet_library(quillet_${name} "${CMAKE_CURRENT_SOURCE_DIR}" DEPENDS ${ARG_DEPENDS})
    quillet_library(quillet_${name}_ui "${CMAKE_CURRENT_SOURCE_DIR}/ui" QT
        DEPENDS quillet_${name} quillet_platform_qt ${ARG_UI_DEPENDS})
endfunction()

# quillet_test(<target> <dir> [QT] [LIBS ...] [EXCLUDE subfolders...]): one test
# executable per folder, its subfolders included except those EXCLUDE names.
# Widget tests (QT) bring their own main that selects the offscreen platform.
function(quillet_test target dir)
    cmake_parse_arguments(ARG "QT" "" "LIBS;EXCLUDE" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp")
    foreach(sub IN LISTS ARG_EXCLUDE)
        list(FILTER sources EXCLUDE REGEX "/${dir}/${sub}/")
    endforeach()
    if(NOT sources)
        return()
    endif()
    add_executable(${target} ${sources})
    quillet_warnings(${target})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock quillet_test_support)
    target_compile_definitions(${target} PRIVATE
        QUILLET_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        QUILLET_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        QUILLET_BINARY_DIR="${PROJECT_BINARY_DIR}")
    if(ARG_QT)
        set_target_properties(${target} PROPERTIES AUTOMOC ON)
        target_link_libraries(${target} PRIVATE quillet_test_main_qt Qt6::Test)
        set(env QT_QPA_PLATFORM=offscreen)
    else()
        target_link_libraries(${target} PRIVATE GTest::gtest_main)
        set(env "")
    endif()
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
        PROPERTIES ENVIRONMENT "${env};QUILLET_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data" TIMEOUT 300)
endfunction()
