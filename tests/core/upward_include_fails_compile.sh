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
# above it must not, in either spelling, for want of that header. The
# compiler is asked once a folder and spelling for all the headers above
# (listing a header it cannot find as written, which a found one never
# is), and the first of them must fail a real preprocessing too: a
# compiler run a header took minutes on a busy machine.
#
# Usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]
root=${1:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
rules=${2:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
views=${3:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
generated=${4:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
work=${5:?usage: upward_include_fails_compile.sh SOURCE_ROOT RULES VIEWS GENERATED WORK_DIR [CXX]}
cxx=${6:-c++}
rm -rf "$work" && mkdir -p "$work" || exit 2

# The first header directly in folder $1, as a path from the source root,
# into $head ("" when there is none); no subshell, as it runs often.
header_of() {
    head=""
    for h in "$root/$1"/*.h; do [ -e "$h" ] && { head="$1/${h##*/}"; return; }; done
}
# Preprocesses the scratch file $1 as a source of folder $2 would be; the
# log names each missing header "HEADER: No such file or directory".
preprocesses() {
    "$cxx" -std=c++20 -E -I "$views/$(echo "$2" | tr / _)" -I "$generated" "$work/$1" -o /dev/null \
        >"$work/$1.log" 2>&1
}
# The headers the scratch file $1 of folder $2 reaches; a header that is
# not found is listed as written instead of failing. With ALL (the third
# word) the system's headers are listed too, and an angle-bracket header
# that is not found with them (which without it counts as the system's
# and is left out).
dependencies() {
    mode=-MM
    [ -z "${3:-}" ] || mode=-M
    "$cxx" -std=c++20 $mode -MG -I "$views/$(echo "$2" | tr / _)" -I "$generated" "$work/$1" \
        >"$work/$1.log" 2>&1
}

folders=$(sed 's/:.*//' "$rules")
probes=0
while IFS= read -r line; do
    f=${line%%:*}
    allowed=" ${line#*: } "
    above=""
    for g in $folders; do
        case "$allowed" in *" $g "*) ;; *) header_of "$g"; [ -n "$head" ] && above="$above $head" ;; esac
    done
    [ -n "$above" ] || continue      # the top layer sees every folder
    header_of "$f"
    own=$head
    [ -n "$own" ] || continue
    id=$(echo "$f" | tr / _)
    [ -d "$views/$id" ] || { echo "FAIL: $f has no include view in $views"; exit 1; }
    printf '#include "%s"\n' "$own" > "$work/$id.own.cpp"
    if ! dependencies "$id.own.cpp" "$f" || ! grep -q "$views/$id/$own" "$work/$id.own.cpp.log"; then
        cat "$work/$id.own.cpp.log"
        echo "FAIL: $f's own header $own was not found through its view"
        exit 1
    fi
    for spelling in quoted angle; do
        form='"%s"'
        [ $spelling = quoted ] || form='<%s>'
        : > "$work/$id.$spelling.cpp"
        for up in $above; do printf "#include $form\\n" "$up" >> "$work/$id.$spelling.cpp"; done
        dependencies "$id.$spelling.cpp" "$f" all || {
            cat "$work/$id.$spelling.cpp.log"
            echo "FAIL: the headers above $f could not be listed"
            exit 1
        }
        tr -s ' \\' '\n\n' < "$work/$id.$spelling.cpp.log" > "$work/$id.$spelling.found"
        for up in $above; do
            grep -qxF "$up" "$work/$id.$spelling.found" || {
                grep -F "$up" "$work/$id.$spelling.found"
                echo "FAIL: a source of $f found $(grep -F "$up" "$work/$id.$spelling.cpp")"
                exit 1
            }
            probes=$((probes + 1))
        done
        # The first header above fails a real preprocessing, for want of it.
        up=${above# }
        up=${up%% *}
        printf "#include $form\\n" "$up" > "$work/$id.$spelling.first.cpp"
        if preprocesses "$id.$spelling.first.cpp" "$f"; then
            echo "FAIL: a source of $f with $(cat "$work/$id.$spelling.first.cpp") compiled"
            exit 1
        fi
        grep -q "$up: No such file" "$work/$id.$spelling.first.cpp.log" || {
            cat "$work/$id.$spelling.first.cpp.log"
            echo "FAIL: $id.$spelling.first.cpp failed, but not for want of $up"
            exit 1
        }
    done
done < "$rules"
[ "$probes" -gt 0 ] || { echo "FAIL: no folder could be probed"; exit 1; }
echo "an upward include fails the compile: $probes probes, every folder above each in both spellings"
