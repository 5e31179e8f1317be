#!/usr/bin/env bash
# Builds the Debian package from a release tree of its own, checks what it holds and its
# metadata (desktop-file-validate, appstreamcli, lintian), installs it with apt-get, starts the
# installed program offscreen and removes the package again.
#   check_package.sh <source dir> <scratch build dir>
# Prints "SKIPPED: <why>" and exits 0 when a tool it needs is missing or it cannot install
# packages (not root); scripts/setup installs every tool.
set -euo pipefail
source_dir=$1
build_dir=$2

for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian apt-get ldd; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (scripts/setup installs it)"
    exit 0
  fi
done
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: installing the package needs root"
  exit 0
fi

# The program alone: no tests, no demo, no benchmarks, so "all" is just quorvane. The tree is
# normally configured and built already by the runtime-libraries check; this keeps its options.
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUORVANE_BUILD_TESTS=OFF -DQUORVANE_BUILD_DEMO=OFF -DQUORVANE_BUILD_BENCH=OFF \
  >"$build_dir.configure.log" 2>&1 || { cat "$build_dir.configure.log"; exit 1; }
rm -f "$build_dir"/quorvane_*.deb
cmake --build "$build_dir" --target package -j 2 >"$build_dir.build.log" 2>&1 ||
  { tail -n 50 "$build_dir.build.log"; exit 1; }
debs=("$build_dir"/quorvane_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "no package was made"; exit 1; }
echo "package: $deb"

# What it holds: the program and its menu, icon, metadata and documentation files, nothing else.
expected="./usr/bin/quorvane
./usr/share/applications/org.quorvane.Quorvane.desktop
./usr/share/doc/quorvane/changelog.gz
./usr/share/doc/quorvane/copyright
./usr/share/icons/hicolor/128x128/apps/quorvane.png
./usr/share/icons/hicolor/256x256/apps/quorvane.png
./usr/share/icons/hicolor/48x48/apps/quorvane.png
./usr/share/icons/hicolor/scalable/apps/quorvane.svg
./usr/share/man/man1/quorvane.1.gz
./usr/share/metainfo/org.quorvane.Quorvane.metainfo.xml"
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | LC_ALL=C sort)
if [ "$files" != "$expected" ]; then
  echo "the package holds other files than expected:"
  diff <(echo "$expected") <(echo "$files") || true
  exit 1
fi
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libcurl4 libpng16-16 libgif7 libjpeg62-turbo; do
  grep -q "$library" <<<"$depends" || { echo "Depends misses $library"; exit 1; }
done

contents=$build_dir/contents
rm -rf "$contents"
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents/usr/share/applications/org.quorvane.Quorvane.desktop"
appstreamcli validate --no-net "$contents/usr/share/metainfo/org.quorvane.Quorvane.metainfo.xml"

echo "lintian:"
lintian_output=$(lintian "$deb" 2>&1 || true)
echo "${lintian_output:-(nothing to report)}"
if grep -q '^E:' <<<"$lintian_output"; then
  echo "lintian reports errors"
  exit 1
fi

# Installed the way a user would, and removed again however the rest goes.
cleanup() { DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq quorvane >/dev/null 2>&1 || true; }
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$deb")" >"$build_dir.install.log" 2>&1 ||
  { cat "$build_dir.install.log"; exit 1; }
if ldd /usr/bin/quorvane | grep 'not found'; then
  echo "the installed program misses libraries"
  exit 1
fi

# The installed program comes up offscreen, stays up and ends on SIGTERM, as a session's end
# would end it. Its window is checked by the window tests; here it must not fail to start.
errors=$build_dir.run.log
QT_QPA_PLATFORM=offscreen /usr/bin/quorvane 2>"$errors" &
program=$!
sleep 2
if ! kill -0 "$program" 2>/dev/null; then
  wait "$program" && status=0 || status=$?
  echo "the installed program ended by itself (status $status):"
  cat "$errors"
  exit 1
fi
kill -TERM "$program"
wait "$program" && status=0 || status=$?
if [ "$status" -ne 143 ]; then
  echo "the installed program did not end on SIGTERM as expected (status $status)"
  exit 1
fi
if grep -v -e '^QStandardPaths: ' "$errors" | grep -q .; then
  echo "the installed program complained:"
  cat "$errors"
  exit 1
fi
echo "installed, started and removed"
