#!/bin/sh
# The program folder holds the program and what it reads, never the build's own files (a module
# folder that was also a build folder once copied its objects and CMake files in).
#   tests/programFolder.sh FOLDER
set -eu
cd "$1"
for f in velotecla velotecla-relatorio vtprint.so aulas/aula24.aul splash.jpg; do
    [ -e "$f" ] || { echo "missing from the program folder: $f"; exit 1; }
done
stray=$(find . \( -name CMakeFiles -o -name '*.cmake' -o -name '*.o' -o -name '*_autogen' -o -name '*.ninja' \) -print)
if [ -n "$stray" ]; then
    echo "build files in the program folder:"
    echo "$stray"
    exit 1
fi
echo "program folder: $(find . -type f | wc -l) files, none of the build's"
