#!/usr/bin/env bash
# make dist: the release in OUT: the page as velmorant-VERSION.html, the Debian
# package, the source archive and SHA256SUMS, with the installable site in
# OUT/site. The package and the page are built from the source archive itself,
# unpacked in WORK, so they hold nothing the archive does not. Dated by the last
# commit and built with one locale, zone and umask, two runs give the same bytes
# wherever and whenever they run.
# Usage: dist.sh OUT WORK [JOBS]
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: dist.sh OUT WORK [JOBS]" >&2; exit 2; }
src=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1" "$2"
out=$(cd "$1" && pwd) work=$(cd "$2" && pwd) jobs=${3:-2}
cd "$src"

git rev-parse --verify --quiet HEAD >/dev/null || { echo "dist: builds from the last commit, so it needs a git checkout" >&2; exit 1; }
umask 022
export LC_ALL=C.UTF-8 TZ=UTC
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
version=$(sed -n '/^project/s/.*VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb_version=$(dpkg-parsechangelog -S Version)
[ "${deb_version%-*}" = "$version" ] || { echo "debian/changelog says $deb_version, CMakeLists.txt $version" >&2; exit 1; }
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "dist: uncommitted changes are left out; the release is built from the last commit" >&2
fi
name=velmorant-$version
deb=velmorant_${deb_version}_$(dpkg --print-architecture).deb

rm -rf "$work" "$out/site" "$out/$name.html" "$out/$name.tar.gz" "$out/${deb:?}" "$out/SHA256SUMS"
mkdir -p "$work"
step() { printf 'dist: %s\n' "$1"; }

# The source: the tracked files as committed. git archive dates every entry by
# the commit and names no owner; gzip -n leaves out the name and the time.
step "source $name.tar.gz"
git archive --format=tar --prefix="$name/" HEAD | gzip -9n >"$out/$name.tar.gz"
tar -xzf "$out/$name.tar.gz" -C "$work"

# Built where no earlier build left anything. dpkg sets the flags that map the
# build path away and dh_strip_nondeterminism clears what tools stamp.
run() {
    local log=$1
    shift
    "$@" >"$work/$log.log" 2>&1 || { tail -n 40 "$work/$log.log"; echo "dist: the whole log: $work/$log.log" >&2; exit 1; }
}
step "package $deb"
(cd "$work/$name" && run deb env DEB_BUILD_OPTIONS="parallel=$jobs ${DEB_BUILD_OPTIONS:-}" dpkg-buildpackage -b -us -uc)
cp "$work/$deb" "$out/"

# The page needs no Qt: the plain libraries compiled to WebAssembly.
step "page $name.html and site/"
run page-configure cmake -S "$work/$name" -B "$work/page" -DCMAKE_BUILD_TYPE=Release -DVELMORANT_APP=OFF -DVELMORANT_TESTS=OFF
run page cmake --build "$work/page" -j "$jobs" --target web_site
cp "$work/page/web/index.html" "$out/$name.html"
cp -R "$work/page/web/site" "$out/site"

(cd "$out" && sha256sum "$name.html" "$deb" "$name.tar.gz" >SHA256SUMS)
rm -rf "$work"
step "done: $out"
