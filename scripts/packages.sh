# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by the build and test scripts; works as root or through sudo.

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get -o DPkg::Lock::Timeout=600 update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# The packages that build the program, and Qt's translations, which put its
# own dialogs (file, print) in the window's language.
build_packages=(cmake make g++ qt6-base-dev libgl-dev libfontconfig-dev libfast-float-dev libfmt-dev nlohmann-json3-dev python3-fonttools qt6-translations-l10n)

# The packages that build the browser edition (scripts/web.sh).
web_packages=(cmake make g++ emscripten libfast-float-dev libfmt-dev nlohmann-json3-dev python3-fonttools python3-brotli)
# And that test it: Debian's Chromium, driven by puppeteer-core from npm.
web_test_packages=(chromium)

# Node's package manager, from Debian unless the machine's Node.js brings its own.
ensure_npm() {
    command -v npm >/dev/null 2>&1 || ensure_packages nodejs npm
}
