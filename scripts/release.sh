#!/usr/bin/env bash
# Builds the program alone (no tests, no benchmarks) and packs it with the README and their
# SHA-256 sums into build/release/Tessilor-<version>.zip; the build and the zip both repeat
# byte for byte, so anyone can check a release against its sources.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
# The version's one place is project() in CMakeLists.txt.
version=$(sed -n 's/^project(Tessilor VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
if ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "no four-number version in CMakeLists.txt's project()" >&2
  exit 1
fi
# A tree of its own, so that the tests' options in build/win never touch the released program.
bash scripts/build.sh program
stage=build/release/Tessilor-$version
zip=build/release/Tessilor-$version.zip
rm -rf "$stage" "$zip"
mkdir -p "$stage"
cp build/win-release/Tessilor.exe README.md "$stage/"
(cd "$stage" && sha256sum Tessilor.exe README.md > SHA256SUMS)
# zipfile with fixed entries: same order, times, modes and compression every time.
python3 - "$stage" "$zip" <<'EOF'
import sys, zipfile
stage, out = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(out, "w") as z:
    for name in ("Tessilor.exe", "README.md", "SHA256SUMS"):
        info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
        info.create_system = 3  # Unix, so that the mode below is read
        info.external_attr = 0o100644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(f"{stage}/{name}", "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
EOF
echo "zip: $PWD/$zip"
echo "SHA-256: $(sha256sum "$zip" | cut -d' ' -f1)"
