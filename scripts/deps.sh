#!/usr/bin/env bash
# Builds the static third-party libraries (SQLite, libzip, libcurl with FTP only) for Windows
# x86_64 from Debian's source packages, into a cache folder keyed by their versions.
# Prints the install prefix on the last line of stdout. A second run takes a moment.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache_root=${QRV_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/qrv-deps}
mkdir -p "$cache_root"

log() { echo "deps: $*" >&2; }
die() { echo "deps: error: $*" >&2; exit 1; }

src_version() {
  apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ {print $2; exit}'
}

ensure_deb_src() {
  local f=/etc/apt/sources.list.d/debian.sources
  if [ -z "$(src_version sqlite3)" ]; then
    if [ -f "$f" ] && grep -q '^Types: deb$' "$f"; then
      log "enabling deb-src in $f"
      sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
    fi
    apt-get update -q >&2 || die "apt-get update failed"
  fi
  [ -n "$(src_version sqlite3)" ] || die "no source packages visible to apt (deb-src missing?)"
}

ensure_deb_src
v_sqlite=$(src_version sqlite3); v_zip=$(src_version libzip); v_curl=$(src_version curl)
key="sqlite-${v_sqlite}_zip-${v_zip}_curl-${v_curl}_r1"
prefix="$cache_root/$key"

exec 9>"$cache_root/.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"; exit 0
fi

log "building into $prefix (takes a few minutes once)"
work=$(mktemp -d "$cache_root/work.XXXXXX")
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"; mkdir -p "$prefix/lib" "$prefix/include"
jobs=$(nproc)
mingw=/usr/x86_64-w64-mingw32
toolchain="$here/cmake/mingw-w64.cmake"
zlib_args=(-DZLIB_LIBRARY=$mingw/lib/libz.a -DZLIB_INCLUDE_DIR=$mingw/include)

cd "$work"
apt-get source --download-only sqlite3 libzip curl >"$work/fetch.log" 2>&1 || { cat "$work/fetch.log" >&2; die "apt-get source failed"; }

unpack() { # the upstream tarball of a source package, not its signature
  local f
  f=$(ls "$1"_*.orig.tar.* | grep -v '\.asc$' | head -1)
  tar xf "$f"
}

run() { # run a step quietly, show its log when it fails
  local name=$1; shift
  "$@" >"$work/$name.log" 2>&1 || { tail -40 "$work/$name.log" >&2; die "$name failed"; }
}

log "sqlite"
unpack sqlite3
mkdir sqlite-bld
(cd sqlite-bld && run sqlite-configure ../sqlite3-*/configure --disable-tcl \
  && run sqlite-amalgamation make -j"$jobs" sqlite3.c \
  && run sqlite-compile x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -c sqlite3.c -o sqlite3.o \
  && x86_64-w64-mingw32-ar rcs "$prefix/lib/libsqlite3.a" sqlite3.o \
  && cp sqlite3.h sqlite3ext.h "$prefix/include/")

log "libzip"
unpack libzip
run libzip-configure cmake -S libzip-*/ -B libzip-bld -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
  -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
  -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF \
  -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=ON "${zlib_args[@]}"
run libzip-build cmake --build libzip-bld -j"$jobs"
run libzip-install cmake --install libzip-bld

log "curl (FTP only)"
unpack curl
disabled=()
for p in DICT FILE GOPHER HTTP IMAP LDAP LDAPS MQTT POP3 RTSP SMB SMTP TELNET TFTP; do
  disabled+=("-DCURL_DISABLE_$p=ON")
done
run curl-configure cmake -S curl-*/ -B curl-bld -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF \
  -DCURL_ENABLE_SSL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=OFF \
  -DUSE_NGHTTP2=OFF -DCURL_ZSTD=OFF -DCURL_BROTLI=OFF -DCURL_USE_LIBPSL=OFF -DCURL_USE_GSSAPI=OFF \
  -DENABLE_UNIX_SOCKETS=OFF -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none -DCURL_ZLIB=OFF \
  -DCURL_DISABLE_FTP=OFF -DCURL_DISABLE_ALTSVC=ON -DCURL_DISABLE_HSTS=ON -DCURL_DISABLE_COOKIES=ON "${disabled[@]}"
run curl-build cmake --build curl-bld -j"$jobs"
run curl-install cmake --install curl-bld

touch "$prefix/.complete"
log "done"
echo "$prefix"
