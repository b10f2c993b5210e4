#!/usr/bin/env bash
# Builds a program on Zelgraph as a project of its own takes the library in.
#
#   consumer.sh installed BUILD_DIR WORK_DIR CXX PICTURE PROGRAM_DIR EXAMPLE_DIR
#     installs Zelgraph's build tree BUILD_DIR into WORK_DIR/prefix; builds the program of
#     PROGRAM_DIR against it (find_package) in WORK_DIR/program and runs it off screen, saving
#     PICTURE; configures the project of EXAMPLE_DIR against the same prefix in WORK_DIR/example;
#   consumer.sh subdirectory BUILD_DIR CXX PROJECT_DIR [CMAKE_ARGUMENT...]
#     configures PROJECT_DIR (which adds Zelgraph's source folder as a subdirectory) in BUILD_DIR
#     and lists the build's targets (nothing is built).
set -euo pipefail
mode="$1"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
case "$mode" in
  installed)
    build_dir="$2" work="$3" cxx="$4" picture="$5" program="$6" example="$7"
    cmake --install "$build_dir" --prefix "$work/prefix"
    cmake -S "$program" -B "$work/program" -G Ninja \
          -DCMAKE_CXX_COMPILER="$cxx" "${launcher[@]}" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" \
          -DCMAKE_PREFIX_PATH="$work/prefix"
    cmake --build "$work/program"
    QT_QPA_PLATFORM=offscreen "$work/program/my_app" "$picture"
    cmake -S "$example" -B "$work/example" -G Ninja \
          -DCMAKE_CXX_COMPILER="$cxx" "${launcher[@]}" -DCMAKE_PREFIX_PATH="$work/prefix"
    ;;
  subdirectory)
    build_dir="$2" cxx="$3" project="$4"
    shift 4
    cmake -S "$project" -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" "${launcher[@]}" "$@"
    ninja -C "$build_dir" -t targets all
    ;;
  *)
    echo "consumer.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
