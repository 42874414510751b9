#!/usr/bin/env bash
# Stops a release whose tag is not the project's version: TAG must be "v" followed by the
# VERSION of project() in CMakeLists.txt, the one place the version is written.
# Usage: check-version.sh TAG   (e.g. v1.0.0)
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 TAG" >&2; exit 2; }
cd "$(dirname "$0")/.."
version=$(sed -nE 's/^project\(Tintelo VERSION ([0-9]+\.[0-9]+\.[0-9]+)[ )].*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then
  echo "no project(Tintelo VERSION X.Y.Z ...) line in CMakeLists.txt" >&2
  exit 1
fi
if [ "$1" != "v$version" ]; then
  echo "the tag $1 is not the project's version: CMakeLists.txt says $version, so the tag must be v$version" >&2
  exit 1
fi
echo "the tag $1 is the project's version"
