#!/bin/sh
# Assembles the bundled example: prepares a tool folder in examples/out/ (the assembler beside a
# vornak.ini naming the example's opcode and object definition files), runs it on the example
# project from the examples folder, and says where the compiled file went.
#
#   sh examples/run.sh BUILD_DIR      (make example does this after the build)
set -eu

if [ $# -ne 1 ]; then
  echo "usage: sh examples/run.sh BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
cd "$(dirname "$0")"

# vornak finds its configuration beside itself; the paths in it are taken from the current
# directory, which is the examples folder while it runs.
mkdir -p out
cp "$build/vornak/vornak" out/vornak
printf '[paths]\r\nop=data/opcodes.ini\r\nide=data/objects.ide\r\n' > out/vornak.ini

echo "Assembling examples/project.ini with examples/out/vornak"
status=0
out/vornak project.ini || status=$?
if [ "$status" -eq 0 ]; then
  echo "The compiled file is examples/out/harbour.scm; the outcome is recorded in examples/out/Vornak.log."
else
  echo "The example failed to assemble (exit status $status); see examples/out/Vornak.log." >&2
fi
exit "$status"
