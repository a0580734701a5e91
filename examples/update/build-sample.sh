#!/bin/sh
# Builds the sample update for the TZarnix product: an archive of placeholder files in the
# order the update wizard expects (deflated files, stored folder entries) and, when given the
# wizard and the packer, the update program that carries it.
# Usage: build-sample.sh OUTDIR [UPDATE.EXE PELORIN-PACK]
#   writes OUTDIR/tzarnix-pro.zip, and OUTDIR/tzarnix-update.exe with the two programs.
set -eu
[ $# -eq 1 ] || [ $# -eq 3 ] || { echo "usage: $0 OUTDIR [UPDATE.EXE PELORIN-PACK]" >&2; exit 2; }
out=$1
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The entries, in archive order; a name ending in "/" is a folder entry.
entries='Delphi 2/
Delphi 2/KZarnix.dcu
Delphi 2/KZarnix.res
Delphi 2/TZXComp.dcu
Delphi 2/TZXEdit.dcu
Delphi 2/TZXEdit.dfm
Delphi 3/
Delphi 3/KZarnix.res
Delphi 3/TZXComp.dcu
Delphi 3/TZXEdit.dcu
Delphi 3/TZXEdit.dfm
Delphi 3/KZarnix.dcu
Tzxpro.hlp
Tools/
Tools/SfxBuild.dof
Tools/unit_sfx.dfm
Tools/unit_sfx.pas
Tools/SfxBuild.dpr
Tools/unit_build.pas
Tools/unit_build.dfm
Tools/SfxStub.dof
Tools/SfxStub.dpr
Tools/SfxStub.res
Tools/SfxBuild.res
Tools/unit_build.dcu
Tools/unit_sfx.dcu
Tools/wizard.ico
Tools/SFXStub.ico
Tools/sfxstub.R32
Tools/unit_build2.dcu
Tools/unit_build2.pas
Tools/unit_build2.dfm
Tools/unit_options.dcu
Tools/unit_options.pas
Tools/unit_options.dfm'

cd "$work"
echo "$entries" | while IFS= read -r name; do
  case "$name" in
    */) mkdir -p "$name" ;;
    *)
      # Placeholder text, repeated so that deflating pays and zip keeps the entry deflated.
      i=0
      while [ $i -lt 12 ]; do
        echo "TZarnix Professional edition 1.1 sample file: $name (placeholder line $i)"
        i=$((i + 1))
      done > "$name" ;;
  esac
done
find . -exec touch -d '1998-03-14 10:00:00' {} +

rm -f "$out/tzarnix-pro.zip"
echo "$entries" | zip -q -X -9 "$out/tzarnix-pro.zip" -@
echo "$out/tzarnix-pro.zip"

if [ $# -eq 3 ]; then
  "$3" "$2" "$out/tzarnix-pro.zip" "$out/tzarnix-update.exe"
fi
