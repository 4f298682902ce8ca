#!/bin/sh
# upward_include_fails_compile.sh - shows that the build itself refuses an
# upward include: a folder's sources compile with only the folder's
# include view (cmake/layers.cmake, orvel_include_view) on the include
# path, so a header of a folder it must not see is not found, whether the
# include is quoted or in angle brackets.
#
# For every folder of RULES that some folder is above, a scratch file
# including a real header of its own folder must preprocess with the
# folder's view, and the same file including a real header of any folder
# above it must not, in either spelling, for want of that header.
#
# Usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]
root=${1:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
rules=${2:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
views=${3:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
generated=${4:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
work=${5:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
cxx=${6:-c++}
rm -rf "$work" && mkdir -p "$work" || exit 2

# A header directly in folder $1, as a path from the source root.
header_of() {
    for h in "$root/$1"/*.h; do [ -e "$h" ] && { echo "$1/${h##*/}"; return; }; done
}
# Preprocesses the scratch file $1 as a source of folder $2 would be; the
# log names each missing header "HEADER: No such file or directory".
preprocesses() {
    "$cxx" -std=c++20 -E -I "$views/$(echo "$2" | tr / _)" -I "$generated" "$work/$1" -o /dev/null \
        >"$work/$1.log" 2>&1
}
# The headers the scratch file $1 of folder $2 reaches; a header that is
# not found is listed as written instead of failing (the system's own
# libraries are not on this path).
dependencies() {
    "$cxx" -std=c++20 -MM -MG -I "$views/$(echo "$2" | tr / _)" -I "$generated" "$work/$1" >"$work/$1.log" 2>&1
}

folders=$(sed 's/:.*//' "$rules")
probes=0
while IFS= read -r line; do
    f=${line%%:*}
    allowed=" ${line#*: } "
    above=""
    for g in $folders; do
        case "$allowed" in *" $g "*) ;; *) [ -n "$(header_of "$g")" ] && above="$above $g" ;; esac
    done
    [ -n "$above" ] || continue      # the top layer sees every folder
    own=$(header_of "$f")
    [ -n "$own" ] || continue
    id=$(echo "$f" | tr / _)
    [ -d "$views/$id" ] || { echo "FAIL: $f has no include view in $views"; exit 1; }
    printf '#include "%s"\n' "$own" > "$work/$id.own.cpp"
    if ! dependencies "$id.own.cpp" "$f" || ! grep -q "$views/$id/$own" "$work/$id.own.cpp.log"; then
        cat "$work/$id.own.cpp.log"
        echo "FAIL: $f's own header $own was not found through its view"
        exit 1
    fi
    for g in $above; do
        up=$(header_of "$g")
        printf '#include "%s"\n' "$up" > "$work/$id.quoted.cpp"
        printf '#include <%s>\n' "$up" > "$work/$id.angle.cpp"
        for probe in "$id.quoted.cpp" "$id.angle.cpp"; do
            if preprocesses "$probe" "$f"; then
                echo "FAIL: a source of $f with $(cat "$work/$probe") compiled"
                exit 1
            fi
            grep -q "$up: No such file" "$work/$probe.log" || {
                cat "$work/$probe.log"
                echo "FAIL: $probe failed, but not for want of $up"
                exit 1
            }
            probes=$((probes + 1))
        done
    done
done < "$rules"
[ "$probes" -gt 0 ] || { echo "FAIL: no folder could be probed"; exit 1; }
echo "an upward include fails the compile: $probes probes, every folder above each in both spellings"
