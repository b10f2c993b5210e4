# `cmake --install`: the headers under the paths programs include ("zelgraph/chart/Chart.h",
# "platform/Forms.h"), the static libraries and a package configuration, so that
# find_package(Zelgraph) gives the target Zelgraph::Zelgraph (the library, its platform layer
# and Qt).
include(CMakePackageConfigHelpers)

set(ZEL_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zelgraph)

install(TARGETS zelgraph zel_platform EXPORT ZelgraphTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/zelgraph ${PROJECT_SOURCE_DIR}/platform
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(EXPORT ZelgraphTargets NAMESPACE Zelgraph:: DESTINATION ${ZEL_PACKAGE_DIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ZelgraphConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/ZelgraphConfig.cmake
                              INSTALL_DESTINATION ${ZEL_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZelgraphConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZelgraphConfig.cmake ${PROJECT_BINARY_DIR}/ZelgraphConfigVersion.cmake
        DESTINATION ${ZEL_PACKAGE_DIR})
