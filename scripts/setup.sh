#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, when it is missing.
# Idempotent: quick when everything is present.
set -euo pipefail

packages=(cmake g++ make qt6-base-dev qt6-qpa-plugins qt6-webengine-dev qt6-webchannel-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev libgumbo-dev pkg-config chromium
          fonts-dejavu-core desktop-file-utils shared-mime-info clang-tidy qt6-l10n-tools)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js may come from elsewhere than Debian's packages; only a missing command is installed.
command -v node > /dev/null || missing+=(nodejs)
command -v npm > /dev/null || missing+=(npm)
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "setup: installing ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser end-to-end tests drive Debian's chromium through playwright-core; they are
# installed again when a pinned package is missing or at another version.
cd "$(dirname "$0")/.."
node -e '
const e2e = process.argv[1];
for (const [name, pinned] of Object.entries(require(`${e2e}/package.json`).devDependencies)) {
    try {
        if (require(`${e2e}/node_modules/${name}/package.json`).version !== pinned) process.exit(1);
    } catch {
        process.exit(1);
    }
}' "$PWD/tests/e2e" || npm ci --prefix tests/e2e --no-audit --no-fund --loglevel=error
