#!/usr/bin/env bash
# Installs what building and running korvel needs on a fresh Debian machine:
# the compiler and the libraries of the indexer and the code-page converter.
# Works as root and, through sudo, as a user. The test tools are in
# install-test-deps.sh.
set -euo pipefail
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
as_root apt-get update
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  cmake make g++ pkg-config libicu-dev libxml2-dev libuchardet-dev libjemalloc-dev wget
