#!/usr/bin/env bash
# Fills the winget and Scoop manifests of packaging/ for one release of Tintelo.exe: its
# version, its SHA-256 and the URL GitHub serves it from as a release asset. Writes
# OUT/winget/*.yaml (the multi-file manifest set winget-pkgs takes) and OUT/scoop/tintelo.json.
# Usage: package.sh VERSION REPOSITORY EXE [OUT]
#   VERSION     1.2.3, or the tag v1.2.3
#   REPOSITORY  owner/name on GitHub (the release job passes $GITHUB_REPOSITORY)
#   EXE         the Tintelo.exe attached to that release
#   OUT         where the manifests go; build/packaging by default
set -euo pipefail
if [ $# -lt 3 ] || [ $# -gt 4 ]; then
  echo "usage: $0 VERSION REPOSITORY EXE [OUT]" >&2
  exit 2
fi
version=${1#v}
repository=$2
exe=$3
out=${4:-build/packaging}
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "version $1 is not X.Y.Z or vX.Y.Z" >&2; exit 2; }
[[ $repository =~ ^[A-Za-z0-9_.-]+/[A-Za-z0-9_.-]+$ ]] || { echo "repository $2 is not owner/name" >&2; exit 2; }
[ -f "$exe" ] || { echo "no file $exe" >&2; exit 2; }

templates="$(cd "$(dirname "$0")/.." && pwd)/packaging"
sha256=$(sha256sum "$exe" | cut -d' ' -f1)
# The asset's name is fixed: the release attaches build/release/Tintelo.exe as it is.
url="https://github.com/$repository/releases/download/v$version/Tintelo.exe"

fill() {  # fill TEMPLATE OUTPUT
  sed -e "s|@VERSION@|$version|g" -e "s|@REPOSITORY@|$repository|g" -e "s|@URL@|$url|g" \
      -e "s|@SHA256@|$sha256|g" -e "s|@SHA256_UPPER@|${sha256^^}|g" "$1" > "$2"
  if grep -n '@[A-Z0-9_]*@' "$2"; then
    echo "$2: a placeholder of $1 is left unfilled" >&2
    exit 1
  fi
}
mkdir -p "$out/winget" "$out/scoop"
for template in "$templates"/winget/*.yaml; do
  fill "$template" "$out/winget/$(basename "$template")"
done
fill "$templates/scoop/tintelo.json" "$out/scoop/tintelo.json"
echo "manifests of Tintelo $version ($url, SHA-256 $sha256) in $out/winget and $out/scoop"
