#!/bin/sh
# Makes the archives the unzip tests read, with Info-ZIP zip and 7-Zip: stored, deflated,
# encrypted both ways, split over several files, with comments, with a method we cannot
# decode, and appended to a program stub. Usage: make-archives.sh OUTPUT_DIR
set -eu
out=$1
rm -rf "$out"
mkdir -p "$out/src/Tools" "$out/src/sub/deep"
cd "$out/src"

printf 'Read me first.\r\nThen the rest.\r\n' > readme.txt
seq 1 30000 > Tools/numbers.txt
printf 'unit unit_sfx;\r\nend.\r\n' > Tools/unit_sfx.pas
printf 'unit unit_build;\r\nend.\r\n' > Tools/unit_build.pas
printf 'unit unit_copy;\r\nend.\r\n' > Tools/unit_copy.pas
head -c 150000 /dev/urandom > sub/deep/noise.bin
: > sub/empty.txt
touch -t 202001021304.06 readme.txt Tools/* sub/deep/noise.bin sub/empty.txt Tools sub sub/deep
chmod 444 Tools/unit_copy.pas

zip -q -X -r ../deflated.zip readme.txt Tools sub
zip -q -X -0 -r ../stored.zip readme.txt Tools sub
zip -q -X -D ../flat.zip readme.txt Tools/unit_sfx.pas Tools/unit_build.pas
zip -q -X -P secret ../crypt.zip readme.txt Tools/numbers.txt
7z a -bd -tzip -mem=ZipCrypto -psecret ../crypt7.zip readme.txt Tools/numbers.txt >/dev/null
7z a -bd -tzip -mm=Deflate64 ../deflate64.zip Tools/numbers.txt >/dev/null
zip -q -X -r -s 64k ../split.zip readme.txt Tools sub
zip -q -X ../comment.zip readme.txt Tools/unit_sfx.pas
printf 'The archive comment.\n' | zip -q -z ../comment.zip
printf 'About the readme.\nAbout the unit.\n' | zip -q -c ../comment.zip readme.txt Tools/unit_sfx.pas

# A program in front of the archive whose offsets do not count it, with a decoy local
# header signature in the part that is taken to be the program.
head -c 20000 /dev/zero > ../stub.bin
printf 'PK\003\004' | dd of=../stub.bin bs=1 seek=100 conv=notrunc 2>/dev/null
cat ../stub.bin ../deflated.zip > ../sfx.EXE
cp ../sfx.EXE ../sfx-lower.exe
rm ../stub.bin
