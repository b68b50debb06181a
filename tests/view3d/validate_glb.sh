#!/usr/bin/env bash
# Runs the Khronos glTF validator (npm package gltf-validator) on a file the exporter writes.
# Skipped (77) when node or the package is not installed: nothing is fetched here.
# Usage: validate_glb.sh <test_glb_export executable>
set -euo pipefail
exe=$1
command -v node >/dev/null || { echo "node not installed: skipped"; exit 77; }
roots=$(npm root -g 2>/dev/null || true)
export NODE_PATH="${roots}${NODE_PATH:+:$NODE_PATH}"
node -e "require('gltf-validator')" 2>/dev/null || { echo "gltf-validator not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QUILLON_GLB_SAMPLE=$work/sample.glb "$exe" --gtest_filter=GlbExport.SampleForTheValidator >/dev/null
node - "$work/sample.glb" <<'JS'
const fs = require('fs');
const validator = require('gltf-validator');
const bytes = new Uint8Array(fs.readFileSync(process.argv[2]));
validator.validateBytes(bytes).then((report) => {
    const issues = report.issues;
    for (const m of issues.messages) console.log(`${m.severity} ${m.code} ${m.pointer || ''} ${m.message}`);
    console.log(`errors ${issues.numErrors}, warnings ${issues.numWarnings}, infos ${issues.numInfos}`);
    process.exit(issues.numErrors + issues.numWarnings > 0 ? 1 : 0);
}, (error) => { console.log(error); process.exit(1); });
JS
