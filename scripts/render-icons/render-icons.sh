#!/usr/bin/env bash
# Draws the program icon (src/ui/resources/velora.svg) as the pictures the program loads at
# start. Run it after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
cat > "$build/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(render_icons CXX)
find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
add_executable(render_icons $PWD/scripts/render-icons/main.cpp)
target_link_libraries(render_icons Qt6::Gui Qt6::Svg)
CMAKE
cmake -S "$build" -B "$build/out" >/dev/null
cmake --build "$build/out" -j2 >/dev/null
QT_QPA_PLATFORM=offscreen "$build/out/render_icons" src/ui/resources/velora.svg src/ui/resources/icons
