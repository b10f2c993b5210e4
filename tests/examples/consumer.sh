#!/usr/bin/env bash
# Builds examples/hello_chart as a program of its own takes Zelgraph in.
#
#   consumer.sh installed SOURCE_DIR BUILD_DIR WORK_DIR CXX PICTURE
#     installs Zelgraph's build tree BUILD_DIR into WORK_DIR/prefix, builds the example against
#     it (find_package) in WORK_DIR/build and runs it off screen, saving PICTURE;
#   consumer.sh subdirectory SOURCE_DIR WORK_DIR CXX
#     configures the example with Zelgraph's source folder added as a subdirectory, in
#     WORK_DIR/build, and lists the build's targets (nothing is built).
set -euo pipefail
mode="$1" source_dir="$2"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
case "$mode" in
  installed)
    build_dir="$3" work="$4" cxx="$5" picture="$6"
    cmake --install "$build_dir" --prefix "$work/prefix"
    cmake -S "$source_dir/examples/hello_chart" -B "$work/build" -G Ninja \
          -DCMAKE_CXX_COMPILER="$cxx" "${launcher[@]}" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" \
          -DCMAKE_PREFIX_PATH="$work/prefix"
    cmake --build "$work/build"
    QT_QPA_PLATFORM=offscreen "$work/build/hello_chart" "$picture"
    ;;
  subdirectory)
    work="$3" cxx="$4"
    cmake -S "$source_dir/examples/hello_chart" -B "$work/build" -G Ninja \
          -DCMAKE_CXX_COMPILER="$cxx" "${launcher[@]}" -DZELGRAPH_SOURCE_DIR="$source_dir"
    ninja -C "$work/build" -t targets all
    ;;
  *)
    echo "consumer.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
