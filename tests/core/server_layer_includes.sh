#!/bin/sh
# server_layer_includes.sh - fails when a file of rules/ or operations/
# includes a header of shell/ or recordwin/.
#
# The business rules and the operations run on a server too, where no
# window exists: they reach the user interface only through hooks the
# shell installs. Usage: server_layer_includes.sh SOURCE_ROOT
root=${1:?usage: server_layer_includes.sh SOURCE_ROOT}
[ -d "$root/rules" ] || { echo "no rules/ under $root"; exit 2; }
if grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]\(shell\|recordwin\)/' \
        "$root"/rules/*.h "$root"/rules/*.cpp "$root"/operations/*.h "$root"/operations/*.cpp; then
    exit 1
fi
echo "rules/ and operations/ include nothing of shell/ or recordwin/"
