# Sourced: helpers for the build folders (build/<preset>): building some of
# their targets, finding the folder a file lies in, and its toolchain's
# strip tool.

# Builds the targets given in build/<preset> (run from the source tree),
# configuring that folder first if it never was; with no target, everything.
# KOLVAR_JOBS sets how many compilers run at once (default 2).
kolvar_build_targets() {  # preset [target...]
  local preset=$1
  shift
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j"${KOLVAR_JOBS:-2}" ${1:+--target "$@"}
}

# The strip tool of a build folder's toolchain.
kolvar_strip_tool() {  # build folder
  awk -F= '/^CMAKE_STRIP:/ { print $2 }' "$1/CMakeCache.txt"
}

# The nearest folder from the one given upwards that holds a CMakeCache.txt,
# or nothing.
kolvar_build_folder_of() {
  local dir
  dir=$(cd "$1" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ "$dir" = / ] || echo "$dir"
}
