#!/bin/sh
# layer_includes.sh - fails when a file includes a header of a layer it
# must not see. Each rule is named; the build's tests run the rules that
# the code keeps, one test a rule.
#
#   output-no-record-windows  output/ includes nothing of recordwin/ or
#                             outputwin/ (the windows are above it)
#   output-no-shell           output/ includes nothing of shell/
#   output-no-features        output/ includes nothing of reports/,
#                             exchange/, net/ or features/ (the reports
#                             and the exchange install the output
#                             layer's hooks at the program's start)
#   business-no-windows       rules/ and operations/ include nothing of
#                             shell/, recordwin/, outputwin/ or the
#                             platform's display, drawing and window
#                             headers (they run on a server too)
#   business-no-features      rules/ and operations/ include nothing of
#                             reports/, exchange/, net/ or features/
#   business-no-output        rules/ and operations/ include nothing of
#                             output/ (they print through
#                             rules/print_services.h)
#   ui-no-features            shell/, recordwin/ and outputwin/ include
#                             nothing of reports/, exchange/, net/ or
#                             features/ (the features install themselves
#                             into the ui's tables at the program's start)
#
# Usage: layer_includes.sh SOURCE_ROOT RULE...
root=${1:?usage: layer_includes.sh SOURCE_ROOT RULE...}
shift
[ $# -gt 0 ] || { echo "usage: layer_includes.sh SOURCE_ROOT RULE..."; exit 2; }
[ -d "$root/output" ] && [ -d "$root/rules" ] || { echo "no output/ or rules/ under $root"; exit 2; }

display='bitmap\|clipboard\|control\|control_internal\|dialog\|display\|draw\|draw_internal\|font\|icon\|logo_bitmap\|mdi\|menu\|print\|script\|window\|window_internal'
failed=0
# check RULE PATTERN FOLDER...: the include lines of FOLDERS' headers and
# sources that name a header matching PATTERN (a basic regex of the path
# after the opening quote).
check() {
    rule=$1 pattern=$2
    shift 2
    found=$(find "$@" \( -name '*.h' -o -name '*.cpp' \) -print | sort |
        xargs grep -n "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]\($pattern\)")
    if [ -n "$found" ]; then
        echo "$rule: these includes reach above their layer:"
        echo "$found"
        failed=1
    else
        echo "$rule: kept"
    fi
}
for rule in "$@"; do
    case $rule in
    output-no-record-windows) check "$rule" 'recordwin/\|outputwin/' "$root/output" ;;
    output-no-shell) check "$rule" 'shell/' "$root/output" ;;
    output-no-features) check "$rule" 'reports/\|exchange/\|net/\|features/' "$root/output" ;;
    business-no-windows)
        check "$rule" "shell/\|recordwin/\|outputwin/\|platform/\($display\)\.h" "$root/rules" "$root/operations" ;;
    business-no-features) check "$rule" 'reports/\|exchange/\|net/\|features/' "$root/rules" "$root/operations" ;;
    business-no-output) check "$rule" 'output/' "$root/rules" "$root/operations" ;;
    ui-no-features)
        check "$rule" 'reports/\|exchange/\|net/\|features/' "$root/shell" "$root/recordwin" "$root/outputwin" ;;
    *) echo "unknown rule $rule"; exit 2 ;;
    esac
done
exit $failed
