#!/bin/sh
# The bundled example, there and back: assembles the harbour project, takes the compiled file apart
# into sources again, assembles those, and checks that the two compiled files are identical.
# examples/out/ becomes a ready tool folder: both executables beside their configuration.
#
#   sh examples/run.sh BUILD_DIR      (make example does this after the build)
set -eu

if [ $# -ne 1 ]; then
  echo "usage: sh examples/run.sh BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
cd "$(dirname "$0")"

fail() {
  echo "$1 (see examples/out/Vornak.log and the messages above)" >&2
  exit 1
}

# Each tool finds its configuration beside itself; the paths in vornak.ini and in the projects are
# taken from the current directory, which is the examples folder while they run.
rm -rf out
mkdir -p out/disassembled
cp "$build/vornak/vornak" "$build/mavren/mavren" out/
printf '[paths]\r\nop=data/opcodes.ini\r\nide=data/objects.ide\r\n' > out/vornak.ini
cp data/scm_asm.ini data/mavren.ini out/
printf '[script]\r\nmain_thread=out/disassembled/harbour.gsr\r\noutput=out/harbour-again.scm\r\nmission_dir=out/disassembled\r\n' > out/again.ini

echo "== 1. vornak assembles examples/project.ini into examples/out/harbour.scm"
out/vornak project.ini || fail "The example did not assemble."
echo "== 2. mavren takes examples/out/harbour.scm apart into examples/out/disassembled/"
out/mavren || fail "The example did not disassemble."
ls out/disassembled
echo "== 3. vornak assembles the disassembled sources into examples/out/harbour-again.scm"
out/vornak out/again.ini || fail "The disassembled example did not assemble."
if cmp -s out/harbour.scm out/harbour-again.scm; then
  echo "The round trip is exact: examples/out/harbour.scm and examples/out/harbour-again.scm are identical."
else
  fail "The two compiled files differ."
fi
