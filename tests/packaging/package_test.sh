#!/usr/bin/env bash
# Builds the Debian package from the build tree, checks what it holds and
# declares, validates its desktop entry and AppStream record, unpacks it
# into a temporary root and starts the installed program there.
#   package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "package_test: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/out/springlab_*.deb)
[ "$(basename "$deb")" = "springlab_${version}_$(dpkg --print-architecture).deb" ] \
    || fail "unexpected package name $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libqt6multimedia6 qt6-qpa-plugins; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
# A Japanese font is required, any one of three.
grep -q 'fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic' <<<"$depends" \
    || fail "Depends lacks a Japanese font with alternatives: $depends"

# The description as `apt show` prints it: the summary, then the long text
# indented by one space, and no line made of a list separator.
expected_description="Animated mass-spring experiments for the classroom
 SpringLab animates four mass-spring experiments (a damped spring, a mass on an
 elastic cord, two balls joined by a spring, a rubber cord) in windows with a
 Japanese interface."
description=$(dpkg-deb -f "$deb" Description)
[ "$description" = "$expected_description" ] || fail "unexpected Description:
$description"
if grep -q '^ *;' <<<"$(dpkg-deb -I "$deb" control)"; then
    fail "the control file has a line beginning with ';'"
fi

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/springlab \
         ./usr/share/applications/org.springlab.SpringLab.desktop \
         ./usr/share/icons/hicolor/scalable/apps/org.springlab.SpringLab.svg \
         ./usr/share/icons/hicolor/48x48/apps/org.springlab.SpringLab.png \
         ./usr/share/metainfo/org.springlab.SpringLab.metainfo.xml \
         ./usr/share/doc/springlab/copyright; do
    grep -q " $f\$" <<<"$contents" || fail "package lacks $f"
done

root="$work/root"
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.springlab.SpringLab.desktop" \
    || fail "desktop entry does not validate"
grep -q '^Name\[ja\]=バネ関係$' "$root/usr/share/applications/org.springlab.SpringLab.desktop" \
    || fail "desktop entry lacks the Japanese name"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.springlab.SpringLab.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail "metainfo does not validate"; }
grep -q "version=\"$version\"" "$root/usr/share/metainfo/org.springlab.SpringLab.metainfo.xml" \
    || fail "metainfo release is not $version"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
    "$root/usr/share/metainfo/org.springlab.SpringLab.metainfo.xml" || fail "metainfo lacks the licence"
grep -q '^License: GPL-3.0-or-later$' "$root/usr/share/doc/springlab/copyright" \
    || fail "the copyright file does not give the licence"

# The installed program: it must come up on the offscreen platform, stay
# up, and close cleanly (exit status 0) when asked to terminate.
QT_QPA_PLATFORM=offscreen "$root/usr/bin/springlab" >"$work/run.log" 2>&1 &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || { cat "$work/run.log"; fail "the installed program did not stay up"; }
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { cat "$work/run.log"; fail "the program did not close cleanly (status $status)"; }
if grep -v -E 'XDG_RUNTIME_DIR|propagateSizeHints|does not support raise' "$work/run.log" | grep -q .; then
    cat "$work/run.log"
    fail "the program printed errors"
fi
echo "package_test: $(basename "$deb") passed"
