# The Windows build: the Win32 port, Velkaro.dll with its resources and export
# table, and the package folder the host installs from. Included by the root
# CMakeLists.txt when targeting Windows (the win32 preset).

enable_language(RC)

set(VELKARO_RESOURCES ${PROJECT_SOURCE_DIR}/resources)

add_library(velkaro_port_win32 STATIC
  port/platform_win32.cc
  port/win32_header_form.cc
  port/win32_host_session.cc
  port/win32_mode_window.cc
  port/win32_threads.cc
)
# Windows 7 API level; the Windows headers only inside the port.
target_compile_definitions(velkaro_port_win32 PRIVATE _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_libraries(velkaro_port_win32 PUBLIC velkaro_core velkaro_formats
  ole32 oleaut32 uuid version user32 gdi32 kernel32)

add_library(velkaro SHARED
  plugin/exports.cc
  plugin/plugin_instance.cc
  port/platform_default_win32.cc
  port/dll_main_win32.cc
  resources/velkaro.rc
  resources/velkaro.def
)
target_link_libraries(velkaro PRIVATE velkaro_port_win32)
target_include_directories(velkaro PRIVATE ${VELKARO_RESOURCES})
target_compile_definitions(velkaro PRIVATE _WIN32_WINNT=0x0601 WINVER=0x0601
  VELKARO_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  VELKARO_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  VELKARO_VERSION_PATCH=${PROJECT_VERSION_PATCH})
# Exactly the export table of the .def file: nothing else is exported.
# The release DLL carries no symbol table.
target_link_options(velkaro PRIVATE -Wl,--exclude-all-symbols $<$<CONFIG:Release>:-s>)
set_target_properties(velkaro PROPERTIES
  PREFIX ""
  OUTPUT_NAME Velkaro
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  # The import library is a by-product: the host loads the DLL by name.
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib
  LINK_DEPENDS "${VELKARO_RESOURCES}/velkaro.def"
  OBJECT_DEPENDS "${VELKARO_RESOURCES}/velkaro.ico;${VELKARO_RESOURCES}/velkaro_ids.h")

# build/win32/package: Plugins/Velkaro.dll and a sample station list, and the
# same as Velkaro-<version>-win32.zip, ready to unpack in the host's folder.
set(VELKARO_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(VELKARO_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/Velkaro-${PROJECT_VERSION}-win32.zip)
add_custom_target(package-plugins
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${VELKARO_PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VELKARO_PACKAGE_DIR}/Plugins
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velkaro> ${VELKARO_PACKAGE_DIR}/Plugins/
  COMMAND ${CMAKE_COMMAND} -E copy ${VELKARO_RESOURCES}/velkar.dat
          ${VELKARO_PACKAGE_DIR}/Plugins/velkar.dat
  COMMAND ${CMAKE_COMMAND} -E chdir ${VELKARO_PACKAGE_DIR}
          ${CMAKE_COMMAND} -E tar cf ${VELKARO_PACKAGE_ZIP} --format=zip Plugins
  DEPENDS velkaro ${VELKARO_RESOURCES}/velkar.dat
  COMMENT "Packaging Plugins/Velkaro.dll into ${VELKARO_PACKAGE_ZIP}"
  VERBATIM)
