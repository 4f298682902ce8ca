#!/bin/sh
# server_layer_includes.sh - fails when a file of rules/ or operations/
# includes a display, drawing or window header of the platform.
#
# The business rules and the operations run on a server too, where no
# window exists. The layer list already keeps them from shell/ and the
# other windows (layer_includes.sh); the platform is beneath them, so this
# rule names the headers of it they must not use either.
# Usage: server_layer_includes.sh SOURCE_ROOT
root=${1:?usage: server_layer_includes.sh SOURCE_ROOT}
[ -d "$root/rules" ] || { echo "no rules/ under $root"; exit 2; }
display='bitmap\|clipboard\|control\|control_internal\|dialog\|display\|draw\|draw_internal\|font\|icon\|logo_bitmap\|mdi\|menu\|print\|script\|window\|window_internal'
if grep -n "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]\\(shell/\\|recordwin/\\|outputwin/\\|platform/\\($display\\)\\.h\\)" \
        "$root"/rules/*.h "$root"/rules/*.cpp "$root"/operations/*.h "$root"/operations/*.cpp; then
    exit 1
fi
echo "rules/ and operations/ include no window, drawing or display header"
