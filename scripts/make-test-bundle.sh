#!/usr/bin/env bash
# Makes the test kit of one architecture after its build: a folder and a zip beside the release
# archive that rerun the suite's tests on Windows with nothing else installed.
#
#   scripts/make-test-bundle.sh x86_64   # after: cmake --build --preset win64
#   scripts/make-test-bundle.sh i686     # after: the win32 and win32-tests builds
#
# The kit holds the product files of that architecture (product\), every test program and
# every file the tests read at the same places relative to copies of their trees (build\, and
# deliverables\ for i686: the shipping build's folder; source\: files of the source tree),
# runner.exe, tests.manifest, README.txt, run.cmd and run.wsb. The manifest is what CTest
# knows after the build (ctest --show-only=json-v1): every test with its program, arguments,
# environment, working folder, time limit, labels and pass/skip patterns, the paths made
# relative to the kit and the Wine emulator left out. The tests find their files through
# QS_TEST_BUNDLE, which runner.exe sets (tests/support/TestedPath.h).
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD

case "${1:-}" in
  x86_64) preset=win64 deliverables=build/win64 format=pei-x86-64 ;;
  i686) preset=win32-tests deliverables=build/win32 format=pei-i386 ;;
  *) echo "usage: $0 i686|x86_64" >&2; exit 2 ;;
esac
arch=$1
build=build/$preset
[ -f "$build/CTestTestfile.cmake" ] || { echo "make-test-bundle: build $preset first" >&2; exit 2; }
[ -f "$build/testkit/runner.exe" ] || { echo "make-test-bundle: $build/testkit/runner.exe is missing" >&2; exit 2; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
release=$deliverables/release
name=Quillsuite-$version-$arch-tests
kit=$release/$name
rm -rf "$kit" "$release/$name.zip" "$release/$name.zip.sha256"
mkdir -p "$kit"

# What CTest knows: GoogleTest programs list their tests at first use (under Wine here).
json=$(mktemp)
trap 'rm -f "$json"' EXIT
if [ -n "${QS_WINE_READY:-}" ]; then
  ctest --preset "$preset" --show-only=json-v1 >"$json"
else
  scripts/with-wine.sh ctest --preset "$preset" --show-only=json-v1 >"$json"
fi

# Every program and library of the build trees (the tests drive them where the build put them).
copy_tree() { # FROM TO
  (cd "$1" && find . \( -path ./CMakeFiles -o -path '*/CMakeFiles' -o -path ./release -o -path ./googletest \) -prune \
     -o -type f \( -iname '*.exe' -o -iname '*.dll' \) -printf '%P\n') |
    while read -r f; do mkdir -p "$2/$(dirname "$f")"; cp "$1/$f" "$2/$f"; done
}
copy_tree "$build" "$kit/build"
[ "$deliverables" = "$build" ] || copy_tree "$deliverables" "$kit/deliverables"

timeout=$(python3 -c 'import json,sys; p=[t for t in json.load(open("CMakePresets.json"))["testPresets"] if t["name"]==sys.argv[1]][0]; print(p.get("execution",{}).get("timeout",1500))' "$preset")
python3 - "$json" "$kit" "$src" "$src/$build" "$src/$deliverables" "$timeout" <<'EOF'
# The manifest, and the other files of the trees that the test programs name.
import json, os, re, shutil, subprocess, sys
data, kit, source, build, deliverables, default_timeout = sys.argv[1:]
roots = [(build, "build"), (source, "source")] + ([(deliverables, "deliverables")] if deliverables != build else [])
roots.sort(key=lambda r: -len(r[0]))

def in_kit(path):
    for root, folder in roots:
        if path == root or path.startswith(root + "/"):
            return (folder + path[len(root):]).replace("/", "\\")
    return None

def kit_path(path, what):
    rel = in_kit(path)
    if rel is None:
        sys.exit(f"make-test-bundle: {what} {path} lies outside the build and source trees")
    return rel

tests = json.load(open(data))["tests"]
lines = ["# The tests of this kit, made from CTest's list after the build. runner.exe reads it;",
         "# paths are relative to the kit's folder."]
programs = set()
for test in tests:
    command = list(test.get("command") or [])
    # The emulator that runs Windows programs under Wine on Linux (scripts/wine-exec).
    if command and (os.path.basename(command[0]) == "wine-exec" or os.path.basename(command[0]).startswith("wine")):
        command = command[1:]
    if not command:
        sys.exit(f"make-test-bundle: test {test['name']} has no command")
    programs.add(command[0])
    props = {p["name"]: p["value"] for p in test.get("properties", [])}
    unknown = set(props) - {"ENVIRONMENT", "TIMEOUT", "WORKING_DIRECTORY", "LABELS", "PASS_REGULAR_EXPRESSION",
                            "SKIP_REGULAR_EXPRESSION", "RESOURCE_LOCK", "_BACKTRACE_TRIPLES"}
    if unknown:
        sys.exit(f"make-test-bundle: test {test['name']}: the runner does not know {sorted(unknown)}")
    # A code page comes from the locale Wine starts with; on Windows it is the system's, so
    # such a test must declare the code page it needs for the runner to probe.
    for env in props.get("ENVIRONMENT", []):
        acp = re.match(r"QS_EXPECT_ACP=(\d+)$", env) or re.match(r"LC_ALL=(ja_JP|zh_CN|ko_KR)", env)
        if acp and not any(l.startswith("needs-acp-") for l in props.get("LABELS", [])):
            sys.exit(f"make-test-bundle: test {test['name']} sets {env} but declares no needs-acp- label")
    lines.append("")
    lines.append("test=" + test["name"])
    lines.append("program=" + kit_path(command[0], "program"))
    for arg in command[1:]:
        lines.append("arg=" + (in_kit(arg) or arg))
    for env in props.get("ENVIRONMENT", []):
        lines.append("env=" + env)
    if "WORKING_DIRECTORY" in props:
        lines.append("dir=" + kit_path(props["WORKING_DIRECTORY"], "working folder"))
    lines.append("timeout=%d" % int(float(props.get("TIMEOUT", default_timeout))))
    for label in props.get("LABELS", []):
        lines.append("label=" + label)
    for pattern in props.get("PASS_REGULAR_EXPRESSION", []):
        lines.append("pass=" + pattern)
    for pattern in props.get("SKIP_REGULAR_EXPRESSION", []):
        lines.append("skip=" + pattern)
text = "\r\n".join(lines) + "\r\n"
for root, _ in roots:
    if root in text:
        sys.exit(f"make-test-bundle: the manifest still names {root}")
open(os.path.join(kit, "tests.manifest"), "w", newline="").write(text)

# Files (other than programs, sources and the Linux-side helpers) whose paths the test programs
# carry: examples, data files, files the build made.
wanted = set()
for program in programs:
    strings = subprocess.run(["strings", "-a", program], capture_output=True, text=True).stdout.split("\n")
    for s in strings:
        for root, _ in roots:
            if s.startswith(root + "/") and os.path.exists(s) and not re.search(r"\.(c|cpp|h|py)$|/CMakeFiles/", s):
                wanted.add(s)
for path in sorted(wanted):
    target = os.path.join(kit, in_kit(path).replace("\\", "/"))
    if os.path.isdir(path):
        # A folder of the source tree (examples, data); the build trees' programs are copied.
        if path.startswith(source + "/") and not any(path == root or root.startswith(path + "/") for root, _ in roots):
            shutil.copytree(path, target, dirs_exist_ok=True)
    elif not os.path.exists(target):
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(path, target)
print(f"make-test-bundle: {len(tests)} tests in the manifest, {len(programs)} programs")
EOF

# The product files of this architecture, as a vendor ships them.
product=$kit/product
mkdir -p "$product/vendor" "$product/examples"
for f in Upvane.exe Regpick.exe Revivo.exe Traylet.dll setmaker.exe; do
  found=$(find "$deliverables" -name "$f" -not -path '*/tests/*' -not -path '*/sdk/*' -not -path '*/release/*' -not -path '*/CMakeFiles/*')
  [ "$(echo "$found" | grep -c .)" = 1 ] || { echo "make-test-bundle: not one $f in $deliverables: $found" >&2; exit 1; }
  dest=$product/$f
  [ "$f" = setmaker.exe ] && dest=$product/vendor/$f
  cp "$found" "$dest"
  x86_64-w64-mingw32-objdump -f "$dest" | grep -q "file format $format" \
    || { echo "make-test-bundle: $f is not a $format file" >&2; exit 1; }
done
cp examples/Quillory.set examples/quillory-demo.ini examples/version.txt "$product/examples/"
cp "$build/testkit/runner.exe" "$kit/runner.exe"
cp packaging/test-kit/README.txt "$kit/README.txt"
sed "s/@ARCH@/$arch/g; s/@VERSION@/$version/g" packaging/test-kit/run.wsb >"$kit/run.wsb"
cp packaging/test-kit/run.cmd "$kit/run.cmd"
# Windows reads these with CRLF line ends.
sed -i 's/\r*$/\r/' "$kit/README.txt" "$kit/run.cmd" "$kit/run.wsb"

# Nothing in the kit's own texts may name the build machine.
if grep -l -e "$src" -e '/usr/' -e '/tmp/' -e 'wine-exec' "$kit"/*.txt "$kit"/*.cmd "$kit"/*.wsb "$kit"/tests.manifest; then
  echo "make-test-bundle: the files above name the build machine" >&2
  exit 1
fi

(cd "$release" && find "$name" -type f -print | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 "$name.zip" -@ \
  && sha256sum "$name.zip" >"$name.zip.sha256")
echo "make-test-bundle: $kit and $kit.zip ($(du -sh "$release/$name.zip" | cut -f1))"
