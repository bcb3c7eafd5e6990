#!/usr/bin/env bash
# Checks of the library as other programs meet it, run by CTest:
#
#   check.sh install SOURCE BUILD LIBDIR   install into a temporary prefix and
#                                          build consumers against it
#   check.sh symbols LIBRARY               the shared library exports only
#                                          the public interface
#   check.sh python SOURCE LIBRARY         the ctypes example reads a project
#   check.sh docs SOURCE TOOL              the man page and bash completion
#                                          know every option of the tool
#   check.sh subproject SOURCE             add_subdirectory wants neither
#                                          GoogleTest nor CLI11
#
# CC, CXX and CMAKE name the tools; VELL_SANITIZE_FLAGS, when set, are
# given to the consumers, since a program linked against a sanitized library
# must load the sanitizer's runtime first.
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/vell-check.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs a consumer on a project and on a missing file; both must behave.
run_consumer() {
    local program=$1 source=$2
    "$program" "$source/examples/slc500/line3.slc" >"$work/out.xml" 2>"$work/err.txt" ||
        { cat "$work/err.txt" >&2; fail "$program exited $? on line3.slc"; }
    grep -q '<configExchangeFile' "$work/out.xml" || fail "$program wrote no exchange XML"
    local status=0
    "$program" "$work/missing.slc" >/dev/null 2>"$work/err.txt" || status=$?
    [ "$status" -eq 2 ] && grep -q '^53: ' "$work/err.txt" ||
        { cat "$work/err.txt" >&2; fail "$program: a missing file gave exit $status, not 2 with error 53"; }
}

check_install() {
    local source=$1 build=$2 libdir=$3 prefix="$work/prefix"
    "$CMAKE" --install "$build" --prefix "$prefix" >"$work/install.log" ||
        { cat "$work/install.log" >&2; fail "cmake --install failed"; }

    local f
    for f in include/vellcfgrdr/vellcfgrdr.h include/vellcfgrdr/CPlcCfgReader.h \
        include/vellcfgrdr/VellExport.h "$libdir/cmake/VellCfgRdr/VellCfgRdrConfig.cmake" \
        "$libdir/cmake/VellCfgRdr/VellCfgRdrConfigVersion.cmake" \
        "$libdir/pkgconfig/vellcfgrdr.pc" bin/vellcfgrdr share/man/man1/vellcfgrdr.1 \
        share/bash-completion/completions/vellcfgrdr; do
        [ -e "$prefix/$f" ] || fail "$f is not installed"
    done
    # Nothing private: the headers of the sources stay behind.
    [ -z "$(find "$prefix/include" -name '*.h' ! -path '*/include/vellcfgrdr/*')" ] ||
        fail "headers installed outside include/vellcfgrdr"
    "$prefix/bin/vellcfgrdr" --version >/dev/null || fail "the installed tool does not run"

    local static=""
    if [ -e "$prefix/$libdir/libvellcfgrdr.a" ]; then
        static="--static"
    else
        local soname
        soname=$(readelf -d "$prefix/$libdir/libvellcfgrdr.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
        [[ $soname =~ ^libvellcfgrdr\.so\.[0-9] ]] || fail "SONAME '$soname' carries no version"
        [ -e "$prefix/$libdir/$soname" ] || fail "$soname is not installed"
    fi

    # C++ through the CMake package.
    "$CMAKE" -S "$source/examples/api/cpp" -B "$work/cpp" -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS="${VELL_SANITIZE_FLAGS:-}" \
        -DCMAKE_EXE_LINKER_FLAGS="${VELL_SANITIZE_FLAGS:-}" >"$work/cpp.log" 2>&1 &&
        "$CMAKE" --build "$work/cpp" >>"$work/cpp.log" 2>&1 ||
        { cat "$work/cpp.log" >&2; fail "the CMake consumer did not build"; }
    run_consumer "$work/cpp/read_plant" "$source"

    # C through pkg-config.
    local flags
    flags=$(PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" pkg-config $static --cflags --libs vellcfgrdr) ||
        fail "pkg-config does not know vellcfgrdr"
    # shellcheck disable=SC2086 # the flags are words
    "$CC" -std=c99 -Wall -Wextra -Werror ${VELL_SANITIZE_FLAGS:-} \
        "$source/examples/api/c/read_plant.c" -o "$work/read_plant_c" $flags \
        -Wl,-rpath,"$prefix/$libdir" 2>"$work/c.log" ||
        { cat "$work/c.log" >&2; fail "the pkg-config consumer did not build"; }
    run_consumer "$work/read_plant_c" "$source"
}

check_symbols() {
    local library=$1
    nm -D --defined-only "$library" | awk '{ print $3 }' >"$work/symbols"
    [ -s "$work/symbols" ] || fail "$library exports nothing"
    c++filt <"$work/symbols" |
        grep -v -E '^vell_[a-z_]+$|vellcfgrdr::(CPlcCfgReader|CVellError)(::|$)' >"$work/extra" || true
    if [ -s "$work/extra" ]; then
        head -20 "$work/extra" >&2
        fail "$(wc -l <"$work/extra") symbols beyond the public interface are exported"
    fi
    grep -qx vell_reader_read "$work/symbols" || fail "the C interface is not exported"
    echo "$(wc -l <"$work/symbols") symbols exported"
}

check_python() {
    local source=$1 library=$2 status=0 python=(python3)
    # Debian's interpreter, the one a user of the packages has.
    [ -x /usr/bin/python3 ] && python=(/usr/bin/python3)
    if [ -n "${VELL_SANITIZE_FLAGS:-}" ]; then
        # The interpreter is not sanitized: the sanitizer's runtime goes in
        # before it, with the C++ run-time whose throw it intercepts, and the
        # interpreter's own allocations at exit are not the library's leaks.
        python=(env LD_PRELOAD="$("$CC" -print-file-name=libasan.so) $("$CXX" -print-file-name=libstdc++.so)"
            ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "${python[@]}")
    fi
    "${python[@]}" "$source/examples/api/python/read_plant.py" --library "$library" \
        "$source/examples/slc500/line3.slc" >"$work/out.xml" 2>"$work/err.txt" ||
        { cat "$work/err.txt" >&2; fail "read_plant.py failed"; }
    grep -q '<configExchangeFile' "$work/out.xml" || fail "read_plant.py wrote no exchange XML"
    grep -q '^info: ' "$work/err.txt" || fail "read_plant.py got no message"
    "${python[@]}" "$source/examples/api/python/read_plant.py" --library "$library" --lang fr \
        "$work/missing.slc" >/dev/null 2>"$work/err.txt" || status=$?
    [ "$status" -eq 2 ] && grep -q '^53: ' "$work/err.txt" ||
        { cat "$work/err.txt" >&2; fail "read_plant.py: a missing file gave exit $status, not 2 with error 53"; }
}

check_docs() {
    local source=$1 tool=$2 missing=""
    local man="$source/docs/vellcfgrdr.1" completion="$source/cli/vellcfgrdr.bash-completion"
    local command option
    for command in "" batch report; do
        # shellcheck disable=SC2086 # no command is no word
        "$tool" $command --help >"$work/help.txt"
        for option in $(grep -o -E '(^|[ ,])--?[a-zA-Z][a-zA-Z-]*' "$work/help.txt" | tr -d ' ,' | sort -u); do
            # roff writes a dash as \-.
            grep -q -e "${option//-/\\\\-}\\b" "$man" || missing+=" $command $option (man page)"
            grep -q -e "[' ]$option\\b" "$completion" || missing+=" $command $option (bash completion)"
        done
        grep -q "^\\.SH ${command^^}" "$man" || missing+=" the section of $command (man page)"
    done
    # Every extension of the README's format table (which a test keeps equal
    # to the readers) is completed and in the man page's table.
    local extension
    for extension in $(sed -n '/<!-- formats -->/,/<!-- end formats -->/p' "$source/README.md" |
        grep -o -E '`\.[a-z0-9]+`' | tr -d '`.' | sort -u); do
        grep -q -E "^ *local ext=.*[|']$extension[|']" "$completion" ||
            missing+=" .$extension (bash completion)"
        grep -q -E "^[^.].*\.$extension\b" "$man" || missing+=" .$extension (man page)"
    done
    [ -z "$missing" ] || fail "options of --help or formats missing from docs/vellcfgrdr.1 or cli/vellcfgrdr.bash-completion:$missing"
    # The completion offers commands, options and the values of an option.
    local words
    words=$(bash -c 'source "$1"; complete() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
            _vellcfgrdr; printf "%s " "${COMPREPLY[@]}"; }
        complete vellcfgrdr ba; complete vellcfgrdr --la; complete vellcfgrdr --messages ""
        complete vellcfgrdr batch --re' _ "$completion")
    [ "$words" = "batch --lang text json --report " ] || fail "bash completion gave '$words'"
    if command -v groff >/dev/null; then
        groff -t -man -Tutf8 -ww -z "$man" 2>"$work/man.txt" || true
        [ ! -s "$work/man.txt" ] || { cat "$work/man.txt" >&2; fail "the man page has roff errors"; }
    fi
}

check_subproject() {
    local source=$1
    mkdir -p "$work/parent"
    cat >"$work/parent/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(parent LANGUAGES C CXX)
macro(find_package name)
  if("\${name}" MATCHES "^(GTest|CLI11|benchmark)\$")
    message(FATAL_ERROR "the library asked for \${name}")
  endif()
  _find_package(\${ARGV})
endmacro()
add_subdirectory("$source" vellcfgrdr)
foreach(target vell_tests vellcfgrdr-cli BenchStartup)
  if(TARGET \${target})
    message(FATAL_ERROR "\${target} is built by a project that only uses the library")
  endif()
endforeach()
add_executable(parent main.cpp)
target_link_libraries(parent PRIVATE VellCfgRdr::vellcfgrdr)
EOF
    echo 'int main() {}' >"$work/parent/main.cpp"
    "$CMAKE" -S "$work/parent" -B "$work/parent/build" -DCMAKE_C_COMPILER="$CC" \
        -DCMAKE_CXX_COMPILER="$CXX" >"$work/parent.log" 2>&1 ||
        { cat "$work/parent.log" >&2; fail "a project taking the library in with add_subdirectory does not configure"; }
}

mode=$1
shift
case $mode in
    install) check_install "$@" ;;
    symbols) check_symbols "$@" ;;
    python) check_python "$@" ;;
    docs) check_docs "$@" ;;
    subproject) check_subproject "$@" ;;
    *) fail "unknown check $mode" ;;
esac
